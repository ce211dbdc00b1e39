// The typing filter of the mask edit: which characters the number kinds take, what a deletion
// may remove, and where the caret stands after the text has been regrouped.

#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>

#include "VelClass.h"
#include "VelCustomMaskEdit.h"

namespace {

bool IsDecimalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsNonZeroDigit(QChar c)
{
    return c >= QLatin1Char('1') && c <= QLatin1Char('9');
}

const QChar Minus = QLatin1Char('-');

// Pasted text may group with another blank than the locale's; it counts all the same.
qsizetype GroupCount(const QString& S)
{
    const QChar group = FormatSettings().ThousandSeparator;
    return std::count_if(S.begin(), S.end(), [group](QChar c) { return IsThousandSeparator(c, group); });
}

} // namespace

QChar TVelCustomMaskEdit::CharAt(int Pos) const
{
    const QString t = Text();
    return Pos >= 1 && Pos <= t.size() ? t.at(Pos - 1) : QChar();
}

bool TVelCustomMaskEdit::Overwriting() const
{
    return !VelApplication()->InsertMode() || ForceOverwriteMode();
}

// A caret move of the filter never selects, whatever modifier is held.
void TVelCustomMaskEdit::MoveCaret(int Pos)
{
    SetCursorPos(Pos);
    SetSelLength(0);
    SetSelStart(CursorPos());
}

void TVelCustomMaskEdit::SetTextSilently(const QString& S)
{
    const QScopedValueRollback silent(silent_, true);
    SetText(S);
}

void TVelCustomMaskEdit::KeyPress(QChar& Key)
{
    // A disabled edit only reports the key; the base knows that.
    if ((kind_ != ikInteger && kind_ != ikFloat && kind_ != ikFixed && kind_ != ikNumber) || !isEnabled()) {
        TVelCustomEdit::KeyPress(Key);
        return;
    }
    Key = Key.toUpper();
    if (Key == Minus) {
        ToggleSign();
        return;
    }
    if (TypedCharAccepted(Key)) {
        TVelCustomEdit::KeyPress(Key);
        return;
    }
    if (kind_ != ikInteger)
        StepIntoFraction();
    // Refused: the key-press event still sees the character, the text does not.
    TVelCustomBevelPanel::KeyPress(Key); // NOLINT(bugprone-parent-virtual-call)
}

bool TVelCustomMaskEdit::TypedCharAccepted(QChar C)
{
    if (kind_ == ikInteger) {
        ReplaceLeadingZero(C);
        return IsDecimalDigit(C) && (Text().isEmpty() || CharAt(CursorPos()) != Minus);
    }
    if (!ForceOverwriteMode())
        ReplaceLeadingZero(C);
    if (IsDecimalDigit(C)) {
        const QChar at = CharAt(CursorPos());
        if (at == decimalSeparator_ && ForceOverwriteMode())
            return false;
        return Text().isEmpty() || at != Minus || (SelStart() == 1 && SelLength() > 0);
    }
    if (C == decimalSeparator_) {
        const QString t = Text();
        const qsizetype minus = t.indexOf(Minus);
        return !t.contains(decimalSeparator_) && (minus < 0 || minus + 1 < CursorPos());
    }
    return false;
}

// A zero standing alone in the integer part gives way to the first digit typed, so "0.0" and "7"
// make "7.0" rather than "70.0".
void TVelCustomMaskEdit::ReplaceLeadingZero(QChar C)
{
    const QString t = Text();
    if (t.isEmpty() || SelLength() > 0 || !IsDecimalDigit(C) || !VelApplication()->InsertMode() || !EditAllowed())
        return;
    const int sep = static_cast<int>(t.indexOf(decimalSeparator_)) + 1; // 0: none
    bool applies = false;
    if (kind_ == ikInteger) {
        applies = sep == 0 && AsInteger() == 0;
    } else if (sep == 0) {
        applies = AsFloat() == 0;
    } else if (sep >= 2 && CursorPos() <= sep) {
        applies = AsFloat().Abs() < 1;
    }
    if (!applies)
        return;
    int p = sep == 0 ? 1 : sep - 1;
    if (CharAt(p) == Minus)
        ++p;
    // Only a zero gives way; "-" alone or a text ending in the sign keeps its characters.
    if (CharAt(p) != QLatin1Char('0'))
        return;
    QString s = t;
    s.remove(p - 1, 1);
    SetTextSilently(s);
    MoveCaret(p);
}

void TVelCustomMaskEdit::ToggleSign()
{
    if (!EditAllowed())
        return;
    if (SelLength() > 0) {
        const QString before = Text();
        ReplaceSelection(QString(Minus));
        // A value that was not zero is re-read as zero and written back without the sign just
        // typed; it is put back, so that the next digit typed makes a negative number.
        const bool zero = kind_ == ikInteger ? AsInteger() == 0 : AsFloat() == 0;
        if (Text() != before && zero && !TextWithoutSuffix().startsWith(Minus))
            SetText(Minus + Text());
        if (Text().size() >= 2) {
            MoveCaret(2);
            SetSelLength(1);
        }
        return;
    }
    const int caret = CursorPos();
    QString t = Text();
    // A sign inside the suffix is part of the unit, not of the number.
    const qsizetype minus = TextWithoutSuffix().indexOf(Minus);
    if (minus >= 0) {
        t.remove(minus, 1);
        SetText(t);
        MoveCaret(caret - 1);
    } else {
        SetText(Minus + t);
        MoveCaret(caret + 1);
    }
}

// Typing in front of the separator, the separator itself included, steps over it into the fraction.
void TVelCustomMaskEdit::StepIntoFraction()
{
    if (CharAt(CursorPos()) == decimalSeparator_ && !lastEditWasDeletion_)
        MoveCaret(CursorPos() + 1);
}

bool TVelCustomMaskEdit::CanModify(const QString& S)
{
    lastEditWasDeletion_ = S.isEmpty();
    if (!TVelCustomEdit::CanModify(S))
        return false;
    if (keepingZero_)
        return true;
    if (!GuardNumberShape(S))
        return false;
    return !SuffixGuardRefuses(S);
}

// The decimal separator of the fixed and grouped kinds is part of the number's shape: it is never
// deleted alone nor overwritten, and the last integer digit is kept as a zero.
bool TVelCustomMaskEdit::GuardNumberShape(const QString& S)
{
    if (kind_ != ikFixed && kind_ != ikNumber && kind_ != ikCurrency)
        return true;
    if (CursorPos() > Text().size())
        return true;
    const int start = SelStart();
    if (S.isEmpty() && SelLength() == 1 && CharAt(start + 1) == decimalSeparator_ &&
        (start == 1 || !IsNonZeroDigit(CharAt(start - 1)))) {
        keepingZero_ = true;
        ReplaceSelection(QStringLiteral("0"));
        keepingZero_ = false;
        return RefuseWithStep();
    }
    if (CharAt(CursorPos()) == decimalSeparator_ && Overwriting()) {
        StepCaret();
        // Past the end there is nothing left to overwrite.
        return CursorPos() <= Text().size();
    }
    if (S.isEmpty() && SelLength() == 1 && CharAt(start) == decimalSeparator_)
        return RefuseWithStep();
    return true;
}

bool TVelCustomMaskEdit::RefuseWithStep()
{
    SetSelLength(0);
    StepCaret();
    return false;
}

// After a refused or redirected edit the caret goes the way the key was heading.
void TVelCustomMaskEdit::StepCaret()
{
    const int length = static_cast<int>(Text().size());
    int c = CursorPos();
    if (lastKey_ == VK_BACK)
        c = std::max(1, c - 1);
    else if (lastKey_ == VK_DELETE)
        c = c + 1;
    else
        c = std::clamp(c + 1, 1, std::max(length, 1));
    MoveCaret(c);
}

// Text is typed up to the suffix, never into it.
bool TVelCustomMaskEdit::SuffixGuardRefuses(const QString& S) const
{
    if (kind_ != ikInteger && kind_ != ikFloat && kind_ != ikFixed && kind_ != ikNumber)
        return false;
    const QString suffix = EffectiveSuffix();
    const int length = static_cast<int>(Text().size());
    if (S.isEmpty() || suffix.isEmpty() || TextWithoutSuffix().isEmpty() || SelLength() >= length)
        return false;
    const int n = Overwriting() ? 1 : 2;
    return CursorPos() >= length + n - static_cast<int>(suffix.size());
}

void TVelCustomMaskEdit::KeyDown(std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    lastKey_ = Key;
    TVelCustomEdit::KeyDown(Key, Shift);
}

void TVelCustomMaskEdit::ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    const bool numberKind = kind_ != ikMask;
    if (numberKind && (Key == VK_BACK || Key == VK_DELETE) && !(Shift & Qt::ShiftModifier) && EditAllowed()) {
        lastKey_ = Key;
        if (!KeepDeletionOutOfSuffix(Key))
            return;
        if (kind_ == ikNumber || kind_ == ikCurrency)
            SkipThousandSeparator(Key);
    }
    TVelCustomEdit::ProcessKey(Key, Shift);
}

// Backspace and Delete remove digits, not the suffix. False when nothing is left to delete.
bool TVelCustomMaskEdit::KeepDeletionOutOfSuffix(std::uint16_t Key)
{
    const QString suffix = EffectiveSuffix();
    const QString t = Text();
    if (suffix.isEmpty() || !t.endsWith(suffix))
        return true;
    const int suffixStart = static_cast<int>(t.size() - suffix.size()) + 1;
    if (SelLength() > 0) {
        if (SelStart() + SelLength() <= suffixStart)
            return true;
        if (SelStart() >= suffixStart)
            return false;
        SetSelLength(suffixStart - SelStart());
        return true;
    }
    if (Key == VK_DELETE)
        return CursorPos() < suffixStart;
    if (CursorPos() > suffixStart)
        MoveCaret(suffixStart);
    return true;
}

// Deleting next to a thousand separator removes the digit beyond it: the separator alone would
// only come back with the regrouping.
void TVelCustomMaskEdit::SkipThousandSeparator(std::uint16_t Key)
{
    if (SelLength() > 0)
        return;
    const int c = CursorPos();
    if (Key == VK_DELETE && IsThousandSeparator(CharAt(c), thousandSeparator_) && c < Text().size())
        MoveCaret(c + 1);
    else if (Key == VK_BACK && c > 2 && IsThousandSeparator(CharAt(c - 1), thousandSeparator_))
        MoveCaret(c - 1);
}

void TVelCustomMaskEdit::BeforeEdit()
{
    anchors_.emplace_back();
    TVelCustomEdit::BeforeEdit();
}

void TVelCustomMaskEdit::FilterInsertText(int At, QString& S)
{
    TVelCustomEdit::FilterInsertText(At, S);
    if (anchors_.empty())
        return;
    TEditAnchor& a = anchors_.back();
    a.Known = true;
    a.RawText = Text();
    a.Caret = At;
    const bool fits = !(MaxLength() > 0 && Text().size() + S.size() > MaxLength());
    if (fits) {
        a.RawText.insert(std::clamp<qsizetype>(At, 1, a.RawText.size() + 1) - 1, S);
        if (!IsDeletionEdit())
            a.Caret += static_cast<int>(S.size());
    }
}

// When the reformat after an edit regroups the integer digits, the caret keeps the characters to
// its right, so it stays in front of the digit it stood before: "1234" typed becomes "1,234" with
// the caret after the 4, and the next digit goes behind it.
void TVelCustomMaskEdit::AfterEdit()
{
    if (anchors_.empty()) {
        TVelCustomEdit::AfterEdit();
        return;
    }
    const TEditAnchor a = anchors_.back();
    anchors_.pop_back();
    const QString t = Text();
    if (a.Known && GroupCount(a.RawText) != GroupCount(t)) {
        const int right = static_cast<int>(a.RawText.size()) - (a.Caret - 1);
        MoveCaret(std::max(1, static_cast<int>(t.size()) + 1 - right));
    }
    TVelCustomEdit::AfterEdit();
}
