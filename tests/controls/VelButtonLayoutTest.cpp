#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <tuple>

#include "VelArrow.h"
#include "VelButtonLayout.h"
#include "VelButtonLayoutPainter.h"
#include "VelErrors.h"

namespace {

int CountChanges(TVelObject& object, const std::function<void()>& action)
{
    int count = 0;
    object.OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &object);
        ++count;
    };
    action();
    object.OnChange = nullptr;
    return count;
}

} // namespace

TEST(VelButtonLayout, EverySetterNotifiesOnlyOnARealChange)
{
    TVelButtonLayout l;
    const std::pair<const char*, std::function<void()>> setters[] = {
        {"Alignment", [&] { l.SetAlignment(agBottomRight); }},
        {"AlignText2Glyph", [&] { l.SetAlignText2Glyph(taBottomLeft); }},
        {"OffsetX", [&] { l.SetOffsetX(4); }},
        {"OffsetY", [&] { l.SetOffset(1, -3); }},
        {"Spacing", [&] { l.SetSpacing(5); }},
        {"Arrow", [&] { l.SetArrow(true); }},
        {"ArrowColor", [&] { l.SetArrowColor(clTeal); }},
        {"ArrowIndent", [&] { l.SetArrowIndent(1); }},
        {"ArrowPosition", [&] { l.SetArrowPosition(apLeftGlyph); }},
        {"ArrowSize", [&] { l.SetArrowSize(7); }},
    };
    for (const auto& [name, set] : setters) {
        SCOPED_TRACE(name);
        EXPECT_EQ(CountChanges(l, set), 1);
        EXPECT_EQ(CountChanges(l, set), 0);
    }
    EXPECT_EQ(l.OffsetY(), -3);
    EXPECT_EQ(CountChanges(l, [&] { l.SetOffset(2, 9); }), 0);
}

TEST(VelButtonLayout, ArrowSizeStaysInItsRange)
{
    TVelButtonLayout l;
    l.SetArrowSize(1);
    EXPECT_EQ(l.ArrowSize(), 2);
    l.SetArrowSize(16);
    EXPECT_EQ(l.ArrowSize(), 10);
}

TEST(VelButtonLayout, AssignCopiesEverythingAndNotifiesOnce)
{
    auto all = [](const TVelButtonLayout& l) {
        return std::tuple(l.Alignment(), l.AlignText2Glyph(), l.OffsetX(), l.OffsetY(), l.Spacing(), l.Arrow(),
                          l.ArrowColor(), l.ArrowIndent(), l.ArrowPosition(), l.ArrowSize());
    };
    TVelButtonLayout source, target;
    source.SetAlignment(agTopRight);
    source.SetAlignText2Glyph(taTop);
    source.SetOffsetX(2);
    source.SetOffsetY(3);
    source.SetSpacing(6);
    source.SetArrow(true);
    source.SetArrowColor(clTeal);
    source.SetArrowIndent(0);
    source.SetArrowPosition(apLeftText);
    source.SetArrowSize(5);
    EXPECT_EQ(CountChanges(target, [&] { target.Assign(&source); }), 1);
    EXPECT_EQ(all(target), all(source));
    EXPECT_EQ(CountChanges(target, [&] { target.Assign(&target); }), 0);
}

TEST(VelButtonLayout, AssignAcrossLayoutKindsCopiesTheCommonPart)
{
    TVelGlyphTextLayout plain;
    plain.SetSpacing(9);
    TVelButtonLayout button;
    button.SetArrow(true);
    button.Assign(&plain);
    EXPECT_EQ(button.Spacing(), 9);
    EXPECT_EQ(button.Alignment(), agTopLeft);
    EXPECT_TRUE(button.Arrow());

    QObject stranger;
    EXPECT_THROW(button.Assign(&stranger), EVelConvertError);
    EXPECT_THROW(plain.Assign(nullptr), EVelConvertError);
}

namespace {

struct TPlaceCase {
    const char* name;
    TVelAlignment alignment;
    TVelTextArrange arrange;
    QSize glyph, text;
    QRect expectGlyph, expectText;
};

const QRect kFace(0, 0, 40, 30);
const QSize kGlyph(10, 8), kText(12, 6);

} // namespace

TEST(VelButtonLayoutPainter, PlacesGlyphAndCaption)
{
    const TPlaceCase cases[] = {
        {"Right", agCenter, taRight, kGlyph, kText, {8, 11, 10, 8}, {20, 12, 12, 6}},
        {"RightTop", agCenter, taRightTop, kGlyph, kText, {8, 11, 10, 8}, {20, 11, 12, 6}},
        {"Left", agCenter, taLeft, kGlyph, kText, {22, 11, 10, 8}, {8, 12, 12, 6}},
        {"LeftTop", agCenter, taLeftTop, kGlyph, kText, {22, 11, 10, 8}, {8, 11, 12, 6}},
        {"Top", agCenter, taTop, kGlyph, kText, {15, 15, 10, 8}, {14, 7, 12, 6}},
        {"TopLeft", agCenter, taTopLeft, kGlyph, kText, {14, 15, 10, 8}, {14, 7, 12, 6}},
        {"Bottom", agCenter, taBottom, kGlyph, kText, {15, 7, 10, 8}, {14, 17, 12, 6}},
        {"BottomLeft", agCenter, taBottomLeft, kGlyph, kText, {14, 7, 10, 8}, {14, 17, 12, 6}},
        {"TopCenter", agTopCenter, taRight, kGlyph, {}, {15, 0, 10, 8}, {}},
        {"CenterRight", agCenterRight, taRight, kGlyph, {}, {30, 11, 10, 8}, {}},
        {"BottomLeftCorner", agBottomLeft, taRight, kGlyph, {}, {0, 22, 10, 8}, {}},
        {"BottomRightCorner", agBottomRight, taRight, kGlyph, {}, {30, 22, 10, 8}, {}},
        {"CaptionOnlyNoSpacing", agTopRight, taRight, {}, kText, {}, {28, 0, 12, 6}},
    };
    for (const TPlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TVelGlyphTextLayout l;
        l.SetAlignment(c.alignment);
        l.SetAlignText2Glyph(c.arrange);
        const TVelButtonPlacement at = TVelButtonLayoutPainter::Arrange(l, kFace.translated(5, 7), c.glyph, c.text);
        EXPECT_EQ(at.Glyph, c.expectGlyph.isNull() ? QRect() : c.expectGlyph.translated(5, 7));
        EXPECT_EQ(at.Text, c.expectText.isNull() ? QRect() : c.expectText.translated(5, 7));
        EXPECT_TRUE(at.Arrow.isNull());
    }
}

TEST(VelButtonLayoutPainter, OffsetsShiftTheBlock)
{
    TVelGlyphTextLayout l;
    l.SetOffsetX(3);
    l.SetOffsetY(-2);
    EXPECT_EQ(TVelButtonLayoutPainter::Arrange(l, kFace, kGlyph, {}).Glyph, QRect(3, -2, 10, 8));
}

TEST(VelButtonLayoutPainter, PlacesTheDropDownArrow)
{
    struct {
        const char* name;
        TVelArrowPosition position;
        QSize glyph, text;
        QRect expectGlyph, expectText, expectArrow;
    } const cases[] = {
        {"RightOfText", apRightText, kGlyph, kText, {4, 11, 10, 8}, {16, 12, 12, 6}, {31, 13, 5, 3}},
        {"LeftOfGlyph", apLeftGlyph, kGlyph, kText, {12, 11, 10, 8}, {24, 12, 12, 6}, {4, 13, 5, 3}},
        {"TextMissing", apRightText, kGlyph, {}, {11, 11, 10, 8}, {}, {24, 13, 5, 3}},
        {"GlyphMissing", apLeftGlyph, {}, kText, {}, {18, 12, 12, 6}, {10, 13, 5, 3}},
        {"Alone", apRightGlyph, {}, {}, {}, {}, {17, 13, 5, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TVelButtonLayout l;
        l.SetArrow(true);
        l.SetArrowPosition(c.position);
        const TVelButtonPlacement at = TVelButtonLayoutPainter::Arrange(l, kFace, c.glyph, c.text);
        EXPECT_EQ(at.Glyph, c.expectGlyph);
        EXPECT_EQ(at.Text, c.expectText);
        EXPECT_EQ(at.Arrow, c.expectArrow);
    }
}

namespace {

// Two 4x4 pictures on a green key colour: a red square in the first, a blue one in the second.
QImage TwoPartGlyph()
{
    QImage glyph(8, 4, QImage::Format_RGB32);
    glyph.fill(Qt::green);
    glyph.setPixelColor(1, 1, Qt::red);
    glyph.setPixelColor(2, 2, Qt::red);
    glyph.setPixelColor(5, 1, Qt::blue);
    return glyph;
}

QImage PaintFace(TVelButtonLayoutPainter& painter, TVelButtonState state, qreal dpr = 1)
{
    QImage image(QSize(20, 20) * dpr, QImage::Format_ARGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::magenta);
    QPainter p(&image);
    TVelButtonLayout layout;
    TVelButtonFace face;
    face.State = state;
    painter.Paint(p, QRect(0, 0, 20, 20), layout, face);
    return image;
}

std::vector<QPoint> Where(const QImage& image, QColor color)
{
    std::vector<QPoint> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color.rgba())
                out.push_back({x, y});
    return out;
}

} // namespace

TEST(VelButtonLayoutPainter, PaintsThePictureOfEachState)
{
    TVelButtonLayoutPainter painter;
    painter.SetGlyph(TwoPartGlyph(), 2);
    EXPECT_EQ(painter.GlyphSize(), QSize(4, 4));
    // The centred 4x4 glyph starts at (8, 8); the key colour is not painted.
    const QImage up = PaintFace(painter, bsUp);
    EXPECT_EQ(Where(up, Qt::red), (std::vector<QPoint>{{9, 9}, {10, 10}}));
    EXPECT_TRUE(Where(up, Qt::green).empty());
    EXPECT_EQ(Where(PaintFace(painter, bsHot), Qt::red), Where(up, Qt::red));
    EXPECT_EQ(Where(PaintFace(painter, bsDisabled), Qt::blue), (std::vector<QPoint>{{9, 9}}));
    EXPECT_EQ(Where(PaintFace(painter, bsDown), Qt::red), (std::vector<QPoint>{{10, 10}, {11, 11}}));
    EXPECT_EQ(Where(PaintFace(painter, bsExclusive), Qt::red), (std::vector<QPoint>{{10, 10}, {11, 11}}));
    EXPECT_EQ(Where(PaintFace(painter, bsUp, 2), Qt::red),
              (std::vector<QPoint>{{18, 18}, {19, 18}, {18, 19}, {19, 19}, {20, 20}, {21, 20}, {20, 21}, {21, 21}}));
}

TEST(VelButtonLayoutPainter, DisabledPictureIsEmbossedFromTheUpPicture)
{
    TVelButtonLayoutPainter painter;
    painter.SetGlyph(TwoPartGlyph().copy(0, 0, 4, 4), 1);
    const QImage image = PaintFace(painter, bsDisabled);
    EXPECT_EQ(Where(image, VelClassicColor(clBtnShadow)), (std::vector<QPoint>{{9, 9}, {10, 10}}));
    EXPECT_EQ(Where(image, VelClassicColor(clBtnHighlight)), (std::vector<QPoint>{{11, 11}}));
    EXPECT_TRUE(Where(image, Qt::red).empty());
}
