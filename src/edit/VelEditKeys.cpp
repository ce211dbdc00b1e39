// The key map: key presses and releases with the shared keyboard state, and typed characters.
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <utility>

#include "VelBaseEdit.h"
#include "VelClass.h"
#include "VelEditKeyboardState.h"

void TVelBaseEdit::StoreShiftState(Qt::KeyboardModifiers Shift)
{
    VelStoreModifiers(Shift);
}

void TVelBaseEdit::KeyDown(std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    TVelCustomBevelPanel::KeyDown(Key, Shift);
    StoreShiftState(Shift);
    ProcessKey(Key, Shift);
}

void TVelBaseEdit::KeyUp(std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    TVelCustomBevelPanel::KeyUp(Key, Shift);
    StoreShiftState(Shift);
}

void TVelBaseEdit::KeyPress(QChar& Key)
{
    TVelCustomBevelPanel::KeyPress(Key);
    // A character beyond the Basic Multilingual Plane arrives as its two halves, one message
    // each; it is typed when the second half comes, as one character, and a half that comes
    // alone is dropped.
    const QChar high = std::exchange(pendingHighSurrogate_, QChar());
    if (Key.isHighSurrogate()) {
        pendingHighSurrogate_ = Key;
        return;
    }
    if (Key.unicode() < 32 || !isEnabled() || (Key.isLowSurrogate() && high.isNull()))
        return;
    TypeText(Key.isLowSurrogate() ? QString(high) + Key : QString(Key), false);
}

void TVelBaseEdit::ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers /*Shift*/)
{
    if (!isEnabled())
        return;
    // The shared bits, not the event's modifiers, decide: that is what keeps all edits agreeing.
    TVelApplication* app = VelApplication();
    const std::uint8_t state = app->KeyboardState();
    const bool shift = state & ksShift;
    const bool ctrl = state & ksCtrl;
    const bool alt = state & ksAlt;
    const int oldSelLength = SelLength();

    switch (Key) {
    case VK_BACK:
        if (readOnly_ || SelStart() <= 0)
            break;
        if (CursorPos() == 1 && SelStart() == 1 && SelLength() <= 0)
            break;
        if (SelLength() <= 0 || BackspaceExtendsSelection()) {
            SetSelStart(CursorPos() - 1);
            SetSelLength(SelLength() + 1);
        }
        DeleteSelection();
        if (Text().isEmpty())
            scrollOffset_ = 0;
        break;
    case VK_RETURN:
        if (tabOnEnter_ && !ctrl)
            MoveFocusToNext();
        break;
    case VK_ESCAPE: SetSelLength(0); break;
    case VK_END: LineEnd(); break;
    case VK_HOME:
        if (ctrl)
            SetCursorPos(1);
        else
            LineStart();
        break;
    case VK_LEFT:
        if (CursorPos() < 2) {
            if (!shift)
                SetSelLength(0);
            break;
        }
        SetCursorPos(store_.CharLeftOf(CursorPos()));
        if (ctrl)
            WordLeft();
        break;
    case VK_RIGHT:
        if (CursorPos() <= Text().length() && !Text().isEmpty()) {
            SetCursorPos(store_.CharRightOf(CursorPos()));
            if (ctrl)
                WordRight();
        } else if (!shift) {
            SetSelLength(0);
        }
        break;
    case VK_INSERT:
        if (shift)
            PasteFromClipboard();
        else if (ctrl)
            CopyToClipboard();
        else if (!alt)
            app->SetKeyboardState(app->KeyboardState() ^ ksInsertMode);
        break;
    case VK_DELETE:
        if (shift) {
            CutToClipboard();
        } else if (!readOnly_ && !Text().isEmpty()) {
            if (SelLength() <= 0)
                store_.SetSelLengthDirect(1);
            DeleteSelection();
        }
        break;
    case 'A':
    case 'C':
    case 'V':
    case 'X':
        if (!ctrl || alt)
            break;
        if (Key == 'A')
            SelectAll();
        else if (Key == 'C')
            CopyToClipboard();
        else if (Key == 'V')
            PasteFromClipboard();
        else
            CutToClipboard();
        Key = 0;
        break;
    default: break;
    }
    if (SelLength() != oldSelLength)
        RedrawText();
}

void TVelBaseEdit::MoveFocusToNext()
{
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w->window() == window() && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
