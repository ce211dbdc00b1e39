#include "EditTestSupport.h"

TEST_F(EditTest, KeystrokeRaisesModifiedOnlyOnTheFirstEdit)
{
    TTestEdit e;
    e.ReplaceSelection("a");
    EXPECT_EQ(e.log, (QStringList{"modified", "changed at 1", "change", "cursor 2"}));
    e.log.clear();
    e.ReplaceSelection("b");
    EXPECT_EQ(e.log, (QStringList{"changed at 2", "change", "cursor 3"}));
    EXPECT_EQ(e.Text(), "ab");
    EXPECT_TRUE(e.Modified());
}

TEST_F(EditTest, HooksRunInTheirPlaceAroundTheEvents)
{
    TTestEdit e;
    e.SetText("abc");
    e.Select(2, 1);
    e.log.clear();
    e.logHooks = true;
    e.ReplaceSelection("XY");
    EXPECT_EQ(e.log, (QStringList{"before", "removed 2 'b'", "filter 2 'XY'", "modified", "changed at 2", "change",
                                  "cursor 4", "after"}));
    EXPECT_EQ(e.Text(), "aXYc");
    EXPECT_EQ(e.SelStart(), 4);
    EXPECT_EQ(e.SelLength(), 0);
}

TEST_F(EditTest, ReplaceSelection)
{
    struct Case {
        const char* name;
        QString text;
        int cursor, selStart, selLength;
        bool insertMode, force;
        int maxLength;
        QString insert;
        QString expected;
        int expectedCursor;
    };
    const Case cases[] = {
        {"into empty", "", 1, 1, 0, true, false, 0, "a", "a", 2},
        {"over a selection", "hello", 2, 2, 3, true, false, 0, "XY", "hXYo", 4},
        {"overwrite in front of a character", "abc", 2, 2, 0, false, false, 0, "X", "aXc", 3},
        {"overwrite at the end appends", "abc", 4, 4, 0, false, false, 0, "X", "abcX", 5},
        {"forced overwrite in insert mode", "abc", 1, 1, 0, true, true, 0, "X", "Xbc", 2},
        {"too long for MaxLength: removal stands", "123", 2, 2, 1, true, false, 3, "45", "13", 2},
        {"fits MaxLength", "123", 2, 2, 1, true, false, 3, "4", "143", 3},
        {"full text refuses insertion", "123", 4, 4, 0, true, false, 3, "4", "123", 4},
        {"overwrite at the limit", "123", 1, 1, 0, false, false, 3, "9", "923", 2},
        {"selected CR takes its LF", "a\r\nb", 2, 2, 1, true, false, 0, "", "ab", 2},
        {"selected LF takes its CR", "a\r\nb", 3, 3, 1, true, false, 0, "", "ab", 2},
        {"caret on LF inserts before CR", "a\r\nb", 3, 3, 0, true, false, 0, "X", "aX\r\nb", 3},
        {"overwrite replaces a whole line break", "a\r\nb", 2, 2, 0, false, false, 0, "X", "aXb", 3},
        {"selection beyond the text", "abc", 3, 3, 10, true, false, 0, "X", "abX", 4},
    };
    for (const Case& c : cases) {
        SetInsertMode(c.insertMode);
        TTestEdit e;
        e.SetText(c.text);
        e.SetForceOverwriteMode(c.force);
        e.SetMaxLength(c.maxLength);
        e.Select(c.cursor, 0);
        e.SetSelStart(c.selStart);
        e.SetSelLength(c.selLength);
        e.log.clear();
        e.ReplaceSelection(c.insert);
        EXPECT_EQ(e.Text(), c.expected) << c.name;
        EXPECT_EQ(e.CursorPos(), c.expectedCursor) << c.name;
        EXPECT_EQ(e.SelLength(), 0) << c.name;
        EXPECT_EQ(e.SelStart(), e.CursorPos()) << c.name;
        EXPECT_TRUE(e.Modified()) << c.name;
        EXPECT_TRUE(e.log.contains("change")) << c.name << ": a refused insertion still notifies";
    }
}

TEST_F(EditTest, MaxLengthPasteRemovesAndTypingFits)
{
    TTestEdit e;
    e.SetText("123");
    e.SetMaxLength(3);
    e.Select(2, 1);
    Clipboard()->setText("45");
    e.PasteFromClipboard();
    EXPECT_EQ(e.Text(), "13");

    TTestEdit typed;
    typed.SetText("123");
    typed.SetMaxLength(3);
    typed.Select(2, 1);
    typed.ReplaceSelection("4");
    EXPECT_EQ(typed.Text(), "143");
}

TEST_F(EditTest, PasteNeverOverwrites)
{
    SetInsertMode(false);
    TTestEdit e;
    e.SetText("abc");
    Clipboard()->setText(QStringLiteral("XY"));
    e.PasteFromClipboard();
    EXPECT_EQ(e.Text(), "XYabc");
    EXPECT_FALSE(e.IsPasting());
}

TEST_F(EditTest, RemovalTextReplacesADeletionWithoutMovingTheCaretPastIt)
{
    TTestEdit e;
    e.SetText("12345");
    e.removalText = "0";
    e.Select(2, 3);
    e.DeleteSelection();
    EXPECT_EQ(e.Text(), "105");
    EXPECT_EQ(e.CursorPos(), 2);
    EXPECT_TRUE(e.deletionInAfterEdit);
    EXPECT_FALSE(e.IsDeletionEdit()) << "a transient flag, false at rest";
}

TEST_F(EditTest, RefusedEditDoesNothingAtAll)
{
    for (bool readOnly : {true, false}) {
        TTestEdit e;
        e.SetText("abc");
        e.SetReadOnly(readOnly);
        e.refuse = !readOnly;
        e.log.clear();
        const int records = e.UndoCount();
        e.ReplaceSelection("x");
        EXPECT_EQ(e.Text(), "abc");
        EXPECT_TRUE(e.log.isEmpty());
        EXPECT_FALSE(e.Modified());
        EXPECT_EQ(e.UndoCount(), records);
    }
}

TEST_F(EditTest, SetTextResetsCaretAndNotifiesOnlyOnAChange)
{
    TTestEdit e;
    e.SetText("hello");
    e.Select(3, 2);
    e.log.clear();
    e.SetText("hello");
    EXPECT_TRUE(e.log.isEmpty());
    EXPECT_EQ(e.SelLength(), 2);

    e.SetText("world");
    EXPECT_EQ(e.log.count("change"), 1);
    EXPECT_EQ(e.log.filter("changed at").size(), 1);
    EXPECT_TRUE(e.log.contains("changed at 1"));
    EXPECT_EQ(e.CursorPos(), 1);
    EXPECT_EQ(e.SelLength(), 0);
    EXPECT_FALSE(e.Modified());
    EXPECT_EQ(e.UndoCount(), 0);

    e.SetMaxLength(3);
    e.SetText("abcdef");
    EXPECT_EQ(e.Text(), "abc");
}

TEST_F(EditTest, NoChangeEventsWhileLoadingOrLocked)
{
    TTestEdit e;
    e.BeginLoading();
    e.SetText("loaded");
    e.ReplaceSelection("x");
    EXPECT_EQ(e.log.count("change"), 0);
    EXPECT_EQ(e.DisplayText(), "xloaded");
    e.Loaded();
    e.LockUpdates();
    e.ReplaceSelection("y");
    e.UnlockUpdates(true);
    EXPECT_EQ(e.log.count("change"), 0);
    EXPECT_EQ(e.Text(), "xyloaded");
}

TEST_F(EditTest, CursorPosIsClampedAndRemembersItsPredecessor)
{
    TTestEdit e;
    e.SetText("abc");
    for (auto [set, expected] : {std::pair{0, 1}, {-5, 1}, {3, 3}, {4, 4}, {99, 4}}) {
        const int before = e.CursorPos();
        e.SetCursorPos(set);
        EXPECT_EQ(e.CursorPos(), expected) << set;
        EXPECT_EQ(e.PrevCursorPos(), before) << set;
    }
}

TEST_F(EditTest, ShiftExtendsAndShrinksTheSelectionFromItsAnchor)
{
    struct Case {
        const char* name;
        int start;
        std::vector<int> moves;
        int selStart, selLength;
    };
    const Case cases[] = {
        {"right twice", 1, {2, 3}, 1, 2},
        {"right twice, left once", 1, {2, 3, 2}, 1, 1},
        {"left twice", 5, {4, 3}, 3, 2},
        {"left twice, right once", 5, {4, 3, 4}, 4, 1},
        {"jump back over the anchor", 3, {5, 1}, 1, 2},
        {"from the start past the end", 5, {3, 6}, 5, 1},
        {"back onto the anchor", 2, {4, 2}, 2, 0},
    };
    for (const Case& c : cases) {
        TTestEdit e;
        e.SetText("abcdefgh");
        e.SetCursorPos(c.start);
        SetShift(true);
        for (int m : c.moves)
            e.SetCursorPos(m);
        SetShift(false);
        EXPECT_EQ(e.SelStart(), c.selStart) << c.name;
        EXPECT_EQ(e.SelLength(), c.selLength) << c.name;
        e.SetCursorPos(e.CursorPos());
        EXPECT_EQ(e.SelLength(), 0) << c.name << ": a move without Shift collapses";
    }
}

TEST_F(EditTest, SelectAllPutsTheCaretAtTheEnd)
{
    TTestEdit e;
    e.SetText("abc");
    e.SelectAll();
    EXPECT_EQ(e.SelStart(), 1);
    EXPECT_EQ(e.SelLength(), 3);
    EXPECT_EQ(e.CursorPos(), 4);
    EXPECT_EQ(e.SelText(), "abc");
    e.ClearText();
    EXPECT_EQ(e.Text(), "");
}

TEST_F(EditTest, ClipboardOperations)
{
    TTestEdit e;
    e.SetText("hello");
    e.Select(2, 3);
    e.CopyToClipboard();
    EXPECT_EQ(Clipboard()->text(), "ell");

    e.SetCursorPos(1);
    e.CopyToClipboard();
    EXPECT_EQ(Clipboard()->text(), "") << "copy without selection empties the clipboard text";

    e.Select(1, 2);
    e.SetReadOnly(true);
    e.CutToClipboard();
    EXPECT_EQ(Clipboard()->text(), "he");
    EXPECT_EQ(e.Text(), "hello") << "read-only: copied but not removed";

    e.SetReadOnly(false);
    e.SetOptions(eoAllowCopy);
    e.CutToClipboard();
    Clipboard()->setText("zz");
    e.PasteFromClipboard();
    EXPECT_EQ(e.Text(), "hello");

    e.SetOptions(eoAllowCopy | eoAllowCut | eoAllowPaste);
    e.CutToClipboard();
    EXPECT_EQ(e.Text(), "llo");
    Clipboard()->setText(QString::fromUtf16(u"ab\0cd", 5));
    e.PasteFromClipboard();
    EXPECT_EQ(e.Text(), "abllo") << "pasted text ends at its first NUL";
}

TEST_F(EditTest, PasswordCharMasksTheDisplayText)
{
    TTestEdit e;
    e.SetText("secret");
    EXPECT_EQ(e.Perform(EM_GETPASSWORDCHAR), 0);
    e.log.clear();
    e.Perform(EM_SETPASSWORDCHAR, '*');
    EXPECT_EQ(e.DisplayText(), "******");
    EXPECT_EQ(e.Perform(EM_GETPASSWORDCHAR), '*');
    EXPECT_TRUE(e.log.contains("changed at 1"));
    e.ReplaceSelection("x");
    EXPECT_EQ(e.DisplayText(), "*******");
    EXPECT_EQ(e.Text(), "xsecret");
    e.Perform(EM_SETPASSWORDCHAR, 0);
    EXPECT_EQ(e.DisplayText(), "xsecret");
}
