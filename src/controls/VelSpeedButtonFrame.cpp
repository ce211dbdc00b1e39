#include "VelSpeedButtonFrame.h"

#include <QPainter>
#include <QPalette>

#include "VelEdge.h"
#include "VelSysColors.h"

namespace {

// The fourteen styles come down to a handful of looks; the rest are variations in name only.
enum class TLook { Win31, Classic, Thin, Flat, Integrated, Combo, Office };

TLook LookOf(TVelUserButtonStyle Style)
{
    switch (Style) {
    case ubsWin31: return TLook::Win31;
    case ubsTessel: return TLook::Thin;
    case ubsTesselFlat:
    case ubsFlat:
    case ubsFlatUnColored:
    case ubsExplorer:
    case ubsExplorerColored: return TLook::Flat;
    case ubsIntegrated: return TLook::Integrated;
    case ubsCombo: return TLook::Combo;
    case ubsOffice:
    case ubsOfficeTransp: return TLook::Office;
    case ubsWin40:
    case ubsNavigator:
    case ubsWin40Ext: break;
    }
    return TLook::Classic;
}

// The frame's width on every side, the same in every state, so glyph and caption keep their place
// when the frame changes under the pointer; pushing shifts them as a separate step.
int InsetOf(TLook Look)
{
    switch (Look) {
    case TLook::Win31: return 3;
    case TLook::Classic:
    case TLook::Combo: return 2;
    default: return 1;
    }
}

QColor Blend(const QColor& A, const QColor& B, int PercentB)
{
    const auto mix = [&](int a, int b) { return (a * (100 - PercentB) + b * PercentB) / 100; };
    return QColor(mix(A.red(), B.red()), mix(A.green(), B.green()), mix(A.blue(), B.blue()));
}

void Edge(QPainter& Canvas, QRect& R, unsigned Kind, const QPalette& Palette)
{
    VelDrawEdge(Canvas, R, Kind, BF_RECT | BF_ADJUST, Palette);
}

void Frame(QPainter& Canvas, QRect& R, TColor Color, const QPalette& Palette)
{
    VelFrameRect(Canvas, R, VelColorToQColor(Color, Palette));
    R.adjust(1, 1, -1, -1);
}

} // namespace

QRect VelDrawButtonFrame(QPainter& Canvas, const QRect& Rect, TVelUserButtonStyle Style, TVelButtonState State,
                         const QColor& Face, const QPalette& Palette)
{
    const bool pushed = State == bsDown || State == bsExclusive;
    const bool hot = State == bsHot;
    const TLook look = LookOf(Style);
    QRect r = Rect;
    if (r.isEmpty())
        return r;
    // r shrinks as lines are drawn; what is returned does not depend on it.

    // A latched button shows a lighter face, the way the classic toolkit told a held-down tool
    // from one merely being clicked.
    QColor fill = Face;
    if (State == bsExclusive)
        fill = Blend(Face, VelColorToQColor(clBtnHighlight, Palette), 50);
    if (look == TLook::Office && (hot || pushed))
        fill = Blend(Face, VelColorToQColor(clHighlight, Palette), pushed ? 45 : 25);
    const bool seeThrough = Style == ubsOfficeTransp && !hot && !pushed;
    if (!seeThrough)
        Canvas.fillRect(r, fill);

    switch (look) {
    case TLook::Win31:
        Frame(Canvas, r, clWindowFrame, Palette);
        if (pushed) {
            VelDrawEdge(Canvas, r, BDR_SUNKENOUTER, BF_TOPLEFT | BF_ADJUST, Palette);
        } else {
            Edge(Canvas, r, BDR_RAISEDINNER, Palette);
            Edge(Canvas, r, BDR_RAISEDINNER, Palette);
        }
        break;
    case TLook::Classic: Edge(Canvas, r, pushed ? EDGE_SUNKEN : EDGE_RAISED, Palette); break;
    case TLook::Thin: Edge(Canvas, r, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, Palette); break;
    case TLook::Flat:
        // Nothing while idle: the button shows as a frame only under the pointer or when down.
        if (pushed)
            Edge(Canvas, r, BDR_SUNKENOUTER, Palette);
        else if (hot)
            Edge(Canvas, r, BDR_RAISEDINNER, Palette);
        break;
    case TLook::Integrated:
        if (pushed)
            Frame(Canvas, r, clBtnShadow, Palette);
        else
            Edge(Canvas, r, hot ? EDGE_RAISED : BDR_RAISEDINNER, Palette);
        break;
    case TLook::Combo:
        if (pushed)
            Frame(Canvas, r, clBtnShadow, Palette);
        else
            Edge(Canvas, r, EDGE_RAISED, Palette);
        break;
    case TLook::Office:
        if (hot || pushed)
            Frame(Canvas, r, clHighlight, Palette);
        break;
    }
    const int inset = InsetOf(look);
    return Rect.adjusted(inset, inset, -inset, -inset);
}
