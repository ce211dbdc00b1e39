// Where the text sits: the text area, the horizontal scrolling that keeps the caret in view, and
// the mapping between client x and character positions.
#include <QFontMetrics>
#include <QTextLayout>
#include <algorithm>
#include <cstdlib>

#include "VelBaseEdit.h"

void TVelBaseEdit::UpdateTextRect()
{
    editRect_ = FrameContentRect();
    LayoutButtons(editRect_);
    const int vertical = (options_ & eoNarrowHeight) ? 0 : 1;
    textRect_ = editRect_.adjusted(1, vertical, -1, -vertical);
    if (IsThemed())
        textRect_.adjust(1, 1, 0, 0);
}

const QTextLayout& TVelBaseEdit::Layout() const
{
    const QString shown = ShownText();
    if (!layout_ || layout_->text() != shown || layout_->font() != font()) {
        if (!layout_)
            layout_ = std::make_unique<QTextLayout>();
        layout_->setText(shown);
        layout_->setFont(font());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout_->setTextOption(option);
        layout_->setCacheEnabled(true);
        layout_->beginLayout();
        QTextLine line = layout_->createLine();
        if (line.isValid())
            line.setLineWidth(1e6);
        layout_->endLayout();
    }
    return *layout_;
}

int TVelBaseEdit::TextWidth(int Chars) const
{
    const QTextLayout& layout = Layout();
    const int n = std::clamp(Chars, 0, static_cast<int>(layout.text().length()));
    if (n == 0 || layout.lineCount() == 0)
        return 0;
    return qRound(layout.lineAt(0).cursorToX(n));
}

int TVelBaseEdit::TextHeightOf(const QString& /*S*/) const
{
    // The line height of the font, as the platform's text height reports it: the same for every
    // string, so "Qp" and "Wq" measure alike.
    return QFontMetrics(font()).height();
}

// The x where the whole shown text starts before scrolling.
int TVelBaseEdit::AlignedStartX() const
{
    if (alignment_ == taLeftJustify)
        return textRect_.left();
    const int width = TextWidth(static_cast<int>(ShownText().length()));
    // A text wider than the area starts at its left edge whatever the alignment: scrolling only
    // ever brings hidden text in from the right, so a right-aligned long text would otherwise
    // keep its start, and the caret at Home, out of sight for good.
    if (width > textRect_.width())
        return textRect_.left();
    if (alignment_ == taRightJustify)
        return textRect_.left() + textRect_.width() - width;
    return textRect_.left() + (textRect_.width() - width) / 2;
}

int TVelBaseEdit::CharPosToX(int Pos) const
{
    return AlignedStartX() + TextWidth(Pos - 1) - scrollOffset_;
}

void TVelBaseEdit::UpdateCaret()
{
    if (!hasFocus() || !caret_->Shown())
        return;
    const int startX = AlignedStartX() - 1;
    const int right = textRect_.left() + textRect_.width();
    const auto caretX = [&] {
        return ShownText().isEmpty() ? startX : startX + TextWidth(CursorPos() - 1) - scrollOffset_;
    };
    const int oldOffset = scrollOffset_;
    const int x = caretX();
    if (x > right)
        scrollOffset_ += x - right + textRect_.left() + 2;
    else if (x < textRect_.left() && scrollOffset_ != 0)
        scrollOffset_ = std::max(0, scrollOffset_ - (std::abs(x) + textRect_.left() + 2));
    caretX_ = caretX() + 1;
    // Placed on every call, moved or not: placing shows the caret at once and starts its blink
    // over, so it is never in its off phase right after a keystroke.
    caret_->Place(caretX_, textRect_.top(), CaretLineHeight());
    if (scrollOffset_ != oldOffset)
        RedrawText();
}

int TVelBaseEdit::CharIndexAtX(int X)
{
    const QString shown = ShownText();
    const int length = static_cast<int>(shown.length());
    // Coordinates travel as 16-bit halves; a point left of the control arrives negative.
    const int x = static_cast<std::int16_t>(X & 0xFFFF);
    const int startX = AlignedStartX();
    int i = 1;
    int before = 0;
    // Character by character: the caret never lands inside a surrogate pair.
    while (i <= length) {
        const int next = i + VelCharUnits(shown, i);
        const int upTo = TextWidth(next - 1);
        if (startX + upTo - scrollOffset_ - (upTo - before) / 2 >= x)
            break;
        before = upTo;
        i = next;
    }
    return i;
}

LRESULT TVelBaseEdit::CharFromPos(int X, int /*Y*/)
{
    return MakeLResult(static_cast<std::uint16_t>(CharIndexAtX(X) - 1), 0);
}
