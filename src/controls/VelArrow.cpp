#include "VelArrow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace {

// The classic system colours taken from the desktop's palette. Every drawing unit of buttons and
// spin buttons comes through here, so this is the one place to hand over to the platform's own
// system-colour table.
QColor SystemColor(unsigned index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 0: return palette.color(QPalette::Button);                          // scroll bar
    case 1: return palette.color(QPalette::Window);                          // desktop
    case 5: return palette.color(QPalette::Base);                            // window
    case 6: return palette.color(QPalette::Shadow);                          // window frame
    case 8: return palette.color(QPalette::WindowText);                      // window text
    case 9: return palette.color(QPalette::HighlightedText);                 // caption text
    case 13: return palette.color(QPalette::Highlight);                      // highlight
    case 14: return palette.color(QPalette::HighlightedText);                // highlight text
    case 15: return palette.color(QPalette::Button);                         // button face
    case 16: return palette.color(QPalette::Dark);                           // button shadow
    case 17: return palette.color(QPalette::Disabled, QPalette::WindowText); // grey text
    case 18: return palette.color(QPalette::ButtonText);                     // button text
    case 20: return palette.color(QPalette::Light);                          // button highlight
    case 21: return palette.color(QPalette::Shadow);                         // 3D dark shadow
    case 22: return palette.color(QPalette::Midlight);                       // 3D light
    default: return palette.color(QPalette::Window);
    }
}

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
    if (Color == clNone)
        return Qt::transparent;
    if ((Color & 0xFF000000u) == clSystemColor)
        return SystemColor(Color & 0xFFu);
    return QColor(int(Color & 0xFF), int((Color >> 8) & 0xFF), int((Color >> 16) & 0xFF));
}

void DrawArrow(QPainter& Canvas, int X, int Y, int Size, TColor Color, bool Down, bool Enabled)
{
    if (Size < 2 || Size > 15)
        return;
    if (!Enabled)
        DrawRuns(Canvas, X + 1, Y + 1, Size, VelClassicColor(clHighlightText), Down);
    DrawRuns(Canvas, X, Y, Size, VelClassicColor(Enabled ? Color : TColor(clGrayText)), Down);
}
