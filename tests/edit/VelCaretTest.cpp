#include "EditTestSupport.h"

#include <QFontMetrics>
#include <QTest>
#include <QWidget>
#include <memory>

#include "VelSystemCaret.h"

namespace {

TVelSystemCaret& SystemCaret()
{
    return TVelSystemCaret::ForThisThread();
}

// Two edits in an active window; the blink time starts from a known desktop value.
class CaretTest : public TwoEditWindowTest {
protected:
    static constexpr unsigned kDesktopBlink = 250;

    void SetUp() override
    {
        EditTest::SetUp();
        VelSetCaretBlinkTime(kDesktopBlink);
        OpenWindow();
    }
    void TearDown() override
    {
        TwoEditWindowTest::TearDown();
        VelSetCaretBlinkTime(kDesktopBlink);
    }
    void FocusEdit()
    {
        edit->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(edit->hasFocus());
    }
    int LineHeight() const { return QFontMetrics(edit->font()).height(); }
};

TEST_F(CaretTest, BlinkRateHoldsWhileFocusedAndTheDesktopValueReturnsAfter)
{
    edit->Caret()->SetBlinkRate(530);
    other->Caret()->SetBlinkRate(400);
    FocusEdit();
    EXPECT_EQ(VelGetCaretBlinkTime(), 530u);
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(VelGetCaretBlinkTime(), 400u);
    window->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(VelGetCaretBlinkTime(), kDesktopBlink);
}

TEST_F(CaretTest, AnEditMadeWhileAnotherHoldsTheBlinkTimeStillRestoresTheDesktopValue)
{
    edit->Caret()->SetBlinkRate(530);
    FocusEdit();
    auto* late = new TTestEdit(window.get());
    late->setGeometry(10, 45, 100, 25);
    late->show();
    EXPECT_EQ(late->Caret()->BlinkRate(), kDesktopBlink);
    late->Caret()->SetBlinkRate(600);
    late->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(VelGetCaretBlinkTime(), 600u);
    other->setFocus(Qt::TabFocusReason);
    window->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(VelGetCaretBlinkTime(), kDesktopBlink);
}

TEST_F(CaretTest, TheCaretIsOnRightAfterEveryKeystroke)
{
    edit->SetText(QStringLiteral("abc"));
    FocusEdit();
    // Keys that move the caret, one that types, and ones that leave it where it stands.
    for (const Qt::Key key : {Qt::Key_End, Qt::Key_A, Qt::Key_Left, Qt::Key_Delete, Qt::Key_Escape}) {
        SystemCaret().Blink();
        ASSERT_FALSE(SystemCaret().PhaseOn());
        QTest::keyClick(edit, key);
        EXPECT_TRUE(SystemCaret().PhaseOn()) << key;
        EXPECT_TRUE(SystemCaret().Visible()) << key;
    }
}

TEST_F(CaretTest, FocusCreatesTheCaretAndFocusLossDestroysIt)
{
    FocusEdit();
    EXPECT_EQ(SystemCaret().Owner(), edit);
    EXPECT_TRUE(SystemCaret().Visible());
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(SystemCaret().Owner(), other);
    window->setFocus(Qt::OtherFocusReason);
    EXPECT_FALSE(SystemCaret().Exists());
}

TEST_F(CaretTest, WithoutCanEnableNoCaretShowsAndTheTextDoesNotFollow)
{
    edit->Caret()->SetCanEnable(false);
    edit->SetText(QString(80, QLatin1Char('w')));
    FocusEdit();
    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_FALSE(SystemCaret().Visible());
    EXPECT_EQ(edit->ScrollOffset(), 0);
}

struct StyleCase {
    const char* name;
    TVelCaretStyles style;
    TVelCaretBitmap bitmapMode;
    QSize bitmap;     // empty: no picture
    QSize size;       // -1 height: the line height
    int belowLineTop; // caret top below the line's top; INT_MIN: line height - 3, INT_MAX: - Height - 2
};

TEST_F(CaretTest, EachStyleHasItsSizeAndPlace)
{
    constexpr int under = INT_MIN, underBlock = INT_MAX;
    const StyleCase cases[] = {
        {"default", csDefault, cbBmpSize, {}, {1, -1}, 0},
        {"block", csBlock, cbBmpSize, {}, {5, 7}, 0},
        {"under", csUnder, cbBmpSize, {}, {5, 1}, under},
        {"over", csOver, cbBmpSize, {}, {5, 1}, 0},
        {"under block", csUnderBlock, cbBmpSize, {}, {5, 7}, underBlock},
        {"bitmap at its size", csBitmap, cbBmpSize, {3, 4}, {3, 4}, 0},
        {"bitmap tiled", csBitmap, cbTile, {3, 4}, {5, 7}, 0},
        {"bitmap stretched", csBitmap, cbStretch, {3, 4}, {5, 7}, 0},
    };
    FocusEdit();
    const int lineTop = SystemCaret().Rect().top();
    const int x = SystemCaret().Rect().left();
    for (const StyleCase& c : cases) {
        other->setFocus(Qt::TabFocusReason);
        edit->Caret()->SetStyle(c.style);
        edit->Caret()->SetWidth(5);
        edit->Caret()->SetHeight(7);
        edit->Caret()->SetCaretBmpMode(c.bitmapMode);
        QImage picture(c.bitmap.isEmpty() ? QSize(1, 1) : c.bitmap, QImage::Format_RGB32);
        picture.fill(Qt::white);
        edit->Caret()->SetBitmap(c.bitmap.isEmpty() ? QImage() : picture);
        FocusEdit();
        const QRect r = SystemCaret().Rect();
        const QSize expected(c.size.width(), c.size.height() < 0 ? LineHeight() : c.size.height());
        EXPECT_EQ(r.size(), expected) << c.name;
        int dy = c.belowLineTop;
        if (dy == under)
            dy = LineHeight() - 3;
        else if (dy == underBlock)
            dy = LineHeight() - 7 - 2;
        EXPECT_EQ(r.top() - lineTop, dy) << c.name;
        EXPECT_EQ(r.left(), x) << c.name;
    }
}

TEST_F(CaretTest, ANewStyleWaitsForTheNextFocus)
{
    FocusEdit();
    edit->Caret()->SetStyle(csBlock);
    edit->Caret()->SetWidth(6);
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(SystemCaret().Rect().width(), 1);
    other->setFocus(Qt::TabFocusReason);
    FocusEdit();
    EXPECT_EQ(SystemCaret().Rect().width(), 6);
}

TEST(CaretAssign, CopiesBlinkRateSizeAndStyleOnly)
{
    QWidget owner;
    TVelCaret source(&owner), target(&owner);
    source.SetBlinkRate(777);
    source.SetWidth(9);
    source.SetHeight(11);
    source.SetStyle(csUnder);
    source.SetCanEnable(false);
    source.SetCaretBmpMode(cbTile);
    target.Assign(&source);
    EXPECT_EQ(target.BlinkRate(), 777);
    EXPECT_EQ(target.Width(), 9);
    EXPECT_EQ(target.Height(), 11);
    EXPECT_EQ(target.Style(), csUnder);
    EXPECT_TRUE(target.CanEnable());
    EXPECT_EQ(target.CaretBmpMode(), cbBmpSize);
}

} // namespace
