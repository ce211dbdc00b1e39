#pragma once

#include <QBrush>
#include <QPoint>
#include <QRect>

class QPainter;

// Whole device pixels for drawing designed in logical pixels. At a device pixel ratio of 1.5 a
// logical pixel is one and a half device pixels, so unit squares come out alternately one and two
// pixels wide: frames get uneven sides and small arrows lose their shape. What is drawn through
// these helpers lands on whole device pixels instead.

// Device pixels per logical pixel on the painter's device, position included.
qreal VelDeviceRatio(const QPainter& Canvas);
// True when logical pixels are whole blocks of device pixels (an integral ratio at an integral
// offset): there unit squares are already crisp and are drawn as they are.
bool VelDeviceExact(const QPainter& Canvas);
// The device thickness of a logical 1-pixel line at Ratio: the whole part of the ratio, at least 1.
int VelLineWidth(qreal Ratio);
// The odd number of device pixels nearest to Logical pixels at Ratio: the base of an arrow drawn on
// the device grid, so that it has one middle pixel for its tip.
int VelOddDeviceLength(int Logical, qreal Ratio);
// A logical point on the painter, in device coordinates (not rounded).
QPointF VelToDevice(const QPainter& Canvas, const QPointF& Logical);
// A logical rectangle on the painter with each edge rounded to the device pixel grid.
QRect VelToDeviceRect(const QPainter& Canvas, const QRect& Logical);
// Sets the painter's world transform so that its coordinates are device pixels (save it first).
void VelPaintInDevicePixels(QPainter& Canvas);
// Fills a rectangle given in device pixels, whatever the painter's transform.
void VelFillDevice(QPainter& Canvas, const QRect& Device, const QBrush& Brush);

// A frame's rectangle on the device pixel grid. The outer edges are the frame's own, rounded; a
// coordinate inside the frame is counted in lines from the nearer outer edge, every line LineWidth
// device pixels, so each ring of the frame is equally thick on all four sides and neighbouring rings
// meet without overlap or gap. Where logical pixels are whole device blocks this is plain scaling.
// (Only coordinates near the edges map this way; a rectangle across the middle keeps its outer parts.)
class TVelDeviceFrame {
public:
    TVelDeviceFrame(const QPainter& Canvas, const QRect& Outer);
    // A frame whose device rectangle and line width the caller has already chosen.
    TVelDeviceFrame(const QRect& Outer, const QRect& Device, int LineWidth);

    int LineWidth() const { return line_; }
    const QRect& Outer() const { return outer_; }
    const QRect& Device() const { return device_; }
    int MapX(int X) const;
    int MapY(int Y) const;
    // Right and bottom exclusive on both sides, as Qt's QRect(x, y, w, h) reads.
    QRect Map(const QRect& Logical) const;
    void Fill(QPainter& Canvas, const QRect& Logical, const QBrush& Brush) const;

private:
    QRect outer_;
    QRect device_;
    int line_ = 1;
};
