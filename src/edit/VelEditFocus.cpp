// Focus gained and lost: the caret made and destroyed, the selection shown or hidden, AutoSelect,
// and the shared modifier bits settled from the keyboard.
#include <QGuiApplication>

#include "VelBaseEdit.h"
#include "VelEditKeyboardState.h"

void TVelBaseEdit::HandleFocusIn()
{
    // A Shift released while another control had the focus never reached the edits; without this
    // the next plain click would extend a selection.
    VelRefreshModifiers();
    UpdateTextRect();
    ShapeCaret();
    if (CueBannerOnFocus())
        RedrawText();
    if (!KeepSelectionOnFocusChange()) {
        selectionHidden_ = false;
        if (hideSelection_ || autoSelect_) {
            // A click places the caret itself; only focus from the keyboard or from code selects all.
            const bool byMouse =
                LastFocusReason() == Qt::MouseFocusReason || (QGuiApplication::mouseButtons() & Qt::LeftButton);
            if (autoSelect_ && !byMouse)
                SelectAll();
            if (SelLength() > 0)
                RedrawText();
        }
    }
    RedrawText();
    UpdateCaret();
}

void TVelBaseEdit::HandleFocusOut()
{
    if (hideSelection_ && SelLength() > 0 && !KeepSelectionOnFocusChange()) {
        selectionHidden_ = true;
        RedrawText();
    }
    // The caret goes with the focus.
    caret_->Destroy();
    RedrawText();
}
