// The text store on its own: no widget, no window.
#include <gtest/gtest.h>

#include <QStringList>

#include "VelClass.h"
#include "VelEditText.h"

namespace {

// Records every callback of the store in one list.
class RecordingHost : public IVelEditTextHost {
public:
    QStringList log;
    bool allow = true;

    bool EditAllowed(const QString&) override { return allow; }
    void TextChanged(int At) override { log << QStringLiteral("changed %1").arg(At); }
    void CaretMoved() override { log << "caret"; }
    void ModifiedChanged() override { log << "modified"; }
    void EditFinished() override { log << "finished"; }
};

class TextStoreTest : public ::testing::Test {};

} // namespace

TEST_F(TextStoreTest, OneTransactionNotifiesOnceInOrder)
{
    RecordingHost host;
    TVelEditText t(&host);
    t.Assign("abc");
    t.SetSelStart(2);
    t.SetSelLength(1);
    host.log.clear();
    t.ReplaceSelection("XY");
    EXPECT_EQ(host.log, (QStringList{"modified", "changed 2", "caret", "finished"}));
    EXPECT_EQ(t.Text(), "aXYc");
    EXPECT_EQ(t.CursorPos(), 4);
    EXPECT_EQ(t.UndoCount(), 1);
}

TEST_F(TextStoreTest, RefusedTransactionLeavesNoTrace)
{
    RecordingHost host;
    host.allow = false;
    TVelEditText t(&host);
    t.ReplaceSelection("x");
    EXPECT_TRUE(host.log.isEmpty());
    EXPECT_EQ(t.UndoCount(), 0);
    EXPECT_FALSE(t.Modified());
}

TEST_F(TextStoreTest, TooLongInsertionIsRefusedWholeButTheSelectionGoes)
{
    RecordingHost host;
    TVelEditText t(&host);
    t.Assign("123");
    t.SetMaxLength(3);
    t.SetSelStart(2);
    t.SetSelLength(1);
    t.ReplaceSelection("45");
    EXPECT_EQ(t.Text(), "13");
}

TEST_F(TextStoreTest, SelectWord)
{
    struct Case {
        const char* name;
        int caret;
        QString selected;
    };
    const Case cases[] = {
        {"inside the first word", 2, "one"},
        {"inside a middle word", 6, "two"},
        {"on the delimiter after a word", 4, "one"},
        {"at the end", 14, "three"},
    };
    for (const Case& c : cases) {
        TVelEditText t;
        t.Assign("one two three");
        t.SetCursorPos(c.caret);
        t.SelectWord();
        EXPECT_EQ(t.SelText(), c.selected) << c.name;
    }
    TVelEditText empty;
    empty.SelectWord();
    EXPECT_EQ(empty.SelLength(), 0);
}

TEST_F(TextStoreTest, WorksWithoutAHost)
{
    TVelEditText t;
    t.ReplaceSelection("ab");
    t.ReplaceSelection("c");
    t.Undo();
    EXPECT_EQ(t.Text(), "ab");
    EXPECT_FALSE(t.Typing || t.Pasting || t.Undoing || t.DeletionEdit);
}

// Shift and insert mode come from the host: a store on its own needs no application object, and so
// opens no instance record.
TEST_F(TextStoreTest, TakesShiftAndInsertModeFromItsHost)
{
    VelFreeApplication();
    RecordingHost host;
    TVelEditText t(&host);
    t.Assign("abcd");
    host.SetKeyboardState(ksInsertMode | ksShift);
    t.SetCursorPos(3);
    EXPECT_EQ(t.SelText(), "ab");
    host.SetKeyboardState(0);
    t.SetCursorPos(2);
    t.ReplaceSelection("X");
    EXPECT_EQ(t.Text(), "aXcd") << "overwrite";
    EXPECT_EQ(VelApplicationIfExists(), nullptr);
}
