#include "VelBevel.h"

#include <QPainter>
#include <QPalette>
#include <QScopedValueRollback>

#include "VelDevicePixels.h"
#include "VelEdge.h"
#include "VelErrors.h"
#include "VelSysColors.h"

namespace {

// Right and bottom exclusive, as the border arithmetic is written.
struct Box {
    int l, t, r, b;
    static Box Of(const QRect& R) { return {R.left(), R.top(), R.left() + R.width(), R.top() + R.height()}; }
    QRect ToRect() const { return QRect(l, t, r - l, b - t); }
    void Shrink(int n) { l += n, t += n, r -= n, b -= n; }
};

// Everything a border draws goes through one device frame, so its rings stay equally thick.
struct Pen {
    QPainter& canvas;
    const TVelDeviceFrame& frame;
};

void FillBox(const Pen& P, const Box& B, const QBrush& Color)
{
    if (B.r > B.l && B.b > B.t)
        P.frame.Fill(P.canvas, B.ToRect(), Color);
}

// A 1-pixel frame just inside B.
void FrameBox(const Pen& Canvas, const Box& B, const QColor& Color)
{
    if (B.r <= B.l || B.b <= B.t)
        return;
    FillBox(Canvas, {B.l, B.t, B.r, B.t + 1}, Color);
    FillBox(Canvas, {B.l, B.b - 1, B.r, B.b}, Color);
    FillBox(Canvas, {B.l, B.t, B.l + 1, B.b}, Color);
    FillBox(Canvas, {B.r - 1, B.t, B.r, B.b}, Color);
}

void PlainRings(const Pen& Canvas, Box& B, int N, bool NoFill, const QColor& Color)
{
    for (int i = 0; i < N; ++i) {
        if (!NoFill)
            FrameBox(Canvas, B, Color);
        B.Shrink(1);
    }
}

// One ring line of width 1: top-left colour down the left side and along the top, bottom-right
// colour down the right side and along the bottom, the latter owning the top-right corner.
void BevelLine(const Pen& Canvas, const Box& B, const QColor& TopLeft, const QColor& BottomRight)
{
    if (B.r <= B.l || B.b <= B.t)
        return;
    FillBox(Canvas, {B.l, B.t, B.l + 1, B.b}, TopLeft);
    FillBox(Canvas, {B.l, B.t, B.r - 1, B.t + 1}, TopLeft);
    FillBox(Canvas, {B.r - 1, B.t, B.r, B.b}, BottomRight);
    FillBox(Canvas, {B.l + 1, B.b - 1, B.r, B.b}, BottomRight);
}

void StyleRing(const Pen& Canvas, Box& B, TVelBevelStyle Style, int W, const QColor& Shadow, const QColor& Light,
               const QColor& Frame)
{
    if (W == 0 || Style == bvNone || Style == bvShadow)
        return;
    QColor topLeft = Light, bottomRight = Shadow;
    if (Style == bvLowered || Style == bvFrameLowered)
        std::swap(topLeft, bottomRight);
    else if (Style == bvNormal)
        topLeft = bottomRight = Frame;
    switch (Style) {
    case bvFrameLowered:
    case bvFrameRaised:
        for (int k = 0; k < W; ++k) {
            FrameBox(Canvas, {B.l + k + 1, B.t + k + 1, B.r, B.b}, bottomRight);
            FrameBox(Canvas, {B.l, B.t, B.r - k - 1, B.b - k - 1}, topLeft);
        }
        B.Shrink(W + 1);
        return;
    case bvFlat: FrameBox(Canvas, B, Shadow); return;
    case bvSpace: return;
    default:
        // Nested lines give the mitred corners of a wide bevel pixel for pixel.
        for (int k = 0; k < W; ++k) {
            BevelLine(Canvas, B, topLeft, bottomRight);
            B.Shrink(1);
        }
        return;
    }
}

unsigned EdgeKind(TVelEdgeStyle Style)
{
    switch (Style) {
    case etRaisedInner: return BDR_RAISEDINNER;
    case etRaisedOuter: return BDR_RAISEDOUTER;
    case etSunkenInner: return BDR_SUNKENINNER;
    case etSunkenOuter: return BDR_SUNKENOUTER;
    case etBump: return EDGE_BUMP;
    case etEtched: return EDGE_ETCHED;
    case etRaised: return EDGE_RAISED;
    default: return EDGE_SUNKEN;
    }
}

unsigned EdgeSides(TVelFrameSides Sides)
{
    unsigned flags = 0;
    if (Sides & fsBottom)
        flags |= BF_BOTTOM;
    if (Sides & fsLeft)
        flags |= BF_LEFT;
    if (Sides & fsRight)
        flags |= BF_RIGHT;
    if (Sides & fsTop)
        flags |= BF_TOP;
    return flags;
}

bool IsFrameStyle(TVelBevelStyle S)
{
    return S == bvFrameLowered || S == bvFrameRaised;
}

} // namespace

int StandardBorderWidth(TVelBorderStyle Style)
{
    switch (Style) {
    case lsNone: return 0;
    case lsSingle:
    case lsSingleRaised:
    case lsSingleLowered: return 1;
    default: return 2;
    }
}

void DrawStandardBorder(QPainter& Canvas, QRect& Rect, TVelBorderStyle Style, unsigned Flags)
{
    const TVelDeviceFrame frame(Canvas, Rect);
    const QPalette palette = VelCanvasPalette(Canvas);
    auto edge = [&](unsigned Edge, unsigned More) { VelDrawEdge(Canvas, frame, Rect, Edge, More | Flags, palette); };
    switch (Style) {
    case lsNone: break;
    case lsSingle: {
        edge(BDR_SUNKENOUTER, BF_TOPLEFT | BF_ADJUST | BF_SOFT);
        QRect keep = Rect;
        VelDrawEdge(Canvas, frame, keep, BDR_RAISEDOUTER, BF_BOTTOMRIGHT | Flags, palette);
        break;
    }
    case lsLowered: edge(EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_SOFT); break;
    case lsRaised: edge(EDGE_RAISED, BF_RECT | BF_ADJUST | BF_SOFT); break;
    case lsRaisedspb:
    case lsRaisedExt:
        edge(BDR_RAISEDOUTER, BF_RECT | BF_ADJUST | BF_SOFT);
        edge(BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_ADJUST);
        if (Style == lsRaisedExt)
            Rect.adjust(1, 1, 0, 0);
        break;
    case lsLoweredspb:
    case lsLoweredExt:
        edge(BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        edge(BDR_SUNKENINNER, BF_TOPLEFT | BF_ADJUST);
        if (Style == lsLoweredExt)
            Rect.adjust(0, 0, -1, -1);
        break;
    case lsFrameInset: edge(EDGE_ETCHED, BF_RECT | BF_ADJUST); break;
    case lsFrameOffset:
        edge(BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        edge(BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        break;
    case lsWindowBorder:
        edge(BDR_RAISEDOUTER, BF_BOTTOMRIGHT | BF_ADJUST);
        Rect.adjust(1, 1, 0, 0);
        edge(BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        break;
    case lsSingleRaised: edge(BDR_RAISEDINNER, BF_RECT | BF_ADJUST); break;
    case lsSingleLowered: edge(BDR_SUNKENOUTER, BF_RECT | BF_ADJUST); break;
    case lsDoubleRaised:
        edge(BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        edge(BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        break;
    case lsDoubleLowered:
        edge(BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        edge(BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        break;
    }
}

TVelBevel::TVelBevel(QObject* Owner) : TVelObject(Owner) {}

void TVelBevel::SetStyleInner(TVelBevelStyle Value)
{
    if (styleInner_ == Value)
        return;
    // A shadow is one style spanning both rings: entering it sets both, leaving it clears the other.
    if (styleInner_ == bvShadow)
        styleOuter_ = bvNone;
    if (Value == bvShadow)
        styleOuter_ = bvShadow;
    styleInner_ = Value;
    Changed();
}

void TVelBevel::SetStyleOuter(TVelBevelStyle Value)
{
    if (styleOuter_ == Value)
        return;
    if (styleOuter_ == bvShadow)
        styleInner_ = bvNone;
    if (Value == bvShadow)
        styleInner_ = bvShadow;
    styleOuter_ = Value;
    Changed();
}

void TVelBevel::SetWidthInner(TVelBevelWidth Value)
{
    Store(widthInner_, Value);
}
void TVelBevel::SetWidthOuter(TVelBevelWidth Value)
{
    Store(widthOuter_, Value);
}
void TVelBevel::SetBorderWidth(TVelBorderWidth Value)
{
    Store(borderWidth_, Value);
}
void TVelBevel::SetBorderInnerWidth(TVelBorderWidth Value)
{
    Store(borderInnerWidth_, Value);
}
void TVelBevel::SetBorderSides(TVelFrameSides Value)
{
    Store(borderSides_, static_cast<TVelFrameSides>(Value & fsAll));
}
void TVelBevel::SetEdgeStyle(TVelEdgeStyle Value)
{
    Store(edgeStyle_, Value);
}

void TVelBevel::SetMode(TVelBevelMode Value)
{
    if (mode_ == Value)
        return;
    mode_ = Value;
    const QScopedValueRollback changing(modeChanging_, true);
    Changed();
}

void TVelBevel::SetStandardStyle(TVelBorderStyle Value)
{
    if (standardStyle_ == Value)
        return;
    // Kept in every mode so that switching to bmStandard later uses it; only then does it show.
    standardStyle_ = Value;
    if (mode_ == bmStandard)
        Changed();
}

TColor TVelBevel::Color(int Index) const
{
    return Index >= 0 && Index < 3 ? colors_[Index] : clNone;
}

void TVelBevel::SetColor(int Index, TColor Value)
{
    if (Index < 0 || Index >= 3)
        return;
    Store(colors_[Index], Value);
}

void TVelBevel::SetNativeBorderCapable(bool Value)
{
    nativeBorderCapable_ = Value;
    UpdateExtents();
}

void TVelBevel::Assign(const QObject* Source)
{
    if (Source == this)
        return;
    const auto* other = qobject_cast<const TVelBevel*>(Source);
    if (!other) {
        const QString from = Source ? QString::fromLatin1(Source->metaObject()->className()) : QStringLiteral("nil");
        throw EVelConvertError(QStringLiteral("Cannot assign a %1 to a TVelBevel").arg(from));
    }
    styleInner_ = other->styleInner_;
    styleOuter_ = other->styleOuter_;
    widthInner_ = other->widthInner_;
    widthOuter_ = other->widthOuter_;
    borderWidth_ = other->borderWidth_;
    borderInnerWidth_ = other->borderInnerWidth_;
    borderSides_ = other->borderSides_;
    edgeStyle_ = other->edgeStyle_;
    mode_ = other->mode_;
    standardStyle_ = other->standardStyle_;
    std::copy(std::begin(other->colors_), std::end(other->colors_), std::begin(colors_));
    nativeBorderCapable_ = other->nativeBorderCapable_;
    Changed();
}

void TVelBevel::Changed()
{
    UpdateExtents();
    TVelObject::Changed();
}

void TVelBevel::UpdateExtents()
{
    extent_ = ComputeExtent();
    extentRightBottom_ = extent_;
    if (mode_ == bmCustom && styleOuter_ == bvShadow)
        extentRightBottom_ = widthInner_ + widthOuter_ + borderInnerWidth_;
}

int TVelBevel::ComputeExtent() const
{
    switch (mode_) {
    case bmCustom: {
        if (styleInner_ == bvShadow)
            return widthInner_ + borderInnerWidth_;
        int w = borderWidth_ + borderInnerWidth_;
        if (styleInner_ == bvNone && styleOuter_ == bvNone)
            return w;
        if (styleOuter_ != bvNone)
            w += widthOuter_ + (IsFrameStyle(styleOuter_) ? 1 : 0);
        if (styleInner_ != bvNone)
            w += widthInner_ + (IsFrameStyle(styleInner_) ? 1 : 0);
        return w;
    }
    case bmStandard: return StandardBorderWidth(standardStyle_) + borderInnerWidth_;
    case bmEdge: return (borderSides_ ? 2 : 0) + borderInnerWidth_;
    case bmWindows: return nativeBorderCapable_ ? 0 : borderInnerWidth_ + 2;
    }
    return 0;
}

QRect TVelBevel::InnerRect(const QRect& Rect) const
{
    Box b = Box::Of(Rect);
    if (mode_ == bmCustom && styleOuter_ == bvShadow) {
        b.l += widthInner_ + borderInnerWidth_;
        b.t += widthInner_ + borderInnerWidth_;
        b.r -= widthInner_ + widthOuter_ + borderInnerWidth_;
        b.b -= widthInner_ + widthOuter_ + borderInnerWidth_;
    } else {
        b.Shrink(extent_);
    }
    return b.ToRect();
}

QRect TVelBevel::DrawBevel(QPainter& Canvas, const QRect& Rect, bool NoFill) const
{
    if (extent_ == 0)
        return Rect;
    const QPalette& palette = VelCanvasPalette(Canvas);
    const QColor border = VelColorToQColor(colors_[0], palette);
    const QColor light = VelColorToQColor(colors_[1], palette);
    const QColor shadow = VelColorToQColor(colors_[2], palette);
    // Black on a light face; on a dark one, black would vanish into it.
    const QColor plain = VelFixedColor(TVelFixedColor::Frame, palette);
    const TVelDeviceFrame frame(Canvas, Rect);
    const Pen pen{Canvas, frame};
    Box b = Box::Of(Rect);
    switch (mode_) {
    case bmCustom:
        if (styleOuter_ == bvShadow) {
            const int o = widthOuter_;
            FillBox(pen, {b.r - o, b.t + o, b.r, b.b}, shadow);
            FillBox(pen, {b.l + o, b.b - o, b.r, b.b}, shadow);
            if (!NoFill) {
                FillBox(pen, {b.r - o, b.t, b.r, b.t + o}, border);
                FillBox(pen, {b.l, b.b - o, b.l + o, b.b}, border);
            }
            b.r -= o;
            b.b -= o;
            for (int i = 0; i < widthInner_; ++i) {
                FrameBox(pen, b, light);
                b.Shrink(1);
            }
        } else {
            StyleRing(pen, b, styleOuter_, widthOuter_, shadow, light, plain);
            PlainRings(pen, b, borderWidth_, NoFill, border);
            StyleRing(pen, b, styleInner_, widthInner_, shadow, light, plain);
        }
        break;
    case bmStandard:
    case bmWindows: {
        QRect r = b.ToRect();
        DrawStandardBorder(Canvas, r, mode_ == bmStandard ? standardStyle_ : lsLoweredExt, 0);
        b = Box::Of(r);
        break;
    }
    case bmEdge: {
        if (borderSides_ == 0)
            break;
        QRect r = b.ToRect();
        VelDrawEdge(Canvas, frame, r, EdgeKind(edgeStyle_), EdgeSides(borderSides_), palette);
        const Box whole = b;
        if (!NoFill && Canvas.brush().style() != Qt::NoBrush) {
            const QBrush& brush = Canvas.brush();
            if (!(borderSides_ & fsLeft))
                FillBox(pen, {whole.l, whole.t, whole.l + 2, whole.b}, brush);
            if (!(borderSides_ & fsTop))
                FillBox(pen, {whole.l, whole.t, whole.r, whole.t + 2}, brush);
            if (!(borderSides_ & fsRight))
                FillBox(pen, {whole.r - 2, whole.t, whole.r, whole.b}, brush);
            if (!(borderSides_ & fsBottom))
                FillBox(pen, {whole.l, whole.b - 2, whole.r, whole.b}, brush);
        }
        b.l += (borderSides_ & fsLeft) ? 2 : 0;
        b.t += (borderSides_ & fsTop) ? 2 : 0;
        b.r -= (borderSides_ & fsRight) ? 2 : 0;
        b.b -= (borderSides_ & fsBottom) ? 2 : 0;
        break;
    }
    }
    PlainRings(pen, b, borderInnerWidth_, NoFill, border);
    return b.ToRect();
}
