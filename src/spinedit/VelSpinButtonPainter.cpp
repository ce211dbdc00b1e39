#include "VelSpinButtonPainter.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <algorithm>
#include <bit>
#include <cmath>
#include <tuple>
#include <vector>

#include "VelArrow.h"
#include "VelDevicePixels.h"
#include "VelEdge.h"
#include "VelSysColors.h"

namespace {

// The frames are classic 3D edges, drawn one line at a time where a frame has a line on only some
// of its sides; every line of one picture is counted from the picture's edges.
void Edge(QPainter& p, const TVelDeviceFrame& f, QRect& r, unsigned line, unsigned sides, const QPalette& palette)
{
    VelDrawEdge(p, f, r, line, sides | BF_ADJUST, palette);
}

// A line from A towards B in whole pixels, B itself left out, the way the classic line drawing
// the pictures were designed with works. Off the whole-pixel grid the same steps are taken on the
// device grid between the mapped end points, each step a run one line wide, so the line keeps its
// weight instead of alternating between one and two device pixels.
void Line(QPainter& p, const TVelDeviceFrame& f, QPoint a, QPoint b, const QColor& color)
{
    const bool exact = VelDeviceExact(p);
    int width = 1;
    if (!exact) {
        a = QPoint(f.MapX(a.x()), f.MapY(a.y()));
        b = QPoint(f.MapX(b.x()), f.MapY(b.y()));
        width = f.LineWidth();
    }
    const int dx = std::abs(b.x() - a.x()), sx = a.x() < b.x() ? 1 : -1;
    const int dy = -std::abs(b.y() - a.y()), sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    while (a != b) {
        if (exact)
            p.fillRect(QRect(a, QSize(1, 1)), color);
        else
            VelFillDevice(p, QRect(a, QSize(width, 1)), color);
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

// The sideways arrow of the horizontal halves: three columns, five rows at the base. At a
// fractional scale it is drawn afresh on the device grid, as the vertical arrows are: an odd base,
// every column one pixel taller on each side than the one before it.
void SideArrowRuns(QPainter& p, int x, int y, bool right, const QColor& color, bool shadow)
{
    if (VelDeviceExact(p)) {
        const int shift = shadow ? 1 : 0;
        for (int k = 0; k < 3; ++k) {
            const int column = right ? x + k : x + 2 - k;
            p.fillRect(QRect(column + shift, y + k + shift, 1, 5 - 2 * k), color);
        }
        return;
    }
    const qreal ratio = VelDeviceRatio(p);
    const int shift = shadow ? VelLineWidth(ratio) : 0;
    const int base = VelOddDeviceLength(5, ratio);
    const int columns = (base + 1) / 2;
    const QPointF mid = VelToDevice(p, QPointF(x + 1.5, y + 2.5));
    const int cy = int(std::floor(mid.y())) + shift;
    const int left = int(std::floor(mid.x() - columns / 2.0 + 0.5)) + shift;
    for (int k = 0; k < columns; ++k) {
        const int half = right ? columns - 1 - k : k;
        VelFillDevice(p, QRect(left + k, cy - half, 1, 2 * half + 1), color);
    }
}

void SideArrow(QPainter& p, int x, int y, bool right, const QColor& color, bool enabled, const QPalette& palette)
{
    if (!enabled)
        SideArrowRuns(p, x, y, right, VelColorToQColor(clHighlightText, palette), true);
    SideArrowRuns(p, x, y, right, enabled ? color : VelColorToQColor(clGrayText, palette), false);
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

void TVelSpinButtonPainter::SetThemedPartDrawer(TThemedPartDrawer Drawer)
{
    drawThemedPart_ = std::move(Drawer);
    ForgetPictures();
}

const QRegion& TVelSpinButtonPainter::LocalRegion(TVelSpinHalf Half) const
{
    // Asked for on every pointer move and every paint; a diagonal half is a polygon to scan.
    const bool diagonal = DiagonalMode();
    if (!regions_ || regions_->Size != bounds_.size() || regions_->Halves != Halves || regions_->Diagonal != diagonal) {
        TRegions regions{bounds_.size(), Halves, diagonal, {}};
        for (TVelSpinHalf half : kSpinHalfOrder)
            regions.Local[half] = BuildLocalRegion(half);
        regions_ = std::move(regions);
    }
    return regions_->Local[Half];
}

QRegion TVelSpinButtonPainter::BuildLocalRegion(TVelSpinHalf Half) const
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
    const QPoint local = InParent - bounds_.topLeft();
    for (TVelSpinHalf half : kSpinHalfOrder)
        if (LocalRegion(half).contains(local))
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

QPalette TVelSpinButtonPainter::PaletteFor(const QPainter& Canvas) const
{
    return Palette ? *Palette : VelCanvasPalette(Canvas);
}

QImage TVelSpinButtonPainter::Strip(qreal DevicePixelRatio) const
{
    return Strip(DevicePixelRatio, Palette ? *Palette : QGuiApplication::palette());
}

QImage TVelSpinButtonPainter::Strip(qreal DevicePixelRatio, const QPalette& Colors) const
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
            // Arrows of a tiny button and lines running to the frame's corners must not reach
            // into the neighbouring pictures.
            p.save();
            p.setClipRect(picture);
            p.translate(picture.topLeft());
            DrawPicture(p, TVelDeviceFrame(p, QRect(QPoint(), box)), half, TVelSpinState(k), Colors);
            p.restore();
        }
        ++slot;
    }
    return strip;
}

void TVelSpinButtonPainter::DrawPicture(QPainter& p, const TVelDeviceFrame& f, TVelSpinHalf half, TVelSpinState state,
                                        const QPalette& colors) const
{
    if (Themed && drawThemedPart_)
        drawThemedPart_(p, f.Outer(), half, state);
    else if (DiagonalMode())
        DrawClassicDiagonal(p, f, half, state, colors);
    else
        DrawClassicRect(p, f, half, state, colors);
}

QColor TVelSpinButtonPainter::ArrowColor(TVelSpinState state, const QPalette& colors) const
{
    if (state != ssHot)
        return VelFixedColor(TVelFixedColor::Arrow, colors);
    const QColor hot = VelColorToQColor(HotColor, colors);
    return VelIsDarkPalette(colors) ? VelLegibleOnDark(hot, VelColorToQColor(Color, colors)) : hot;
}

void TVelSpinButtonPainter::DrawClassicRect(QPainter& p, const TVelDeviceFrame& f, TVelSpinHalf half,
                                            TVelSpinState state, const QPalette& colors) const
{
    const QRect box = f.Outer();
    f.Fill(p, box, VelColorToQColor(Color, colors));
    QRect r = box;
    if (state == ssPressed) {
        Edge(p, f, r, BDR_SUNKENOUTER, BF_RECT, colors);
        Edge(p, f, r, BDR_SUNKENINNER, BF_TOPLEFT, colors);
    } else {
        Edge(p, f, r, BDR_RAISEDOUTER, BF_RECT | BF_SOFT, colors);
        Edge(p, f, r, BDR_RAISEDINNER, BF_BOTTOMRIGHT, colors);
    }
    const QColor arrow = ArrowColor(state, colors);
    const bool enabled = state != ssDisabled;
    if (half == shUp || half == shDown) {
        const int left = box.left() + (box.width() - 5) / 2;
        const int top = box.top() + box.height() / 2 - 2;
        DrawArrow(p, half == shUp ? left + 1 : left, top, 3, arrow, half == shDown, enabled, colors);
    } else {
        SideArrow(p, box.left() + (box.width() - 3) / 2, box.top() + (box.height() - 5) / 2, half == shUpHorz, arrow,
                  enabled, colors);
    }
}

void TVelSpinButtonPainter::DrawClassicDiagonal(QPainter& p, const TVelDeviceFrame& f, TVelSpinHalf half,
                                                TVelSpinState state, const QPalette& colors) const
{
    const QRect cell = f.Outer();
    f.Fill(p, cell, VelColorToQColor(Color, colors));
    const QRect frame =
        DrawingStyle == 1 ? QRect(QPoint(0, 0), cell.size()) : QRect(0, 0, cell.width() - 1, cell.height() - 1);
    QRect r = frame;
    const bool pressed = state == ssPressed;
    if (pressed) { // lowered: two soft sunken lines
        Edge(p, f, r, BDR_SUNKENOUTER, BF_RECT | BF_SOFT, colors);
        Edge(p, f, r, BDR_SUNKENINNER, BF_RECT | BF_SOFT, colors);
    } else { // single raised
        Edge(p, f, r, BDR_RAISEDINNER, BF_RECT, colors);
    }
    const int R = frame.left() + frame.width(), B = frame.top() + frame.height();
    const QColor arrow = ArrowColor(state, colors);
    const bool enabled = state != ssDisabled;
    const QColor darkGrey = VelFixedColor(TVelFixedColor::DarkGrey, colors);
    const QColor lightGrey = VelFixedColor(TVelFixedColor::LightGrey, colors);
    const QColor white = VelFixedColor(TVelFixedColor::White, colors);
    if (half == shUp) {
        DrawArrow(p, Round(R / 4.0 - 2), Round(B / 4.0 - 2), 3, arrow, false, enabled, colors);
        if (pressed)
            Line(p, f, {R - 1, 0}, {0, B - 1}, darkGrey);
        Line(p, f, {R - 1, 0}, {-1, B}, pressed ? white : lightGrey);
    } else {
        DrawArrow(p, Round(3 * R / 4.0 - 2), Round(3 * B / 4.0 - 2), 3, arrow, true, enabled, colors);
        Line(p, f, {R, -1}, {-1, B}, pressed ? darkGrey : white);
        if (pressed)
            Line(p, f, {R, 0}, {0, B}, lightGrey);
    }
}

TVelSpinButtonPainter::TPictureKey TVelSpinButtonPainter::KeyFor(const QPalette& Colors, qreal Ratio) const
{
    return {Halves, DrawingStyle, Diagonal, Themed, Color, HotColor, Colors, bounds_.size(), Ratio, false, {}, {}};
}

bool TVelSpinButtonPainter::PicturesCurrent(const TPictureKey& Key) const
{
    if (pictures_ && pictures_->Key == Key)
        return true;
    pictures_.reset();
    return false;
}

// The pictures are drawn once and kept; a paint copies the button put together for the halves'
// states, which is put together again only when a state changes.
void TVelSpinButtonPainter::Paint(QPainter& Canvas, const TVelSpinStates& States) const
{
    if (bounds_.isEmpty())
        return;
    const QPalette colors = PaletteFor(Canvas);
    if (!VelDeviceExact(Canvas)) {
        PaintOnDeviceGrid(Canvas, States, colors);
        return;
    }
    const qreal dpr = Canvas.device() ? Canvas.device()->devicePixelRatioF() : 1.0;
    const TPictureKey key = KeyFor(colors, dpr);
    if (!PicturesCurrent(key))
        pictures_ = TPictures{key, Strip(dpr, colors), std::nullopt, QImage()};
    if (pictures_->FaceStates != States) {
        pictures_->Face = ComposeFace(pictures_->Strip, States, dpr);
        pictures_->FaceStates = States;
    }
    Canvas.drawImage(bounds_.topLeft(), pictures_->Face);
}

QImage TVelSpinButtonPainter::ComposeFace(const QImage& Strip, const TVelSpinStates& States, qreal Dpr) const
{
    QImage face(bounds_.size() * Dpr, QImage::Format_ARGB32_Premultiplied);
    if (face.isNull())
        return face;
    face.setDevicePixelRatio(Dpr);
    face.fill(Qt::transparent);
    QPainter p(&face);
    const QSize cell = CellSize();
    int slot = 0;
    for (TVelSpinHalf half : kSpinHalfOrder) {
        if (!Has(half))
            continue;
        const QRegion& region = LocalRegion(half);
        const QRect box = region.boundingRect();
        const int k = std::min<int>(States[half], ssDisabled);
        const QPoint source((4 * slot + k) * cell.width(), 0);
        // The picture is copied at its own size to the top-left of the half's box: a diagonal
        // picture squeezed into the box of its triangle would lose a row and a column.
        const QSize size = DiagonalMode() ? cell : box.size();
        p.save();
        if (DiagonalMode())
            p.setClipRegion(region);
        p.drawImage(QRectF(box.topLeft(), size), Strip, QRectF(QPointF(source) * Dpr, QSizeF(size) * Dpr));
        p.restore();
        ++slot;
    }
    return face;
}

// Off the whole-pixel grid the pictures are drawn at the size the button takes on the device, each
// line a whole number of device pixels, and copied one to one. The halves split the button's device
// square along its diagonal exactly as they split the logical one.
void TVelSpinButtonPainter::PaintOnDeviceGrid(QPainter& Canvas, const TVelSpinStates& States,
                                              const QPalette& Colors) const
{
    const QRect button = VelToDeviceRect(Canvas, bounds_);
    if (button.isEmpty())
        return;
    const std::vector<TDevicePiece> pieces = DevicePieces(Canvas, button);
    const qreal ratio = VelDeviceRatio(Canvas);
    TPictureKey key = KeyFor(Colors, ratio);
    key.OnDeviceGrid = true;
    // At a fractional scale the button's device size, and so its pictures, depend on where it is.
    key.DeviceSize = button.size();
    for (std::size_t i = 0; i < pieces.size() && i < key.Pieces.size(); ++i)
        key.Pieces[i] = pieces[i].Device;
    if (!PicturesCurrent(key))
        pictures_ = TPictures{key, DeviceStrip(pieces, VelLineWidth(ratio), Colors), std::nullopt, QImage()};
    if (pictures_->FaceStates != States) {
        pictures_->Face = ComposeDeviceFace(pictures_->Strip, pieces, States, button.size());
        pictures_->FaceStates = States;
    }
    Canvas.save();
    VelPaintInDevicePixels(Canvas);
    Canvas.drawImage(button.topLeft(), pictures_->Face);
    Canvas.restore();
}

std::vector<TVelSpinButtonPainter::TDevicePiece> TVelSpinButtonPainter::DevicePieces(const QPainter& Canvas,
                                                                                     const QRect& Button) const
{
    const int line = VelLineWidth(VelDeviceRatio(Canvas));
    std::vector<TDevicePiece> pieces;
    for (TVelSpinHalf half : kSpinHalfOrder) {
        if (!Has(half))
            continue;
        const QRect box = LocalRegion(half).boundingRect();
        if (DiagonalMode()) {
            // Moved off the corner as far as the logical picture is, in whole lines.
            pieces.push_back({half, bounds_.size(), QRect(box.topLeft() * line, Button.size())});
        } else {
            const QRect device = VelToDeviceRect(Canvas, box.translated(bounds_.topLeft()));
            pieces.push_back({half, box.size(), device.translated(-Button.topLeft())});
        }
    }
    return pieces;
}

QImage TVelSpinButtonPainter::DeviceStrip(const std::vector<TDevicePiece>& Pieces, int Line,
                                          const QPalette& Colors) const
{
    int width = 0, height = 0;
    for (const TDevicePiece& piece : Pieces) {
        width += 4 * piece.Device.width();
        height = std::max(height, piece.Device.height());
    }
    QImage strip(width, height, QImage::Format_ARGB32_Premultiplied);
    if (strip.isNull())
        return strip;
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    int x = 0;
    for (const TDevicePiece& piece : Pieces) {
        const QSize size = piece.Device.size();
        for (int k = 0; k < 4; ++k, x += size.width()) {
            const QRect target(QPoint(x, 0), size);
            p.save();
            p.setClipRect(target);
            p.setTransform(QTransform::fromTranslate(x, 0).scale(qreal(size.width()) / piece.Logical.width(),
                                                                 qreal(size.height()) / piece.Logical.height()));
            DrawPicture(p, TVelDeviceFrame(QRect(QPoint(), piece.Logical), target, Line), piece.Half, TVelSpinState(k),
                        Colors);
            p.restore();
        }
    }
    return strip;
}

QImage TVelSpinButtonPainter::ComposeDeviceFace(const QImage& Strip, const std::vector<TDevicePiece>& Pieces,
                                                const TVelSpinStates& States, QSize Size) const
{
    QImage face(Size, QImage::Format_ARGB32_Premultiplied);
    if (face.isNull())
        return face;
    face.fill(Qt::transparent);
    QPainter p(&face);
    const int w = Size.width(), h = Size.height();
    int x = 0;
    for (const TDevicePiece& piece : Pieces) {
        const int k = std::min<int>(States[piece.Half], ssDisabled);
        const QSize size = piece.Device.size();
        const QRegion clip = !DiagonalMode()      ? QRegion(piece.Device)
                             : piece.Half == shUp ? QRegion(QPolygon({QPoint(0, h), QPoint(w, 0), QPoint(0, 0)}))
                                                  : QRegion(QPolygon({QPoint(0, h), QPoint(w, h), QPoint(w, 0)}));
        p.save();
        p.setClipRegion(clip);
        p.drawImage(piece.Device.topLeft(), Strip, QRect(QPoint(x + k * size.width(), 0), size));
        p.restore();
        x += 4 * size.width();
    }
    return face;
}
