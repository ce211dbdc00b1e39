// The message table: the edit-control messages, and the window messages routed to the handler
// of their concern.
#include <QFontMetrics>
#include <algorithm>
#include <cstring>

#include "VelBaseEdit.h"

namespace {

int SignedParam(std::uintptr_t v)
{
    return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

// Holds the caret and selection moves of a focus change until Qt has announced the focus.
class TFocusHold {
public:
    explicit TFocusHold(TVelEditAnnouncer& Announcer) : announcer_(Announcer) { announcer_.BeginFocus(); }
    ~TFocusHold() { announcer_.EndFocus(); }
    TFocusHold(const TFocusHold&) = delete;
    TFocusHold& operator=(const TFocusHold&) = delete;

private:
    TVelEditAnnouncer& announcer_;
};

} // namespace

// The EM_ messages and the text messages; false for anything else.
bool TVelBaseEdit::HandleEditMessage(TMessage& Message)
{
    LRESULT& result = Message.Result;
    const WPARAM w = Message.WParam;
    const LPARAM l = Message.LParam;
    switch (Message.Msg) {
    case EM_GETSEL: {
        const int start = SelStart() - 1;
        const int end = SelStart() + SelLength() - 1;
        if (w)
            *reinterpret_cast<int*>(w) = start;
        if (l)
            *reinterpret_cast<int*>(l) = end;
        result = MakeLResult(static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(end));
        break;
    }
    case EM_SETSEL: {
        int start = SignedParam(w);
        int end = SignedParam(static_cast<std::uintptr_t>(l));
        if (start == -1) {
            SetSelLength(0);
        } else if (start == 0 && end == -1) {
            SelectAll();
        } else {
            // Kept inside the text and in order, as callers of the platform edit expect; a
            // negative or overlong length would select outside the buffer.
            const int length = static_cast<int>(Text().length());
            start = std::clamp(start, 0, length);
            if (end < 0 || end > length)
                end = length;
            if (end < start)
                std::swap(start, end);
            // Nor may a selection take half of a character.
            start = VelWholePos(Text(), start + 1, false) - 1;
            end = VelWholePos(Text(), end + 1, true) - 1;
            SetCursorPos(start + 1);
            SetSelStart(CursorPos());
            SetSelLength(end - SelStart() + 1);
        }
        break;
    }
    case EM_REPLACESEL:
        if (l) {
            ReplaceSelection(QString::fromLocal8Bit(reinterpret_cast<const char*>(l)));
            if (w == 0)
                ClearUndo();
        }
        break;
    case EM_UNDO:
        Undo();
        result = CanUndo();
        break;
    case EM_CANUNDO: result = CanUndo(); break;
    case EM_EMPTYUNDOBUFFER: store_.EmptyUndoBuffer(); break;
    case EM_GETMODIFY: result = Modified(); break;
    case EM_SETMODIFY: SetModified(w != 0); break;
    case EM_SETREADONLY:
        SetReadOnly(w != 0);
        result = 1;
        break;
    case EM_LIMITTEXT: SetMaxLength(SignedParam(w)); break;
    case EM_GETLIMITTEXT: result = MaxLength(); break;
    case EM_GETLINECOUNT: result = 1; break;
    case EM_LINELENGTH:
    case WM_GETTEXTLENGTH: result = Text().length(); break;
    case EM_GETLINE: {
        // The first word of the buffer holds its capacity in characters; never write past it.
        auto* buffer = reinterpret_cast<char16_t*>(l);
        if (!buffer)
            break;
        const qsizetype count = std::min<qsizetype>(buffer[0], Text().length());
        std::memcpy(buffer, Text().utf16(), static_cast<std::size_t>(count) * sizeof(char16_t));
        result = count;
        break;
    }
    case EM_GETRECT:
        if (l)
            *reinterpret_cast<QRect*>(l) = textRect_;
        break;
    case EM_POSFROMCHAR:
        if (w) {
            const int index = SignedParam(static_cast<std::uintptr_t>(l));
            const int x = QFontMetrics(font()).horizontalAdvance(Text().left(std::max(index, 0)));
            *reinterpret_cast<QPoint*>(w) = QPoint(x + textRect_.left() - scrollOffset_, 0);
        }
        break;
    case EM_CHARFROMPOS: {
        const QPoint p = PointFromLParam(l);
        result = CharFromPos(p.x(), p.y());
        break;
    }
    case WM_SETTEXT:
        setWindowTitle(l ? QString::fromLocal8Bit(reinterpret_cast<const char*>(l)) : QString());
        TextReset();
        SubObjectChanged(nullptr);
        result = 1;
        break;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(l);
        if (!buffer || w == 0)
            break;
        const QByteArray title = windowTitle().toLocal8Bit();
        const auto count = std::min<std::size_t>(static_cast<std::size_t>(title.size()), w - 1);
        std::memcpy(buffer, title.constData(), count);
        buffer[count] = '\0';
        result = static_cast<LRESULT>(count);
        break;
    }
    case WM_CLEAR: DeleteSelection(); break;
    case WM_COPY: CopyToClipboard(); break;
    case WM_CUT: CutToClipboard(); break;
    case WM_PASTE: PasteFromClipboard(); break;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS | DLGC_WANTCHARS; break;
    // Masking belongs to the custom edit; the base shows its text as it is.
    case EM_GETPASSWORDCHAR:
    case EM_SETPASSWORDCHAR: result = 0; break;
    // Multi-line, margin and handle queries of the platform edit have no meaning for one line
    // held in the object.
    case EM_LINEINDEX:
    case EM_LINEFROMCHAR:
    case EM_GETFIRSTVISIBLELINE:
    case EM_GETHANDLE:
    case EM_GETMARGINS:
    case EM_GETTHUMB:
    case EM_GETWORDBREAKPROC:
    case EM_FMTLINES:
    case EM_LINESCROLL:
    case EM_SCROLL:
    case EM_SCROLLCARET:
    case EM_SETHANDLE:
    case EM_SETMARGINS:
    case EM_SETRECT:
    case EM_SETRECTNP:
    case EM_SETTABSTOPS:
    case EM_SETWORDBREAKPROC: result = 0; break;
    default: return false;
    }
    return true;
}

void TVelBaseEdit::WndProc(TMessage& Message)
{
    if (HandleEditMessage(Message))
        return;
    switch (Message.Msg) {
    case WM_SETFOCUS: {
        const TFocusHold hold(announcer_);
        TVelCustomBevelPanel::WndProc(Message);
        HandleFocusIn();
        break;
    }
    case WM_KILLFOCUS:
        HandleFocusOut();
        TVelCustomBevelPanel::WndProc(Message);
        if (RedrawOnFocusChange())
            RedrawText();
        break;
    case WM_LBUTTONDOWN:
        TVelCustomBevelPanel::WndProc(Message);
        HandleMouseDown(Message.LParam);
        break;
    case WM_LBUTTONDBLCLK:
        TVelCustomBevelPanel::WndProc(Message);
        HandleDoubleClick();
        CountClick(PointFromLParam(Message.LParam));
        break;
    case WM_MOUSEMOVE:
        TVelCustomBevelPanel::WndProc(Message);
        HandleMouseMove(Message.WParam, Message.LParam);
        break;
    case WM_LBUTTONUP:
        TVelCustomBevelPanel::WndProc(Message);
        HandleMouseUp();
        break;
    case WM_RBUTTONUP:
        TVelCustomBevelPanel::WndProc(Message);
        HandleContextMenu(Message.LParam);
        break;
    case WM_IME_COMPOSITION: {
        const TChangeScope change(*this);
        HandleComposition(Message);
        break;
    }
    case WM_SIZE:
        TVelCustomBevelPanel::WndProc(Message);
        UpdateTextRect();
        break;
    case CM_ENABLEDCHANGED:
        TVelCustomBevelPanel::WndProc(Message);
        RedrawText();
        break;
    case CM_FONTCHANGED:
        TVelCustomBevelPanel::WndProc(Message);
        // The caret takes the new line height.
        if (hasFocus())
            ShapeCaret();
        UpdateCaret();
        RedrawText();
        break;
    case WM_KEYDOWN:
    case WM_CHAR: {
        // A key's edits are one change for a screen reader: a number edit may take out a leading
        // zero, type the digit and move the caret past a separator for one keystroke.
        const TChangeScope change(*this);
        TVelCustomBevelPanel::WndProc(Message);
        // Whatever the key did, the caret is seen at once and blinks from the start again.
        UpdateCaret();
        break;
    }
    default: TVelCustomBevelPanel::WndProc(Message); break;
    }
}
