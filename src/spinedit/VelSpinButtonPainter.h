#pragma once

#include <QImage>
#include <QPalette>
#include <QRect>
#include <QRegion>
#include <array>
#include <functional>
#include <optional>
#include <vector>

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
    // The colours to draw with; without them, those of the widget painted on.
    std::optional<QPalette> Palette;

    // Draws one themed picture of a half into the given rectangle of the strip. Without it a
    // themed button draws its classic rectangle-mode pictures.
    using TThemedPartDrawer = std::function<void(QPainter&, const QRect&, TVelSpinHalf, TVelSpinState)>;
    void SetThemedPartDrawer(TThemedPartDrawer Drawer);
    // The pictures are kept from one paint to the next while nothing they are drawn from changes;
    // what a themed part drawer draws is not known here, so its owner says when that changed.
    void ForgetPictures() const { pictures_.reset(); }

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
    // A half's picture where the painting goes off the whole-pixel grid: drawn at its logical size
    // into Device, in device pixels relative to the button's device rectangle.
    struct TDevicePiece {
        TVelSpinHalf Half;
        QSize Logical;
        QRect Device;
    };
    // Everything the pictures are drawn from. The device grid's pieces are part of it because a
    // button's device size changes with its position at a fractional scale.
    struct TPictureKey {
        TVelSpinHalves Halves = 0;
        quint8 DrawingStyle = 0;
        bool Diagonal = false, Themed = false;
        TColor Color = 0, HotColor = 0;
        QPalette Colors;
        QSize Size;
        qreal Ratio = 0;
        bool OnDeviceGrid = false;
        QSize DeviceSize;
        std::array<QRect, 4> Pieces{};
        bool operator==(const TPictureKey&) const = default;
    };
    // The strip of every picture and the button put together from it for one set of states.
    struct TPictures {
        TPictureKey Key;
        QImage Strip;
        std::optional<TVelSpinStates> FaceStates;
        QImage Face;
    };
    // The halves' regions at the origin, for one size and layout of halves.
    struct TRegions {
        QSize Size;
        TVelSpinHalves Halves = 0;
        bool Diagonal = false;
        std::array<QRegion, 4> Local;
    };

    const QRegion& LocalRegion(TVelSpinHalf Half) const;
    QRegion BuildLocalRegion(TVelSpinHalf Half) const;
    QPalette PaletteFor(const QPainter& Canvas) const;
    QImage Strip(qreal DevicePixelRatio, const QPalette& Colors) const;
    TPictureKey KeyFor(const QPalette& Colors, qreal Ratio) const;
    // True when the kept pictures were drawn from Key; otherwise they are dropped.
    bool PicturesCurrent(const TPictureKey& Key) const;
    QImage ComposeFace(const QImage& Strip, const TVelSpinStates& States, qreal Dpr) const;
    std::vector<TDevicePiece> DevicePieces(const QPainter& Canvas, const QRect& Button) const;
    QImage DeviceStrip(const std::vector<TDevicePiece>& Pieces, int Line, const QPalette& Colors) const;
    QImage ComposeDeviceFace(const QImage& Strip, const std::vector<TDevicePiece>& Pieces, const TVelSpinStates& States,
                             QSize Size) const;
    void PaintOnDeviceGrid(QPainter& Canvas, const TVelSpinStates& States, const QPalette& Colors) const;
    // One picture, drawn at the origin of the painter over the frame's logical rectangle.
    void DrawPicture(QPainter& p, const TVelDeviceFrame& f, TVelSpinHalf half, TVelSpinState state,
                     const QPalette& colors) const;
    void DrawClassicDiagonal(QPainter& p, const TVelDeviceFrame& f, TVelSpinHalf half, TVelSpinState state,
                             const QPalette& colors) const;
    void DrawClassicRect(QPainter& p, const TVelDeviceFrame& f, TVelSpinHalf half, TVelSpinState state,
                         const QPalette& colors) const;
    QColor ArrowColor(TVelSpinState State, const QPalette& Colors) const;

    QRect bounds_{0, 0, 20, 20};
    TThemedPartDrawer drawThemedPart_;
    mutable std::optional<TRegions> regions_;
    mutable std::optional<TPictures> pictures_;
};
