#include "VelArrow.h"

#include <QPainter>

#include "VelSysColors.h"

namespace {

void DrawRuns(QPainter& canvas, int x, int y, int size, const QColor& color, bool down)
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

} // namespace

QColor VelClassicColor(TColor Color)
{
    return VelColorToQColor(Color);
}

void DrawArrow(QPainter& Canvas, int X, int Y, int Size, TColor Color, bool Down, bool Enabled)
{
    if (Size < 2 || Size > 15)
        return;
    if (!Enabled)
        DrawRuns(Canvas, X + 1, Y + 1, Size, VelClassicColor(clHighlightText), Down);
    DrawRuns(Canvas, X, Y, Size, VelClassicColor(Enabled ? Color : TColor(clGrayText)), Down);
}
