// Characters beyond the Basic Multilingual Plane are two UTF-16 units; no key, click, selection or
// length limit may leave half of one behind.
#include "EditTestSupport.h"

#include <QKeyEvent>
#include <QTest>
#include <functional>
#include <set>

namespace {

const QString E = QString::fromUtf16(u"\U0001F600"); // two units
// Pairs at the start, in the middle and at the end: units 1-2, 4-5 and 7-8.
const QString Mixed = E + "a" + E + "b" + E;

class WholeCharacterTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        edit = std::make_unique<TTestEdit>();
        edit->resize(200, 24);
        edit->show();
    }
    void TearDown() override
    {
        edit.reset();
        EditTest::TearDown();
    }

    std::unique_ptr<TTestEdit> edit;
};

void Keys(QWidget* w, Qt::Key Key, int Times = 1, Qt::KeyboardModifiers Mods = Qt::NoModifier)
{
    for (int i = 0; i < Times; ++i)
        QTest::keyClick(w, Key, Mods);
}

// One key press carrying Text, as a keyboard or a compose key sends a character.
void Type(QWidget* w, const QString& Text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, Text);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, Text);
    QCoreApplication::sendEvent(w, &release);
}

} // namespace

TEST_F(WholeCharacterTest, KeysSelectionsAndLimitsTakeWholeCharacters)
{
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    struct Case {
        const char* name;
        int caret;
        int maxLength;
        bool overwrite;
        std::function<void(TTestEdit*)> act;
        QString text;
        int cursor, selStart, selLength;
    };
    const Case cases[] = {
        {"Right over the first pair", 1, 0, false, [](auto e) { Keys(e, Qt::Key_Right); }, Mixed, 3, 3, 0},
        {"Left over the middle pair", 6, 0, false, [](auto e) { Keys(e, Qt::Key_Left); }, Mixed, 4, 4, 0},
        {"Backspace after the last pair", 9, 0, false, [](auto e) { Keys(e, Qt::Key_Backspace); }, E + "a" + E + "b", 7,
         7, 0},
        {"Delete before the middle pair", 4, 0, false, [](auto e) { Keys(e, Qt::Key_Delete); }, E + "ab" + E, 4, 4, 0},
        {"Undo of a Backspace", 3, 0, false, [](auto e) { Keys(e, Qt::Key_Backspace), e->Perform(EM_UNDO, 0, 0); },
         Mixed, 3, 1, 2},
        {"Shift+Right twice", 3, 0, false, [=](auto e) { Keys(e, Qt::Key_Right, 2, shift); }, Mixed, 6, 3, 3},
        {"Shift+Left from the end", 9, 0, false, [=](auto e) { Keys(e, Qt::Key_Left, 1, shift); }, Mixed, 7, 7, 2},
        {"overwrite takes the whole pair", 4, 0, true, [](auto e) { Type(e, "x"); }, E + "axb" + E, 5, 5, 0},
        {"a typed pair is one character", 3, 0, false, [](auto e) { Type(e, E); }, E + Mixed, 5, 5, 0},
        {"a pair that does not fit is not typed", 3, 9, false, [](auto e) { Type(e, E); }, Mixed, 3, 3, 0},
        {"a half typed alone is dropped", 3, 0, false, [](auto e) { Type(e, E.left(1) + "z" + E.mid(1)); },
         E + "za" + E + "b" + E, 4, 4, 0},
        {"a selection set across a pair", 1, 0, false, [](auto e) { e->Perform(EM_SETSEL, 3, 4); }, Mixed, 4, 4, 2},
        {"a text cut to MaxLength", 1, 4, false, [](auto e) { e->SetText(Mixed + "c"); }, E + "a", 1, 1, 0},
        {"pasted halves", 3, 0, false,
         [](auto e) {
             EditTest::Clipboard()->setText(E.left(1) + "1" + E.mid(1));
             QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
         },
         E + "\uFFFD1\uFFFDa" + E + "b" + E, 6, 6, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        edit->SetMaxLength(0);
        edit->SetText(QString());
        edit->SetText(Mixed);
        edit->SetCursorPos(c.caret);
        edit->SetMaxLength(c.maxLength);
        SetInsertMode(!c.overwrite);
        c.act(edit.get());
        EXPECT_EQ(edit->Text(), c.text);
        EXPECT_TRUE(QStringView(edit->Text()).isValidUtf16());
        EXPECT_EQ(edit->CursorPos(), c.cursor);
        EXPECT_EQ(edit->SelStart(), c.selStart);
        EXPECT_EQ(edit->SelLength(), c.selLength);
    }
}

// A click anywhere puts the caret between characters, and every place between them can be
// clicked; a double click selects whole words.
TEST_F(WholeCharacterTest, MouseLandsBetweenCharacters)
{
    edit->SetText(E + " " + Mixed);
    std::set<int> reached;
    for (int x = 0; x < edit->width(); ++x) {
        QTest::mouseClick(edit.get(), Qt::LeftButton, Qt::NoModifier, QPoint(x, edit->height() / 2));
        EXPECT_FALSE(VelSplitsPair(edit->Text(), edit->CursorPos())) << "x " << x;
        reached.insert(edit->CursorPos());
        QTest::mouseDClick(edit.get(), Qt::LeftButton, Qt::NoModifier, QPoint(x, edit->height() / 2));
        EXPECT_FALSE(VelSplitsPair(edit->Text(), edit->SelStart())) << "x " << x;
        EXPECT_FALSE(VelSplitsPair(edit->Text(), edit->SelStart() + edit->SelLength())) << "x " << x;
    }
    EXPECT_EQ(reached, (std::set<int>{1, 3, 4, 6, 7, 9, 10, 12}));
}
