#include <QTransform>
#include <gtest/gtest.h>

#include <QImage>
#include <QApplication>
#include <QPainter>
#include <cmath>
#include <functional>
#include <vector>

#include "DarkPalettes.h"
#include "DevicePixelChecks.h"
#include "VelArrow.h"
#include "VelSpinButtonPainter.h"

namespace {

const QPoint kAt(10, 5); // the button's place in its parent
const QColor kMagenta(Qt::magenta);

QColor C(TColor color)
{
    return VelClassicColor(color);
}

TVelSpinButtonPainter Button(QSize size, bool diagonal)
{
    TVelSpinButtonPainter b;
    b.Halves = kSpinUpDown;
    b.Diagonal = diagonal;
    b.SetBounds(QRect(kAt, size));
    return b;
}

QImage Render(const TVelSpinButtonPainter& b, const TVelSpinStates& states, qreal dpr = 1)
{
    QImage image(QSize(40, 40) * dpr, QImage::Format_ARGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(kMagenta);
    QPainter p(&image);
    b.Paint(p, states);
    return image;
}

struct TPixel {
    QPoint at; // in the button's coordinates
    QColor color;
};

std::vector<QPoint> Pixels(std::initializer_list<std::pair<int, int>> runs)
{
    std::vector<QPoint> out;
    for (auto [x, y] : runs)
        out.push_back({x, y});
    return out;
}

QColor ArrowColor(TVelSpinState s)
{
    return s == ssHot ? QColor(0, 128, 128) : s == ssDisabled ? C(clGrayText) : QColor(Qt::black);
}

void ExpectPicture(const QImage& image, const std::vector<TPixel>& pixels, const std::vector<QPoint>& arrow,
                   TVelSpinState state, QPoint shadow)
{
    for (const TPixel& px : pixels)
        EXPECT_EQ(QColor(image.pixel(kAt + px.at)).name(), px.color.name()) << px.at.x() << "," << px.at.y();
    for (const QPoint& a : arrow)
        EXPECT_EQ(QColor(image.pixel(kAt + a)).name(), ArrowColor(state).name()) << "arrow " << a.x() << "," << a.y();
    // The disabled arrow's shadow shows where the arrow does not cover it.
    EXPECT_EQ(QColor(image.pixel(kAt + shadow)).name(),
              (state == ssDisabled ? C(clHighlightText) : C(clBtnFace)).name());
}

std::vector<TPixel> DiagonalUp(TVelSpinState s)
{
    const QColor face = C(clBtnFace);
    if (s == ssPressed)
        return {
            {{0, 0}, C(cl3DDkShadow)}, {{5, 0}, C(cl3DDkShadow)}, {{1, 1}, C(clBtnShadow)}, {{1, 5}, C(clBtnShadow)},
            {{9, 9}, Qt::white},       {{17, 1}, Qt::white},      {{8, 8}, face},           {{19, 0}, face}};
    return {{{0, 0}, C(clBtnHighlight)},
            {{5, 0}, C(clBtnHighlight)},
            {{0, 5}, C(clBtnHighlight)},
            {{9, 9}, QColor(192, 192, 192)},
            {{17, 1}, QColor(192, 192, 192)},
            {{1, 1}, face},
            {{8, 8}, face},
            {{9, 10}, face},
            {{19, 0}, face}};
}

std::vector<TPixel> DiagonalDown(TVelSpinState s)
{
    const QColor face = C(clBtnFace);
    if (s == ssPressed)
        return {{{19, 19}, C(clBtnHighlight)},
                {{19, 10}, C(clBtnHighlight)},
                {{18, 18}, C(cl3DLight)},
                {{10, 10}, QColor(128, 128, 128)},
                {{19, 1}, QColor(128, 128, 128)},
                {{11, 10}, QColor(192, 192, 192)},
                {{12, 17}, face}};
    return {{{19, 19}, C(clBtnShadow)},
            {{19, 10}, C(clBtnShadow)},
            {{10, 19}, C(clBtnShadow)},
            {{10, 10}, Qt::white},
            {{19, 1}, Qt::white},
            {{11, 10}, face},
            {{12, 17}, face}};
}

// Rectangle pictures, Top being the half's first row.
std::vector<TPixel> RectHalf(TVelSpinState s, int top)
{
    const QColor face = C(clBtnFace);
    auto at = [top](int x, int y) { return QPoint(x, top + y); };
    if (s == ssPressed)
        return {{at(0, 0), C(clBtnShadow)},
                {at(0, 5), C(clBtnShadow)},
                {at(19, 0), C(clBtnHighlight)},
                {at(19, 5), C(clBtnHighlight)},
                {at(5, 9), C(clBtnHighlight)},
                {at(1, 1), C(cl3DDkShadow)},
                {at(1, 5), C(cl3DDkShadow)},
                {at(18, 5), face},
                {at(5, 8), face}};
    return {{at(0, 0), C(clBtnHighlight)}, {at(5, 0), C(clBtnHighlight)}, {at(0, 5), C(clBtnHighlight)},
            {at(19, 0), C(cl3DDkShadow)},  {at(19, 5), C(cl3DDkShadow)},  {at(0, 9), C(cl3DDkShadow)},
            {at(18, 5), C(clBtnShadow)},   {at(5, 8), C(clBtnShadow)},    {at(1, 1), face}};
}

const TVelSpinState kStates[] = {ssNormal, ssHot, ssPressed, ssDisabled};

} // namespace

TEST(SpinButtonPainter, Modes)
{
    struct {
        TVelSpinHalves halves;
        quint8 style;
        bool diagonal, themed, expectRect, expectDiag;
    } const cases[] = {
        {kSpinUpDown, 0, true, false, false, true},
        {kSpinUpDown, 0, false, false, true, false},
        {kSpinUpDown, 0, true, true, true, false},
        {kSpinUpDown, 1, false, false, false, true},
        {SpinHalfBit(shUp), 0, true, false, false, false},
        {kSpinUpDown | SpinHalfBit(shUpHorz), 0, false, false, false, false},
    };
    for (const auto& c : cases) {
        TVelSpinButtonPainter b;
        b.Halves = c.halves;
        b.DrawingStyle = c.style;
        b.Diagonal = c.diagonal;
        b.Themed = c.themed;
        EXPECT_EQ(b.RectangleMode(), c.expectRect) << int(c.halves) << int(c.style) << c.diagonal << c.themed;
        EXPECT_EQ(b.DiagonalMode(), c.expectDiag) << int(c.halves) << int(c.style) << c.diagonal << c.themed;
    }
}

TEST(SpinButtonPainter, HalfUnderAPointInParentCoordinates)
{
    using H = std::optional<TVelSpinHalf>;
    const TVelSpinButtonPainter diag = Button({20, 20}, true);
    const TVelSpinButtonPainter rectOdd = Button({20, 21}, false);
    const TVelSpinButtonPainter rectEven = Button({20, 20}, false);
    TVelSpinButtonPainter single;
    single.SetBounds(QRect(kAt, QSize(20, 20)));
    TVelSpinButtonPainter sideways = single;
    sideways.Halves = SpinHalfBit(shDownHorz) | SpinHalfBit(shUpHorz);
    struct {
        const char* name;
        const TVelSpinButtonPainter& button;
        QPoint at; // in the button's coordinates
        H expected;
    } const cases[] = {
        {"diag corner", diag, {0, 0}, shUp},          {"diag top right", diag, {19, 0}, shUp},
        {"diag below it", diag, {19, 1}, shDown},     {"diag bottom left", diag, {0, 19}, shUp},
        {"diag right of it", diag, {1, 19}, shDown},  {"diag split pixel", diag, {9, 10}, shUp},
        {"diag next to it", diag, {10, 10}, shDown},  {"diag far corner", diag, {19, 19}, shDown},
        {"diag left of", diag, {-1, 0}, {}},          {"diag right of", diag, {20, 0}, {}},
        {"odd last up row", rectOdd, {0, 9}, shUp},   {"odd free row", rectOdd, {5, 10}, {}},
        {"odd first down", rectOdd, {0, 11}, shDown}, {"odd last down", rectOdd, {19, 20}, shDown},
        {"odd below", rectOdd, {0, 21}, {}},          {"even last up row", rectEven, {0, 8}, shUp},
        {"even free row", rectEven, {0, 9}, {}},      {"even first down", rectEven, {0, 10}, shDown},
        {"single", single, {19, 19}, shUp},           {"left half", sideways, {8, 3}, shDownHorz},
        {"free column", sideways, {9, 3}, {}},        {"right half", sideways, {10, 3}, shUpHorz},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.button.HalfAt(kAt + c.at), c.expected) << c.name;
}

TEST(SpinButtonPainter, DiagonalHalvesSplitTheSquareExactly)
{
    const TVelSpinButtonPainter b = Button({20, 20}, true);
    const QRegion up = b.Region(shUp), down = b.Region(shDown);
    EXPECT_TRUE(up.intersected(down).isEmpty());
    EXPECT_EQ(up.united(down), QRegion(QRect(kAt, QSize(20, 20))));
    EXPECT_TRUE(b.Region(shUpHorz).isEmpty());
}

TEST(SpinButtonPainter, DiagonalPicturesInEveryState)
{
    const TVelSpinButtonPainter b = Button({20, 20}, true);
    const auto upArrow = Pixels({{4, 3}, {3, 4}, {4, 4}, {5, 4}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}});
    const auto downArrow =
        Pixels({{13, 13}, {14, 13}, {15, 13}, {16, 13}, {17, 13}, {14, 14}, {15, 14}, {16, 14}, {15, 15}});
    for (TVelSpinState s : kStates) {
        SCOPED_TRACE(int(s));
        const QImage up = Render(b, {s, ssNormal, ssNormal, ssNormal});
        ExpectPicture(up, DiagonalUp(s), upArrow, s, {7, 6});
        const QImage down = Render(b, {ssNormal, s, ssNormal, ssNormal});
        ExpectPicture(down, DiagonalDown(s), downArrow, s, {17, 14});
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(up.pixel(x, y) == kMagenta.rgba(), !QRect(kAt, QSize(20, 20)).contains(x, y))
                    << x << "," << y;
    }
}

TEST(SpinButtonPainter, RectanglePicturesInEveryState)
{
    const TVelSpinButtonPainter b = Button({20, 21}, false);
    const auto upArrow = Pixels({{9, 3}, {8, 4}, {9, 4}, {10, 4}, {7, 5}, {8, 5}, {9, 5}, {10, 5}, {11, 5}});
    const auto downArrow = Pixels({{7, 14}, {8, 14}, {9, 14}, {10, 14}, {11, 14}, {8, 15}, {9, 15}, {10, 15}, {9, 16}});
    for (TVelSpinState s : kStates) {
        SCOPED_TRACE(int(s));
        const QImage up = Render(b, {s, ssNormal, ssNormal, ssNormal});
        ExpectPicture(up, RectHalf(s, 0), upArrow, s, {12, 6});
        const QImage down = Render(b, {ssNormal, s, ssNormal, ssNormal});
        ExpectPicture(down, RectHalf(s, 11), downArrow, s, {12, 15});
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(down.pixel(kAt + QPoint(x, 10)), kMagenta.rgba()) << "free row " << x;
    }
}

TEST(SpinButtonPainter, EvenHeightKeepsTheUpperHalfsBottomEdge)
{
    const QImage image = Render(Button({20, 20}, false), {});
    EXPECT_EQ(QColor(image.pixel(kAt + QPoint(5, 8))).name(), C(cl3DDkShadow).name());
    EXPECT_EQ(QColor(image.pixel(kAt + QPoint(5, 19))).name(), C(cl3DDkShadow).name());
}

TEST(SpinButtonPainter, StripHoldsFourPicturesPerHalf)
{
    EXPECT_EQ(Button({20, 20}, true).Strip(1).size(), QSize(160, 20));
    EXPECT_EQ(Button({20, 21}, false).Strip(1).size(), QSize(160, 10));
    EXPECT_EQ(Button({20, 21}, false).Strip(2).size(), QSize(320, 20));
}

TEST(SpinButtonPainter, DoubleDensityIsTheSamePictureInWholeBlocks)
{
    for (bool diagonal : {true, false}) {
        const TVelSpinButtonPainter b = Button({20, 21}, diagonal);
        for (TVelSpinState s : kStates) {
            const TVelSpinStates states{s, TVelSpinState(3 - s), ssNormal, ssNormal};
            const QImage one = Render(b, states), two = Render(b, states, 2);
            for (int y = 0; y < two.height(); ++y)
                for (int x = 0; x < two.width(); ++x)
                    ASSERT_EQ(two.pixel(x, y), one.pixel(x / 2, y / 2))
                        << "diagonal " << diagonal << " state " << int(s) << " at " << x << "," << y;
        }
    }
}

TEST(SpinButtonPainter, DarkPalettesGiveLegibleArrowsAndTheirOwnLines)
{
    struct {
        const char* name;
        QPalette palette;
    } const cases[] = {{"Breeze Dark", BreezeDark()}, {"Adwaita-Dark", AdwaitaDark()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TVelSpinButtonPainter b = Button({20, 20}, true);
        b.Palette = c.palette;
        const QColor face = c.palette.color(QPalette::Button);
        const QColor arrow = c.palette.color(QPalette::ButtonText);
        EXPECT_GE(Contrast(arrow, face), 4.5);
        const QImage normal = Render(b, {});
        const QImage pressed = Render(b, {ssNormal, ssPressed, ssNormal, ssNormal});
        const QImage disabled = Render(b, {ssDisabled, ssNormal, ssNormal, ssNormal});
        // The teal of a hot arrow is 2.3:1 on Breeze Dark's face; lifted, it keeps its hue.
        const QColor hot = Render(b, {ssHot, ssNormal, ssNormal, ssNormal}).pixelColor(kAt + QPoint(4, 3));
        EXPECT_GE(Contrast(hot, face), 4.5) << hot.name().toStdString();
        EXPECT_EQ(hot.hslHue(), QColor(0, 128, 128).hslHue());
        struct {
            const QImage& image;
            QPoint at;
            QColor expected;
        } const pixels[] = {
            {normal, {4, 3}, arrow},
            {normal, {15, 15}, arrow},
            {normal, {9, 9}, c.palette.color(QPalette::Midlight)},
            {normal, {10, 10}, c.palette.color(QPalette::Light)},
            {pressed, {10, 10}, c.palette.color(QPalette::Dark)},
            {pressed, {11, 10}, c.palette.color(QPalette::Midlight)},
            {disabled, {4, 3}, c.palette.color(QPalette::Disabled, QPalette::Text)},
            {disabled, {7, 6}, c.palette.color(QPalette::HighlightedText)},
        };
        for (const auto& px : pixels)
            EXPECT_EQ(QColor(px.image.pixel(kAt + px.at)).name(), px.expected.name()) << px.at.x() << "," << px.at.y();
    }
}

TEST(SpinButtonPainter, FractionalScalesKeepArrowsSolidAndFrameLinesEven)
{
    // The button sits at (10, 5): half device pixels at 1.5, quarters at 1.25 and 1.75.
    for (const qreal dpr : {1.25, 1.5, 1.75})
        for (const QPalette& palette : {QApplication::palette(), BreezeDark()}) {
            SCOPED_TRACE(testing::Message() << dpr << " " << palette.color(QPalette::Window).name().toStdString());
            TVelSpinButtonPainter b = Button({20, 20}, true);
            b.Palette = palette;
            const QImage image = Render(b, {}, dpr);
            const QRgb arrow = palette.color(QPalette::ButtonText).rgb();
            const int middle = int((kAt.y() + 10) * dpr);
            EXPECT_EQ(ArrowShapeFault(image.copy(0, 0, image.width(), middle), arrow, false, true), "") << "up";
            EXPECT_EQ(ArrowShapeFault(image.copy(0, middle, image.width(), image.height() - middle), arrow, true, true),
                      "")
                << "down";
            // Sideways arrows, turned on their side, must pass the same checks.
            TVelSpinButtonPainter sideways = Button({30, 16}, false);
            sideways.Halves = SpinHalfBit(shDownHorz) | SpinHalfBit(shUpHorz);
            sideways.Palette = palette;
            const QImage turned = Render(sideways, {}, dpr).transformed(QTransform(0, 1, 1, 0, 0, 0));
            const int centre = int((kAt.x() + 15) * dpr);
            EXPECT_EQ(ArrowShapeFault(turned.copy(0, 0, turned.width(), centre), arrow, false, true), "") << "left";
            EXPECT_EQ(
                ArrowShapeFault(turned.copy(0, centre, turned.width(), turned.height() - centre), arrow, true, true),
                "")
                << "right";
            // The frame's shadow line, on the right side and along the bottom, and its highlight on
            // the left and along the top: one thickness.
            auto run = [&](QPoint at, QPoint step, QRgb color) {
                while (image.pixel(at) == kMagenta.rgba())
                    at += step;
                int n = 0;
                for (; image.pixel(at) == color; at += step)
                    ++n;
                return n;
            };
            const QRgb shadow = palette.color(QPalette::Dark).rgb(), light = palette.color(QPalette::Light).rgb();
            const int y = int((kAt.y() + 14) * dpr), x = int((kAt.x() + 14) * dpr);
            const int right = run({image.width() - 1, y}, {-1, 0}, shadow);
            EXPECT_GE(right, 1);
            EXPECT_EQ(run({x, image.height() - 1}, {0, -1}, shadow), right);
            EXPECT_EQ(run({0, int((kAt.y() + 4) * dpr)}, {1, 0}, light), right);
            EXPECT_EQ(run({int((kAt.x() + 4) * dpr), 0}, {0, 1}, light), right);
        }
}

// The pictures are kept from paint to paint; each row changes one thing they are drawn from and
// expects what a painter drawing afresh paints.
TEST(SpinButtonPainterPictures, AChangeOfWhatTheyAreDrawnFromDrawsThemAgain)
{
    using P = TVelSpinButtonPainter;
    struct {
        const char* name;
        QSize size;
        qreal dpr;
        std::function<void(P&, qreal&)> change;
    } const cases[] = {
        {"size", {20, 20}, 1, [](P& b, qreal&) { b.SetBounds(QRect(kAt, QSize(24, 18))); }},
        {"device pixel ratio", {20, 20}, 1, [](P&, qreal& dpr) { dpr = 2; }},
        {"fractional ratio", {20, 20}, 1, [](P&, qreal& dpr) { dpr = 1.5; }},
        {"palette", {20, 20}, 1, [](P& b, qreal&) { b.Palette = BreezeDark(); }},
        {"colour", {20, 20}, 1, [](P& b, qreal&) { b.Color = clWindow; }},
        {"hot colour", {20, 20}, 1, [](P& b, qreal&) { b.HotColor = clGray; }},
        {"drawing style", {20, 20}, 1, [](P& b, qreal&) { b.DrawingStyle = 1; }},
        {"diagonal", {20, 20}, 1, [](P& b, qreal&) { b.Diagonal = false; }},
        {"themed", {20, 20}, 1, [](P& b, qreal&) { b.Themed = true; }},
        {"halves", {20, 20}, 1, [](P& b, qreal&) { b.Halves = SpinHalfBit(shUp); }},
        {"themed drawer",
         {20, 20},
         1,
         [](P& b, qreal&) {
             b.Themed = true;
             (void)Render(b, {});
             b.SetThemedPartDrawer(
                 [](QPainter& p, const QRect& r, TVelSpinHalf, TVelSpinState) { p.fillRect(r, Qt::red); });
         }},
        // At 1.5 a 21-pixel button takes 32 device pixels at x = 10 and 31 at x = 11.
        {"place at a fractional scale",
         {21, 21},
         1.5,
         [](P& b, qreal&) { b.SetBounds(QRect(kAt + QPoint(1, 1), QSize(21, 21))); }},
        {"palette at a fractional scale", {20, 20}, 1.5, [](P& b, qreal&) { b.Palette = AdwaitaDark(); }},
    };
    const TVelSpinStates states{ssHot, ssPressed, ssNormal, ssNormal};
    for (const auto& c : cases) {
        P b = Button(c.size, true);
        qreal dpr = c.dpr;
        const QImage before = Render(b, states, dpr);
        c.change(b, dpr);
        const QImage kept = Render(b, states, dpr);
        P fresh = b;
        fresh.ForgetPictures();
        EXPECT_EQ(kept, Render(fresh, states, dpr)) << c.name;
        EXPECT_NE(kept, before) << c.name;
    }
}
