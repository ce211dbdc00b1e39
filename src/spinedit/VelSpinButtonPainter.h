#pragma once

#include <QImage>
#include <QPalette>
#include <QRect>
#include <QRegion>
#include <array>
#include <functional>
#include <optional>

#include "VelTypes.h"

class QPainter;
class TVelDeviceFrame;

// The halves of a spin button, in the order they are hit-tested, stored in the strip and clicked.
enum TVelSpinHalf : quint8 { shUp, shDown, shDownHorz, shUpHorz };
constexpr std::array<TVelSpinHalf, 4> kSpinHalfOrder = {shUp, shDown, shDownHorz, shUpHorz};

// A set of halves: up 1, down 2, down-horizontal 4, up-horizontal 8.
using TVelSpinHalves = quint8;
constexpr TVelSpinHalves SpinHalfBit(TVelSpinHalf Half)
{
    return TVelSpinHalves(1u << Half);
}
constexpr TVelSpinHalves kSpinUpDown = SpinHalfBit(shUp) | SpinHalfBit(shDown);

enum TVelSpinState : quint8 { ssNormal, ssHot, ssPressed, ssDisabled };
using TVelSpinStates = std::array<TVelSpinState, 4>; // indexed by TVelSpinHalf

// Geometry, hit-testing and drawing of a spin button's halves, apart from any widget: the control
// hands it its rectangle in the parent's coordinates and the states of its halves, and paints
// through it on the parent's painter.
//
// Up and down together split the button along its rising diagonal (diagonal mode) or stack two
// rectangles with one free row between them (rectangle mode). Other combinations stack the up
// half, a row of the horizontal halves (down-horizontal left, up-horizontal right) and the down
// half; a single half covers the whole button.
class TVelSpinButtonPainter {
public:
    TVelSpinHalves Halves = SpinHalfBit(shUp);
    quint8 DrawingStyle = 0; // 1: the diagonal pictures are framed over the whole button
    bool Diagonal = true;
    bool Themed = false; // the resolved theme mode is not classic
    TColor Color = clBtnFace;
    TColor HotColor = clTeal;
    // Draws one themed picture of a half into the given rectangle of the strip. Without it a
    // themed button draws its classic rectangle-mode pictures.
    std::function<void(QPainter&, const QRect&, TVelSpinHalf, TVelSpinState)> DrawThemedPart;
    // The colours to draw with; without them, those of the widget painted on.
    std::optional<QPalette> Palette;

    void SetBounds(const QRect& InParent) { bounds_ = InParent; }
    const QRect& Bounds() const { return bounds_; }

    bool Has(TVelSpinHalf Half) const { return Halves & SpinHalfBit(Half); }
    bool RectangleMode() const;
    bool DiagonalMode() const;

    // The half's region in the parent's coordinates; empty for an absent half.
    QRegion Region(TVelSpinHalf Half) const;
    // The half under a point given in the parent's coordinates, if any.
    std::optional<TVelSpinHalf> HalfAt(const QPoint& InParent) const;

    // One picture's room in the strip, in logical pixels: the whole button in diagonal mode and
    // for a single half, otherwise the button's width by its tallest half.
    QSize CellSize() const;
    // Four pictures (normal, hot, pressed, disabled) per present half, side by side; picture k of
    // the h-th present half starts at x = (4h + k) * width. Drawn at the given whole device pixel
    // ratio; at a fractional one the painting builds its pictures on the device grid instead.
    QImage Strip(qreal DevicePixelRatio) const;

    // Paints every present half from its state's picture, on a painter in the parent's coordinates.
    void Paint(QPainter& Canvas, const TVelSpinStates& States) const;

private:
    QRegion LocalRegion(TVelSpinHalf Half) const;
    QPalette PaletteFor(const QPainter& Canvas) const;
    QImage Strip(qreal DevicePixelRatio, const QPalette& Colors) const;
    void PaintOnDeviceGrid(QPainter& Canvas, const TVelSpinStates& States, const QPalette& Colors) const;
    // One picture, drawn at the origin of the painter over the frame's logical rectangle.
    void DrawPicture(QPainter& Canvas, const TVelDeviceFrame& Frame, TVelSpinHalf Half, TVelSpinState State,
                     const QPalette& Colors) const;
    void DrawClassicDiagonal(QPainter& Canvas, const TVelDeviceFrame& Frame, TVelSpinHalf Half, TVelSpinState State,
                             const QPalette& Colors) const;
    void DrawClassicRect(QPainter& Canvas, const TVelDeviceFrame& Frame, TVelSpinHalf Half, TVelSpinState State,
                         const QPalette& Colors) const;
    QColor ArrowColor(TVelSpinState State, const QPalette& Colors) const;

    QRect bounds_{0, 0, 20, 20};
};
