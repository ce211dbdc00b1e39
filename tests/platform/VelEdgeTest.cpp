#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include "VelEdge.h"
#include "DistinctPalette.h"
#include "VelSysColors.h"

namespace {

const QColor Bg(1, 2, 3);

QImage Draw(unsigned edge, unsigned flags, QRect* rect = nullptr, int size = 6, qreal dpr = 1)
{
    QImage image(int(size * dpr), int(size * dpr), QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Bg);
    QPainter painter(&image);
    QRect r(0, 0, size, size);
    VelDrawEdge(painter, r, edge, flags, DistinctPalette());
    if (rect)
        *rect = r;
    return image;
}

QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

TEST(VelSysColors, SystemColoursFollowThePalette)
{
    const QPalette p = DistinctPalette();
    struct Case {
        TColor color;
        QColor expected;
    } cases[] = {
        {clBtnFace, p.color(QPalette::Button)},
        {clBtnHighlight, p.color(QPalette::Light)},
        {cl3DLight, p.color(QPalette::Midlight)},
        {clBtnShadow, p.color(QPalette::Dark)},
        {cl3DDkShadow, p.color(QPalette::Shadow)},
        {clWindow, p.color(QPalette::Base)},
        {clWindowFrame, p.color(QPalette::WindowText)},
        {clGrayText, p.color(QPalette::Disabled, QPalette::Text)},
        {VelRGB(0x12, 0x34, 0x56), QColor(0x12, 0x34, 0x56)},
        {clTeal, QColor(0, 0x80, 0x80)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VelColorToQColor(c.color, p), c.expected) << std::hex << c.color;
    EXPECT_EQ(VelColorToQColor(clNone, p).alpha(), 0);
    EXPECT_EQ(VelColorFromQColor(QColor(0x12, 0x34, 0x56)), VelRGB(0x12, 0x34, 0x56));
}

TEST(VelSysColors, WithoutAPaletteTheApplicationsIsReadAtTheCall)
{
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(30, 30, 30)));
    EXPECT_LT(VelColorToQColor(clBtnFace).lightness(), 60);
    QApplication::setPalette(QPalette(QColor(230, 230, 230)));
    EXPECT_GT(VelColorToQColor(clBtnFace).lightness(), 200);
    QApplication::setPalette(saved);
}

TEST(VelEdge, LinesTakeTheClassicColoursAndTheBottomRightOwnsTheCorners)
{
    const QPalette p = DistinctPalette();
    const QColor shadow = p.color(QPalette::Dark), highlight = p.color(QPalette::Light);
    const QColor dk = p.color(QPalette::Shadow), light = p.color(QPalette::Midlight);
    struct Case {
        const char* name;
        unsigned edge, flags;
        QColor outerTL, outerBR, innerTL, innerBR;
    } cases[] = {
        {"sunken", EDGE_SUNKEN, BF_RECT, shadow, highlight, dk, light},
        {"raised", EDGE_RAISED, BF_RECT, light, dk, highlight, shadow},
        {"etched", EDGE_ETCHED, BF_RECT, shadow, highlight, highlight, shadow},
        {"bump", EDGE_BUMP, BF_RECT, light, dk, dk, light},
        {"raised soft", EDGE_RAISED, BF_RECT | BF_SOFT, highlight, dk, light, shadow},
        {"flat", EDGE_SUNKEN, BF_RECT | BF_FLAT, shadow, shadow, p.color(QPalette::Button), p.color(QPalette::Button)},
    };
    for (const Case& c : cases) {
        const QImage img = Draw(c.edge, c.flags);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(At(img, 0, 0), c.outerTL);
        EXPECT_EQ(At(img, 0, 4), c.outerTL);
        EXPECT_EQ(At(img, 4, 0), c.outerTL);
        EXPECT_EQ(At(img, 5, 0), c.outerBR) << "top-right corner";
        EXPECT_EQ(At(img, 0, 5), c.outerBR) << "bottom-left corner";
        EXPECT_EQ(At(img, 5, 5), c.outerBR);
        EXPECT_EQ(At(img, 1, 1), c.innerTL);
        EXPECT_EQ(At(img, 4, 1), c.innerBR);
        EXPECT_EQ(At(img, 4, 4), c.innerBR);
        EXPECT_EQ(At(img, 2, 2), Bg) << "the middle stays unless BF_MIDDLE";
    }
}

TEST(VelEdge, AdjustShrinksOnlyTheDrawnSides)
{
    struct Case {
        unsigned edge, flags;
        QRect expected;
    } cases[] = {
        {EDGE_SUNKEN, BF_RECT | BF_ADJUST, QRect(2, 2, 2, 2)},
        {BDR_SUNKENOUTER, BF_RECT | BF_ADJUST, QRect(1, 1, 4, 4)},
        {BDR_SUNKENINNER, BF_TOPLEFT | BF_ADJUST, QRect(1, 1, 5, 5)},
        {EDGE_RAISED, BF_BOTTOMRIGHT | BF_ADJUST, QRect(0, 0, 4, 4)},
        {EDGE_RAISED, BF_RECT, QRect(0, 0, 6, 6)},
    };
    for (const Case& c : cases) {
        QRect r;
        Draw(c.edge, c.flags, &r);
        EXPECT_EQ(r, c.expected) << std::hex << c.edge << " " << c.flags;
    }
}

TEST(VelEdge, ALineWithoutItsCornerPartnerRunsIntoTheCorner)
{
    const QImage img = Draw(BDR_SUNKENOUTER, BF_TOP);
    EXPECT_EQ(At(img, 5, 0), DistinctPalette().color(QPalette::Dark));
    EXPECT_EQ(At(img, 0, 1), Bg);
    const QImage middle = Draw(BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(At(middle, 2, 3), DistinctPalette().color(QPalette::Button));
}

TEST(VelEdge, LinesStayOneLogicalPixelAndCrispOnADoubleScaleSurface)
{
    const QImage img = Draw(EDGE_SUNKEN, BF_RECT, nullptr, 6, 2);
    const QPalette p = DistinctPalette();
    for (int d : {0, 1})
        EXPECT_EQ(At(img, d, 5), p.color(QPalette::Dark)) << "outer line covers device pixels 0 and 1";
    for (int d : {2, 3})
        EXPECT_EQ(At(img, d, 5), p.color(QPalette::Shadow));
    EXPECT_EQ(At(img, 4, 5), Bg);
    EXPECT_EQ(At(img, 11, 5), p.color(QPalette::Light));
}
