// Keys, mouse, focus, the context menu and input methods, through real Qt events on a shown window.
#include "EditTestSupport.h"
#include "FakeClock.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <memory>

namespace {

class GestureEdit : public TTestEdit {
public:
    using TTestEdit::TTestEdit;
    using TVelBaseEdit::IsDragging;
};

// A window with a button between two edits, shown and active.
class GestureTest : public EditWindowTest {
protected:
    void SetUp() override
    {
        EditWindowTest::SetUp();
        button = new QPushButton("OK");
        edit = new GestureEdit;
        other = new GestureEdit;
        OpenStacked({button, edit, other}, edit, {240, 120});
    }

    QPoint At(TVelBaseEdit* e, int Pos) const { return QPoint(e->CharPosToX(Pos), e->height() / 2); }

    // Right-clicks and reads the menu that opens, then closes it or triggers the named item.
    QStringList ContextMenu(TVelBaseEdit* e, const QString& trigger = {})
    {
        QStringList items;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator())
                    items << "-";
                else
                    items << a->text() + (a->isEnabled() ? "" : " (off)");
                if (a->text() == trigger)
                    a->trigger();
            }
            menu->close();
        });
        QTest::mouseClick(e, Qt::RightButton, Qt::NoModifier, At(e, 1));
        return items;
    }

    QPushButton* button = nullptr;
    GestureEdit* edit = nullptr;
    GestureEdit* other = nullptr;
};

} // namespace

TEST_F(GestureTest, TypingRaisesItsEventsInOrder)
{
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(edit->log, (QStringList{"modified", "changed at 1", "change", "cursor 2"}));
}

TEST_F(GestureTest, TypedKeys)
{
    struct Case {
        const char* name;
        QString start;
        int caret;
        int maxLength;
        bool insertMode;
        TEditCharCase charCase;
        std::function<void(QWidget*)> keys;
        QString text;
        int cursor;
    };
    const Case cases[] = {
        {"MaxLength stops typing", "12", 3, 3, true, ecNormal, [](QWidget* w) { QTest::keyClicks(w, "345"); }, "123",
         4},
        {"overwrite replaces in front", "abcd", 2, 0, false, ecNormal, [](QWidget* w) { QTest::keyClicks(w, "XY"); },
         "aXYd", 4},
        {"overwrite at the end appends", "ab", 3, 0, false, ecNormal, [](QWidget* w) { QTest::keyClicks(w, "c"); },
         "abc", 4},
        {"upper case", "", 1, 0, true, ecUpperCase, [](QWidget* w) { QTest::keyClicks(w, "aB1"); }, "AB1", 4},
        {"lower case", "", 1, 0, true, ecLowerCase, [](QWidget* w) { QTest::keyClicks(w, "aB"); }, "ab", 3},
        {"Delete at the end removes nothing", "ab", 3, 0, true, ecNormal,
         [](QWidget* w) { QTest::keyClick(w, Qt::Key_Delete); }, "ab", 3},
        {"Ctrl+Backspace is only a Backspace", "ab", 3, 0, true, ecNormal,
         [](QWidget* w) { QTest::keyClick(w, Qt::Key_Backspace, Qt::ControlModifier); }, "a", 2},
    };
    for (const Case& c : cases) {
        SetInsertMode(c.insertMode);
        edit->SetMaxLength(c.maxLength);
        edit->SetText(c.start);
        edit->SetCharCase(c.charCase);
        edit->SetCursorPos(c.caret);
        edit->SetModified(false);
        edit->log.clear();
        c.keys(edit);
        EXPECT_EQ(edit->Text(), c.text) << c.name;
        EXPECT_EQ(edit->CursorPos(), c.cursor) << c.name;
        EXPECT_TRUE(edit->Modified()) << c.name << ": every edit sets Modified, also one that changed nothing";
    }
}

TEST_F(GestureTest, ShiftSelectsAndShiftClickExtendsFromThePreviousCaret)
{
    edit->SetText("abcdef");
    edit->SetCursorPos(1);
    QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelText(), "ab");
    QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelText(), "a");

    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 3));
    EXPECT_EQ(edit->SelLength(), 0);
    QTest::keyPress(edit, Qt::Key_Shift);
    QTest::mouseClick(edit, Qt::LeftButton, Qt::ShiftModifier, At(edit, 6));
    QTest::keyRelease(edit, Qt::Key_Shift);
    EXPECT_EQ(edit->SelText(), "cde");
}

TEST_F(GestureTest, ShiftReleasedOnAnotherControlLeavesNoStuckShift)
{
    other->SetText("abcdef");
    QTest::keyPress(edit, Qt::Key_Shift);
    ASSERT_TRUE(VelApplication()->ShiftState() & ksShift);
    QTest::keyClick(edit, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(button->hasFocus());
    QTest::keyRelease(button, Qt::Key_Shift);
    QTest::mouseClick(other, Qt::LeftButton, Qt::NoModifier, At(other, 4));
    EXPECT_EQ(VelApplication()->ShiftState(), 0);
    EXPECT_EQ(other->SelLength(), 0) << "a plain click must not select";
    EXPECT_EQ(other->CursorPos(), 4);
}

TEST_F(GestureTest, DragSelectsAndDragMoveLeavesTwoUndoRecords)
{
    edit->SetText("abc def");
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 1));
    QTest::mouseMove(edit, At(edit, 4));
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 4));
    ASSERT_EQ(edit->SelText(), "abc");

    const int records = edit->UndoCount();
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 2));
    EXPECT_TRUE(edit->IsDragging());
    QTest::mouseMove(edit, At(edit, 8));
    EXPECT_EQ(edit->SelText(), "abc") << "dragging keeps the selection";
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 8));
    EXPECT_FALSE(edit->IsDragging());
    EXPECT_EQ(edit->Text(), " defabc");
    EXPECT_EQ(edit->CursorPos(), 5) << "the caret stands in front of the moved text";
    EXPECT_EQ(edit->UndoCount(), records + 2);
    edit->Undo();
    EXPECT_EQ(edit->Text(), " def");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abc def");
}

TEST_F(GestureTest, SelectionDraggedPastTheEdgeGrowsOnEachTickUntilTheRelease)
{
    TFakeClock clock;
    edit->SetText(QString(200, u'8'));
    // Through the window, so the application knows the button is held, as the timer asks it.
    QWindow* w = window->windowHandle();
    const auto inWindow = [&](QPoint p) { return edit->mapTo(window.get(), p); };
    QTest::mousePress(w, Qt::LeftButton, {}, inWindow(At(edit, 1)));
    QTest::mouseMove(w, inWindow(QPoint(edit->width() + 4, edit->height() / 2)));
    for (int tick = 1; tick <= 3; ++tick) {
        const int before = edit->SelLength();
        clock.Advance(200);
        EXPECT_GT(edit->SelLength(), before) << "tick " << tick;
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, inWindow(QPoint(edit->width() + 4, edit->height() / 2)));
    const int released = edit->SelLength();
    clock.Advance(1000);
    EXPECT_EQ(edit->SelLength(), released) << "no scrolling after the release";
}

TEST_F(GestureTest, DropOntoTheSelectionOnlyCollapsesIt)
{
    edit->SetText("abc def");
    edit->Select(1, 3);
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 2));
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 2));
    EXPECT_EQ(edit->Text(), "abc def");
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->UndoCount(), 0);
}

TEST_F(GestureTest, DoubleTripleAndFourthClick)
{
    edit->SetText("one two");
    const QPoint p = At(edit, 6);
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseDClick(edit, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_EQ(edit->SelText(), "two");
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_EQ(edit->SelText(), "one two") << "the third click selects all";
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 2));
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, At(edit, 2));
    EXPECT_EQ(edit->SelLength(), 0) << "a fourth click starts a new count";
    EXPECT_EQ(edit->CursorPos(), 2);
}

TEST_F(GestureTest, ContextMenuItemsFollowTheState)
{
    Clipboard()->setText("clip");
    EXPECT_EQ(ContextMenu(edit), (QStringList{"&Undo", "-", "&Cut (off)", "&Copy (off)", "&Paste", "&Delete (off)", "-",
                                              "Select all (off)"}))
        << "a fresh edit says it can undo";

    QTest::keyClicks(edit, "ab");
    edit->Select(1, 1);
    EXPECT_EQ(ContextMenu(edit), (QStringList{"&Undo", "-", "&Cut", "&Copy", "&Paste", "&Delete", "-", "Select all"}));

    edit->SetReadOnly(true);
    edit->Select(1, 1);
    EXPECT_EQ(ContextMenu(edit),
              (QStringList{"&Undo", "-", "&Cut (off)", "&Copy", "&Paste (off)", "&Delete", "-", "Select all"}));
    edit->SetReadOnly(false);

    edit->SetOptions(eoAllowCopy);
    EXPECT_EQ(ContextMenu(edit), (QStringList{"&Undo", "-", "&Copy", "&Delete", "-", "Select all"}));
    edit->SetOptions(eoAllowCopy | eoAllowCut | eoAllowPaste | eoSuppressDefaultMenu);
    EXPECT_TRUE(ContextMenu(edit).isEmpty());
}

TEST_F(GestureTest, UndoFromTheContextMenuTakesBackTypingOneByOne)
{
    QTest::keyClicks(edit, "xyz");
    for (const char* expected : {"xy", "x", ""}) {
        ContextMenu(edit, "&Undo");
        EXPECT_EQ(edit->Text(), expected);
    }
    EXPECT_TRUE(ContextMenu(edit).contains("&Undo (off)"));
}

TEST_F(GestureTest, AutoSelectOnFocusFromTheKeyboardOnly)
{
    other->SetText("value");
    other->SetAutoSelect(true);
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_TRUE(other->hasFocus());
    EXPECT_EQ(other->SelText(), "value");
    edit->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(other, Qt::LeftButton, Qt::NoModifier, At(other, 3));
    EXPECT_EQ(other->SelLength(), 0);
    EXPECT_EQ(other->CursorPos(), 3);
}

TEST_F(GestureTest, RightAlignmentScrollsLongTextIntoView)
{
    edit->SetAlignment(taRightJustify);
    edit->SetText("12");
    const int right = edit->TextRect().left() + edit->TextRect().width();
    EXPECT_EQ(edit->CharPosToX(3), right) << "a short text ends at the right edge";
    edit->resize(60, edit->height());
    edit->SetCursorPos(3);
    QTest::keyClicks(edit, QString(30, u'9'));
    EXPECT_GT(edit->ScrollOffset(), 0);
    EXPECT_LE(edit->CharPosToX(edit->CursorPos()), right + 1) << "the caret stays in view at the end";
    QTest::keyClick(edit, Qt::Key_Home);
    EXPECT_EQ(edit->ScrollOffset(), 0);
    EXPECT_GE(edit->CharPosToX(1), edit->TextRect().left()) << "and at Home";
}

TEST_F(GestureTest, FocusOnMouseAbove)
{
    other->SetFocusOnMouseAbove(true);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(other, &enter);
    EXPECT_TRUE(other->hasFocus());
}

TEST_F(GestureTest, InputMethodCommitIsOneTypedEdit)
{
    edit->SetCharCase(ecUpperCase);
    EXPECT_TRUE(edit->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf16(u"\u00e4b\0c", 4));
    QApplication::sendEvent(edit, &commit);
    EXPECT_EQ(edit->Text(), QString::fromUtf16(u"\u00c4B")) << "cut at the NUL, cased by Unicode rules";
    EXPECT_EQ(edit->UndoCount(), 1);
    EXPECT_EQ(edit->inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
    EXPECT_EQ(edit->inputMethodQuery(Qt::ImSurroundingText).toString(), edit->Text());
    EXPECT_TRUE(edit->inputMethodQuery(Qt::ImEnabled).toBool());
    const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_TRUE(edit->rect().contains(caret.center()));

    edit->SetReadOnly(true);
    EXPECT_FALSE(edit->inputMethodQuery(Qt::ImEnabled).toBool());
    QApplication::sendEvent(edit, &commit);
    EXPECT_EQ(edit->Text(), QString::fromUtf16(u"\u00c4B")) << "a read-only edit takes nothing";
}

TEST_F(GestureTest, MiddleClickPastesThePrimarySelectionAtTheClick)
{
    if (!Clipboard()->supportsSelection())
        GTEST_SKIP() << "this platform has no primary selection";
    other->SetText("picked");
    other->setFocus(Qt::OtherFocusReason);
    QTest::mouseDClick(other, Qt::LeftButton, Qt::NoModifier, At(other, 2));
    edit->SetText("ab");
    QTest::mouseClick(edit, Qt::MiddleButton, Qt::NoModifier, At(edit, 2));
    EXPECT_EQ(edit->Text(), "apickedb");
    EXPECT_EQ(edit->UndoCount(), 1);
}
