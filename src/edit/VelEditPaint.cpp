// The edit's drawing: background, frame, the text with its selection highlight, and the caret.
// Everything is drawn in logical pixels on whole-pixel rectangles, so a scaled screen gets the
// same picture with every line doubled rather than blurred.
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

#include "VelBaseEdit.h"
#include "VelCustomEdit.h"
#include "VelSysColors.h"
#include "VelSystemCaret.h"
#include "VelThemes.h"

QRect TVelBaseEdit::FrameContentRect() const
{
    if (!IsThemed() || Bevel()->Mode() != bmWindows)
        return InnerRect();
    // Themed, the edit draws the theme's frame inside its client area and keeps off it.
    TVelThemedDetails edit{TVelThemedElement::Edit, 0, tesNormal};
    if (!isEnabled())
        edit.State = tesDisabled;
    else if (readOnly_)
        edit.State = tesReadOnly;
    else if (hasFocus() || MouseAbove())
        edit.State = tesFocused;
    return VelThemeServices()->ContentRect(EffectiveThemeMode(), edit, ClientRect());
}

int TVelBaseEdit::CaretLineHeight() const
{
    return TextHeightOf(QStringLiteral("Qp"));
}

void TVelBaseEdit::ShapeCaret()
{
    if (caret_->Style() == csDefault)
        caret_->SetTextHeight(TextHeightOf(QStringLiteral("Qp")));
    caret_->Create();
    caret_->Show();
}

void TVelBaseEdit::Paint(QPainter& Canvas)
{
    if (UpdatesLocked() || IsLoading())
        return;
    PaintBackground(Canvas);
    // Unfocused and flat, the frame step of the control base draws the flat frame afterwards.
    if (hasFocus() || !Flat() || IsThemed()) {
        if (!(IsThemed() && Bevel()->Mode() == bmWindows &&
              DrawThemedFrame(EffectiveThemeMode(), Canvas, ClientRect())))
            Bevel()->DrawBevel(Canvas, ClientRect(), Transparent());
    }
    UpdateCaret();
    {
        const TVelCaretHider hider(this);
        PaintText(Canvas);
    }
    VelPaintCaret(this, Canvas);
}

void TVelBaseEdit::RedrawText(int /*Pos*/)
{
    // Only the text area changes; the frame is drawn by a full paint alone.
    if (!UpdatesLocked() && !IsLoading())
        update(editRect_);
}

void TVelBaseEdit::PaintText(QPainter& Canvas)
{
    const QString shown = ShownText();
    // The line hangs from the text area's top, as the caret and the cue banner do; a taller edit
    // leaves its spare height below the text.
    const int top = textRect_.top();
    const int left = AlignedStartX() - scrollOffset_;
    const int right = textRect_.left() + textRect_.width();
    const QPalette& pal = palette();

    // The background under the text is the control's, painted just before.
    Canvas.save();
    Canvas.setClipRect(textRect_, Qt::IntersectClip);
    Canvas.setFont(font());
    Canvas.setPen(isEnabled() ? pal.color(QPalette::Active, QPalette::Text) : VelColorToQColor(clGrayText, pal));
    const QTextLayout& layout = Layout();
    layout.draw(&Canvas, QPointF(left, top));

    const bool hidden = selectionHidden_ || (hideSelection_ && !hasFocus());
    if (SelLength() > 0 && !hidden) {
        const int length = static_cast<int>(shown.length());
        const int first = std::clamp(SelStart(), 1, length + 1);
        const int last = std::clamp(SelStart() + SelLength(), 1, length + 1);
        const int x1 = left + TextWidth(first - 1);
        const int x2 = std::min(left + TextWidth(last - 1), right);
        const int bottom = std::min(top + TextHeightOf(shown), textRect_.top() + textRect_.height());
        if (x2 > x1 && bottom > top) {
            const QRect highlight(x1, top, x2 - x1, bottom - top);
            Canvas.fillRect(highlight, VelColorToQColor(highlightBack_, pal));
            Canvas.setPen(isEnabled() ? VelColorToQColor(highlightText_, pal) : VelColorToQColor(clGrayText, pal));
            // The same shaped text again, clipped to the highlight: the selected glyphs land
            // exactly where they stood.
            Canvas.setClipRect(highlight, Qt::IntersectClip);
            layout.draw(&Canvas, QPointF(left, top));
        }
    }
    Canvas.restore();
}

void TVelCustomEdit::PaintText(QPainter& Canvas)
{
    if (hasFocus() || !CueBannerShown() || cueBanner_.isEmpty()) {
        TVelBaseEdit::PaintText(Canvas);
        return;
    }
    Canvas.save();
    const TVelThemeMode mode = EffectiveThemeMode();
    Canvas.setClipRect(TextRect(), Qt::IntersectClip);
    Canvas.setFont(font());
    const unsigned flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    if (!VelThemeServices()->DrawText(mode, Canvas, {TVelThemedElement::Edit, 0, tesNormal}, cueBanner_, flags,
                                      TextRect())) {
        Canvas.setPen(VelColorToQColor(clGray, palette()));
        Canvas.drawText(TextRect(), static_cast<int>(flags), cueBanner_);
    }
    Canvas.restore();
}
