#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <set>
#include <utility>

#include "DevicePixelChecks.h"
#include "VelArrow.h"

namespace {

using TPixels = std::set<std::pair<int, int>>;

constexpr int kOrigin = 4; // room for arrows that reach left of or above their anchor

struct TArrowCase {
    const char* name;
    int x, y, size;
    bool down;
    TPixels expected; // relative to (x, y) = (0, 0)
};

QImage Paint(const TArrowCase& c, bool enabled, qreal dpr = 1)
{
    QImage image(QSize(48, 48) * dpr, QImage::Format_ARGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawArrow(p, kOrigin + c.x, kOrigin + c.y, c.size, clBlack, c.down, enabled);
    return image;
}

TPixels PixelsOf(const QImage& image, QColor color)
{
    TPixels out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color.rgba())
                out.insert({x - kOrigin, y - kOrigin});
    return out;
}

const TArrowCase kCases[] = {
    {"Down3", 0, 0, 3, true, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {1, 1}, {2, 1}, {3, 1}, {2, 2}}},
    {"Up3", 0, 0, 3, false, {{1, 0}, {0, 1}, {1, 1}, {2, 1}, {-1, 2}, {0, 2}, {1, 2}, {2, 2}, {3, 2}}},
    {"Down2", 1, 1, 2, true, {{1, 1}, {2, 1}, {3, 1}, {2, 2}}},
    {"Up2", 1, 1, 2, false, {{2, 1}, {1, 2}, {2, 2}, {3, 2}}},
    {"Size1", 0, 0, 1, true, {}},
    {"Size16", 0, 0, 16, false, {}},
};

} // namespace

TEST(DrawArrow, PaintsExactlyTheSpecifiedPixels)
{
    for (const TArrowCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const QImage image = Paint(c, true);
        EXPECT_EQ(PixelsOf(image, Qt::black), c.expected);
    }
}

TEST(DrawArrow, DisabledArrowSitsOnItsShiftedShadow)
{
    for (const TArrowCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const QImage image = Paint(c, false);
        const TPixels grey = PixelsOf(image, VelClassicColor(clGrayText));
        EXPECT_EQ(grey, c.expected);
        TPixels shadowVisible;
        for (auto [x, y] : c.expected)
            if (!c.expected.contains({x + 1, y + 1}))
                shadowVisible.insert({x + 1, y + 1});
        EXPECT_EQ(PixelsOf(image, VelClassicColor(clHighlightText)), shadowVisible);
    }
}

TEST(DrawArrow, DoubleDensityPaintsWholeBlocks)
{
    for (const TArrowCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const QImage image = Paint(c, true, 2);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool inArrow = c.expected.contains({x / 2 - kOrigin, y / 2 - kOrigin});
                ASSERT_EQ(image.pixelColor(x, y), inArrow ? QColor(Qt::black) : QColor(Qt::transparent))
                    << x << "," << y;
            }
    }
}

TEST(DrawArrow, SolidSymmetricAndCentredAtEveryScale)
{
    // An odd logical offset puts the arrow on half device pixels at 1.5.
    for (const qreal dpr : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0})
        for (const bool down : {false, true})
            for (const bool enabled : {true, false}) {
                SCOPED_TRACE(testing::Message() << dpr << (down ? " down" : " up") << (enabled ? "" : " disabled"));
                QImage image(QSize(20, 20) * dpr, QImage::Format_ARGB32);
                image.setDevicePixelRatio(dpr);
                image.fill(Qt::transparent);
                QPainter p(&image);
                DrawArrow(p, 7, 5, 3, clBlack, down, enabled);
                p.end();
                const QRgb color = enabled ? qRgb(0, 0, 0) : VelClassicColor(clGrayText).rgb();
                const bool fractional = dpr != std::floor(dpr);
                EXPECT_EQ(ArrowShapeFault(image, color, down, fractional), "");
                // Centred where the logical arrow is: its middle column, 9.5 logical pixels in.
                int left = image.width(), right = -1;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        if (image.pixel(x, y) == color)
                            left = std::min(left, x), right = std::max(right, x);
                EXPECT_NEAR((left + right + 1) / 2.0, (down ? 9.5 : 8.5) * dpr, 1.0);
            }
}

TEST(VelClassicColor, PlainColoursAreBlueGreenRed)
{
    EXPECT_EQ(VelClassicColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(VelClassicColor(clTeal), QColor(0, 128, 128));
    EXPECT_EQ(VelClassicColor(clNone).alpha(), 0);
}
