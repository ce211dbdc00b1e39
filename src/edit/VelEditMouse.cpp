// Mouse gestures: caret placement, drag selection with auto-scroll, drag-and-move of the
// selection, double and triple click, the middle-button paste, and focus on mouse entry.
#include <QApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyleHints>
#include <cstdlib>

#include "VelBaseEdit.h"
#include "VelTimer.h"

namespace {

constexpr int AutoScrollInterval = 200;

} // namespace

void TVelBaseEdit::PlaceCaretAtMouse()
{
    SetCursorPos(CharIndexAtX(lastMouseX_));
}

void TVelBaseEdit::HandleMouseDown(LPARAM Pos)
{
    if (!isEnabled())
        return;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const QPoint at = PointFromLParam(Pos);
    lastMouseX_ = at.x();
    const int oldSelLength = SelLength();
    const int p = CharIndexAtX(lastMouseX_);
    if (draggingAllowed_ && !store_.Dragging && SelStart() < p && p < SelStart() + SelLength()) {
        store_.Dragging = true;
        setCursor(Qt::DragMoveCursor);
    }
    SetCursorPos(p);
    if (SelLength() != oldSelLength)
        RedrawText();
    if (!autoScroll_)
        autoScroll_ =
            std::make_unique<TVelTimer>(AutoScrollInterval, false, true, [this](QObject*) { AutoScrollTick(); });
    CountClick(at);
}

void TVelBaseEdit::AutoScrollTick()
{
    // A release that never arrived (a popup or another window took the mouse) must not leave the
    // caret chasing the last mouse position.
    if (!isVisible() || !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        StopAutoScroll();
        EndDrag();
        return;
    }
    const QScopedValueRollback selecting(store_.MouseSelecting, SelLength() > 0);
    PlaceCaretAtMouse();
}

void TVelBaseEdit::StopAutoScroll()
{
    // May run inside the timer's own tick, which the library timer allows.
    autoScroll_.reset();
}

void TVelBaseEdit::HandleMouseMove(WPARAM Keys, LPARAM Pos)
{
    if (!isEnabled())
        return;
    lastMouseX_ = PointFromLParam(Pos).x();
    if (Keys != MK_LBUTTON)
        return;
    const int oldCaret = CursorPos();
    {
        const QScopedValueRollback selecting(store_.MouseSelecting, SelectionEnabled());
        PlaceCaretAtMouse();
    }
    if (CursorPos() != oldCaret)
        RedrawText();
}

void TVelBaseEdit::HandleMouseUp()
{
    StopAutoScroll();
    if (!store_.Dragging) {
        OfferPrimarySelection();
        return;
    }
    EndDrag();
    DropDraggedText();
}

void TVelBaseEdit::EndDrag()
{
    if (!store_.Dragging)
        return;
    store_.Dragging = false;
    setCursor(Qt::IBeamCursor);
}

void TVelBaseEdit::DropDraggedText()
{
    int d = CursorPos();
    if (SelStart() <= d && d <= SelStart() + SelLength()) {
        SetSelLength(0);
        SetSelStart(CursorPos());
        RedrawText();
        return;
    }
    QString t = SelText();
    if (t.endsWith(u'\r')) {
        SetSelLength(SelLength() - 1);
        t = SelText();
    }
    // Two undoable edits, the removal and the insertion, so Undo takes the move back in two steps.
    DeleteSelection();
    if (SelStart() < d)
        d -= static_cast<int>(t.length());
    if (store_.CharAt(d) == u'\n')
        --d;
    SetCursorPos(d);
    ReplaceSelection(t);
    RedrawText();
    SetCursorPos(d);
}

void TVelBaseEdit::HandleDoubleClick()
{
    if (isEnabled() && SelectionEnabled()) {
        LockUpdates();
        SelectWord();
        UnlockUpdates(true);
        RedrawText();
        OfferPrimarySelection();
    }
}

void TVelBaseEdit::CountClick(QPoint Pos)
{
    const QStyleHints* hints = QGuiApplication::styleHints();
    const qint64 now = clock_.elapsed();
    const int distance = hints->mouseDoubleClickDistance();
    const bool far =
        std::abs(Pos.x() - firstClickPos_.x()) > distance || std::abs(Pos.y() - firstClickPos_.y()) > distance;
    if (lastClickTime_ < 0 || now - lastClickTime_ > hints->mouseDoubleClickInterval() || far) {
        clickCount_ = 1;
        lastClickTime_ = now;
    } else if (clickCount_ < 2) {
        ++clickCount_;
        lastClickTime_ = now;
    } else {
        EndDrag();
        SelectAll();
        OfferPrimarySelection();
        clickCount_ = 0;
        lastClickTime_ = -1;
    }
    if (clickCount_ == 1)
        firstClickPos_ = Pos;
}

void TVelBaseEdit::mousePressEvent(QMouseEvent* Event)
{
    // The middle button is no platform message of the library; it pastes the primary selection,
    // as every Linux text field does.
    if (Event->button() != Qt::MiddleButton || !isEnabled()) {
        TVelCustomBevelPanel::mousePressEvent(Event);
        return;
    }
    Event->accept();
}

void TVelBaseEdit::mouseReleaseEvent(QMouseEvent* Event)
{
    if (Event->button() != Qt::MiddleButton || !isEnabled()) {
        TVelCustomBevelPanel::mouseReleaseEvent(Event);
        return;
    }
    Event->accept();
    PastePrimaryAt(Event->position().toPoint());
}

void TVelBaseEdit::MouseEntered()
{
    TVelCustomBevelPanel::MouseEntered();
    if (focusOnMouseAbove_ && isEnabled() && !hasFocus())
        setFocus(Qt::MouseFocusReason);
}
