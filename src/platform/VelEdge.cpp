#include "VelEdge.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include "VelDevicePixels.h"
#include "VelSysColors.h"

namespace {

struct LineColors {
    TColor topLeft;
    TColor bottomRight;
};

LineColors ColorsOf(unsigned Line, unsigned Flags)
{
    const bool outer = Line & BDR_OUTER;
    if (Flags & BF_MONO)
        return outer ? LineColors{clWindowFrame, clWindowFrame} : LineColors{clWindow, clWindow};
    if (Flags & BF_FLAT)
        return outer ? LineColors{clBtnShadow, clBtnShadow} : LineColors{clBtnFace, clBtnFace};
    const bool soft = Flags & BF_SOFT;
    switch (Line) {
    case BDR_RAISEDOUTER: return {soft ? clBtnHighlight : cl3DLight, cl3DDkShadow};
    case BDR_RAISEDINNER: return {soft ? cl3DLight : clBtnHighlight, clBtnShadow};
    case BDR_SUNKENOUTER: return {soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight};
    default: return {soft ? clBtnShadow : cl3DDkShadow, cl3DLight};
    }
}

// One line along the chosen sides of R, shrinking R by one on those sides.
void DrawLine(QPainter& Canvas, const TVelDeviceFrame& Frame, QRect& R, unsigned Sides, const QColor& TopLeft,
              const QColor& BottomRight)
{
    if (R.isEmpty())
        return;
    const int l = R.left(), t = R.top(), r = R.right(), b = R.bottom(); // inclusive
    // A top-left line reaches into a corner only when no bottom-right line takes that corner.
    const int topEnd = (Sides & BF_RIGHT) ? r - 1 : r;
    const int leftEnd = (Sides & BF_BOTTOM) ? b - 1 : b;
    if (Sides & BF_TOP)
        Frame.Fill(Canvas, QRect(QPoint(l, t), QPoint(topEnd, t)), TopLeft);
    if (Sides & BF_LEFT)
        Frame.Fill(Canvas, QRect(QPoint(l, t), QPoint(l, leftEnd)), TopLeft);
    if (Sides & BF_RIGHT)
        Frame.Fill(Canvas, QRect(QPoint(r, t), QPoint(r, b)), BottomRight);
    if (Sides & BF_BOTTOM)
        Frame.Fill(Canvas, QRect(QPoint(l, b), QPoint(r, b)), BottomRight);
    R.adjust((Sides & BF_LEFT) ? 1 : 0, (Sides & BF_TOP) ? 1 : 0, (Sides & BF_RIGHT) ? -1 : 0,
             (Sides & BF_BOTTOM) ? -1 : 0);
}

} // namespace

bool VelDrawEdge(QPainter& Canvas, const TVelDeviceFrame& Frame, QRect& Rect, unsigned Edge, unsigned Flags,
                 const QPalette& Palette)
{
    const unsigned sides = Flags & BF_RECT;
    QRect r = Rect;
    // Raised wins where a caller sets both bits of one line, as the classic routine does.
    const unsigned outer = (Edge & BDR_RAISEDOUTER) ? BDR_RAISEDOUTER : (Edge & BDR_SUNKENOUTER);
    const unsigned inner = (Edge & BDR_RAISEDINNER) ? BDR_RAISEDINNER : (Edge & BDR_SUNKENINNER);
    for (unsigned line : {outer, inner}) {
        if (line == 0)
            continue;
        const LineColors c = ColorsOf(line, Flags);
        DrawLine(Canvas, Frame, r, sides, VelColorToQColor(c.topLeft, Palette),
                 VelColorToQColor(c.bottomRight, Palette));
    }
    if ((Flags & BF_MIDDLE) && !r.isEmpty())
        Frame.Fill(Canvas, r, VelColorToQColor((Flags & (BF_FLAT | BF_MONO)) ? clWindow : clBtnFace, Palette));
    if (Flags & BF_ADJUST)
        Rect = r;
    return true;
}

bool VelDrawEdge(QPainter& Canvas, QRect& Rect, unsigned Edge, unsigned Flags, const QPalette& Palette)
{
    return VelDrawEdge(Canvas, TVelDeviceFrame(Canvas, Rect), Rect, Edge, Flags, Palette);
}

QPalette VelCanvasPalette(const QPainter& Canvas)
{
    // A widget's palette follows the application's and any palette given to the widget itself.
    if (const auto* widget = dynamic_cast<const QWidget*>(Canvas.device()))
        return widget->palette();
    return QGuiApplication::palette();
}

bool VelDrawEdge(QPainter& Canvas, QRect& Rect, unsigned Edge, unsigned Flags)
{
    return VelDrawEdge(Canvas, Rect, Edge, Flags, VelCanvasPalette(Canvas));
}

void VelFrameRect(QPainter& Canvas, const TVelDeviceFrame& Frame, const QRect& Rect, const QColor& Color)
{
    if (Rect.isEmpty())
        return;
    const int l = Rect.left(), t = Rect.top(), r = Rect.right(), b = Rect.bottom();
    Frame.Fill(Canvas, QRect(QPoint(l, t), QPoint(r, t)), Color);
    Frame.Fill(Canvas, QRect(QPoint(l, b), QPoint(r, b)), Color);
    Frame.Fill(Canvas, QRect(QPoint(l, t), QPoint(l, b)), Color);
    Frame.Fill(Canvas, QRect(QPoint(r, t), QPoint(r, b)), Color);
}

void VelFrameRect(QPainter& Canvas, const QRect& Rect, const QColor& Color)
{
    VelFrameRect(Canvas, TVelDeviceFrame(Canvas, Rect), Rect, Color);
}
