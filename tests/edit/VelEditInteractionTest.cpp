#include "EditTestSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

namespace {

// Two edits, the first one focused.
class InteractionTest : public EditWindowTest {
protected:
    void SetUp() override
    {
        EditWindowTest::SetUp();
        first = new TTestEdit;
        second = new TTestEdit;
        OpenStacked({first, second}, first, {200, 80});
    }

    TTestEdit* first = nullptr;
    TTestEdit* second = nullptr;
};

int CountPixels(const QImage& image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

} // namespace

TEST_F(InteractionTest, TypingAndEditingKeys)
{
    struct Step {
        const char* name;
        std::function<void(QWidget*)> keys;
        QString text;
        int cursor;
        QString selected;
    };
    const Step steps[] = {
        {"type", [](QWidget* w) { QTest::keyClicks(w, "hello"); }, "hello", 6, ""},
        {"Left twice",
         [](QWidget* w) {
             QTest::keyClick(w, Qt::Key_Left);
             QTest::keyClick(w, Qt::Key_Left);
         },
         "hello", 4, ""},
        {"Backspace", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Backspace); }, "helo", 3, ""},
        {"Delete", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Delete); }, "heo", 3, ""},
        {"Shift+Right", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Right, Qt::ShiftModifier); }, "heo", 4, "o"},
        {"Shift+Home", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Home, Qt::ShiftModifier); }, "heo", 1, "he"},
        {"End", [](QWidget* w) { QTest::keyClick(w, Qt::Key_End); }, "heo", 4, ""},
        {"Shift letter types without selecting", [](QWidget* w) { QTest::keyClick(w, 'B', Qt::ShiftModifier); }, "heoB",
         5, ""},
        {"Ctrl+A", [](QWidget* w) { QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier); }, "heoB", 5, "heoB"},
        {"type over the selection", [](QWidget* w) { QTest::keyClicks(w, "x"); }, "x", 2, ""},
        {"Up and Down move along the line", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Up); }, "x", 1, ""},
        {"Backspace at the start", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Backspace); }, "x", 1, ""},
    };
    for (const Step& s : steps) {
        s.keys(first);
        EXPECT_EQ(first->Text(), s.text) << s.name;
        EXPECT_EQ(first->CursorPos(), s.cursor) << s.name;
        EXPECT_EQ(first->SelText(), s.selected) << s.name;
    }
    EXPECT_EQ(VelApplication()->ShiftState(), 0) << "every modifier was released";
}

TEST_F(InteractionTest, ClipboardKeys)
{
    QTest::keyClicks(first, "abc");
    QTest::keyClick(first, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(first, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard()->text(), "c");
    QTest::keyClick(first, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(first->Text(), "ab");
    QTest::keyClick(first, Qt::Key_Home);
    QTest::keyClick(first, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(first->Text(), "cab");
    EXPECT_EQ(first->CursorPos(), 2);
}

TEST_F(InteractionTest, InsertKeyTogglesTheSharedOverwriteMode)
{
    QTest::keyClicks(first, "abc");
    QTest::keyClick(first, Qt::Key_Home);
    QTest::keyClick(first, Qt::Key_Insert);
    EXPECT_FALSE(VelApplication()->InsertMode());
    QTest::keyClicks(first, "XY");
    EXPECT_EQ(first->Text(), "XYc");
    QTest::keyClicks(second, "12");
    second->SetCursorPos(1);
    QTest::keyClicks(second, "9");
    EXPECT_EQ(second->Text(), "92") << "the mode is shared by all edits";
    QTest::keyClick(first, Qt::Key_Insert);
    EXPECT_TRUE(VelApplication()->InsertMode());
}

TEST_F(InteractionTest, ClickPlacesTheCaretAndShiftClickExtends)
{
    first->SetText("abcdef");
    const QFontMetrics metrics(first->font());
    const int x = first->TextRect().left() + metrics.horizontalAdvance("ab");
    QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, QPoint(x, first->height() / 2));
    EXPECT_EQ(first->CursorPos(), 3);

    const int endX = first->TextRect().left() + metrics.horizontalAdvance("abcde");
    QTest::keyPress(first, Qt::Key_Shift);
    QTest::mouseClick(first, Qt::LeftButton, Qt::ShiftModifier, QPoint(endX, first->height() / 2));
    QTest::keyRelease(first, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(first->SelText(), "cde");
}

TEST_F(InteractionTest, AutoSelectOnTabButNotOnClick)
{
    second->SetText("value");
    second->SetAutoSelect(true);
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    EXPECT_EQ(second->SelText(), "value");

    first->setFocus(Qt::OtherFocusReason);
    second->SetCursorPos(1);
    QTest::mouseClick(second, Qt::LeftButton, Qt::NoModifier, QPoint(second->TextRect().left(), second->height() / 2));
    ASSERT_TRUE(second->hasFocus());
    EXPECT_EQ(second->SelLength(), 0);
}

TEST_F(InteractionTest, EnterMovesTheFocusOnlyWithTabOnEnterAndWithoutCtrl)
{
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(first->hasFocus());
    first->SetTabOnEnter(true);
    QTest::keyClick(first, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(second->hasFocus());
}

TEST_F(InteractionTest, SelectionIsHighlightedOnlyWhereItShouldBe)
{
    second->SetText("WWWWWW");
    second->Select(1, 6);
    const QColor highlight = second->palette().color(QPalette::Active, QPalette::Highlight);

    EXPECT_EQ(CountPixels(second->grab().toImage(), highlight), 0) << "unfocused with HideSelection";
    second->SetHideSelection(false);
    EXPECT_GT(CountPixels(second->grab().toImage(), highlight), 0);
    second->SetHideSelection(true);
    second->setFocus(Qt::OtherFocusReason);
    second->Select(1, 6);
    EXPECT_GT(CountPixels(second->grab().toImage(), highlight), 0) << "focused";
}

TEST_F(InteractionTest, LongTextScrollsToKeepTheCaretInView)
{
    first->resize(60, first->height());
    QTest::keyClicks(first, QString(40, u'm'));
    EXPECT_GT(first->ScrollOffset(), 0);
    QTest::keyClick(first, Qt::Key_Home);
    EXPECT_EQ(first->ScrollOffset(), 0);
    EXPECT_EQ(first->CharIndexAtX(first->TextRect().left()), 1);
}

TEST_F(InteractionTest, CtrlArrowsMoveByWords)
{
    first->SetText("one two three");
    first->SetCursorPos(1);
    QTest::keyClick(first, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(first->CursorPos(), 4);
    QTest::keyClick(first, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(first->CursorPos(), 8);
    QTest::keyClick(first, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(first->CursorPos(), 4);
    QTest::keyClick(first, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(first->CursorPos(), 1);
}
