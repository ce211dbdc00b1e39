#include "VelButtonLayoutPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "VelArrow.h"
#include "VelButtonLayout.h"
#include "VelEdge.h"
#include "VelSysColors.h"

namespace {

int FloorHalf(int v)
{
    return v >= 0 ? v / 2 : -((1 - v) / 2);
}

// Where the arrow is hung: on the caption or on the glyph, to its right or left.
struct TArrowSpec {
    bool present = false;
    bool onText = true;
    bool right = true;
    int indent = 0;
    QSize size;
};

TArrowSpec ArrowOf(const TVelGlyphTextLayout& layout, bool hasGlyph, bool hasText)
{
    TArrowSpec a;
    const auto* button = qobject_cast<const TVelButtonLayout*>(&layout);
    if (!button || !button->Arrow())
        return a;
    a.present = true;
    const TVelArrowPosition pos = button->ArrowPosition();
    a.onText = pos == apRightText || pos == apLeftText;
    if (a.onText && !hasText)
        a.onText = false;
    else if (!a.onText && !hasGlyph)
        a.onText = hasText;
    a.right = pos == apRightText || pos == apRightGlyph;
    a.indent = button->ArrowIndent();
    a.size = QSize(2 * button->ArrowSize() - 1, button->ArrowSize());
    return a;
}

// A part with the arrow hung beside it: the box of both and where each sits inside it.
struct TPartBox {
    QSize size;
    QPoint part;
    QPoint arrow;
};

TPartBox WithArrow(QSize part, const TArrowSpec& a)
{
    const int h = std::max(part.height(), a.size.height());
    TPartBox box{{part.width() + a.indent + a.size.width(), h}, {}, {}};
    const int partY = FloorHalf(h - part.height());
    const int arrowY = FloorHalf(h - a.size.height());
    if (a.right) {
        box.part = {0, partY};
        box.arrow = {part.width() + a.indent, arrowY};
    } else {
        box.arrow = {0, arrowY};
        box.part = {a.size.width() + a.indent, partY};
    }
    return box;
}

int AlignIn(int start, int room, int need, int where) // where: 0 start, 1 centre, 2 end
{
    if (where == 0)
        return start;
    if (where == 1)
        return start + FloorHalf(room - need);
    return start + room - need;
}

} // namespace

void TVelButtonLayoutPainter::SetGlyph(const QImage& Glyph, int NumGlyphs)
{
    source_ = Glyph;
    numGlyphs_ = std::clamp(NumGlyphs, 1, 4);
    if (!source_.isNull() && !source_.hasAlphaChannel()) {
        const QRgb transparent = source_.pixel(0, source_.height() - 1);
        QImage masked = source_.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < masked.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
            for (int x = 0; x < masked.width(); ++x)
                if (line[x] == transparent)
                    line[x] = 0;
        }
        source_ = masked;
    }
    prepared_ = {};
}

QSize TVelButtonLayoutPainter::GlyphSize() const
{
    if (source_.isNull())
        return {};
    const qreal dpr = source_.devicePixelRatio();
    // Glyphs are whole device pixels wide; a remainder belongs to none of them.
    const int glyphWidth = source_.width() / numGlyphs_;
    return QSize(qRound(glyphWidth / dpr), qRound(source_.height() / dpr));
}

QImage TVelButtonLayoutPainter::Part(int index) const
{
    const int w = source_.width() / numGlyphs_;
    QImage part = source_.copy(index * w, 0, w, source_.height()).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    part.setDevicePixelRatio(source_.devicePixelRatio());
    return part;
}

const QImage& TVelButtonLayoutPainter::GlyphImage(TVelButtonState State)
{
    static const QImage none;
    if (source_.isNull())
        return none;
    const int index = State == bsHot ? 0 : int(State);
    std::optional<QImage>& slot = prepared_[std::size_t(index)];
    if (slot)
        return *slot;
    if (index < numGlyphs_) {
        slot = Part(index);
    } else if (index == bsDisabled) {
        // The classic embossed look: the glyph's shape in the highlight colour one pixel right
        // and down, under the same shape in the shadow colour.
        const QImage up = Part(0);
        QImage shape(up.size(), QImage::Format_ARGB32_Premultiplied);
        shape.setDevicePixelRatio(up.devicePixelRatio());
        shape.fill(Qt::transparent);
        QImage light = up, dark = up;
        for (QImage* tinted : {&light, &dark}) {
            QPainter p(tinted);
            p.setCompositionMode(QPainter::CompositionMode_SourceIn);
            p.fillRect(tinted->rect(), VelClassicColor(tinted == &light ? clBtnHighlight : clBtnShadow));
        }
        {
            QPainter p(&shape);
            p.drawImage(QPointF(1, 1), light);
            p.drawImage(QPointF(0, 0), dark);
        }
        slot = shape;
    } else {
        slot = GlyphImage(index == bsExclusive ? bsDown : bsUp);
    }
    return *slot;
}

TVelButtonPlacement TVelButtonLayoutPainter::Arrange(const TVelGlyphTextLayout& Layout, const QRect& Bounds,
                                                     QSize GlyphSize, QSize TextSize)
{
    const bool hasGlyph = !GlyphSize.isEmpty();
    const bool hasText = !TextSize.isEmpty();
    const TArrowSpec arrow = ArrowOf(Layout, hasGlyph, hasText);

    TPartBox glyph{hasGlyph ? GlyphSize : QSize(0, 0), {}, {}};
    TPartBox text{hasText ? TextSize : QSize(0, 0), {}, {}};
    bool arrowAlone = false;
    if (arrow.present) {
        if (!hasGlyph && !hasText)
            arrowAlone = true;
        else if (arrow.onText)
            text = WithArrow(TextSize, arrow);
        else
            glyph = WithArrow(GlyphSize, arrow);
    }

    // The two part boxes side by side or stacked; a missing part takes no room and no spacing.
    QPoint glyphAt, textAt;
    QSize block;
    const TVelTextArrange arrange = Layout.AlignText2Glyph();
    const bool horizontal = arrange == taLeft || arrange == taLeftTop || arrange == taRight || arrange == taRightTop;
    const bool edgeAligned =
        arrange == taLeftTop || arrange == taRightTop || arrange == taTopLeft || arrange == taBottomLeft;
    const bool textFirst = arrange == taLeft || arrange == taLeftTop || arrange == taTop || arrange == taTopLeft;
    const QSize g = glyph.size, t = text.size;
    const int spacing = (!g.isEmpty() && !t.isEmpty()) ? Layout.Spacing() : 0;
    if (arrowAlone) {
        block = arrow.size;
    } else if (horizontal) {
        block = QSize(g.width() + spacing + t.width(), std::max(g.height(), t.height()));
        const int gy = edgeAligned ? 0 : FloorHalf(block.height() - g.height());
        const int ty = edgeAligned ? 0 : FloorHalf(block.height() - t.height());
        glyphAt = {textFirst ? t.width() + spacing : 0, gy};
        textAt = {textFirst ? 0 : g.width() + spacing, ty};
    } else {
        block = QSize(std::max(g.width(), t.width()), g.height() + spacing + t.height());
        const int gx = edgeAligned ? 0 : FloorHalf(block.width() - g.width());
        const int tx = edgeAligned ? 0 : FloorHalf(block.width() - t.width());
        glyphAt = {gx, textFirst ? t.height() + spacing : 0};
        textAt = {tx, textFirst ? 0 : g.height() + spacing};
    }

    const int a = Layout.Alignment();
    const QPoint origin(AlignIn(Bounds.left(), Bounds.width(), block.width(), a % 3) + Layout.OffsetX(),
                        AlignIn(Bounds.top(), Bounds.height(), block.height(), a / 3) + Layout.OffsetY());

    TVelButtonPlacement out;
    out.Block = QRect(origin, block);
    if (arrowAlone) {
        out.Arrow = out.Block;
        return out;
    }
    if (hasGlyph)
        out.Glyph = QRect(origin + glyphAt + glyph.part, GlyphSize);
    if (hasText)
        out.Text = QRect(origin + textAt + text.part, TextSize);
    if (arrow.present)
        out.Arrow = QRect(origin + (arrow.onText ? textAt + text.arrow : glyphAt + glyph.arrow), arrow.size);
    return out;
}

namespace {

int TextFlags(const TVelButtonFace& face)
{
    return Qt::TextShowMnemonic | Qt::AlignCenter | (face.MultiLine ? Qt::TextWordWrap : Qt::TextSingleLine);
}

} // namespace

QSize TVelButtonLayoutPainter::TextSize(const TVelButtonFace& Face, int MaxWidth)
{
    if (Face.Caption.isEmpty())
        return {};
    const QFontMetrics metrics(Face.Font);
    const int room = Face.MultiLine ? std::max(MaxWidth, 1) : 0x7FFF;
    return metrics.boundingRect(QRect(0, 0, room, 0x7FFF), TextFlags(Face), Face.Caption).size();
}

TVelButtonPlacement TVelButtonLayoutPainter::Place(const TVelGlyphTextLayout& Layout, const QRect& Bounds,
                                                   const TVelButtonFace& Face) const
{
    int room = Bounds.width();
    const TVelTextArrange arrange = Layout.AlignText2Glyph();
    const bool besideGlyph = arrange == taLeft || arrange == taLeftTop || arrange == taRight || arrange == taRightTop;
    if (!source_.isNull() && besideGlyph)
        room -= GlyphSize().width() + Layout.Spacing();
    return Arrange(Layout, Bounds, GlyphSize(), TextSize(Face, room));
}

void TVelButtonLayoutPainter::Paint(QPainter& Canvas, const QRect& Bounds, const TVelGlyphTextLayout& Layout,
                                    const TVelButtonFace& Face)
{
    const bool pushed = Face.State == bsDown || Face.State == bsExclusive;
    const bool enabled = Face.State != bsDisabled;
    const QRect face = pushed ? Bounds.translated(1, 1) : Bounds;
    const TVelButtonPlacement at = Place(Layout, face, Face);

    Canvas.save();
    Canvas.setClipRect(Bounds, Qt::IntersectClip);
    if (!at.Glyph.isNull())
        Canvas.drawImage(at.Glyph, GlyphImage(Face.State));
    if (!at.Text.isNull()) {
        Canvas.setFont(Face.Font);
        if (!enabled) {
            Canvas.setPen(VelClassicColor(clBtnHighlight));
            Canvas.drawText(at.Text.translated(1, 1), TextFlags(Face), Face.Caption);
        }
        Canvas.setPen(VelClassicColor(enabled ? Face.FontColor : TColor(clBtnShadow)));
        Canvas.drawText(at.Text, TextFlags(Face), Face.Caption);
    }
    if (!at.Arrow.isNull()) {
        const auto& button = static_cast<const TVelButtonLayout&>(Layout);
        const QPalette palette = VelCanvasPalette(Canvas);
        // The default black is the fixed arrow colour, which a dark palette replaces.
        const QColor color = button.ArrowColor() == clBlack ? VelFixedColor(TVelFixedColor::Arrow, palette)
                                                            : VelColorToQColor(button.ArrowColor(), palette);
        DrawArrow(Canvas, at.Arrow.left(), at.Arrow.top(), button.ArrowSize(), color, true, enabled, palette);
    }
    Canvas.restore();
}
