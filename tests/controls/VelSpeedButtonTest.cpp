#include <gtest/gtest.h>

#include <QImage>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "VelCustomPanel.h"
#include "VelSpeedButton.h"
#include "VelSysColors.h"

namespace {

// Three buttons side by side on a panel, 30x20 each, 10 pixels apart.
struct Strip {
    QWidget window;
    TVelCustomPanel* parent = new TVelCustomPanel(&window);
    std::vector<std::unique_ptr<TVelSpeedButton>> buttons;
    std::vector<int> clicks = std::vector<int>(3, 0);

    Strip()
    {
        parent->setGeometry(0, 0, 120, 40);
        for (int i = 0; i < 3; ++i) {
            auto b = std::make_unique<TVelSpeedButton>();
            b->SetParent(parent);
            b->SetBounds(i * 40, 0, 30, 20);
            b->OnClick = [this, i](QObject*) { ++clicks[std::size_t(i)]; };
            buttons.push_back(std::move(b));
        }
        window.resize(140, 60);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    TVelSpeedButton& operator[](int i) { return *buttons[std::size_t(i)]; }
    static QPoint Centre(int i) { return {i * 40 + 15, 10}; }
    void Move(QPoint pos, Qt::MouseButtons held = Qt::NoButton) const
    {
        QMouseEvent e(QEvent::MouseMove, pos, parent->mapToGlobal(pos), Qt::NoButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(parent, &e);
    }
    void Click(int i) const { QTest::mouseClick(parent, Qt::LeftButton, Qt::NoModifier, Centre(i)); }
    std::vector<bool> PressedFlags()
    {
        std::vector<bool> out;
        for (auto& b : buttons)
            out.push_back(b->Pressed());
        return out;
    }
};

const char* StateName(TVelButtonState s)
{
    switch (s) {
    case bsUp: return "up";
    case bsHot: return "hot";
    case bsDown: return "down";
    case bsExclusive: return "exclusive";
    case bsDisabled: return "disabled";
    }
    return "?";
}

QImage Picture(TVelSpeedButton& b, qreal dpr = 1)
{
    QImage img(QSize(b.Width(), b.Height()) * dpr, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::magenta);
    QPainter p(&img);
    b.Paint(p);
    return img;
}

QImage RedSquare(int size)
{
    QImage g(size, size, QImage::Format_ARGB32);
    g.fill(Qt::red);
    return g;
}

// The bounding box of the pure red pixels of an image, in its pixel grid.
QRect RedBox(const QImage& img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == qRgb(255, 0, 0))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(VelSpeedButton, StatesFollowThePointerAndTheButton)
{
    Strip s;
    std::vector<std::string> seen;
    const auto note = [&] { seen.push_back(StateName(s[0].State())); };
    note();
    s.Move(Strip::Centre(0));
    note();
    QTest::mousePress(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
    note();
    s.Move({35, 10}, Qt::LeftButton); // dragged off, into the gap
    note();
    EXPECT_EQ(s.clicks[0], 0);
    s.Move({20, 10}, Qt::LeftButton);
    note();
    QTest::mouseRelease(s.parent, Qt::LeftButton, Qt::NoModifier, {20, 10});
    note();
    s.Move({35, 10});
    note();
    EXPECT_EQ(seen, (std::vector<std::string>{"up", "hot", "down", "up", "down", "hot", "up"}));
    EXPECT_EQ(s.clicks, (std::vector<int>{1, 0, 0}));
}

TEST(VelSpeedButton, ReleaseOffTheButtonDoesNotClick)
{
    Strip s;
    QTest::mousePress(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
    s.Move(Strip::Centre(1), Qt::LeftButton);
    QTest::mouseRelease(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(1));
    EXPECT_EQ(s.clicks, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(s[0].State(), bsUp);
}

TEST(VelSpeedButton, DisabledButtonIgnoresTheMouse)
{
    Strip s;
    s[0].SetEnabled(false);
    s.Move(Strip::Centre(0));
    s.Click(0);
    EXPECT_EQ(s.clicks[0], 0);
    EXPECT_EQ(s[0].State(), bsUp);
    // Disabling a held button drops the hold: the release that follows clicks nothing.
    QTest::mousePress(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(1));
    s[1].SetEnabled(false);
    s[1].SetEnabled(true);
    QTest::mouseRelease(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(1));
    EXPECT_EQ(s.clicks[1], 0);
}

TEST(VelSpeedButton, GroupLatchesOneButtonAtATime)
{
    struct Row {
        const char* name;
        bool allowAllUp;
        std::vector<int> clicks;
        std::vector<bool> pressed;
        std::vector<int> clickCounts;
    };
    const Row rows[] = {
        {"first click latches", false, {0}, {true, false, false}, {1, 0, 0}},
        {"latched stays and stays quiet", false, {0, 0}, {true, false, false}, {1, 0, 0}},
        {"another takes over", false, {0, 1}, {false, true, false}, {1, 1, 0}},
        {"all up releases on second click", true, {0, 0}, {false, false, false}, {2, 0, 0}},
        {"all up, take over then release", true, {0, 1, 1}, {false, false, false}, {1, 2, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Strip s;
        s[0].SetGroupIndex(1);
        s[1].SetGroupIndex(1);
        s[2].SetGroupIndex(2); // another group on the same parent
        s[2].SetPressed(true);
        s[0].SetAllowAllUp(r.allowAllUp);
        EXPECT_EQ(s[1].AllowAllUp(), r.allowAllUp);
        for (int i : r.clicks)
            s.Click(i);
        std::vector<bool> expected = r.pressed;
        expected[2] = true;
        EXPECT_EQ(s.PressedFlags(), expected);
        EXPECT_EQ(s.clicks, r.clickCounts);
    }
}

TEST(VelSpeedButton, PressedNeedsAGroupAndAllowAllUpToRelease)
{
    Strip s;
    s[0].SetPressed(true);
    EXPECT_FALSE(s[0].Pressed());
    s[0].SetGroupIndex(3);
    s[1].SetGroupIndex(3);
    s[0].SetPressed(true);
    s[0].SetPressed(false);
    EXPECT_TRUE(s[0].Pressed());
    // A sibling latching releases it and hands over its AllowAllUp.
    s[1].SetAllowAllUp(true);
    s[1].SetPressed(true);
    EXPECT_EQ(s.PressedFlags(), (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(s[0].AllowAllUp());
    s[1].SetPressed(false);
    EXPECT_FALSE(s[1].Pressed());
    s[1].SetPressed(true);
    s[1].SetGroupIndex(0);
    EXPECT_FALSE(s[1].Pressed());
}

TEST(VelSpeedButton, HeldRepeatingButtonClicksAtThePressThenAfterTheDelayThenEveryInterval)
{
    const struct {
        const char* name;
        std::uint16_t delay, interval;
        int offAt, backAt; // dragged off the button and back onto it; -1: never
        std::vector<qint64> clicks;
    } rows[] = {
        {"Held", 300, 100, -1, -1, {0, 300, 400, 500, 600, 700, 800}},
        {"PausesWhileDraggedOff", 100, 50, 0, 620, {0, 650, 700, 750, 800}},
        {"DraggedOffForGood", 100, 50, 120, -1, {0, 100}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TFakeClock clock;
        Strip s;
        s[0].SetRepeatedClick(true);
        s[0].SetRepeatingDelay(row.delay);
        s[0].SetRepeatingInterval(row.interval);
        std::vector<qint64> clicks;
        s[0].OnClick = [&](QObject*) { clicks.push_back(clock.Now()); };
        QTest::mousePress(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
        for (qint64 t = 0; t <= 800; t += 10) {
            clock.AdvanceTo(t);
            if (t == row.offAt)
                s.Move({35, 10}, Qt::LeftButton);
            if (t == row.backAt)
                s.Move(Strip::Centre(0), Qt::LeftButton);
        }
        QTest::mouseRelease(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
        clock.Advance(1000);
        EXPECT_EQ(clicks, row.clicks) << "a repeating button does not click on release nor after it";
    }
}

TEST(VelSpeedButton, HeldRepeatingButtonRepeatsOnTheRealClock)
{
    Strip s;
    s[0].SetRepeatedClick(true);
    s[0].SetRepeatingDelay(50);
    s[0].SetRepeatingInterval(50);
    QTest::mousePress(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.clicks[0] >= 3; }, 5000));
    QTest::mouseRelease(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
}

TEST(VelSpeedButton, GlyphSitsInTheLayoutAndShiftsWhenPushed)
{
    Strip s;
    TVelSpeedButton& b = s[0];
    b.SetButtonStyle(ubsWin40);
    b.SetGlyph(RedSquare(8));
    // 30x20 with a 2-pixel frame: a centred 8x8 glyph starts at (11, 6).
    EXPECT_EQ(RedBox(Picture(b)), QRect(11, 6, 8, 8));
    b.ButtonLayout()->SetAlignment(agTopLeft);
    EXPECT_EQ(RedBox(Picture(b)), QRect(2, 2, 8, 8));
    b.ButtonLayout()->SetAlignment(agCenterRight);
    EXPECT_EQ(RedBox(Picture(b)), QRect(20, 6, 8, 8));
    b.ButtonLayout()->SetAlignment(agCenter);
    QTest::mousePress(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
    EXPECT_EQ(RedBox(Picture(b)), QRect(12, 7, 8, 8));
    QTest::mouseRelease(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
    // Disabled, the glyph is embossed in the 3D colours: no red is left.
    b.SetEnabled(false);
    EXPECT_TRUE(RedBox(Picture(b)).isNull());
    // And the parent paints the button where it stands.
    b.SetEnabled(true);
    const QImage shot = s.parent->grab().toImage();
    EXPECT_EQ(RedBox(shot), QRect(11, 6, 8, 8));
}

TEST(VelSpeedButton, CaptionGoesBesideTheGlyphAsTheLayoutSays)
{
    Strip s;
    TVelSpeedButton& b = s[0];
    b.SetBounds(0, 0, 80, 24);
    b.SetGlyph(RedSquare(8));
    b.SetCaption(QStringLiteral("Go"));
    const auto textColumns = [&](const QImage& img) {
        QRect box;
        for (int y = 3; y < img.height() - 3; ++y)
            for (int x = 3; x < img.width() - 3; ++x)
                if (img.pixel(x, y) != qRgb(255, 0, 0) && qGray(img.pixel(x, y)) < 110)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    QImage right = Picture(b);
    EXPECT_GT(textColumns(right).left(), RedBox(right).right());
    b.ButtonLayout()->SetAlignText2Glyph(taLeft);
    QImage left = Picture(b);
    EXPECT_LT(textColumns(left).right(), RedBox(left).left());
    b.ButtonLayout()->SetAlignText2Glyph(taBottom);
    QImage below = Picture(b);
    EXPECT_GT(textColumns(below).bottom(), RedBox(below).bottom());
}

TEST(VelSpeedButton, FlatStyleShowsItsFrameOnlyUnderThePointer)
{
    Strip s;
    TVelSpeedButton& b = s[0];
    b.SetButtonStyle(ubsFlat);
    const QRgb face = VelColorToQColor(clBtnFace).rgb();
    const QRgb light = VelColorToQColor(clBtnHighlight).rgb();
    const QRgb shadow = VelColorToQColor(clBtnShadow).rgb();
    EXPECT_EQ(Picture(b).pixel(0, 0), face);
    s.Move(Strip::Centre(0));
    ASSERT_EQ(b.State(), bsHot);
    QImage hot = Picture(b);
    EXPECT_EQ(hot.pixel(0, 5), light);
    EXPECT_EQ(hot.pixel(29, 5), shadow);
    QTest::mousePress(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
    QImage down = Picture(b);
    EXPECT_EQ(down.pixel(0, 5), shadow);
    EXPECT_EQ(down.pixel(29, 5), light);
    QTest::mouseRelease(s.parent, Qt::LeftButton, Qt::NoModifier, Strip::Centre(0));
}

TEST(VelSpeedButton, FrameStaysCrispAtTwiceTheDensity)
{
    TVelSpeedButton b;
    b.SetBounds(0, 0, 30, 20);
    b.SetButtonStyle(ubsWin40);
    const QImage img = Picture(b, 2);
    // Every pixel of the frame rows is one of the exact 3D colours: no blended edge pixels.
    const QList<QRgb> allowed = {VelColorToQColor(cl3DLight).rgb(), VelColorToQColor(clBtnHighlight).rgb(),
                                 VelColorToQColor(clBtnShadow).rgb(), VelColorToQColor(cl3DDkShadow).rgb(),
                                 VelColorToQColor(clBtnFace).rgb()};
    for (int y = 0; y < img.height(); ++y)
        for (int x : {0, 1, 2, 3, img.width() - 4, img.width() - 3, img.width() - 2, img.width() - 1})
            ASSERT_TRUE(allowed.contains(img.pixel(x, y))) << x << "," << y;
    // Each logical line is two device pixels wide.
    EXPECT_EQ(img.pixel(0, 10), img.pixel(1, 10));
    EXPECT_EQ(img.pixel(2, 10), img.pixel(3, 10));
    EXPECT_NE(img.pixel(1, 10), img.pixel(2, 10));
}
