#include "EditTestSupport.h"

namespace {

void Type(TTestEdit& e, const QString& s)
{
    for (QChar ch : s)
        e.Perform(WM_CHAR, ch.unicode());
}

} // namespace

TEST_F(EditTest, UndoRemovesTypedCharactersNewestFirst)
{
    TTestEdit e;
    Type(e, "abc");
    EXPECT_EQ(e.UndoCount(), 3);
    for (const char* expected : {"ab", "a", ""}) {
        EXPECT_TRUE(e.CanUndo());
        e.Undo();
        EXPECT_EQ(e.Text(), expected);
    }
    EXPECT_FALSE(e.CanUndo());
    EXPECT_EQ(e.Perform(EM_CANUNDO), 0);
    e.Undo();
    EXPECT_EQ(e.Text(), "");
}

TEST_F(EditTest, UndoAfterPasteRestoresAndSelectsTheReplacedText)
{
    TTestEdit e;
    e.SetText("hello world");
    e.Select(7, 5);
    Clipboard()->setText("there");
    e.PasteFromClipboard();
    ASSERT_EQ(e.Text(), "hello there");
    e.Select(1, 0);
    e.Undo();
    EXPECT_EQ(e.Text(), "hello world");
    EXPECT_EQ(e.SelStart(), 7);
    EXPECT_EQ(e.SelLength(), 5);
    EXPECT_EQ(e.SelText(), "world");
    EXPECT_FALSE(e.IsUndoing());
}

TEST_F(EditTest, UndoReplaysThroughReplaceSelection)
{
    TTestEdit e;
    e.SetText("abc");
    e.SetCursorPos(4);
    Type(e, "d");
    e.log.clear();
    e.Undo();
    EXPECT_EQ(e.Text(), "abc");
    EXPECT_TRUE(e.log.contains("change"));
    EXPECT_EQ(e.UndoCount(), 0) << "the replay itself leaves no record";
}

TEST_F(EditTest, UndoOnAReadOnlyEditDiscardsTheRecordButKeepsTheText)
{
    TTestEdit e;
    e.SetText("abc");
    e.SetCursorPos(4);
    Type(e, "de");
    e.SetReadOnly(true);
    e.SetCursorPos(1);
    e.Undo();
    EXPECT_EQ(e.Text(), "abcde");
    EXPECT_EQ(e.UndoCount(), 1);
    EXPECT_EQ(e.CursorPos(), 5) << "the caret of the record is restored";
    e.SetReadOnly(false);
    e.Undo();
    EXPECT_EQ(e.Text(), "abce");
}

TEST_F(EditTest, UndoInOverwriteMode)
{
    SetInsertMode(false);
    TTestEdit e;
    e.SetText("abc");
    e.SetCursorPos(2);
    Type(e, "X");
    ASSERT_EQ(e.Text(), "aXc");
    e.Undo();
    EXPECT_EQ(e.Text(), "ac") << "the record holds no overwritten character";

    // Undoing a deletion must put the character back without eating its neighbour.
    TTestEdit d;
    d.SetText("abcd");
    d.SetCursorPos(3);
    std::uint16_t key = VK_BACK;
    d.Perform(WM_KEYDOWN, key);
    ASSERT_EQ(d.Text(), "acd");
    d.Undo();
    EXPECT_EQ(d.Text(), "abcd");
    EXPECT_EQ(d.SelText(), "b");
}

TEST_F(EditTest, UndoWithASelectionPresentReplaysAtTheRecordedPlace)
{
    TTestEdit e;
    e.SetText("abcdef");
    e.SetCursorPos(5);
    e.Perform(WM_KEYDOWN, VK_BACK);
    ASSERT_EQ(e.Text(), "abcef");
    e.Select(1, 2);
    e.Undo();
    EXPECT_EQ(e.Text(), "abcdef");
    EXPECT_EQ(e.SelText(), "d");
}

TEST_F(EditTest, UndoHistoryLifecycle)
{
    TTestEdit e;
    EXPECT_TRUE(e.CanUndo()) << "a fresh edit says it can undo";
    e.Undo();
    EXPECT_EQ(e.Text(), "");

    Type(e, "ab");
    e.SetText("replaced");
    EXPECT_EQ(e.UndoCount(), 2) << "SetText leaves the history alone";

    e.ClearUndo();
    EXPECT_EQ(e.UndoCount(), 0);
    EXPECT_TRUE(e.CanUndo()) << "ClearUndo keeps the flag";

    Type(e, "x");
    e.Perform(EM_EMPTYUNDOBUFFER);
    EXPECT_EQ(e.UndoCount(), 0);
    EXPECT_FALSE(e.CanUndo());
    Type(e, "y");
    EXPECT_TRUE(e.CanUndo());
    EXPECT_EQ(e.Perform(EM_UNDO), 0) << "EM_UNDO answers CanUndo after the undo";
    EXPECT_EQ(e.Text(), "xreplaced");
}
