// The spin edit as a control: its spin button (creation, place, colours, enable and theme
// state), the pointer reset, the wheel, what a stored description writes and what a screen
// reader is told.
#include <QStringList>
#include <algorithm>

#include "VelCustomExtSpinEdit.h"
#include "VelSpinButton.h"
#include "VelSpinEditAccessible.h"

// The value model puts halves into states through the enable message the button answers.
class TVelCustomExtSpinEdit::TButtonHalves final : public IVelSpinButtonHalves {
public:
    explicit TButtonHalves(TVelSpinButton& Button) : button_(Button) {}
    void SetHalfState(int Halves, int State) override
    {
        button_.Perform(CM_ENABLEDCHANGED, WPARAM(Halves), LPARAM(State));
    }

private:
    TVelSpinButton& button_;
};

// The value defaults come first, so the button is created on an edit already showing "0".
TVelCustomExtSpinEdit::TVelCustomExtSpinEdit(QWidget* parent) : TVelCustomMaskEdit(parent)
{
    SetInputKind(ikInteger);
    SetBoundIdx(1, 0.0);
    SetBoundIdx(2, 100.0);
    LockUpdates();
    ShowValue(0);
    UnlockUpdates(false);
    CreateSpinButton();
}

TVelCustomExtSpinEdit::~TVelCustomExtSpinEdit()
{
    // The button goes first: nothing may reach the edit's handlers from it once destruction runs.
    halves_ = nullptr;
    if (button_) {
        button_->OnUpClick = button_->OnDownClick = button_->OnUpHorzClick = button_->OnDownHorzClick = nullptr;
        button_.reset();
    }
}

void TVelCustomExtSpinEdit::CreateSpinButton()
{
    button_ = std::make_unique<TVelSpinButton>();
    button_->SetThemeMode(ThemeMode());
    button_->SetColor(clBtnFace);
    button_->SetHalves(kSpinUpDown);
    button_->SetDrawingStyle(0);
    button_->SetCursor(Qt::ArrowCursor);
    button_->OnUpClick = button_->OnUpHorzClick = [this](QObject*) { SpinUpClick(); };
    button_->OnDownClick = button_->OnDownHorzClick = [this](QObject*) { SpinDownClick(); };
    button_->SetParent(this);
    buttonHalves_ = std::make_unique<TButtonHalves>(*button_);
    halves_ = buttonHalves_.get();
    UpdateTextRect();
}

void TVelCustomExtSpinEdit::SetSpinBtnWidthIdx(int Index, int Value)
{
    if (Index != 0 || Value == spinBtnWidth_)
        return;
    spinBtnWidth_ = Value;
    UpdateTextRect();
    update();
}

TColor TVelCustomExtSpinEdit::SpinBtnColorIdx(int Index) const
{
    switch (Index) {
    case 0: return button_->Color();
    case 1: return button_->HotColor();
    default: return clNone;
    }
}

void TVelCustomExtSpinEdit::SetSpinBtnColorIdx(int Index, TColor Value)
{
    switch (Index) {
    case 0: button_->SetColor(Value); break;
    case 1: button_->SetHotColor(Value); break;
    default: break;
    }
}

bool TVelCustomExtSpinEdit::SpinBtnDiag() const
{
    return button_->Diagonal();
}

void TVelCustomExtSpinEdit::SetSpinBtnDiag(bool Value)
{
    button_->SetDiagonal(Value);
}

quint16 TVelCustomExtSpinEdit::Interval() const
{
    return button_->Interval();
}

void TVelCustomExtSpinEdit::SetInterval(quint16 Value)
{
    button_->SetInterval(Value);
}

void TVelCustomExtSpinEdit::LayoutButtons(QRect& EditArea)
{
    // The spin button takes the right end of the inner rectangle; custom buttons, if any, line
    // up to its left, and the text never runs under either.
    if (button_) {
        const QRect inner = InnerRect();
        const int w = std::max(0, spinBtnWidth_ == -1 ? inner.height() : spinBtnWidth_);
        const int left = inner.left() + inner.width() - w;
        button_->SetBounds(left, inner.top(), w, inner.height());
        EditArea.setRight(std::min(EditArea.right(), left - 1));
    }
    TVelCustomMaskEdit::LayoutButtons(EditArea);
}

void TVelCustomExtSpinEdit::SubObjectChanged(QObject* Sender)
{
    TVelCustomMaskEdit::SubObjectChanged(Sender);
    if (Sender == Bevel())
        UpdateTextRect();
}

void TVelCustomExtSpinEdit::ThemeModeChanged()
{
    if (button_)
        button_->SetThemeMode(ThemeMode());
    TVelCustomMaskEdit::ThemeModeChanged();
}

void TVelCustomExtSpinEdit::MouseLeft()
{
    TVelCustomMaskEdit::MouseLeft();
    if (button_)
        button_->PointerReset();
}

// Only the edit with the keyboard focus takes the wheel, as the platform the library was made
// for delivers it: over an unfocused edit the notch goes on to the parent, so scrolling a window
// past an edit never changes its value.
bool TVelCustomExtSpinEdit::DoMouseWheelUp()
{
    if (!hasFocus())
        return false;
    TVelCustomMaskEdit::DoMouseWheelUp();
    if (OnMouseWheelUp)
        OnMouseWheelUp(this);
    StepUp(step_);
    return true;
}

bool TVelCustomExtSpinEdit::DoMouseWheelDown()
{
    if (!hasFocus())
        return false;
    TVelCustomMaskEdit::DoMouseWheelDown();
    if (OnMouseWheelDown)
        OnMouseWheelDown(this);
    StepDown(step_);
    return true;
}

void TVelCustomExtSpinEdit::WndProc(TMessage& Message)
{
    TVelCustomMaskEdit::WndProc(Message);
    switch (Message.Msg) {
    case WM_KILLFOCUS: CommitOnExit(); break;
    case WM_MOUSEMOVE:
        // Moves that reach the edit itself are over its text, not over the button.
        if (button_)
            button_->PointerReset();
        break;
    case CM_ENABLEDCHANGED:
        if (button_) {
            button_->SetEnabled(isEnabled());
            // The enable message sets both halves; a bound half is disabled again.
            button_->Perform(CM_ENABLEDCHANGED, 0);
            if (isEnabled() && autoDisableButtons_)
                UpdateButtons();
        }
        break;
    default: break;
    }
}

bool TVelCustomExtSpinEdit::PropertyStored(const QString& Name) const
{
    static const QStringList always = {QStringLiteral("Value"), QStringLiteral("MinValue"), QStringLiteral("MaxValue")};
    if (always.contains(Name))
        return true;
    if (Name == u"InfiniteMin")
        return infiniteMin_;
    if (Name == u"InfiniteMax")
        return infiniteMax_;
    if (Name == u"Decimals")
        return Decimals() != 1;
    if (Name == u"EditType")
        return editType_ != ntInteger;
    if (Name == u"Step")
        return step_ != 1.0;
    if (Name == u"LargeStep")
        return largeStep_ != 10.0;
    if (Name == u"FractionStep")
        return fractionStep_ != 0.1;
    if (Name == u"Suffix")
        return !Suffix().isEmpty();
    if (Name == u"CheckOnExitOnly")
        return checkOnExitOnly_;
    if (Name == u"AutoDisableButtons")
        return autoDisableButtons_;
    if (Name == u"EditorEnabled")
        return !editorEnabled_;
    if (Name == u"ReadOnly")
        return ReadOnly();
    if (Name == u"ForceOverwriteMode")
        return ForceOverwriteMode();
    if (Name == u"TabOnEnter")
        return TabOnEnter();
    if (Name == u"Interval")
        return Interval() != 100;
    if (Name == u"SpinBtnWidth")
        return spinBtnWidth_ != -1;
    if (Name == u"SpinBtnColor")
        return SpinBtnColor() != clBtnFace;
    if (Name == u"SpinBtnHotColor")
        return SpinBtnHotColor() != clTeal;
    if (Name == u"SpinBtnDiag")
        return !SpinBtnDiag();
    if (Name == u"AutoSize")
        return AutoSize();
    return false;
}

QAccessibleInterface* TVelCustomExtSpinEdit::CreateAccessibleInterface()
{
    return new TVelSpinEditAccessible(this);
}

void TVelCustomExtSpinEdit::NotifyAccessibleValue()
{
    if (!VelAccessibleListening())
        return;
    QAccessibleValueChangeEvent e(this, value_);
    VelSendAccessibleEvent(e);
}
