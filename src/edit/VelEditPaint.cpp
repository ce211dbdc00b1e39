// The edit's drawing: background, frame, text with its selection highlight, and the caret line.
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <qdrawutil.h>
#include <algorithm>

#include "VelBaseEdit.h"

namespace {

constexpr int FrameWidth = 2;

// The two highlight colours are usually the desktop's; a plain colour is 0x00BBGGRR.
QColor ResolveColor(TColor Colour, const QPalette& Palette, QPalette::ColorGroup Group)
{
    switch (Colour) {
    case clHighlight: return Palette.color(Group, QPalette::Highlight);
    case clHighlightText: return Palette.color(Group, QPalette::HighlightedText);
    case clWindow: return Palette.color(Group, QPalette::Base);
    case clWindowText: return Palette.color(Group, QPalette::Text);
    case clGrayText: return Palette.color(QPalette::Disabled, QPalette::Text);
    default: break;
    }
    if (Colour & clSystemColor)
        return Palette.color(Group, QPalette::Highlight);
    return QColor(int(Colour & 0xFF), int((Colour >> 8) & 0xFF), int((Colour >> 16) & 0xFF));
}

} // namespace

void TVelBaseEdit::Paint(QPainter& Canvas)
{
    if (UpdatesLocked() || IsLoading())
        return;
    Canvas.fillRect(rect(), palette().color(QPalette::Base));
    qDrawShadePanel(&Canvas, rect(), palette(), true, FrameWidth);
    UpdateCaret();
    PaintText(Canvas);
}

void TVelBaseEdit::PaintText(QPainter& Canvas)
{
    const QString shown = ShownText();
    const QFontMetrics metrics(font());
    const int top = TextTop();
    const int left = AlignedStartX() - scrollOffset_;
    const int right = textRect_.left() + textRect_.width();
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;

    Canvas.save();
    Canvas.setClipRect(textRect_);
    Canvas.setFont(font());
    Canvas.setPen(palette().color(group, QPalette::Text));
    const QTextLayout& layout = Layout();
    layout.draw(&Canvas, QPointF(left, top));

    const bool hidden = selectionHidden_ || (hideSelection_ && !hasFocus());
    if (SelLength() > 0 && !hidden) {
        const int length = static_cast<int>(shown.length());
        const int first = std::clamp(SelStart(), 1, length + 1);
        const int last = std::clamp(SelStart() + SelLength(), 1, length + 1);
        const int x1 = left + TextWidth(first - 1);
        const int x2 = std::min(left + TextWidth(last - 1), right);
        if (x2 > x1) {
            Canvas.fillRect(QRect(x1, top, x2 - x1, metrics.height()), ResolveColor(highlightBack_, palette(), group));
            Canvas.setPen(ResolveColor(highlightText_, palette(), group));
            // The same shaped text again, clipped to the highlight: the selected glyphs land
            // exactly where they stood.
            Canvas.setClipRect(QRect(x1, top, x2 - x1, metrics.height()), Qt::IntersectClip);
            layout.draw(&Canvas, QPointF(left, top));
            Canvas.setClipRect(textRect_);
        }
    }
    if (hasFocus()) {
        Canvas.setPen(palette().color(group, QPalette::Text));
        Canvas.drawLine(caretX_, top, caretX_, top + metrics.height() - 1);
    }
    Canvas.restore();
}
