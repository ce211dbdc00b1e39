// The clipboard and the primary selection.
//
// Qt offers a text on the clipboard in every form the desktop asks for: the Unicode form and,
// on X11, the 8-bit STRING form converted from it, so setting the text once serves both; reading
// takes whichever form the owner offered.
#include <QClipboard>
#include <QGuiApplication>
#include <QScopedValueRollback>

#include "VelBaseEdit.h"

namespace {

QString UpToNul(QString S)
{
    const qsizetype nul = S.indexOf(QChar(u'\0'));
    if (nul >= 0)
        S.truncate(nul);
    return S;
}

} // namespace

void TVelBaseEdit::CopyToClipboard()
{
    if (options_ & eoAllowCopy)
        QGuiApplication::clipboard()->setText(SelText());
}

void TVelBaseEdit::CutToClipboard()
{
    if (!(options_ & eoAllowCut))
        return;
    QGuiApplication::clipboard()->setText(SelText());
    DeleteSelection();
}

void TVelBaseEdit::PasteFromClipboard()
{
    if (!(options_ & eoAllowPaste))
        return;
    const QString s = UpToNul(QGuiApplication::clipboard()->text());
    const QScopedValueRollback pasting(store_.Pasting, true);
    ReplaceSelection(s);
}

void TVelBaseEdit::OfferPrimarySelection()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // A masked text is never handed out, neither is a selection the edit may not copy.
    if (SelLength() > 0 && (options_ & eoAllowCopy) && CopyPasteAllowed() && clipboard->supportsSelection())
        clipboard->setText(SelText(), QClipboard::Selection);
}

void TVelBaseEdit::PastePrimaryAt(QPoint Pos)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!(options_ & eoAllowPaste) || readOnly_ || !clipboard->supportsSelection())
        return;
    const QString s = UpToNul(clipboard->text(QClipboard::Selection));
    if (s.isEmpty())
        return;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    // The text goes where the button was pressed, not over the selection it may have come from.
    SetCursorPos(CharIndexAtX(Pos.x()));
    SetSelLength(0);
    SetSelStart(CursorPos());
    const QScopedValueRollback pasting(store_.Pasting, true);
    ReplaceSelection(s);
}
