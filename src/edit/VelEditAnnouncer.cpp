#include "VelEditAnnouncer.h"

#include <QAccessible>
#include <QMetaObject>
#include <algorithm>
#include <utility>

#include "VelBaseEdit.h"
#include "VelEditAccessible.h"

void TVelEditAnnouncer::BeginChange()
{
    if (depth_++ > 0)
        return;
    heard_ = VelAccessibleListening();
    if (heard_)
        before_ = edit_.Text();
}

void TVelEditAnnouncer::EndChange()
{
    if (--depth_ > 0)
        return;
    bool changed = false;
    if (heard_) {
        heard_ = false;
        changed = TellText();
    }
    if (holdingForFocus_) {
        caretPending_ = caretPending_ || changed;
        return;
    }
    if (caretPending_ || changed)
        TellCaret(changed);
}

void TVelEditAnnouncer::CaretMoved()
{
    if (!VelAccessibleListening())
        return;
    if (depth_ > 0 || holdingForFocus_) {
        caretPending_ = true;
        return;
    }
    TellCaret(false);
}

void TVelEditAnnouncer::BeginFocus()
{
    holdingForFocus_ = true;
}

void TVelEditAnnouncer::EndFocus()
{
    holdingForFocus_ = false;
    // Queued: Qt sends the focus event when the focus-in handling has returned to it.
    if (caretPending_)
        QMetaObject::invokeMethod(
            &edit_, [this] { TellHeldCaret(); }, Qt::QueuedConnection);
}

void TVelEditAnnouncer::TellHeldCaret()
{
    // A move told since then, or a change still open, has taken care of it.
    if (caretPending_ && depth_ == 0 && !holdingForFocus_ && VelAccessibleListening())
        TellCaret(false);
}

QString TVelEditAnnouncer::Shown(const QString& S) const
{
    // A masked edit tells how many characters changed, never which.
    const QChar mask(static_cast<char16_t>(edit_.Perform(EM_GETPASSWORDCHAR)));
    return mask.isNull() ? S : QString(S.length(), mask);
}

bool TVelEditAnnouncer::TellText()
{
    const QString before = std::exchange(before_, QString());
    const QString after = edit_.Text();
    if (before == after)
        return false;
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < common && before[head] == after[head])
        ++head;
    // A reader counts characters: a span never starts or ends between the halves of a pair.
    if (head > 0 && before[head - 1].isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < common - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (tail > 0 && before[before.size() - tail].isLowSurrogate())
        --tail;
    const int at = static_cast<int>(head);
    const QString removed = before.mid(head, before.size() - head - tail);
    const QString inserted = after.mid(head, after.size() - head - tail);
    if (!removed.isEmpty()) {
        QAccessibleTextRemoveEvent e(&edit_, at, Shown(removed));
        VelSendAccessibleEvent(e);
    }
    if (!inserted.isEmpty()) {
        QAccessibleTextInsertEvent e(&edit_, at, Shown(inserted));
        VelSendAccessibleEvent(e);
    }
    return true;
}

void TVelEditAnnouncer::TellCaret(bool Always)
{
    caretPending_ = false;
    const int length = static_cast<int>(edit_.Text().length());
    const int caret = edit_.CursorPos() - 1;
    int start = -1;
    int end = -1;
    if (edit_.SelLength() > 0) {
        start = std::clamp(edit_.SelStart() - 1, 0, length);
        end = std::clamp(start + edit_.SelLength(), start, length);
    }
    if (start != selStart_ || end != selEnd_) {
        selStart_ = start;
        selEnd_ = end;
        // As Qt's own edits do, a cleared selection is told as -1 .. -1.
        QAccessibleTextSelectionEvent e(&edit_, start, end);
        e.setCursorPosition(caret);
        VelSendAccessibleEvent(e);
    }
    if (Always || caret != caret_) {
        caret_ = caret;
        QAccessibleTextCursorEvent e(&edit_, caret);
        VelSendAccessibleEvent(e);
    }
}
