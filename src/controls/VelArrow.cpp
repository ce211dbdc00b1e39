#include "VelArrow.h"

#include <QPainter>
#include <QPalette>
#include <cmath>

#include "VelDevicePixels.h"
#include "VelEdge.h"
#include "VelSysColors.h"

namespace {

void LogicalRuns(QPainter& canvas, int x, int y, int size, const QColor& color, bool down)
{
    if (down) {
        for (int k = 0; k <= size - 2; ++k)
            canvas.fillRect(QRect(x + k, y + k, 2 * size - 1 - 2 * k, 1), color);
        canvas.fillRect(QRect(x + size - 1, y + size - 1, 1, 1), color);
    } else {
        const int c = x + size / 2;
        for (int k = 0; k <= size - 1; ++k)
            canvas.fillRect(QRect(c - k, y + k, 2 * k + 1, 1), color);
    }
}

// The arrow drawn afresh on the device grid: its base the odd width nearest to the scaled one, and
// every row one pixel wider on each side than the row before, centred where the logical arrow is.
void DeviceRuns(QPainter& canvas, int x, int y, int size, const QColor& color, bool down, int shift)
{
    const qreal ratio = VelDeviceRatio(canvas);
    const int base = VelOddDeviceLength(2 * size - 1, ratio);
    const int rows = (base + 1) / 2;
    const int column = down ? x + size - 1 : x + size / 2;
    const QPointF mid = VelToDevice(canvas, QPointF(column + 0.5, y + size / 2.0));
    const int cx = int(std::floor(mid.x())) + shift;
    const int top = int(std::floor(mid.y() - rows / 2.0 + 0.5)) + shift;
    for (int k = 0; k < rows; ++k) {
        const int half = down ? rows - 1 - k : k;
        VelFillDevice(canvas, QRect(cx - half, top + k, 2 * half + 1, 1), color);
    }
}

void Runs(QPainter& canvas, int x, int y, int size, const QColor& color, bool down, bool shadow)
{
    if (VelDeviceExact(canvas))
        LogicalRuns(canvas, x + (shadow ? 1 : 0), y + (shadow ? 1 : 0), size, color, down);
    else
        DeviceRuns(canvas, x, y, size, color, down, shadow ? VelLineWidth(VelDeviceRatio(canvas)) : 0);
}

} // namespace

QColor VelClassicColor(TColor Color)
{
    return VelColorToQColor(Color);
}

void DrawArrow(QPainter& Canvas, int X, int Y, int Size, const QColor& Color, bool Down, bool Enabled,
               const QPalette& Palette)
{
    if (Size < 2 || Size > 15)
        return;
    if (!Enabled)
        Runs(Canvas, X, Y, Size, VelColorToQColor(clHighlightText, Palette), Down, true);
    Runs(Canvas, X, Y, Size, Enabled ? Color : VelColorToQColor(clGrayText, Palette), Down, false);
}

void DrawArrow(QPainter& Canvas, int X, int Y, int Size, TColor Color, bool Down, bool Enabled)
{
    const QPalette palette = VelCanvasPalette(Canvas);
    DrawArrow(Canvas, X, Y, Size, VelColorToQColor(Color, palette), Down, Enabled, palette);
}
