#pragma once

#include <functional>
#include <memory>

#include "VelCustomMaskEdit.h"

class TVelSpinButton;

// What the value model needs of its spin button: putting a half into a state. Halves and states
// are numbered as in the enable message the button answers (halves: 1 down, 2 up; states: 0
// normal, 3 disabled).
class IVelSpinButtonHalves {
public:
    enum : int { shDown = 1, shUp = 2 };
    enum : int { ssNormal = 0, ssDisabled = 3 };

    virtual void SetHalfState(int Halves, int State) = 0;

protected:
    ~IVelSpinButtonHalves() = default;
};

using TVelOnValueChangingEvent = std::function<void(QObject* Sender, double& Val, bool& CanModify)>;
using TVelOnValueChangedEvent = std::function<void(QObject* Sender, double OldVal, double NewVal)>;

// The number spin edit: a Double value kept equal to what the text shows, bounds, three step
// sizes and the stepping itself, and the value events.
//
// The edit owns its spin button, placed at the right of the inner rectangle; the text area ends
// where the button begins.
class TVelCustomExtSpinEdit : public TVelCustomMaskEdit {
    Q_OBJECT

public:
    explicit TVelCustomExtSpinEdit(QWidget* parent = nullptr);
    ~TVelCustomExtSpinEdit() override;

    double Value() const { return value_; }
    void SetValue(double Value) { SetValueIdx(2, Value); }
    // The one place Value changes; see the event order in the implementation.
    void SetValueIdx(int Index, double NewValue);

    TVelNumberType EditType() const { return editType_; }
    void SetEditType(TVelNumberType Value);

    double Step() const { return step_; }
    void SetStep(double Value) { step_ = Value; }
    double LargeStep() const { return largeStep_; }
    void SetLargeStep(double Value) { largeStep_ = Value; }
    // Replaces the step while the caret stands right of the decimal separator.
    double FractionStep() const { return fractionStep_; }
    void SetFractionStep(double Value) { fractionStep_ = Value; }

    bool InfiniteMin() const { return infiniteMin_; }
    void SetInfiniteMin(bool Value) { infiniteMin_ = Value; }
    bool InfiniteMax() const { return infiniteMax_; }
    void SetInfiniteMax(bool Value) { infiniteMax_ = Value; }
    // Clamp only when the focus leaves, so a number can be typed through values outside the bounds.
    bool CheckOnExitOnly() const { return checkOnExitOnly_; }
    void SetCheckOnExitOnly(bool Value) { checkOnExitOnly_ = Value; }
    bool AutoDisableButtons() const { return autoDisableButtons_; }
    void SetAutoDisableButtons(bool Value);
    // False refuses typing, pasting and deleting; stepping still works.
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool Value) { editorEnabled_ = Value; }

    TVelSpinButton* SpinButton() const { return button_.get(); }
    // Index 0: the button's width, -1 making it as wide as the inner rectangle is high; other
    // indices do nothing and read -1.
    int SpinBtnWidthIdx(int Index) const { return Index == 0 ? spinBtnWidth_ : -1; }
    void SetSpinBtnWidthIdx(int Index, int Value);
    int SpinBtnWidth() const { return spinBtnWidth_; }
    void SetSpinBtnWidth(int Value) { SetSpinBtnWidthIdx(0, Value); }
    // Index 0 the button's colour, 1 its hot (arrow) colour; other indices read clNone.
    TColor SpinBtnColorIdx(int Index) const;
    void SetSpinBtnColorIdx(int Index, TColor Value);
    TColor SpinBtnColor() const { return SpinBtnColorIdx(0); }
    void SetSpinBtnColor(TColor Value) { SetSpinBtnColorIdx(0, Value); }
    TColor SpinBtnHotColor() const { return SpinBtnColorIdx(1); }
    void SetSpinBtnHotColor(TColor Value) { SetSpinBtnColorIdx(1, Value); }
    bool SpinBtnDiag() const;
    void SetSpinBtnDiag(bool Value);
    quint16 Interval() const;
    void SetInterval(quint16 Value);

    // Whether a stored description writes the property: Value and the bounds always, the others
    // when they differ from their defaults.
    virtual bool PropertyStored(const QString& Name) const;

    // The display text of x for the current EditType, with the suffix.
    QString ValueText(double X) const;

    void StepUp(double S);
    void StepDown(double S);
    void UpdateButtons();

    // The spin button attaches itself here; the edit does not own it through this pointer.
    void SetSpinButtonHalves(IVelSpinButtonHalves* Halves);

    // The post-load step: runs once the window description has been applied.
    void Loaded() override;

    QAccessibleInterface* CreateAccessibleInterface() override;
    // A bevel change moves the inner rectangle, and the button with it.
    void SubObjectChanged(QObject* Sender) override;

    TVelOnValueChangingEvent OnValueChanging;
    TVelOnValueChangedEvent OnValueChanged;
    TNotifyEvent OnSpinBtnUpClick, OnSpinBtnDownClick;
    // Each wheel notch over the focused edit, before its step.
    TNotifyEvent OnMouseWheelUp, OnMouseWheelDown;

protected:
    virtual void SpinUpClick();
    virtual void SpinDownClick();
    virtual void DoValueChanging(QObject* Sender, double& Val, bool& CanModify);
    virtual void DoValueChanged(QObject* Sender, double OldVal, double NewVal);

    bool Exiting() const { return exiting_; }
    // Clamps and reformats what was typed; runs when the keyboard focus leaves.
    void CommitOnExit();

    void TextChangedAt(int At) override;
    bool CanModify(const QString& S) override;
    bool EditAllowed() const override { return editorEnabled_ && TVelCustomMaskEdit::EditAllowed(); }
    // The step keys are looked at here, after OnKeyDown had its say in KeyDown.
    void ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers Shift) override;
    bool DoMouseWheelUp() override;
    bool DoMouseWheelDown() override;
    void WndProc(TMessage& Message) override;
    void LayoutButtons(QRect& EditArea) override;
    void ThemeModeChanged() override;
    void MouseLeft() override;
    // Sends a value-change event to screen readers when one listens.
    void NotifyAccessibleValue();

private:
    class TButtonHalves;
    void CreateSpinButton();
    double ReadByEditType() const;
    void RefreshValueFromText();
    bool CaretInFraction() const;
    void RestoreCaret(int SelStart);
    void StepFloat(TVelExtended (TVelCustomMaskEdit::*Read)() const, bool Up, bool ClampFirst, double S);
    void ReadOldKindAndShow();

    double value_ = 0.0;
    TVelNumberType editType_ = ntInteger;
    double step_ = 1.0;
    double largeStep_ = 10.0;
    double fractionStep_ = 0.1;
    bool infiniteMin_ = false;
    bool infiniteMax_ = false;
    bool checkOnExitOnly_ = false;
    bool autoDisableButtons_ = false;
    bool editorEnabled_ = true;
    bool exiting_ = false;
    // The focus-loss commit re-runs an unchanged value once; the re-reads it causes do not.
    bool exitRecommitted_ = false;
    IVelSpinButtonHalves* halves_ = nullptr;
    int spinBtnWidth_ = -1;
    std::unique_ptr<TVelSpinButton> button_;
    std::unique_ptr<TButtonHalves> buttonHalves_;
};
