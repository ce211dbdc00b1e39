#include "VelDevicePixels.h"

#include <QPainter>
#include <QPaintDevice>
#include <cmath>

namespace {

bool Whole(qreal v)
{
    return std::abs(v - std::round(v)) < 1e-6;
}

int Snap(qreal v)
{
    // Half-way cases go the same way on every side, so a frame's two edges move together.
    return int(std::floor(v + 0.5 + 1e-6));
}

int MapAxis(int v, int outerFrom, int outerTo, int deviceFrom, int deviceTo, int line)
{
    if (v - outerFrom <= outerTo - v)
        return deviceFrom + (v - outerFrom) * line;
    return deviceTo - (outerTo - v) * line;
}

} // namespace

qreal VelDeviceRatio(const QPainter& Canvas)
{
    return Canvas.deviceTransform().m11();
}

bool VelDeviceExact(const QPainter& Canvas)
{
    const QTransform t = Canvas.deviceTransform();
    return t.type() <= QTransform::TxScale && t.m11() == t.m22() && Whole(t.m11()) && Whole(t.dx()) && Whole(t.dy());
}

int VelLineWidth(qreal Ratio)
{
    // Rounded down: a frame's lines then never take more than the frame's room and never reach
    // into what the frame surrounds; what they leave is the background the owner painted.
    return std::max(1, int(std::floor(Ratio + 1e-6)));
}

int VelOddDeviceLength(int Logical, qreal Ratio)
{
    return 2 * int(std::floor((Logical * Ratio - 1) / 2 + 0.5)) + 1;
}

QPointF VelToDevice(const QPainter& Canvas, const QPointF& Logical)
{
    return Canvas.deviceTransform().map(Logical);
}

QRect VelToDeviceRect(const QPainter& Canvas, const QRect& Logical)
{
    const QPointF a = VelToDevice(Canvas, QPointF(Logical.topLeft()));
    const QPointF b = VelToDevice(Canvas, QPointF(Logical.left() + Logical.width(), Logical.top() + Logical.height()));
    return QRect(QPoint(Snap(a.x()), Snap(a.y())), QPoint(Snap(b.x()) - 1, Snap(b.y()) - 1));
}

void VelPaintInDevicePixels(QPainter& Canvas)
{
    // Undo whatever maps logical onto device coordinates, the device pixel ratio included.
    Canvas.setWorldTransform(Canvas.deviceTransform().inverted() * Canvas.worldTransform());
}

void VelFillDevice(QPainter& Canvas, const QRect& Device, const QBrush& Brush)
{
    if (Device.isEmpty())
        return;
    // Frames are drawn a line at a time, and saving the painter's state costs more than a line
    // does: where the painter only shifts by whole pixels, the rectangle is filled in its own
    // coordinates instead, which covers exactly the same pixels.
    const QTransform t = Canvas.deviceTransform();
    if (t.type() <= QTransform::TxTranslate && Whole(t.dx()) && Whole(t.dy()) &&
        !Canvas.testRenderHint(QPainter::Antialiasing)) {
        Canvas.fillRect(Device.translated(-int(std::round(t.dx())), -int(std::round(t.dy()))), Brush);
        return;
    }
    Canvas.save();
    VelPaintInDevicePixels(Canvas);
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    Canvas.fillRect(Device, Brush);
    Canvas.restore();
}

TVelDeviceFrame::TVelDeviceFrame(const QPainter& Canvas, const QRect& Outer)
    : outer_(Outer), device_(VelToDeviceRect(Canvas, Outer)), line_(VelLineWidth(VelDeviceRatio(Canvas)))
{
}

TVelDeviceFrame::TVelDeviceFrame(const QRect& Outer, const QRect& Device, int LineWidth)
    : outer_(Outer), device_(Device), line_(std::max(1, LineWidth))
{
}

int TVelDeviceFrame::MapX(int X) const
{
    return MapAxis(X, outer_.left(), outer_.left() + outer_.width(), device_.left(), device_.left() + device_.width(),
                   line_);
}

int TVelDeviceFrame::MapY(int Y) const
{
    return MapAxis(Y, outer_.top(), outer_.top() + outer_.height(), device_.top(), device_.top() + device_.height(),
                   line_);
}

QRect TVelDeviceFrame::Map(const QRect& Logical) const
{
    const int l = MapX(Logical.left()), t = MapY(Logical.top());
    const int r = MapX(Logical.left() + Logical.width()), b = MapY(Logical.top() + Logical.height());
    return QRect(l, t, r - l, b - t);
}

void TVelDeviceFrame::Fill(QPainter& Canvas, const QRect& Logical, const QBrush& Brush) const
{
    if (Logical.isEmpty())
        return;
    VelFillDevice(Canvas, Map(Logical), Brush);
}
