#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include "FakeClock.h"
#include "SpinEditProbe.h"
#include "VelErrors.h"
#include "VelExceptionDisplay.h"
#include "VelExtSpinEdit.h"
#include "VelSpinButton.h"

namespace {

// The calculator's input, shown and focused elsewhere, with its spin button clicks counted.
class SpinButtonTest : public ::testing::Test {
protected:
    SpinButtonTest() : edit(&window), other(&window)
    {
        other.setFocusPolicy(Qt::StrongFocus);
        other.setGeometry(0, 40, 50, 20);
        window.resize(260, 80);
        edit.setGeometry(0, 0, 201, 25);
        edit.BeginLoading();
        edit.SetMaxValue(1000000.0);
        edit.SetEditType(ntFloatNumber);
        edit.SetValue(50.0);
        edit.Loaded();
        edit.OnSpinBtnUpClick = [this](QObject*) { ++ups; };
        edit.OnSpinBtnDownClick = [this](QObject*) { ++downs; };
        window.show();
        QApplication::setActiveWindow(&window);
    }

    TVelSpinButton& Button() { return *edit.SpinButton(); }
    QPoint UpPoint() { return Button().BoundsRect().topLeft() + QPoint(3, 3); }
    QPoint DownPoint() { return Button().BoundsRect().bottomRight() - QPoint(3, 3); }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(at), edit.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&edit, &e);
    }
    void Press(QPoint at) { Send(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void Move(QPoint at, bool held) { Send(QEvent::MouseMove, at, held ? Qt::LeftButton : Qt::NoButton); }
    void Release(QPoint at) { Send(QEvent::MouseButtonRelease, at, Qt::NoButton); }

    MessageBoxCatcher boxes_;
    QWidget window;
    TVelExtSpinEdit edit;
    QWidget other;
    int ups = 0, downs = 0;
};

TEST_F(SpinButtonTest, SitsSquareAtTheRightOfTheInnerRectangleBesideTheText)
{
    const QRect inner = edit.InnerRect();
    const QRect b = Button().BoundsRect();
    EXPECT_EQ(b, QRect(inner.right() + 1 - inner.height(), inner.top(), inner.height(), inner.height()));
    EXPECT_LT(edit.TextRect().right(), b.left());
    edit.SetSpinBtnWidth(30);
    EXPECT_EQ(Button().BoundsRect().width(), 30);
    EXPECT_EQ(Button().BoundsRect().right(), inner.right());
    EXPECT_LT(edit.TextRect().right(), Button().BoundsRect().left());
}

TEST_F(SpinButtonTest, ThePointerIsAnArrowOverTheButtonAndAnIBeamOverTheText)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const struct {
        QPoint at;
        Qt::CursorShape shape;
    } path[] = {{edit.TextRect().center(), Qt::IBeamCursor},
                {UpPoint(), Qt::ArrowCursor},
                {DownPoint(), Qt::ArrowCursor},
                {edit.TextRect().center(), Qt::IBeamCursor},
                {DownPoint(), Qt::ArrowCursor}};
    for (const auto& step : path) {
        QTest::mouseMove(&edit, step.at);
        QWidget* under = QApplication::widgetAt(edit.mapToGlobal(step.at));
        ASSERT_EQ(under, &edit);
        EXPECT_EQ(under->cursor().shape(), step.shape) << step.at.x() << "," << step.at.y();
    }
}

// A press on the text keeps the mouse with the edit until release, wherever the pointer goes: a
// selection dragged out past the text's end, over the button, selects to the end and clicks nothing.
TEST_F(SpinButtonTest, ADragFromTheTextOverTheButtonStaysTheEdits)
{
    edit.SetText(QStringLiteral("123456.5"));
    const QPoint start(edit.TextRect().left() + 1, edit.TextRect().center().y());
    Press(start);
    Move(edit.TextRect().center(), true);
    Move(UpPoint(), true);
    Move(DownPoint(), true);
    EXPECT_EQ(edit.cursor().shape(), Qt::IBeamCursor) << "the pointer keeps the shape of where the press was";
    Release(DownPoint());
    EXPECT_EQ(ups + downs, 0);
    EXPECT_EQ(Button().State(shUp), ssNormal);
    EXPECT_EQ(Button().State(shDown), ssNormal);
    EXPECT_EQ(edit.SelText(), edit.Text());
    Move(DownPoint(), false);
    EXPECT_EQ(edit.cursor().shape(), Qt::ArrowCursor) << "once released, the button is the pointer's again";
}

TEST_F(SpinButtonTest, EachHalfStepsOnceAndFocusesTheEdit)
{
    struct Case {
        bool up;
        const char* text;
    } cases[] = {{true, "51.0"}, {false, "50.0"}};
    for (const Case& c : cases) {
        other.setFocus();
        ASSERT_FALSE(edit.hasFocus());
        const QPoint at = c.up ? UpPoint() : DownPoint();
        Press(at);
        Release(at);
        EXPECT_EQ(edit.Text(), QString::fromLatin1(c.text)) << c.up;
        EXPECT_TRUE(edit.hasFocus()) << c.up;
        EXPECT_FALSE(Button().Repeating());
    }
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 1);
}

TEST_F(SpinButtonTest, HalfStatesFollowThePointerAndThePress)
{
    Move(UpPoint(), false);
    EXPECT_EQ(Button().State(shUp), ssHot);
    EXPECT_EQ(Button().State(shDown), ssNormal);
    Press(UpPoint());
    EXPECT_EQ(Button().State(shUp), ssPressed);
    Release(UpPoint());
    EXPECT_EQ(Button().State(shUp), ssHot);
    // Over the text the button lets go of its hot look.
    Move(QPoint(10, 10), false);
    EXPECT_EQ(Button().State(shUp), ssNormal);
}

TEST_F(SpinButtonTest, HoldingRepeatsAfterTheFirstDelayThenAtTheIntervalUntilTheRelease)
{
    enum TAct { kPress, kMove, kRelease, kWait };
    struct TStep {
        TAct act;
        QPoint at;
        int ms = 0;
    };
    const QPoint outside(300, 100);
    const struct {
        const char* name;
        std::vector<TStep> steps;
        int ups, downs;
    } rows[] = {
        // One at the press, one at Interval + 200 ms, then one every Interval (100 ms).
        {"HeldOnUp", {{kPress, UpPoint()}, {kWait, {}, 1000}, {kRelease, UpPoint()}}, 9, 0},
        {"DraggedIntoTheOtherHalf",
         {{kPress, UpPoint()}, {kMove, DownPoint()}, {kWait, {}, 700}, {kRelease, DownPoint()}},
         1,
         5},
        {"ReleasedOutside", {{kPress, UpPoint()}, {kMove, outside}, {kRelease, outside}}, 1, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TFakeClock clock;
        ups = downs = 0;
        for (const TStep& step : row.steps) {
            switch (step.act) {
            case kPress: Press(step.at); break;
            case kMove: Move(step.at, true); break;
            case kRelease: Release(step.at); break;
            case kWait: clock.Advance(step.ms); break;
            }
        }
        clock.Advance(1000);
        EXPECT_EQ(ups, row.ups);
        EXPECT_EQ(downs, row.downs);
        EXPECT_FALSE(Button().Repeating());
        EXPECT_NE(Button().State(shUp), ssPressed) << "nothing stays drawn pressed";
        EXPECT_NE(Button().State(shDown), ssPressed);
    }
}

TEST_F(SpinButtonTest, HoldingRepeatsOnTheRealClock)
{
    Press(UpPoint());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ups >= 3; }, 5000));
    Release(UpPoint());
    EXPECT_FALSE(Button().Repeating());
}

TEST_F(SpinButtonTest, DisablingTheEditDisablesBothHalvesAndPressesDoNothing)
{
    edit.setEnabled(false);
    EXPECT_EQ(Button().State(shUp), ssDisabled);
    EXPECT_EQ(Button().State(shDown), ssDisabled);
    Press(UpPoint());
    Release(UpPoint());
    EXPECT_EQ(ups, 0);
    edit.setEnabled(true);
    EXPECT_EQ(Button().State(shUp), ssNormal);
    EXPECT_EQ(Button().State(shDown), ssNormal);
}

TEST_F(SpinButtonTest, HalfAtItsBoundStaysDisabledUnderThePointer)
{
    edit.SetAutoDisableButtons(true);
    edit.SetValue(0.0);
    EXPECT_EQ(Button().State(shDown), ssDisabled);
    Move(DownPoint(), false);
    Press(DownPoint());
    Release(DownPoint());
    EXPECT_EQ(downs, 0);
    EXPECT_EQ(Button().State(shDown), ssDisabled);
    edit.setEnabled(false);
    edit.setEnabled(true);
    EXPECT_EQ(Button().State(shDown), ssDisabled);
    EXPECT_EQ(Button().State(shUp), ssNormal);
}

TEST_F(SpinButtonTest, ClickHandlerFailureStopsTheRepeat)
{
    edit.OnSpinBtnUpClick = [this](QObject*) {
        if (++ups == 2)
            throw EVelException(QStringLiteral("stop"));
    };
    int shown = 0;
    const TVelExceptionDisplay previous = VelSetExceptionDisplay([&](QObject*, const std::exception_ptr&) { ++shown; });
    TFakeClock clock;
    Press(UpPoint());
    clock.Advance(1000);
    VelSetExceptionDisplay(previous);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(ups, 2);
    EXPECT_FALSE(Button().Repeating());
    Release(UpPoint());
}

TEST_F(SpinButtonTest, PaintsCrispAtDoubleScale)
{
    QImage image(edit.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    edit.render(&image);
    const QRect b = Button().BoundsRect();
    // Every logical pixel of the button is one solid 2 by 2 block: nothing is smoothed.
    int blurred = 0;
    for (int y = b.top(); y <= b.bottom(); ++y)
        for (int x = b.left(); x <= b.right(); ++x) {
            const QRgb c = image.pixel(2 * x, 2 * y);
            if (image.pixel(2 * x + 1, 2 * y) != c || image.pixel(2 * x, 2 * y + 1) != c ||
                image.pixel(2 * x + 1, 2 * y + 1) != c)
                ++blurred;
        }
    EXPECT_EQ(blurred, 0);
    // The up arrow is black in the upper-left triangle.
    int black = 0;
    for (int y = 0; y < b.height() / 2; ++y)
        for (int x = 0; x < b.width() / 2; ++x)
            black += image.pixel(2 * (b.left() + x), 2 * (b.top() + y)) == qRgb(0, 0, 0);
    EXPECT_GE(black, 9);
}

} // namespace
