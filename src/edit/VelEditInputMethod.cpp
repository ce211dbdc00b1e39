// Input methods on Qt's protocol: the queries an input method asks, and its commit string taken
// as the composition result.
#include <QFontMetrics>
#include <QInputMethodEvent>

#include "VelBaseEdit.h"

namespace {

// The composition-result flag of the composition message.
constexpr LPARAM GCS_RESULTSTR = 0x0800;

} // namespace

void TVelBaseEdit::inputMethodEvent(QInputMethodEvent* Event)
{
    Event->accept();
    if (Event->commitString().isEmpty())
        return;
    imeResult_ = Event->commitString();
    Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    imeResult_.clear();
}

void TVelBaseEdit::HandleComposition(TMessage& Message)
{
    if (!(Message.LParam & GCS_RESULTSTR) || readOnly_ || !isEnabled())
        return;
    QString s = imeResult_;
    const qsizetype nul = s.indexOf(QChar(u'\0'));
    if (nul >= 0)
        s.truncate(nul);
    FilterInsertText(CursorPos(), s);
    TypeText(s, true);
    Message.Result = 0;
}

QVariant TVelBaseEdit::inputMethodQuery(Qt::InputMethodQuery Query) const
{
    switch (Query) {
    case Qt::ImEnabled: return !readOnly_ && isEnabled();
    case Qt::ImCursorRectangle: return QRect(caretX_, textRect_.top(), 1, QFontMetrics(font()).height());
    case Qt::ImFont: return font();
    case Qt::ImCursorPosition: return CursorPos() - 1;
    case Qt::ImAnchorPosition:
        if (SelLength() <= 0)
            return CursorPos() - 1;
        // The anchor is the end of the selection the caret is not at.
        return CursorPos() == SelStart() ? SelStart() + SelLength() - 1 : SelStart() - 1;
    case Qt::ImSurroundingText: return ShownText();
    case Qt::ImCurrentSelection: return VelCopyText(ShownText(), SelStart(), SelLength());
    case Qt::ImMaximumTextLength: return MaxLength() > 0 ? QVariant(MaxLength()) : QVariant();
    case Qt::ImHints: return static_cast<int>(inputMethodHints());
    default: return TVelCustomBevelPanel::inputMethodQuery(Query);
    }
}
