#include "EditTestSupport.h"

#include <QPoint>
#include <QRect>
#include <array>

namespace {

int SelStartOf(TVelBaseEdit& e)
{
    return LoWord(static_cast<std::uintptr_t>(e.Perform(EM_GETSEL)));
}

} // namespace

TEST_F(EditTest, SetSelVariants)
{
    struct Case {
        const char* name;
        int start, end;
        int selStart, selLength, cursor;
    };
    // The text is "abcdefgh" with "cd" selected beforehand.
    const Case cases[] = {
        {"0, -1 selects all", 0, -1, 1, 8, 9},
        {"-1 only clears the selection", -1, 5, 3, 0, 3},
        {"2, 5", 2, 5, 3, 3, 3},
        {"empty range places the caret", 4, 4, 5, 0, 5},
        {"reversed range is put in order", 5, 2, 3, 3, 3},
        {"-1 as end means the end of the text", 2, -1, 3, 6, 3},
        {"end past the text stops at its end", 2, 100, 3, 6, 3},
        {"start past the text", 50, 60, 9, 0, 9},
    };
    for (const Case& c : cases) {
        TTestEdit e;
        e.SetText("abcdefgh");
        e.Select(3, 2);
        e.Perform(EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
        EXPECT_EQ(e.SelStart(), c.selStart) << c.name;
        EXPECT_EQ(e.SelLength(), c.selLength) << c.name;
        EXPECT_EQ(e.CursorPos(), c.cursor) << c.name;
    }
}

TEST_F(EditTest, SetSelIgnoresAHeldShiftKey)
{
    TTestEdit e;
    e.SetText("abcdefgh");
    SetShift(true);
    e.Perform(EM_SETSEL, 4, 6);
    EXPECT_EQ(e.SelStart(), 5);
    EXPECT_EQ(e.SelLength(), 2);
}

TEST_F(EditTest, GetSelAnswersInResultAndThroughPointers)
{
    TTestEdit e;
    e.SetText("abcdefgh");
    e.Select(3, 4);
    int start = -1, end = -1;
    const LRESULT r = e.Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 6);
    EXPECT_EQ(LoWord(static_cast<std::uintptr_t>(r)), 2);
    EXPECT_EQ(HiWord(static_cast<std::uintptr_t>(r)), 6);
    EXPECT_EQ(SelStartOf(e), 2);
}

TEST_F(EditTest, GetLineNeverWritesPastTheCallersBuffer)
{
    struct Case {
        std::uint16_t capacity;
        int copied;
    };
    for (const Case c : {Case{0, 0}, Case{3, 3}, Case{5, 5}, Case{10, 5}}) {
        TTestEdit e;
        e.SetText("hello");
        std::array<char16_t, 12> buffer;
        buffer.fill(u'#');
        buffer[0] = c.capacity;
        const LRESULT r = e.Perform(EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer.data()));
        EXPECT_EQ(r, c.copied) << c.capacity;
        EXPECT_EQ(QString::fromUtf16(buffer.data(), c.copied), QStringLiteral("hello").left(c.copied));
        for (std::size_t i = std::max<std::size_t>(static_cast<std::size_t>(c.copied), 1); i < buffer.size(); ++i)
            EXPECT_EQ(buffer[i], u'#') << "capacity " << c.capacity << ", index " << i;
    }
    TTestEdit e;
    EXPECT_EQ(e.Perform(EM_GETLINE, 0, 0), 0);
}

TEST_F(EditTest, SimpleQueriesAndSettings)
{
    TTestEdit e;
    e.SetText("hello");
    EXPECT_EQ(e.Perform(EM_GETLINECOUNT), 1);
    EXPECT_EQ(e.Perform(EM_LINELENGTH), 5);
    EXPECT_EQ(e.Perform(WM_GETTEXTLENGTH), 5);
    for (unsigned zero : {EM_LINEINDEX, EM_LINEFROMCHAR, EM_GETFIRSTVISIBLELINE, EM_GETHANDLE, EM_GETMARGINS,
                          EM_GETTHUMB, EM_GETWORDBREAKPROC, EM_CHARFROMPOS})
        EXPECT_EQ(e.Perform(zero, 3, 3), 0) << std::hex << zero;

    e.Perform(EM_LIMITTEXT, 3);
    EXPECT_EQ(e.MaxLength(), 3);
    EXPECT_EQ(e.Text(), "hello") << "a new limit does not cut the text";
    EXPECT_EQ(e.Perform(EM_GETLIMITTEXT), 3);

    EXPECT_EQ(e.Perform(EM_SETREADONLY, 1), 1);
    EXPECT_TRUE(e.ReadOnly());
    e.Perform(EM_SETREADONLY, 0);

    EXPECT_EQ(e.Perform(EM_GETMODIFY), 0);
    e.log.clear();
    e.Perform(EM_SETMODIFY, 1);
    EXPECT_TRUE(e.Modified());
    EXPECT_EQ(e.log, QStringList{"modified"});
    EXPECT_EQ(e.Perform(EM_GETMODIFY), 1);

    QRect r;
    e.Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r, e.TextRect());
    QPoint p(-1, -1);
    e.Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), 0);
    EXPECT_EQ(p, QPoint(e.TextRect().left(), 0));
    e.Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), 2);
    EXPECT_GT(p.x(), e.TextRect().left());
}

TEST_F(EditTest, ReplaceSelAndClipboardMessages)
{
    TTestEdit e;
    e.SetText("abc");
    e.Perform(EM_SETSEL, 1, 2);
    e.Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>("\xe9t\xe9"));
    EXPECT_EQ(e.Text(), QString::fromLocal8Bit("a\xe9t\xe9"
                                               "c"));
    EXPECT_EQ(e.UndoCount(), 1);

    e.Perform(EM_SETSEL, 0, 1);
    e.Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("Z"));
    EXPECT_TRUE(e.Text().startsWith("Z"));
    EXPECT_EQ(e.UndoCount(), 0) << "canUndo 0 discards the history";
    EXPECT_TRUE(e.CanUndo());

    const QString before = e.Text();
    e.Perform(EM_REPLACESEL, 1, 0);
    EXPECT_EQ(e.Text(), before) << "no text pointer, no edit";

    e.SetText("hello");
    e.Perform(EM_SETSEL, 0, 2);
    e.Perform(WM_COPY);
    EXPECT_EQ(Clipboard()->text(), "he");
    e.Perform(WM_CUT);
    EXPECT_EQ(e.Text(), "llo");
    e.Perform(WM_PASTE);
    EXPECT_EQ(e.Text(), "hello");
    e.Perform(EM_SETSEL, 0, -1);
    e.Perform(WM_CLEAR);
    EXPECT_EQ(e.Text(), "");
}

TEST_F(EditTest, BaseEditHasNoPasswordChar)
{
    TVelBaseEdit e;
    e.SetText("abc");
    e.Perform(EM_SETPASSWORDCHAR, '*');
    EXPECT_EQ(e.Perform(EM_GETPASSWORDCHAR), 0);
}

TEST_F(EditTest, BaseEditAnswersCharFromPosAndDialogCodes)
{
    TVelBaseEdit e;
    e.SetText("abc");
    EXPECT_EQ(e.Perform(EM_CHARFROMPOS, 0, PointToLParam(QPoint(e.CharPosToX(3), 0))), 2);
    EXPECT_EQ(e.Perform(EM_CHARFROMPOS, 0, PointToLParam(QPoint(-40, 0))), 0) << "left of the text";
    EXPECT_EQ(e.Perform(WM_GETDLGCODE), LRESULT(DLGC_WANTARROWS | DLGC_WANTCHARS));
}

namespace {

class DigitsOnly : public TVelValidationEntity {
public:
    bool IsValid(const QString& S) override
    {
        for (QChar c : S)
            if (!c.isDigit())
                return false;
        return true;
    }
};

} // namespace

TEST_F(EditTest, ValidatorIsAskedAfterEveryChange)
{
    struct Case {
        const char* name;
        QString typed;
        bool active;
        int level;
        QStringList reports;
        bool error;
    };
    const Case cases[] = {
        {"valid text", "12", true, 1, {}, false},
        {"invalid text reports its level", "1x", true, 2, {"level 2"}, true},
        {"level 0 counts as passed", "x", true, 0, {}, false},
        {"inactive validator is not asked", "x", false, 1, {}, false},
    };
    for (const Case& c : cases) {
        TTestEdit e;
        DigitsOnly validator;
        validator.SetActive(c.active);
        validator.SetErrorLevel(c.level);
        e.SetValidator(&validator);
        QStringList reports;
        e.OnValidationError = [&](QObject*, int level) { reports << QStringLiteral("level %1").arg(level); };
        e.ReplaceSelection(c.typed);
        EXPECT_EQ(reports, c.reports) << c.name;
        EXPECT_EQ(e.ValidationError(), c.error) << c.name;
    }
}
