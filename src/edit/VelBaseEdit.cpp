#include "VelBaseEdit.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPoint>
#include <qdrawutil.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "VelClass.h"

namespace {

// Sets a transient flag for the length of a scope; restoring the old value keeps the flag right
// when edits nest (a handler editing from inside OnChange) and when a handler throws.
class TFlagScope {
public:
    TFlagScope(bool& flag, bool value)
        : flag_(flag)
        , old_(flag)
    {
        flag_ = value;
    }
    ~TFlagScope() { flag_ = old_; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

// Position arithmetic counts from 1 and tolerates ranges that leave the text, so a stray
// selection can never reach outside the buffer.
QString CopyText(const QString& s, int index, int count)
{
    index = std::max(index, 1);
    if (count <= 0 || index > s.length())
        return {};
    return s.mid(index - 1, std::min<qsizetype>(count, s.length() - index + 1));
}

void DeleteText(QString& s, int index, int count)
{
    if (count <= 0 || index < 1 || index > s.length())
        return;
    s.remove(index - 1, std::min<qsizetype>(count, s.length() - index + 1));
}

void InsertText(QString& s, int index, const QString& what)
{
    s.insert(std::clamp<qsizetype>(index, 1, s.length() + 1) - 1, what);
}

int SignedParam(std::uintptr_t v)
{
    return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

constexpr int FrameWidth = 2;

} // namespace

TVelBaseEdit::TVelBaseEdit(QWidget* parent)
    : TVelCustomBevelPanel(parent)
    , undo_(this)
{
    undo_.OnDisposeItem = [](QObject*, void* item) { delete static_cast<UndoRecord*>(item); };
    resize(width(), 21);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateTextRect();
}

TVelBaseEdit::~TVelBaseEdit() = default;

QString TVelBaseEdit::SelText() const
{
    return CopyText(text_, selStart_, selLength_);
}

QChar TVelBaseEdit::CharAt(int Pos) const
{
    return Pos >= 1 && Pos <= text_.length() ? text_[Pos - 1] : QChar();
}

void TVelBaseEdit::SetText(const QString& S)
{
    if (S == text_)
        return;
    text_ = maxLength_ > 0 && S.length() > maxLength_ ? S.left(maxLength_) : S;
    scrollOffset_ = 0;
    SetCursorPos(1);
    SetSelLength(0);
    TextReset();
}

void TVelBaseEdit::SetCursorPos(int Value)
{
    prevCursorPos_ = cursorPos_;
    cursorPos_ = std::clamp(Value, 1, static_cast<int>(text_.length()) + 1);
    if (UpdatesLocked())
        return;
    UpdateSelection();
    CursorPosChanged();
}

void TVelBaseEdit::SetSelLength(int Value)
{
    if (Value == selLength_)
        return;
    selLength_ = Value;
    if (Value == 0)
        selStart_ = cursorPos_;
    if (!UpdatesLocked())
        RedrawText();
}

void TVelBaseEdit::SetModified(bool Value)
{
    if (Value == modified_)
        return;
    modified_ = Value;
    if (OnModified)
        OnModified(this);
}

void TVelBaseEdit::SetReadOnly(bool Value)
{
    if (Value == readOnly_)
        return;
    readOnly_ = Value;
    update();
}

void TVelBaseEdit::SetHideSelection(bool Value)
{
    if (Value == hideSelection_)
        return;
    hideSelection_ = Value;
    RedrawText();
}

void TVelBaseEdit::UpdateSelection()
{
    if (typing_)
        return;
    TVelApplication* app = VelApplication();
    if (!selectionEnabled_ && (app->KeyboardState() & ksShift))
        app->SetKeyboardState(app->KeyboardState() & ~ksShift);

    const int c = cursorPos_;
    const int p = prevCursorPos_;
    const int s = selStart_;
    const int l = selLength_;
    if (!(app->ShiftState() & ksShift) && !mouseSelecting_) {
        SetSelLength(0);
        selStart_ = c;
        return;
    }
    if (l > 0) {
        if (s < c && c < s + l) {
            if (p < c) {
                selStart_ = c;
                SetSelLength(s + l - c);
            } else {
                SetSelLength(c - s);
            }
        } else if (c >= s + l) {
            // The caret was at the start of the selection: the old end becomes the anchor.
            if (s >= p) {
                selStart_ = s + l;
                SetSelLength(c - (s + l));
            } else {
                SetSelLength(c - s);
            }
        } else {
            SetSelLength(p == s ? s + l - c : s - c);
            selStart_ = c;
        }
    } else {
        SetSelLength(std::abs(p - c));
        if (c < p)
            selStart_ = c;
    }
}

void TVelBaseEdit::ReplaceSelection(const QString& S)
{
    QString s = S;
    if (!CanModify(s))
        return;

    TFlagScope deletion(deletionEdit_, s.isEmpty());
    bool caretBeforeInsert = false;
    if (s.isEmpty() && selLength_ > 0) {
        GetRemovalText(s);
        caretBeforeInsert = true;
    }
    BeforeEdit();

    // The record holds the state before the adjustments below, which is what Undo replays.
    if (!undoing_) {
        PushUndo(std::make_unique<UndoRecord>(
            UndoRecord{s, SelText(), selStart_, selLength_, static_cast<int>(s.length()), cursorPos_}));
        canUndo_ = true;
    }

    const int at = selStart_;
    const int length = static_cast<int>(text_.length());
    if (selLength_ > 0) {
        // A CR/LF pair is one line break: never leave half of it behind.
        if (selStart_ >= 1 && selStart_ + selLength_ - 1 <= length) {
            if (CharAt(selStart_ + selLength_ - 1) == u'\r')
                ++selLength_;
            if (CharAt(selStart_) == u'\n' && selStart_ > 1) {
                --selStart_;
                ++selLength_;
            }
        }
    } else {
        if (CharAt(selStart_) == u'\n' && selStart_ > 1)
            --selStart_;
        // Replaying an undo record inserts what was there; overwriting the next character as well
        // would lose it.
        if ((!VelApplication()->InsertMode() || forceOverwriteMode_) && !pasting_ && !undoing_)
            selLength_ = CharAt(selStart_) == u'\r' ? 2 : 1;
    }

    TextRemoved(selStart_, CopyText(text_, selStart_, selLength_));
    DeleteText(text_, selStart_, selLength_);
    selLength_ = 0;
    int newCaret = selStart_;

    FilterInsertText(selStart_, s);
    // Text that does not fit is refused whole rather than cut: a cut-off number would be wrong.
    if (!(maxLength_ > 0 && text_.length() + s.length() > maxLength_)) {
        InsertText(text_, selStart_, s);
        if (!caretBeforeInsert)
            newCaret = selStart_ + static_cast<int>(s.length());
    }

    SetModified(true);
    TextChangedAt(at);
    SetCursorPos(newCaret);
    LockUpdates();
    SetSelLength(0);
    UnlockUpdates(true);
    selStart_ = cursorPos_;
    AfterEdit();
}

void TVelBaseEdit::PushUndo(std::unique_ptr<UndoRecord> Record)
{
    undo_.Push(Record.release());
}

void TVelBaseEdit::DeleteSelection()
{
    ReplaceSelection(QString());
}

void TVelBaseEdit::ClearText()
{
    SelectAll();
    DeleteSelection();
}

void TVelBaseEdit::SelectAll()
{
    selStart_ = 1;
    SetSelLength(static_cast<int>(text_.length()));
    RedrawText();
}

void TVelBaseEdit::Undo()
{
    if (!canUndo_ || undo_.IsEmpty())
        return;
    std::unique_ptr<UndoRecord> record(static_cast<UndoRecord*>(undo_.Pop()));
    {
        TFlagScope undoing(undoing_, true);
        selStart_ = record->SelStart;
        SetSelLength(record->InsertedLength);
        // Collapsing the length moves SelStart to the caret; the replay belongs at the record's place.
        selStart_ = record->SelStart;
        ReplaceSelection(CopyText(record->ReplacedText, 1, record->SelLength));
    }
    if (undo_.IsEmpty())
        canUndo_ = false;
    SetCursorPos(record->CursorPos);
    selStart_ = record->SelStart;
    SetSelLength(record->SelLength);
}

void TVelBaseEdit::ClearUndo()
{
    undo_.Clear();
}

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
    QString s = QGuiApplication::clipboard()->text();
    const qsizetype nul = s.indexOf(QChar(u'\0'));
    if (nul >= 0)
        s.truncate(nul);
    TFlagScope pasting(pasting_, true);
    ReplaceSelection(s);
}

void TVelBaseEdit::Loaded()
{
    TVelCustomBevelPanel::Loaded();
    UpdateTextRect();
    update();
}

void TVelBaseEdit::GetRemovalText(QString& S)
{
    S.clear();
}

bool TVelBaseEdit::CanModify(const QString& /*S*/)
{
    return !readOnly_;
}

void TVelBaseEdit::BeforeEdit()
{
}

void TVelBaseEdit::AfterEdit()
{
}

void TVelBaseEdit::FilterInsertText(int /*At*/, QString& /*S*/)
{
}

void TVelBaseEdit::TextRemoved(int /*At*/, const QString& /*S*/)
{
}

void TVelBaseEdit::TextChangedAt(int At)
{
    if (UpdatesLocked())
        return;
    RedrawText(At);
    if (IsLoading())
        return;
    if (OnTextChangedAt)
        OnTextChangedAt(this, At);
    Change();
}

void TVelBaseEdit::TextReset()
{
    RedrawText();
}

void TVelBaseEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TVelBaseEdit::RedrawText(int /*Pos*/)
{
    if (!UpdatesLocked() && !IsLoading())
        update();
}

void TVelBaseEdit::CursorPosChanged()
{
    UpdateCaret();
    if (OnCursorPosChanged)
        OnCursorPosChanged(this);
}

int TVelBaseEdit::TextWidth(int Chars) const
{
    return QFontMetrics(font()).horizontalAdvance(ShownText().left(Chars));
}

int TVelBaseEdit::TextTop() const
{
    return textRect_.top() + (textRect_.height() - QFontMetrics(font()).height()) / 2;
}

void TVelBaseEdit::UpdateCaret()
{
    if (!hasFocus())
        return;
    const int startX = textRect_.left() - 1;
    const int right = textRect_.left() + textRect_.width();
    const auto caretX = [&] {
        return ShownText().isEmpty() ? startX : startX + TextWidth(cursorPos_ - 1) - scrollOffset_;
    };
    const int oldOffset = scrollOffset_;
    int x = caretX();
    if (x > right)
        scrollOffset_ += x - right + textRect_.left() + 2;
    else if (x < textRect_.left() && scrollOffset_ != 0)
        scrollOffset_ = std::max(0, scrollOffset_ - (std::abs(x) + textRect_.left() + 2));
    x = caretX() + 1;
    if (x != caretX_ || scrollOffset_ != oldOffset) {
        caretX_ = x;
        RedrawText();
    }
}

int TVelBaseEdit::CharIndexAtX(int X)
{
    const QString shown = ShownText();
    const QFontMetrics metrics(font());
    const int x = static_cast<std::int16_t>(X & 0xFFFF);
    const int startX = textRect_.left();
    int i = 1;
    for (; i <= shown.length(); ++i) {
        const int right = startX + metrics.horizontalAdvance(shown.left(i)) - scrollOffset_;
        if (right - metrics.horizontalAdvance(shown[i - 1]) / 2 >= x)
            break;
    }
    return i;
}

void TVelBaseEdit::UpdateTextRect()
{
    editRect_ = rect().adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    const int vertical = (options_ & eoNarrowHeight) ? 0 : 1;
    textRect_ = editRect_.adjusted(1, vertical, -1, -vertical);
}

bool TVelBaseEdit::IsDelimiter(int Pos) const
{
    const QChar ch = CharAt(Pos);
    return !ch.isNull() && ch.unicode() <= 255 && wordDelimiters_.contains(ch);
}

void TVelBaseEdit::LineStart()
{
    int c = cursorPos_;
    while (c > 1 && CharAt(c - 1) != u'\n')
        --c;
    SetCursorPos(c);
}

void TVelBaseEdit::LineEnd()
{
    int c = cursorPos_;
    while (c <= text_.length() && CharAt(c) != u'\r')
        ++c;
    SetCursorPos(c);
}

void TVelBaseEdit::WordLeft()
{
    int c = std::min(cursorPos_, static_cast<int>(text_.length()));
    if (c > 1 && IsDelimiter(c))
        --c;
    while (c > 1 && !IsDelimiter(c))
        --c;
    SetCursorPos(c);
}

void TVelBaseEdit::WordRight()
{
    const int length = static_cast<int>(text_.length());
    int c = cursorPos_;
    if (c < length && IsDelimiter(c))
        ++c;
    while (c <= length && !IsDelimiter(c))
        ++c;
    SetCursorPos(c);
}

void TVelBaseEdit::StoreShiftState(Qt::KeyboardModifiers Shift)
{
    TVelApplication* app = VelApplication();
    std::uint8_t state = app->KeyboardState() & ksInsertMode;
    if (Shift & Qt::ShiftModifier)
        state |= ksShift;
    if (Shift & Qt::ControlModifier)
        state |= ksCtrl;
    if (Shift & Qt::AltModifier)
        state |= ksAlt;
    app->SetKeyboardState(state);
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
    if (Key.unicode() < 32 || !isEnabled())
        return;
    TFlagScope typing(typing_, true);
    ReplaceSelection(QString(Key));
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
    const int oldSelLength = selLength_;

    switch (Key) {
    case VK_BACK:
        if (readOnly_ || (selLength_ <= 0 && cursorPos_ == 1))
            break;
        if (selLength_ <= 0) {
            selStart_ = cursorPos_ - 1;
            SetSelLength(selLength_ + 1);
        }
        DeleteSelection();
        if (text_.isEmpty())
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
        if (cursorPos_ < 2) {
            if (!shift)
                SetSelLength(0);
            break;
        }
        SetCursorPos(cursorPos_ - (CharAt(cursorPos_ - 1) == u'\n' ? 2 : 1));
        if (ctrl)
            WordLeft();
        break;
    case VK_RIGHT:
        if (cursorPos_ <= text_.length() && !text_.isEmpty()) {
            SetCursorPos(cursorPos_ + 1);
            if (CharAt(cursorPos_) == u'\n')
                SetCursorPos(cursorPos_ + 1);
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
        } else if (!readOnly_ && !text_.isEmpty()) {
            if (selLength_ <= 0)
                selLength_ = 1;
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
    if (selLength_ != oldSelLength)
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

void TVelBaseEdit::HandleFocusIn()
{
    UpdateTextRect();
    RedrawText();
    // A click places the caret itself; only focus from the keyboard or from code selects all.
    if (autoSelect_ && LastFocusReason() != Qt::MouseFocusReason)
        SelectAll();
    UpdateCaret();
}

void TVelBaseEdit::HandleFocusOut()
{
    // The selection highlight (with HideSelection) and the caret go with the focus.
    RedrawText();
}

void TVelBaseEdit::HandleMouseDown(LPARAM Pos)
{
    if (!isEnabled())
        return;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const int oldSelLength = selLength_;
    SetCursorPos(CharIndexAtX(PointFromLParam(Pos).x()));
    if (selLength_ != oldSelLength)
        RedrawText();
}

void TVelBaseEdit::HandleMouseMove(WPARAM Keys, LPARAM Pos)
{
    if (!isEnabled() || Keys != MK_LBUTTON)
        return;
    {
        TFlagScope selecting(mouseSelecting_, selectionEnabled_);
        SetCursorPos(CharIndexAtX(PointFromLParam(Pos).x()));
    }
    RedrawText();
}

void TVelBaseEdit::Paint(QPainter& Canvas)
{
    if (UpdatesLocked() || IsLoading())
        return;
    Canvas.fillRect(rect(), palette().color(QPalette::Base));
    qDrawShadePanel(&Canvas, rect(), palette(), true, FrameWidth);
    UpdateCaret();
    PaintText(Canvas);
}

void TVelBaseEdit::PaintText(QPainter& Canvas)
{
    const QString shown = ShownText();
    const QFontMetrics metrics(font());
    const int top = TextTop();
    const int left = textRect_.left() - scrollOffset_;
    const int right = textRect_.left() + textRect_.width();
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;

    Canvas.save();
    Canvas.setClipRect(textRect_);
    Canvas.setFont(font());
    Canvas.setPen(palette().color(group, QPalette::Text));
    Canvas.drawText(QPoint(left, top + metrics.ascent()), shown);

    const bool hidden = hideSelection_ && !hasFocus();
    if (selLength_ > 0 && !hidden) {
        const int length = static_cast<int>(shown.length());
        const int first = std::clamp(selStart_, 1, length + 1);
        const int last = std::clamp(selStart_ + selLength_, 1, length + 1);
        const int x1 = left + TextWidth(first - 1);
        const int x2 = std::min(left + TextWidth(last - 1), right);
        if (x2 > x1) {
            Canvas.fillRect(QRect(x1, top, x2 - x1, metrics.height()), palette().color(group, QPalette::Highlight));
            Canvas.setPen(palette().color(group, QPalette::HighlightedText));
            Canvas.drawText(QPoint(x1, top + metrics.ascent()), shown.mid(first - 1, last - first));
        }
    }
    if (hasFocus()) {
        Canvas.setPen(palette().color(group, QPalette::Text));
        Canvas.drawLine(caretX_, top, caretX_, top + metrics.height() - 1);
    }
    Canvas.restore();
}

void TVelBaseEdit::WndProc(TMessage& Message)
{
    LRESULT& result = Message.Result;
    const WPARAM w = Message.WParam;
    const LPARAM l = Message.LParam;
    switch (Message.Msg) {
    case EM_GETSEL: {
        const int start = selStart_ - 1;
        const int end = selStart_ + selLength_ - 1;
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
            const int length = static_cast<int>(text_.length());
            start = std::clamp(start, 0, length);
            if (end < 0 || end > length)
                end = length;
            if (end < start)
                std::swap(start, end);
            SetCursorPos(start + 1);
            selStart_ = cursorPos_;
            SetSelLength(end - selStart_ + 1);
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
        result = canUndo_;
        break;
    case EM_CANUNDO: result = canUndo_; break;
    case EM_EMPTYUNDOBUFFER:
        undo_.Clear();
        canUndo_ = false;
        break;
    case EM_GETMODIFY: result = modified_; break;
    case EM_SETMODIFY: SetModified(w != 0); break;
    case EM_SETREADONLY:
        SetReadOnly(w != 0);
        result = 1;
        break;
    case EM_LIMITTEXT: SetMaxLength(SignedParam(w)); break;
    case EM_GETLIMITTEXT: result = maxLength_; break;
    case EM_GETLINECOUNT: result = 1; break;
    case EM_LINELENGTH:
    case WM_GETTEXTLENGTH: result = text_.length(); break;
    case EM_GETLINE: {
        // The first word of the buffer holds its capacity in characters; never write past it.
        auto* buffer = reinterpret_cast<char16_t*>(l);
        if (!buffer)
            break;
        const qsizetype count = std::min<qsizetype>(buffer[0], text_.length());
        std::memcpy(buffer, text_.utf16(), static_cast<std::size_t>(count) * sizeof(char16_t));
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
            const int x = QFontMetrics(font()).horizontalAdvance(text_.left(std::max(index, 0)));
            *reinterpret_cast<QPoint*>(w) = QPoint(x + textRect_.left() - scrollOffset_, 0);
        }
        break;
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
    // Masking belongs to the custom edit; the base shows its text as it is.
    case EM_GETPASSWORDCHAR:
    case EM_SETPASSWORDCHAR: result = 0; break;
    // Multi-line, margin and handle queries of the platform edit have no meaning for one line
    // held in the object.
    case EM_CHARFROMPOS:
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

    case WM_SETFOCUS:
        TVelCustomBevelPanel::WndProc(Message);
        HandleFocusIn();
        break;
    case WM_KILLFOCUS:
        TVelCustomBevelPanel::WndProc(Message);
        HandleFocusOut();
        break;
    case WM_LBUTTONDOWN: HandleMouseDown(l); break;
    case WM_MOUSEMOVE: HandleMouseMove(w, l); break;
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
        UpdateCaret();
        RedrawText();
        break;
    default: TVelCustomBevelPanel::WndProc(Message); break;
    }
}
