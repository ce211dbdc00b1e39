// What a screen reader reads of an edit, through Qt's accessibility API.
#include "AccessibleEventLog.h"
#include "EditTestSupport.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <memory>

namespace {

// An edit captioned by a label, above a second edit; the captioned one is focused.
class AccessibleTest : public EditWindowTest {
protected:
    void SetUp() override
    {
        EditWindowTest::SetUp();
        edit = new TTestEdit;
        other = new TTestEdit;
        auto* label = new QLabel("&Voltage");
        label->setBuddy(edit);
        OpenStacked({label, edit, other}, edit);
        log = std::make_unique<AccessibleEventLog>();
    }
    void TearDown() override
    {
        log.reset();
        EditWindowTest::TearDown();
    }

    QAccessibleInterface* Accessible() const { return QAccessible::queryAccessibleInterface(edit); }

    TTestEdit* edit = nullptr;
    TTestEdit* other = nullptr;
    std::unique_ptr<AccessibleEventLog> log;
};

} // namespace

TEST_F(AccessibleTest, EditIsNamedEditableTextWithItsTextAndCaret)
{
    QAccessibleInterface* a = Accessible();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::EditableText);
    EXPECT_EQ(a->text(QAccessible::Name), "Voltage");
    QTest::keyClicks(edit, "12.5");
    QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
    QAccessibleTextInterface* text = a->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), "12.5");
    EXPECT_EQ(a->text(QAccessible::Value), "12.5");
    EXPECT_EQ(text->cursorPosition(), 3);
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(3, 4));
    const QRect first = text->characterRect(0), second = text->characterRect(1);
    EXPECT_GT(first.width(), 0);
    EXPECT_EQ(first.right() + 1, second.left());
    EXPECT_EQ(text->offsetAtPoint(second.center()), 1);
}

TEST_F(AccessibleTest, EditsAnnounceWhatChanges)
{
    QTest::keyClicks(edit, "ab");
    EXPECT_TRUE(log->Events.contains("insert 0 'a'"));
    EXPECT_TRUE(log->Events.contains("insert 1 'b'"));
    EXPECT_EQ(log->Events.last(), "caret 2");
    log->Events.clear();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_TRUE(log->Events.contains("remove 1 'b'"));
    log->Events.clear();
    QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_TRUE(log->Events.contains("selection 0-1"));
    EXPECT_TRUE(log->Events.contains("caret 0"));
}

// Every kind of change is told once, as what left and what came at which offset, so that a screen
// reader's copy of the text stays true; a change that leaves the text as it was tells no text.
TEST_F(AccessibleTest, EveryChangeIsToldOnceSoThatReplayingItGivesTheText)
{
    using Action = std::function<void()>;
    const auto type = [this](char C) -> Action { return [=, this] { QTest::keyClick(edit, C); }; };
    const auto key = [this](Qt::Key K, Qt::KeyboardModifiers M = {}) -> Action {
        return [=, this] { QTest::keyClick(edit, K, M); };
    };
    const auto at = [this](int Pos) { return QPoint(edit->CharPosToX(Pos), edit->height() / 2); };
    const Action paste = [&] {
        Clipboard()->setText("XY");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    };
    const Action typeAndUndo = [&] {
        QTest::keyClick(edit, 'x');
        edit->Undo();
    };
    const Action dragMove = [&] {
        QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, at(2));
        QTest::mouseMove(edit, at(8));
        QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, at(8));
    };
    const Action refused = [&] {
        edit->refuse = true;
        QTest::keyClick(edit, 'x');
        edit->refuse = false;
    };
    const Action overwriteWithItself = [&] {
        SetInsertMode(false);
        QTest::keyClick(edit, 'a');
        SetInsertMode(true);
    };
    struct Case {
        const char* name;
        QString text;
        int selStart, selLength;
        Action act;
        QStringList told;
    };
    const Case cases[] = {
        {"typing", "abc", 2, 0, type('x'), {"insert 1 'x'", "caret 2"}},
        {"over a selection", "abc", 2, 1, type('x'), {"remove 1 'b'", "insert 1 'x'", "selection -1--1", "caret 2"}},
        {"Backspace", "abc", 3, 0, key(Qt::Key_Backspace), {"remove 1 'b'", "caret 1"}},
        {"Delete at the end", "abc", 4, 0, key(Qt::Key_Delete), {}},
        {"paste", "abc", 2, 1, paste, {"remove 1 'b'", "insert 1 'XY'", "selection -1--1", "caret 3"}},
        {"cut", "abc", 1, 2, key(Qt::Key_X, Qt::ControlModifier), {"remove 0 'ab'", "selection -1--1", "caret 0"}},
        {"SetText", "abc", 4, 0, [&] { edit->SetText("abd"); }, {"remove 2 'c'", "insert 2 'd'", "caret 0"}},
        {"undo", "abc", 4, 0, typeAndUndo, {"insert 3 'x'", "caret 4", "remove 3 'x'", "caret 3"}},
        {"drag-move",
         "abc def",
         1,
         3,
         dragMove,
         {"caret 1", "caret 7", "remove 0 'abc'", "selection -1--1", "caret 0", "caret 4", "insert 4 'abc'", "caret 7",
          "caret 4"}},
        {"refused", "abc", 2, 0, refused, {}},
        {"overwriting a character with itself", "abc", 1, 0, overwriteWithItself, {"caret 1"}},
    };
    for (const Case& c : cases) {
        edit->SetText(c.text);
        edit->Select(c.selStart, c.selLength);
        log->Events.clear();
        c.act();
        EXPECT_EQ(log->Events.join(", ").toStdString(), c.told.join(", ").toStdString()) << c.name;
        EXPECT_EQ(AccessibleEventLog::Replay(c.text, log->Events), edit->Text()) << c.name;
    }
}

// Qt announces the focus when the edit has handled it; what the focus itself selected or moved is
// told after that, or a screen reader takes the edit as focused already and names nothing.
TEST_F(AccessibleTest, FocusIsToldBeforeTheSelectionItCauses)
{
    struct Case {
        bool autoSelect;
        QStringList told;
    };
    const Case cases[] = {
        {true, {"focus", "selection 0-3", "caret 3"}},
        {false, {"focus"}},
    };
    for (const Case& c : cases) {
        other->setFocus(Qt::TabFocusReason);
        edit->SetText("abc");
        edit->SetAutoSelect(c.autoSelect);
        QCoreApplication::processEvents();
        log->Events.clear();
        edit->setFocus(Qt::TabFocusReason);
        // Qt sends its focus event as setFocus returns.
        log->Events << "focus";
        QCoreApplication::processEvents();
        EXPECT_EQ(log->Events.join(", ").toStdString(), c.told.join(", ").toStdString()) << c.autoSelect;
    }
}

TEST_F(AccessibleTest, PasswordTextIsReadMasked)
{
    edit->SetText("secret");
    edit->Perform(EM_SETPASSWORDCHAR, '*');
    QAccessibleInterface* a = Accessible();
    EXPECT_TRUE(a->state().passwordEdit);
    EXPECT_EQ(a->text(QAccessible::Value), "******");
    edit->Select(7, 0);
    log->Events.clear();
    QTest::keyClick(edit, 'x');
    EXPECT_EQ(log->Events, QStringList({"insert 6 '*'", "caret 7"})) << "typed characters are not told either";
}

TEST_F(AccessibleTest, ScreenReaderEditsGoThroughTheEditsHooks)
{
    QAccessibleEditableTextInterface* e = Accessible()->editableTextInterface();
    ASSERT_NE(e, nullptr);
    e->insertText(0, "abc");
    e->replaceText(1, 2, "X");
    EXPECT_EQ(edit->Text(), "aXc");
    edit->SetReadOnly(true);
    e->deleteText(0, 3);
    EXPECT_EQ(edit->Text(), "aXc");
}
