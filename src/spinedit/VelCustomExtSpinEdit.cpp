#include "VelCustomExtSpinEdit.h"

#include <QScopedValueRollback>
#include <cmath>

namespace {

// Round half to even, saturated far inside 64 bits so that adding it to a 32-bit value cannot
// overflow.
qint64 RoundHalfEven(double X)
{
    if (std::isnan(X))
        return 0;
    constexpr double limit = 4611686018427387904.0; // 2^62
    return static_cast<qint64>(std::nearbyint(std::clamp(X, -limit, limit)));
}

} // namespace

// Event order for one assignment that changes the shown text: OnValueChanging; then, from the
// text change, the nested value events of the re-read (when it differs), OnTextChangedAt and
// OnChange; then OnValueChanged.
void TVelCustomExtSpinEdit::SetValueIdx(int Index, double NewValue)
{
    if (Index != 2)
        return;
    // The focus-loss commit re-runs clamping and formatting for an unchanged value, once: the
    // text it writes is read back and may be reshaped (a fixed edit with 0 decimals shows "5.0"
    // as "5"), and re-running each of those reads would never end.
    const bool recommit = exiting_ && checkOnExitOnly_ && !exitRecommitted_;
    if (NewValue == value_ && !recommit)
        return;
    if (recommit)
        exitRecommitted_ = true;
    bool canModify = true;
    const double oldValue = value_;
    DoValueChanging(this, NewValue, canModify);
    double v = canModify ? NewValue : value_;
    if (exiting_ || !checkOnExitOnly_) {
        if (!infiniteMax_ && v > MaxValue())
            v = MaxValue();
        if (!infiniteMin_ && v < MinValue())
            v = MinValue();
    }
    // Written before it is stored: a value the kind cannot show (money beyond 64 bits of
    // ten-thousandths) raises and leaves the edit as it was, not holding a value it does not show.
    const QString text = ValueText(v);
    value_ = v;
    if (autoDisableButtons_)
        UpdateButtons();
    // A changed text is read back at once, so Value ends equal to what is shown.
    SetText(text);
    if (value_ != oldValue) {
        NotifyAccessibleValue();
        DoValueChanged(this, oldValue, value_);
    }
}

void TVelCustomExtSpinEdit::SetEditType(TVelNumberType Value)
{
    if (Value == editType_)
        return;
    editType_ = Value;
    if (InputKindOf(Value) != InputKind())
        ReadOldKindAndShow();
}

void TVelCustomExtSpinEdit::ReadOldKindAndShow()
{
    double v = 0;
    switch (InputKind()) {
    case ikInteger: v = AsInteger(); break;
    case ikFloat:
    case ikFixed:
    case ikNumber: v = static_cast<double>(AsFloat()); break;
    case ikCurrency: v = static_cast<double>(AsCurrency()); break;
    case ikMask: break;
    }
    SetInputKind(InputKindOf(editType_));
    try {
        ShowValue(v);
    } catch (const EVelException&) {
        DoValidationError();
    }
}

void TVelCustomExtSpinEdit::SetAutoDisableButtons(bool Value)
{
    if (Value == autoDisableButtons_)
        return;
    autoDisableButtons_ = Value;
    UpdateButtons();
}

QString TVelCustomExtSpinEdit::ValueText(double X) const
{
    // Money carries no suffix: the reader would not strip it and the reformat would fight it.
    if (editType_ == ntCurrency)
        return KindText(X, ikCurrency);
    return KindText(X, InputKindOf(editType_)) + Suffix();
}

void TVelCustomExtSpinEdit::StepUp(double S)
{
    if (ReadOnly())
        return;
    // A screen reader hears the new text and the caret where it stays, not the way through them.
    const TChangeScope change(*this);
    const int selStart = SelStart();
    switch (editType_) {
    case ntInteger: {
        const qint64 c = qint64(AsInteger()) + RoundHalfEven(S);
        const double top = std::trunc(MaxValue());
        ShowValue(!infiniteMax_ && double(c) >= top ? top : double(c));
        break;
    }
    case ntCurrency: StepFloat(&TVelCustomMaskEdit::AsCurrency, true, false, S); break;
    default: StepFloat(&TVelCustomMaskEdit::AsFloat, true, true, S); break;
    }
    RestoreCaret(selStart);
}

void TVelCustomExtSpinEdit::StepDown(double S)
{
    if (ReadOnly())
        return;
    const TChangeScope change(*this);
    const int selStart = SelStart();
    switch (editType_) {
    case ntInteger: {
        const qint32 v = AsInteger();
        const double bottom = std::trunc(MinValue());
        ShowValue(!infiniteMin_ && double(v) - S <= bottom ? bottom : double(v - RoundHalfEven(S)));
        break;
    }
    case ntCurrency: StepFloat(&TVelCustomMaskEdit::AsCurrency, false, false, S); break;
    default: StepFloat(&TVelCustomMaskEdit::AsFloat, false, true, S); break;
    }
    RestoreCaret(selStart);
}

// A text outside the bounds (typed with CheckOnExitOnly) is first brought onto the bound it
// passed, then stepped; a step that would pass a bound lands on it.
void TVelCustomExtSpinEdit::StepFloat(TVelExtended (TVelCustomMaskEdit::*Read)() const, bool Up, bool ClampFirst,
                                      double S)
{
    if (Up) {
        if (ClampFirst && !infiniteMin_ && (this->*Read)() < MinValue())
            ShowValue(MinValue());
        const TVelExtended d = CaretInFraction() ? fractionStep_ : S;
        const TVelExtended v = (this->*Read)();
        ShowValue(!infiniteMax_ && v + d >= MaxValue() ? MaxValue() : static_cast<double>(v + d));
    } else {
        if (ClampFirst && !infiniteMax_ && (this->*Read)() > MaxValue())
            ShowValue(MaxValue());
        const TVelExtended d = CaretInFraction() ? fractionStep_ : S;
        const TVelExtended v = (this->*Read)();
        ShowValue(infiniteMin_ || v - d > MinValue() ? static_cast<double>(v - d) : MinValue());
    }
}

// The caret keeps its character position, so a step in the fraction leaves it there. A held
// Shift must not turn the move into a selection: the step keys ignore modifiers.
void TVelCustomExtSpinEdit::RestoreCaret(int SelStart)
{
    if (Text().size() + 1 < SelStart)
        return;
    SetCursorPos(SelStart);
    SetSelLength(0);
    SetSelStart(CursorPos());
}

bool TVelCustomExtSpinEdit::CaretInFraction() const
{
    const qsizetype sep = Text().indexOf(FormatSettings().DecimalSeparator);
    return sep >= 0 && sep + 1 < CursorPos();
}

void TVelCustomExtSpinEdit::UpdateButtons()
{
    if (!halves_)
        return;
    halves_->SetHalfState(IVelSpinButtonHalves::shUp, IVelSpinButtonHalves::ssNormal);
    halves_->SetHalfState(IVelSpinButtonHalves::shDown, IVelSpinButtonHalves::ssNormal);
    if (!autoDisableButtons_)
        return;
    if (!infiniteMax_ && value_ >= MaxValue())
        halves_->SetHalfState(IVelSpinButtonHalves::shUp, IVelSpinButtonHalves::ssDisabled);
    if (!infiniteMin_ && value_ <= MinValue())
        halves_->SetHalfState(IVelSpinButtonHalves::shDown, IVelSpinButtonHalves::ssDisabled);
}

void TVelCustomExtSpinEdit::SetSpinButtonHalves(IVelSpinButtonHalves* Halves)
{
    halves_ = Halves;
    UpdateButtons();
}

void TVelCustomExtSpinEdit::SpinUpClick()
{
    if (isVisible())
        setFocus(Qt::OtherFocusReason);
    StepUp(step_);
    if (OnSpinBtnUpClick)
        OnSpinBtnUpClick(this);
}

void TVelCustomExtSpinEdit::SpinDownClick()
{
    if (isVisible())
        setFocus(Qt::OtherFocusReason);
    StepDown(step_);
    if (OnSpinBtnDownClick)
        OnSpinBtnDownClick(this);
}

void TVelCustomExtSpinEdit::DoValueChanging(QObject* Sender, double& Val, bool& CanModify)
{
    if (OnValueChanging)
        OnValueChanging(Sender, Val, CanModify);
}

void TVelCustomExtSpinEdit::DoValueChanged(QObject* Sender, double OldVal, double NewVal)
{
    if (OnValueChanged)
        OnValueChanged(Sender, OldVal, NewVal);
}

double TVelCustomExtSpinEdit::ReadByEditType() const
{
    switch (editType_) {
    case ntInteger: return AsInteger();
    case ntCurrency: return static_cast<double>(AsCurrency());
    case ntFloat:
    case ntFloatFixed:
    case ntFloatNumber: break;
    }
    return static_cast<double>(AsFloat());
}

void TVelCustomExtSpinEdit::RefreshValueFromText()
{
    SetValueIdx(2, ReadByEditType());
    if (editType_ == ntCurrency) {
        const QString shown = ValueText(value_);
        if (shown != Text())
            SetText(shown);
    }
}

void TVelCustomExtSpinEdit::CommitOnExit()
{
    exitRecommitted_ = false;
    const QScopedValueRollback exiting(exiting_, true);
    RefreshValueFromText();
}

void TVelCustomExtSpinEdit::TextChangedAt(int At)
{
    if (!SilentTextChange())
        RefreshValueFromText();
    TVelCustomMaskEdit::TextChangedAt(At);
}

bool TVelCustomExtSpinEdit::CanModify(const QString& S)
{
    if (!editorEnabled_)
        return false;
    return TVelCustomMaskEdit::CanModify(S);
}

void TVelCustomExtSpinEdit::ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    // Recognised by key code alone: modifiers do not turn a step into a caret move.
    switch (Key) {
    case VK_UP: StepUp(step_); break;
    case VK_DOWN: StepDown(step_); break;
    case VK_PRIOR: StepUp(largeStep_); break;
    case VK_NEXT: StepDown(largeStep_); break;
    default: TVelCustomMaskEdit::ProcessKey(Key, Shift); break;
    }
}

void TVelCustomExtSpinEdit::Loaded()
{
    TVelCustomMaskEdit::Loaded();
    SetInputKind(InputKindOf(editType_));
    if (editType_ == ntInteger)
        SetBoundIdx(1, std::trunc(MinValue()));
}
