#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <vector>

#include "VelBevel.h"
#include "VelCustomBevelPanel.h"
#include "VelDevicePixels.h"
#include "VelEdge.h"
#include "VelErrors.h"
#include "DarkPalettes.h"
#include "DevicePixelChecks.h"
#include "DistinctPalette.h"
#include "VelSysColors.h"

namespace {

const QColor Bg(1, 2, 3);

struct Canvas {
    QImage image{10, 10, QImage::Format_RGB32};
    Canvas() { image.fill(Bg); }
    QColor At(int x, int y) const { return image.pixelColor(x, y); }
};

// Counts notifications and lets a test reach the bevel panel's recreation point.
class TProbePanel : public TVelCustomBevelPanel {
public:
    using TVelCustomBevelPanel::TVelCustomBevelPanel;
    int recreations = 0, changes = 0;
    void RecreateWnd() override
    {
        ++recreations;
        TVelCustomBevelPanel::RecreateWnd();
    }
    void SubObjectChanged(QObject* sender) override
    {
        ++changes;
        TVelCustomBevelPanel::SubObjectChanged(sender);
    }
};

} // namespace

TEST(VelBevel, ExtentsByMode)
{
    struct Case {
        const char* name;
        std::function<void(TVelBevel&)> set;
        int extent, rightBottom;
    } cases[] = {
        {"new bevel", [](TVelBevel&) {}, 0, 0},
        {"frame raised outer", [](TVelBevel& b) { b.SetStyleOuter(bvFrameRaised); }, 2, 2},
        {"lowered both, border 3",
         [](TVelBevel& b) {
             b.SetStyleOuter(bvLowered);
             b.SetStyleInner(bvRaised);
             b.SetBorderWidth(3);
         },
         5, 5},
        {"plain rings only", [](TVelBevel& b) { b.SetBorderWidth(4); }, 4, 4},
        {"shadow",
         [](TVelBevel& b) {
             b.SetStyleOuter(bvShadow);
             b.SetWidthOuter(3);
             b.SetWidthInner(2);
         },
         2, 5},
        {"standard single",
         [](TVelBevel& b) {
             b.SetMode(bmStandard);
             b.SetStandardStyle(lsSingle);
         },
         1, 1},
        {"standard lowered + 1",
         [](TVelBevel& b) {
             b.SetMode(bmStandard);
             b.SetStandardStyle(lsLowered);
             b.SetBorderInnerWidth(1);
         },
         3, 3},
        {"edge", [](TVelBevel& b) { b.SetMode(bmEdge); }, 2, 2},
        {"edge without sides",
         [](TVelBevel& b) {
             b.SetMode(bmEdge);
             b.SetBorderSides(0);
             b.SetBorderInnerWidth(1);
         },
         1, 1},
        {"windows without a native border",
         [](TVelBevel& b) {
             b.SetMode(bmWindows);
             b.SetBorderInnerWidth(1);
         },
         3, 3},
    };
    for (const Case& c : cases) {
        TVelBevel b;
        c.set(b);
        EXPECT_EQ(b.Extent(), c.extent) << c.name;
        EXPECT_EQ(b.ExtentRightBottom(), c.rightBottom) << c.name;
    }
}

TEST(VelBevel, ShadowCouplesBothRings)
{
    TVelBevel b;
    b.SetStyleOuter(bvShadow);
    EXPECT_EQ(b.StyleInner(), bvShadow);
    b.SetStyleInner(bvLowered);
    EXPECT_EQ(b.StyleOuter(), bvNone);
    EXPECT_EQ(b.StyleInner(), bvLowered);
}

TEST(VelBevel, NotifiesOnceForEachEffectiveChange)
{
    TVelBevel b;
    int changes = 0;
    b.OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &b);
        ++changes;
    };
    b.SetWidthInner(1);
    b.SetColor(7, VelRGB(255, 0, 0));
    EXPECT_EQ(changes, 0) << "same value and unknown colour index";
    b.SetColor(1, VelRGB(255, 0, 0));
    EXPECT_EQ(b.LightColor(), VelRGB(255, 0, 0));
    b.SetStandardStyle(lsRaised);
    EXPECT_EQ(changes, 1) << "standard style is stored silently outside bmStandard";
    b.SetMode(bmStandard);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(b.Extent(), 2) << "the stored style applies once the mode switches";
    EXPECT_FALSE(b.ModeChanging());
}

TEST(VelBevel, ModeChangingHoldsUntilTheOutermostChangeEnds)
{
    TVelBevel b;
    std::vector<bool> changing;
    b.OnChange = [&](QObject*) {
        if (b.Mode() == bmStandard)
            b.SetMode(bmWindows); // a handler that changes the mode again
        changing.push_back(b.ModeChanging());
    };
    b.SetMode(bmStandard);
    EXPECT_EQ(changing, (std::vector<bool>{true, true}));
    EXPECT_FALSE(b.ModeChanging());
}

TEST(VelBevel, AssignCopiesEverySettingAndRefusesOtherSources)
{
    TVelBevel source, target;
    source.SetMode(bmEdge);
    source.SetBorderSides(fsTop | fsLeft);
    source.SetShadowColor(clBlack);
    source.SetNativeBorderCapable(true);
    int changes = 0;
    target.OnChange = [&](QObject*) { ++changes; };
    target.Assign(&source);
    EXPECT_EQ(target.Mode(), bmEdge);
    EXPECT_EQ(target.BorderSides(), fsTop | fsLeft);
    EXPECT_EQ(target.ShadowColor(), clBlack);
    EXPECT_TRUE(target.NativeBorderCapable());
    EXPECT_EQ(changes, 1);
    target.Assign(&target);
    EXPECT_EQ(changes, 1);
    QObject other;
    EXPECT_THROW(target.Assign(&other), EVelConvertError);
    EXPECT_THROW(target.Assign(nullptr), EVelConvertError);
}

TEST(VelBevel, StandardBordersShrinkAndDraw)
{
    const QPalette p = DistinctPalette();
    const QColor shadow = p.color(QPalette::Dark), highlight = p.color(QPalette::Light);
    const QColor dk = p.color(QPalette::Shadow), light = p.color(QPalette::Midlight);
    // Pixels on the diagonal from the top-left corner and from the bottom-right corner.
    struct Case {
        TVelBorderStyle style;
        QRect inner;
        QColor tl0, tl1, br0, br1;
    } cases[] = {
        {lsNone, QRect(0, 0, 10, 10), Bg, Bg, Bg, Bg},
        {lsSingle, QRect(1, 1, 9, 9), dk, Bg, dk, Bg},
        {lsLowered, QRect(2, 2, 6, 6), dk, shadow, highlight, light},
        {lsRaised, QRect(2, 2, 6, 6), highlight, light, dk, shadow},
        {lsRaisedspb, QRect(1, 1, 7, 7), highlight, Bg, dk, shadow},
        {lsLoweredspb, QRect(2, 2, 7, 7), shadow, dk, highlight, Bg},
        {lsRaisedExt, QRect(2, 2, 6, 6), highlight, Bg, dk, shadow},
        {lsLoweredExt, QRect(2, 2, 6, 6), shadow, dk, highlight, Bg},
        {lsFrameInset, QRect(2, 2, 6, 6), shadow, highlight, highlight, shadow},
        {lsFrameOffset, QRect(2, 2, 6, 6), highlight, shadow, shadow, highlight},
        {lsWindowBorder, QRect(2, 2, 6, 6), Bg, highlight, dk, shadow},
        {lsSingleRaised, QRect(1, 1, 8, 8), highlight, Bg, shadow, Bg},
        {lsSingleLowered, QRect(1, 1, 8, 8), shadow, Bg, highlight, Bg},
        {lsDoubleRaised, QRect(2, 2, 6, 6), highlight, highlight, shadow, shadow},
        {lsDoubleLowered, QRect(2, 2, 6, 6), shadow, shadow, highlight, highlight},
    };
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(p);
    for (const Case& c : cases) {
        Canvas canvas;
        QRect r(0, 0, 10, 10);
        {
            QPainter painter(&canvas.image);
            DrawStandardBorder(painter, r, c.style);
        }
        SCOPED_TRACE(static_cast<int>(c.style));
        EXPECT_EQ(r, c.inner);
        EXPECT_EQ(std::max(r.left(), 10 - (r.left() + r.width())), StandardBorderWidth(c.style));
        EXPECT_EQ(canvas.At(0, 0), c.tl0);
        EXPECT_EQ(canvas.At(1, 1), c.tl1);
        EXPECT_EQ(canvas.At(9, 9), c.br0);
        EXPECT_EQ(canvas.At(8, 8), c.br1);
    }
    QApplication::setPalette(saved);
}

TEST(VelBevel, WindowsModeWithoutANativeBorderIsTheLoweredExtBorder)
{
    TVelBevel b;
    b.SetMode(bmWindows);
    Canvas canvas;
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(DistinctPalette());
    QRect inner;
    {
        QPainter painter(&canvas.image);
        inner = b.DrawBevel(painter, QRect(0, 0, 10, 10), false);
    }
    QApplication::setPalette(saved);
    EXPECT_EQ(inner, QRect(2, 2, 6, 6));
    EXPECT_EQ(inner, b.InnerRect(QRect(0, 0, 10, 10)));
    const QPalette p = DistinctPalette();
    EXPECT_EQ(canvas.At(0, 5), p.color(QPalette::Dark));
    EXPECT_EQ(canvas.At(9, 5), p.color(QPalette::Light));
    EXPECT_EQ(canvas.At(1, 5), p.color(QPalette::Shadow));
    EXPECT_EQ(canvas.At(8, 5), Bg) << "the band at the right is left undrawn";
    EXPECT_EQ(canvas.At(5, 8), Bg);
}

TEST(VelBevel, CustomRingsAndNoFill)
{
    TVelBevel b;
    b.SetStyleOuter(bvRaised);
    b.SetWidthOuter(2);
    b.SetBorderWidth(1);
    b.SetStyleInner(bvLowered);
    b.SetBorderColor(VelRGB(0, 0, 255));
    b.SetLightColor(VelRGB(255, 255, 255));
    b.SetShadowColor(VelRGB(0, 0, 0));
    Canvas filled, bare;
    QRect a, c;
    {
        QPainter painter(&filled.image);
        a = b.DrawBevel(painter, QRect(0, 0, 10, 10), false);
    }
    {
        QPainter painter(&bare.image);
        c = b.DrawBevel(painter, QRect(0, 0, 10, 10), true);
    }
    EXPECT_EQ(a, QRect(4, 4, 2, 2));
    EXPECT_EQ(a, c) << "NoFill leaves the same rectangle";
    EXPECT_EQ(filled.At(0, 5), Qt::white);
    EXPECT_EQ(filled.At(1, 5), Qt::white);
    EXPECT_EQ(filled.At(9, 5), Qt::black);
    EXPECT_EQ(filled.At(2, 5), Qt::blue) << "plain ring";
    EXPECT_EQ(bare.At(2, 5), Bg) << "no plain ring without fill";
    EXPECT_EQ(filled.At(3, 5), Qt::black) << "lowered inner ring";
}

TEST(VelBevel, WindowsModeInABevelPanelIsTheWindowsClientEdge)
{
    TProbePanel panel;
    panel.setPalette(DistinctPalette());
    panel.resize(20, 12);
    panel.Bevel()->SetMode(bmWindows);
    EXPECT_EQ(panel.Bevel()->Extent(), 0);
    EXPECT_EQ(panel.ClientRect(), QRect(2, 2, 16, 8));
    EXPECT_EQ(panel.InnerRect(), panel.ClientRect());
    EXPECT_EQ(panel.contentsRect(), panel.ClientRect()) << "children are laid out inside the edge";

    const QImage img = panel.grab().toImage();
    const QPalette p = DistinctPalette();
    EXPECT_EQ(img.pixelColor(0, 0), p.color(QPalette::Dark));
    EXPECT_EQ(img.pixelColor(19, 0), p.color(QPalette::Light));
    EXPECT_EQ(img.pixelColor(0, 11), p.color(QPalette::Light));
    EXPECT_EQ(img.pixelColor(1, 1), p.color(QPalette::Shadow));
    EXPECT_EQ(img.pixelColor(18, 5), p.color(QPalette::Midlight));
    EXPECT_EQ(img.pixelColor(10, 10), p.color(QPalette::Midlight));
    EXPECT_EQ(img.pixelColor(10, 5), p.color(QPalette::Button)) << "client area in the control's colour";

    panel.SetCtl3D(false);
    EXPECT_EQ(panel.ClientRect(), QRect(1, 1, 18, 10)) << "without Ctl3D the plain 1-pixel border";
}

TEST(VelBevel, DarkPaletteMakesTheBevelPanelDark)
{
    TProbePanel panel;
    panel.resize(20, 12);
    panel.Bevel()->SetMode(bmWindows);
    const QImage light = panel.grab().toImage();
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(45, 45, 48)));
    QCoreApplication::sendPostedEvents();
    const QImage dark = panel.grab().toImage();
    QApplication::setPalette(saved);
    EXPECT_GT(light.pixelColor(10, 6).lightness(), 150);
    EXPECT_LT(dark.pixelColor(10, 6).lightness(), 70) << "the face follows the desktop";
    EXPECT_EQ(dark.pixelColor(0, 0).rgb(), QPalette(QColor(45, 45, 48)).color(QPalette::Dark).rgb());
}

TEST(VelBevel, ModeChangeRecreatesTheWindowOtherChangesRepaint)
{
    TProbePanel panel;
    panel.Bevel()->SetMode(bmStandard);
    EXPECT_EQ(panel.recreations, 1);
    panel.Bevel()->SetStandardStyle(lsRaised);
    EXPECT_EQ(panel.recreations, 1);
    EXPECT_EQ(panel.changes, 2);
    EXPECT_EQ(panel.contentsRect(), panel.rect().adjusted(2, 2, -2, -2));

    panel.SetNoHandleUpdate(true);
    panel.Bevel()->SetMode(bmEdge);
    EXPECT_EQ(panel.recreations, 1) << "NoHandleUpdate repaints instead";

    panel.SetNoHandleUpdate(false);
    panel.BeginLoading();
    panel.Bevel()->SetMode(bmWindows);
    EXPECT_EQ(panel.recreations, 1) << "nothing while loading";
    EXPECT_EQ(panel.ClientRect(), panel.rect());
    panel.Loaded();
    EXPECT_EQ(panel.recreations, 2);
    EXPECT_EQ(panel.ClientRect(), panel.rect().adjusted(2, 2, -2, -2));
}

TEST(VelBevel, AssigningABevelToAPanelKeepsTheWindowBorder)
{
    TProbePanel panel;
    panel.resize(30, 20);
    TVelBevel loose;
    loose.SetMode(bmWindows);
    panel.SetBevel(&loose);
    EXPECT_EQ(panel.recreations, 1) << "the copied mode changes the window border";
    EXPECT_TRUE(panel.Bevel()->NativeBorderCapable());
    EXPECT_EQ(panel.Bevel()->Extent(), 0) << "the window draws the border, not the bevel as well";
    EXPECT_EQ(panel.InnerRect(), QRect(2, 2, 26, 16));
}

namespace {

// A custom bevel of the given rings.
std::function<void(QPainter&, QRect&)> Rings(TVelBevelStyle Outer, TVelBevelStyle Inner, int BorderWidth = 0)
{
    return [=](QPainter& p, QRect& r) {
        TVelBevel b;
        b.SetStyleOuter(Outer);
        b.SetBorderWidth(static_cast<TVelBorderWidth>(BorderWidth));
        b.SetStyleInner(Inner);
        r = b.DrawBevel(p, r, false);
    };
}

} // namespace

TEST(VelBevel, EveryLineIsEquallyThickOnAllSidesAtEveryScale)
{
    struct {
        const char* name;
        std::function<void(QPainter&, QRect&)> draw;
        int lines[4]; // left, top, right, bottom
    } const cases[] = {
        {"client edge",
         [](QPainter& p, QRect& r) { VelDrawEdge(p, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST); },
         {2, 2, 2, 2}},
        {"lsLoweredExt", [](QPainter& p, QRect& r) { DrawStandardBorder(p, r, lsLoweredExt); }, {2, 2, 1, 1}},
        {"lsRaised", [](QPainter& p, QRect& r) { DrawStandardBorder(p, r, lsRaised); }, {2, 2, 2, 2}},
        {"lsFrameInset", [](QPainter& p, QRect& r) { DrawStandardBorder(p, r, lsFrameInset); }, {2, 2, 2, 2}},
        {"custom rings", Rings(bvRaised, bvLowered, 1), {3, 3, 3, 3}},
        {"bvNormal", Rings(bvNormal, bvRaised), {2, 2, 2, 2}},
        {"bvFrameLowered", Rings(bvFrameLowered, bvNone), {2, 2, 2, 2}},
        {"bvFrameRaised", Rings(bvFrameRaised, bvNormal), {3, 3, 3, 3}},
        {"bvFlat", Rings(bvFlat, bvNone), {1, 1, 1, 1}},
        {"bvShadow", Rings(bvShadow, bvShadow), {1, 1, 2, 2}},
    };
    for (const qreal dpr : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0})
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << dpr);
            QImage image(QSize(16, 14) * dpr, QImage::Format_RGB32);
            image.setDevicePixelRatio(dpr);
            image.fill(Bg);
            QPainter p(&image);
            QRect r(1, 1, 13, 11); // off the device grid at the fractional scales
            c.draw(p, r);
            p.end();
            // From each outer edge inwards along the middle: one run of pixels per line, then the
            // untouched inside; every run as thick as the first.
            const QPoint mid(image.width() / 2, image.height() / 2);
            const QPoint from[4] = {{int(std::lround(dpr)), mid.y()},
                                    {mid.x(), int(std::lround(dpr))},
                                    {int(std::lround(14 * dpr)) - 1, mid.y()},
                                    {mid.x(), int(std::lround(12 * dpr)) - 1}};
            const QPoint step[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
            const int thickness = VelLineWidth(dpr);
            for (int side = 0; side < 4; ++side) {
                const std::vector<RingRun> runs = RingRuns(image, from[side], step[side], Bg.rgb());
                ASSERT_EQ(int(runs.size()), c.lines[side]) << "side " << side;
                for (const RingRun& run : runs)
                    EXPECT_EQ(run.length, thickness) << "side " << side;
            }
        }
}

// The plain frame line is black on a light face, exactly; on a dark one it takes the palette's
// text colour, which stands out from the face as text does.
TEST(VelBevel, PlainFrameLineIsBlackOnLightAndLegibleOnDark)
{
    const QPalette saved = QApplication::palette();
    for (const QPalette& palette : {saved, BreezeDark(), AdwaitaDark()}) {
        QApplication::setPalette(palette);
        Canvas c;
        QPainter p(&c.image);
        QRect r(1, 1, 8, 8);
        Rings(bvNormal, bvNone)(p, r);
        p.end();
        const QColor line = c.At(1, 4);
        if (VelIsDarkPalette(palette))
            EXPECT_GE(Contrast(line, palette.color(QPalette::Button)), 4.5) << qPrintable(line.name());
        else
            EXPECT_EQ(line, QColor(Qt::black));
    }
    QApplication::setPalette(saved);
}
