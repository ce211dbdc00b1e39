#include "VelEditText.h"

#include <QScopedValueRollback>
#include <algorithm>
#include <cstdlib>

#include "VelClass.h"

namespace {

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

class TChangeBracket {
public:
    explicit TChangeBracket(IVelEditTextHost& Host) : host_(Host) { host_.ChangeStarting(); }
    ~TChangeBracket() { host_.ChangeFinished(); }
    TChangeBracket(const TChangeBracket&) = delete;
    TChangeBracket& operator=(const TChangeBracket&) = delete;

private:
    IVelEditTextHost& host_;
};

} // namespace

QString VelCopyText(const QString& S, int Index, int Count)
{
    Index = std::max(Index, 1);
    if (Count <= 0 || Index > S.length())
        return {};
    return S.mid(Index - 1, std::min<qsizetype>(Count, S.length() - Index + 1));
}

bool VelSplitsPair(const QString& S, int Pos)
{
    return Pos >= 2 && Pos <= S.length() && S[Pos - 2].isHighSurrogate() && S[Pos - 1].isLowSurrogate();
}

int VelWholePos(const QString& S, int Pos, bool Forward)
{
    if (!VelSplitsPair(S, Pos))
        return Pos;
    return Forward ? Pos + 1 : Pos - 1;
}

int VelCharUnits(const QString& S, int Pos)
{
    return VelSplitsPair(S, Pos + 1) ? 2 : 1;
}

QString VelWholeCharacters(QString S)
{
    for (qsizetype i = 0; i < S.length(); ++i) {
        if (S[i].isHighSurrogate() && i + 1 < S.length() && S[i + 1].isLowSurrogate())
            ++i;
        else if (S[i].isSurrogate())
            S[i] = QChar::ReplacementCharacter;
    }
    return S;
}

bool IVelEditTextHost::EditAllowed(const QString& /*S*/)
{
    return true;
}

void IVelEditTextHost::SupplyRemovalText(QString& S)
{
    S.clear();
}

TVelEditText::TVelEditText(IVelEditTextHost* Host) : host_(Host ? Host : &ownHost_)
{
    undo_.OnDisposeItem = [](QObject*, void* item) { delete static_cast<UndoRecord*>(item); };
}

TVelEditText::~TVelEditText() = default;

bool TVelEditText::Assign(const QString& S)
{
    if (S == text_)
        return false;
    text_ = VelWholeCharacters(S);
    if (maxLength_ > 0 && text_.length() > maxLength_)
        text_.truncate(VelWholePos(text_, maxLength_ + 1, false) - 1);
    return true;
}

QString TVelEditText::SelText() const
{
    if (selLength_ <= 0)
        return {};
    // A selection set from code may cut a character in half; what is copied never does.
    const int start = VelWholePos(text_, selStart_, false);
    return VelCopyText(text_, start, VelWholePos(text_, selStart_ + selLength_, true) - start);
}

QChar TVelEditText::CharAt(int Pos) const
{
    return Pos >= 1 && Pos <= text_.length() ? text_[Pos - 1] : QChar();
}

bool TVelEditText::IsDelimiter(int Pos) const
{
    const QChar ch = CharAt(Pos);
    return !ch.isNull() && ch.unicode() <= 255 && wordDelimiters_.contains(ch);
}

void TVelEditText::SetCursorPos(int Value)
{
    prevCursorPos_ = cursorPos_;
    cursorPos_ = std::clamp(Value, 1, Length() + 1);
    // A caret set between the halves of a pair goes on past it in the direction it was moving.
    cursorPos_ = VelWholePos(text_, cursorPos_, cursorPos_ > prevCursorPos_);
    if (host().Deferred())
        return;
    UpdateSelection();
    host().CaretMoved();
}

void TVelEditText::SetSelLength(int Value)
{
    if (Value == selLength_)
        return;
    selLength_ = Value;
    if (Value == 0)
        selStart_ = cursorPos_;
    if (!host().Deferred())
        host().SelectionChanged();
}

void TVelEditText::SetModified(bool Value)
{
    if (Value == modified_)
        return;
    modified_ = Value;
    host().ModifiedChanged();
}

void TVelEditText::UpdateSelection()
{
    if (Typing || Dragging)
        return;
    if (!selectionEnabled_ && (host().KeyboardState() & ksShift))
        host().SetKeyboardState(static_cast<std::uint8_t>(host().KeyboardState() & ~ksShift));

    const int c = cursorPos_;
    const int p = prevCursorPos_;
    const int s = selStart_;
    const int l = selLength_;
    if (!(host().KeyboardState() & ksShift) && !MouseSelecting) {
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

void TVelEditText::ReplaceSelection(const QString& S)
{
    const TChangeBracket change(host());
    QString s = S;
    if (!host().EditAllowed(s))
        return;

    const QScopedValueRollback deletion(DeletionEdit, s.isEmpty());
    bool caretBeforeInsert = false;
    if (s.isEmpty() && selLength_ > 0) {
        host().SupplyRemovalText(s);
        caretBeforeInsert = true;
    }
    // There is no OEM code page here: the round trip through the 8-bit locale form drops what that
    // form cannot hold, which is what the conversion is asked for.
    if (oemConvert_ && !s.isEmpty())
        s = QString::fromLocal8Bit(s.toLocal8Bit());
    s = VelWholeCharacters(s);
    host().EditStarting();
    // Before the record, so that Undo puts back whole characters too.
    WholeSelection();

    // The record holds the state before the adjustments below, which is what Undo replays.
    if (!Undoing) {
        undo_.Push(new UndoRecord{s, SelText(), selStart_, selLength_, static_cast<int>(s.length()), cursorPos_});
        canUndo_ = true;
    }

    const int at = selStart_;
    if (selLength_ > 0) {
        // A CR/LF pair is one line break: never leave half of it behind.
        if (selStart_ >= 1 && selStart_ + selLength_ - 1 <= Length()) {
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
        if ((!(host().KeyboardState() & ksInsertMode) || forceOverwriteMode_) && !Pasting && !Undoing)
            selLength_ = CharAt(selStart_) == u'\r' ? 2 : VelCharUnits(text_, selStart_);
    }

    const QString removed = VelCopyText(text_, selStart_, selLength_);
    host().RemovingText(selStart_, removed);
    DeleteText(text_, selStart_, selLength_);
    selLength_ = 0;
    int newCaret = selStart_;

    host().FilteringInsert(selStart_, s);
    s = VelWholeCharacters(s);
    // Text that does not fit is refused whole rather than cut: a cut-off number would be wrong.
    const bool fits = !(maxLength_ > 0 && text_.length() + s.length() > maxLength_);
    if (fits) {
        InsertText(text_, selStart_, s);
        if (!caretBeforeInsert)
            newCaret = selStart_ + static_cast<int>(s.length());
    }

    SetModified(true);
    host().TextChanged(at);
    SetCursorPos(newCaret);
    host().BeginDeferred();
    SetSelLength(0);
    host().EndDeferred(true);
    selStart_ = cursorPos_;
    host().EditFinished();
}

void TVelEditText::SelectAll()
{
    selStart_ = 1;
    SetSelLength(Length());
}

void TVelEditText::Undo()
{
    if (!canUndo_ || undo_.IsEmpty())
        return;
    // The replay and the restored selection are one change.
    const TChangeBracket change(host());
    std::unique_ptr<UndoRecord> record(static_cast<UndoRecord*>(undo_.Pop()));
    {
        const QScopedValueRollback undoing(Undoing, true);
        selStart_ = record->SelStart;
        SetSelLength(record->InsertedLength);
        // Collapsing the length moves SelStart to the caret; the replay belongs at the record's place.
        selStart_ = record->SelStart;
        ReplaceSelection(VelCopyText(record->ReplacedText, 1, record->SelLength));
    }
    if (undo_.IsEmpty())
        canUndo_ = false;
    // The replay runs through the owner's hooks, which may reshape the text (a number edit
    // reformats it), so the recorded selection is kept within the text as it now stands.
    SetCursorPos(record->CursorPos);
    selStart_ = std::clamp(record->SelStart, 1, Length() + 1);
    SetSelLength(std::clamp(record->SelLength, 0, Length() + 1 - selStart_));
    WholeSelection();
}

void TVelEditText::WholeSelection()
{
    const int start = VelWholePos(text_, selStart_, false);
    const int end = selLength_ > 0 ? VelWholePos(text_, selStart_ + selLength_, true) : start;
    selStart_ = start;
    selLength_ = end - start;
}

int TVelEditText::CharLeftOf(int Pos) const
{
    return Pos - (CharAt(Pos - 1) == u'\n' ? 2 : (VelSplitsPair(text_, Pos - 1) ? 2 : 1));
}

int TVelEditText::CharRightOf(int Pos) const
{
    const int next = Pos + VelCharUnits(text_, Pos);
    return CharAt(next) == u'\n' ? next + 1 : next;
}

void TVelEditText::ClearUndo()
{
    undo_.Clear();
}

void TVelEditText::EmptyUndoBuffer()
{
    undo_.Clear();
    canUndo_ = false;
}

void TVelEditText::LineStart()
{
    int c = cursorPos_;
    while (c > 1 && CharAt(c - 1) != u'\n')
        --c;
    SetCursorPos(c);
}

void TVelEditText::LineEnd()
{
    int c = cursorPos_;
    while (c <= Length() && CharAt(c) != u'\r')
        ++c;
    SetCursorPos(c);
}

void TVelEditText::WordLeft()
{
    int c = std::min(cursorPos_, Length());
    if (c > 1 && IsDelimiter(c))
        --c;
    while (c > 1 && !IsDelimiter(c))
        --c;
    SetCursorPos(c);
}

void TVelEditText::WordRight()
{
    int c = cursorPos_;
    if (c < Length() && IsDelimiter(c))
        ++c;
    while (c <= Length() && !IsDelimiter(c))
        ++c;
    SetCursorPos(c);
}

void TVelEditText::SelectWord()
{
    if (text_.isEmpty())
        return;
    int p = std::min(cursorPos_, Length());
    if (p > 1 && IsDelimiter(p))
        --p;
    while (p > 1 && !IsDelimiter(p))
        --p;
    if (p != 1)
        ++p;
    selStart_ = p;
    int q = cursorPos_;
    while (q <= Length() && !IsDelimiter(q))
        ++q;
    SetSelLength(q - selStart_);
}
