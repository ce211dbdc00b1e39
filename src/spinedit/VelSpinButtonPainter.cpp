#include "VelSpinButtonPainter.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <bit>
#include <cmath>
#include <tuple>
#include <vector>

#include "VelArrow.h"
#include "VelEdge.h"
#include "VelSysColors.h"

namespace {

constexpr QColor kDarkGrey(128, 128, 128);
constexpr QColor kLightGrey(192, 192, 192);
constexpr QColor kWhite(255, 255, 255);

// The frames are classic 3D edges, drawn one line at a time where a frame has a line on only some
// of its sides.
void Edge(QPainter& p, QRect& r, unsigned line, unsigned sides)
{
    VelDrawEdge(p, r, line, sides | BF_ADJUST);
}

// A line from A towards B in whole pixels, B itself left out, the way the classic line drawing
// the pictures were designed with works.
void Line(QPainter& p, QPoint a, QPoint b, const QColor& color)
{
    const int dx = std::abs(b.x() - a.x()), sx = a.x() < b.x() ? 1 : -1;
    const int dy = -std::abs(b.y() - a.y()), sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    while (a != b) {
        p.fillRect(QRect(a, QSize(1, 1)), color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            a.rx() += sx;
        }
        if (e2 <= dx) {
            err += dx;
            a.ry() += sy;
        }
    }
}

// The sideways arrow of the horizontal halves: three columns, five rows at the base.
void SideArrowRuns(QPainter& p, int x, int y, bool right, const QColor& color)
{
    for (int k = 0; k < 3; ++k) {
        const int column = right ? x + k : x + 2 - k;
        p.fillRect(QRect(column, y + k, 1, 5 - 2 * k), color);
    }
}

void SideArrow(QPainter& p, int x, int y, bool right, TColor color, bool enabled)
{
    if (!enabled)
        SideArrowRuns(p, x + 1, y + 1, right, VelColorToQColor(clHighlightText));
    SideArrowRuns(p, x, y, right, VelColorToQColor(enabled ? color : TColor(clGrayText)));
}

// Splits Extent into N bands with one free pixel between neighbours; the first of two bands ends
// one pixel above the rounded-up middle.
std::pair<int, int> Band(int extent, int i, int n)
{
    const int start = (i * extent + n - 1) / n;
    const int end = i == n - 1 ? extent : ((i + 1) * extent + n - 1) / n - 1;
    return {start, std::max(start, end)};
}

int Round(double v)
{
    return int(std::lrint(v)); // to nearest, ties to even
}

} // namespace

bool TVelSpinButtonPainter::RectangleMode() const
{
    return Halves == kSpinUpDown && (Themed || (DrawingStyle == 0 && !Diagonal));
}

bool TVelSpinButtonPainter::DiagonalMode() const
{
    return Halves == kSpinUpDown && !RectangleMode();
}

QRegion TVelSpinButtonPainter::LocalRegion(TVelSpinHalf Half) const
{
    if (!Has(Half))
        return {};
    const int w = bounds_.width(), h = bounds_.height();
    if (DiagonalMode()) {
        if (Half == shUp)
            return QRegion(QPolygon({QPoint(0, h), QPoint(w, 0), QPoint(0, 0)}));
        return QRegion(QPolygon({QPoint(0, h), QPoint(w, h), QPoint(w, 0)}));
    }
    const bool horizontal = Has(shDownHorz) || Has(shUpHorz);
    std::vector<int> rows; // 0 up, 1 the horizontal halves, 2 down
    if (Has(shUp))
        rows.push_back(0);
    if (horizontal)
        rows.push_back(1);
    if (Has(shDown))
        rows.push_back(2);
    const int row = Half == shUp ? 0 : Half == shDown ? 2 : 1;
    const int rowIndex = int(std::find(rows.begin(), rows.end(), row) - rows.begin());
    const auto [top, bottom] = Band(h, rowIndex, int(rows.size()));
    int left = 0, right = w;
    if (row == 1 && Has(shDownHorz) && Has(shUpHorz))
        std::tie(left, right) = Band(w, Half == shDownHorz ? 0 : 1, 2);
    return QRegion(left, top, right - left, bottom - top);
}

QRegion TVelSpinButtonPainter::Region(TVelSpinHalf Half) const
{
    return LocalRegion(Half).translated(bounds_.topLeft());
}

std::optional<TVelSpinHalf> TVelSpinButtonPainter::HalfAt(const QPoint& InParent) const
{
    for (TVelSpinHalf half : kSpinHalfOrder)
        if (Region(half).contains(InParent))
            return half;
    return std::nullopt;
}

QSize TVelSpinButtonPainter::CellSize() const
{
    if (DiagonalMode())
        return bounds_.size();
    int height = 0;
    for (TVelSpinHalf half : kSpinHalfOrder)
        height = std::max(height, LocalRegion(half).boundingRect().height());
    return QSize(bounds_.width(), height);
}

QImage TVelSpinButtonPainter::Strip(qreal DevicePixelRatio) const
{
    const QSize cell = CellSize();
    const int present = std::popcount(unsigned(Halves & 0xF));
    QImage strip(QSize(cell.width() * 4 * present, cell.height()) * DevicePixelRatio,
                 QImage::Format_ARGB32_Premultiplied);
    strip.setDevicePixelRatio(DevicePixelRatio);
    strip.fill(Qt::transparent);
    if (strip.isNull())
        return strip;
    QPainter p(&strip);
    int slot = 0;
    for (TVelSpinHalf half : kSpinHalfOrder) {
        if (!Has(half))
            continue;
        const QSize box = DiagonalMode() ? cell : LocalRegion(half).boundingRect().size();
        for (int k = 0; k < 4; ++k) {
            const QRect picture(QPoint((4 * slot + k) * cell.width(), 0), box);
            const auto state = TVelSpinState(k);
            // Arrows of a tiny button and lines running to the frame's corners must not reach
            // into the neighbouring pictures.
            p.setClipRect(picture);
            if (Themed && DrawThemedPart)
                DrawThemedPart(p, picture, half, state);
            else if (DiagonalMode())
                DrawClassicDiagonal(p, picture, half, state);
            else
                DrawClassicRect(p, picture, half, state);
        }
        ++slot;
    }
    return strip;
}

void TVelSpinButtonPainter::DrawClassicRect(QPainter& p, const QRect& box, TVelSpinHalf half, TVelSpinState state) const
{
    p.fillRect(box, VelColorToQColor(Color));
    QRect r = box;
    if (state == ssPressed) {
        Edge(p, r, BDR_SUNKENOUTER, BF_RECT);
        Edge(p, r, BDR_SUNKENINNER, BF_TOPLEFT);
    } else {
        Edge(p, r, BDR_RAISEDOUTER, BF_RECT | BF_SOFT);
        Edge(p, r, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
    }
    const TColor arrow = state == ssHot ? HotColor : TColor(clBlack);
    const bool enabled = state != ssDisabled;
    if (half == shUp || half == shDown) {
        const int left = box.left() + (box.width() - 5) / 2;
        const int top = box.top() + box.height() / 2 - 2;
        DrawArrow(p, half == shUp ? left + 1 : left, top, 3, arrow, half == shDown, enabled);
    } else {
        SideArrow(p, box.left() + (box.width() - 3) / 2, box.top() + (box.height() - 5) / 2, half == shUpHorz, arrow,
                  enabled);
    }
}

void TVelSpinButtonPainter::DrawClassicDiagonal(QPainter& p, const QRect& cell, TVelSpinHalf half,
                                                TVelSpinState state) const
{
    p.fillRect(cell, VelColorToQColor(Color));
    p.save();
    p.translate(cell.topLeft());
    const QRect frame =
        DrawingStyle == 1 ? QRect(QPoint(0, 0), cell.size()) : QRect(0, 0, cell.width() - 1, cell.height() - 1);
    QRect r = frame;
    const bool pressed = state == ssPressed;
    if (pressed) { // lowered: two soft sunken lines
        Edge(p, r, BDR_SUNKENOUTER, BF_RECT | BF_SOFT);
        Edge(p, r, BDR_SUNKENINNER, BF_RECT | BF_SOFT);
    } else { // single raised
        Edge(p, r, BDR_RAISEDINNER, BF_RECT);
    }
    const int R = frame.left() + frame.width(), B = frame.top() + frame.height();
    const TColor arrow = state == ssHot ? HotColor : TColor(clBlack);
    const bool enabled = state != ssDisabled;
    if (half == shUp) {
        DrawArrow(p, Round(R / 4.0 - 2), Round(B / 4.0 - 2), 3, arrow, false, enabled);
        if (pressed)
            Line(p, {R - 1, 0}, {0, B - 1}, kDarkGrey);
        Line(p, {R - 1, 0}, {-1, B}, pressed ? kWhite : kLightGrey);
    } else {
        DrawArrow(p, Round(3 * R / 4.0 - 2), Round(3 * B / 4.0 - 2), 3, arrow, true, enabled);
        Line(p, {R, -1}, {-1, B}, pressed ? kDarkGrey : kWhite);
        if (pressed)
            Line(p, {R, 0}, {0, B}, kLightGrey);
    }
    p.restore();
}

void TVelSpinButtonPainter::Paint(QPainter& Canvas, const TVelSpinStates& States) const
{
    if (bounds_.isEmpty())
        return;
    const qreal dpr = Canvas.device() ? Canvas.device()->devicePixelRatioF() : 1.0;
    const QImage strip = Strip(dpr);
    const QSize cell = CellSize();
    int slot = 0;
    for (TVelSpinHalf half : kSpinHalfOrder) {
        if (!Has(half))
            continue;
        const QRegion region = Region(half);
        const QRect box = region.boundingRect();
        const int k = std::min<int>(States[half], ssDisabled);
        const QPoint source((4 * slot + k) * cell.width(), 0);
        // The picture is copied at its own size to the top-left of the half's box: a diagonal
        // picture squeezed into the box of its triangle would lose a row and a column.
        const QSize size = DiagonalMode() ? cell : box.size();
        Canvas.save();
        if (DiagonalMode())
            Canvas.setClipRegion(region, Qt::IntersectClip);
        Canvas.drawImage(QRectF(box.topLeft(), size), strip, QRectF(QPointF(source) * dpr, QSizeF(size) * dpr));
        Canvas.restore();
        ++slot;
    }
}
