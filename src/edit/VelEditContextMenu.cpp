// The built-in context menu of the right button.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <memory>

#include "VelBaseEdit.h"

QMenu* TVelBaseEdit::CreateDefaultContextMenu()
{
    auto* menu = new QMenu(this);
    const auto add = [this, menu](const QString& caption, bool enabled, void (TVelBaseEdit::*action)()) {
        QAction* a = menu->addAction(caption);
        a->setEnabled(enabled);
        QObject::connect(a, &QAction::triggered, this, [this, action] { (this->*action)(); });
    };
    const bool selected = SelLength() > 0;
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    add(QStringLiteral("&Undo"), CanUndo(), &TVelBaseEdit::Undo);
    menu->addSeparator();
    if (options_ & eoAllowCut)
        add(QStringLiteral("&Cut"), selected && !readOnly_, &TVelBaseEdit::CutToClipboard);
    if (options_ & eoAllowCopy)
        add(QStringLiteral("&Copy"), selected, &TVelBaseEdit::CopyToClipboard);
    if (options_ & eoAllowPaste)
        add(QStringLiteral("&Paste"), clip && clip->hasText() && !readOnly_, &TVelBaseEdit::PasteFromClipboard);
    add(QStringLiteral("&Delete"), selected, &TVelBaseEdit::DeleteSelection);
    menu->addSeparator();
    add(QStringLiteral("Select all"), !Text().isEmpty(), &TVelBaseEdit::SelectAll);
    return menu;
}

void TVelBaseEdit::HandleContextMenu(LPARAM Pos)
{
    if (!isEnabled())
        return;
    const QPoint at = PointFromLParam(Pos);
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, at, handled);
    if (handled || (options_ & eoSuppressDefaultMenu))
        return;
    if (popupMenu_) {
        popupMenu_->popup(mapToGlobal(at));
        return;
    }
    // The menu runs its own event loop; the edit may be gone when it returns.
    QPointer<TVelBaseEdit> self(this);
    std::unique_ptr<QMenu> menu(CreateDefaultContextMenu());
    menu->exec(mapToGlobal(at));
    if (!self)
        (void)menu.release();
}
