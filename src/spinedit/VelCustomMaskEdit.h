#pragma once

#include <QChar>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "VelCurrencySettings.h"
#include "VelCustomEdit.h"
#include "VelErrors.h"
#include "VelNumberText.h"

// A reader was asked for a kind of number the edit does not hold.
class EVelWrongDataType : public EVelException {
public:
    using EVelException::EVelException;
};

// How the mask edit reads and writes its text. The number kinds match TVelNumberType one to one;
// the pattern mask keeps whatever is typed.
enum TVelInputKind { ikMask, ikInteger, ikFloat, ikFixed, ikNumber, ikCurrency };

TVelInputKind InputKindOf(TVelNumberType Type);

// Shows a message to the user. Construction warns through it; tests replace it so that nothing
// waits for a click. Returns the previous one.
using TVelMessageBoxHook = std::function<void(const QString& Text)>;
TVelMessageBoxHook SetVelMessageBoxHook(TVelMessageBoxHook Hook);

// The number format of the spin edits: decimals, bounds, suffix, the readers that turn the text
// into a number and the writer that turns a number into text, and the reformat that keeps the
// text in its shape after every change.
class TVelCustomMaskEdit : public TVelCustomEdit {
    Q_OBJECT

public:
    explicit TVelCustomMaskEdit(QWidget* parent = nullptr);
    ~TVelCustomMaskEdit() override;

    int Decimals() const { return decimals_; }
    void SetDecimals(int Value) { SetDecimalsIdx(0, Value); }
    void SetDecimalsIdx(int Index, int Value);

    double MinValue() const { return minValue_; }
    void SetMinValue(double Value) { SetBoundIdx(1, Value); }
    double MaxValue() const { return maxValue_; }
    void SetMaxValue(double Value) { SetBoundIdx(2, Value); }
    // Keeps MinValue <= MaxValue by dragging the other bound along; never touches the text.
    void SetBoundIdx(int Index, double Value);

    const QString& Suffix() const { return suffix_; }
    void SetSuffix(const QString& Value);
    // Only the integer and float kinds carry the suffix in their text.
    QString EffectiveSuffix() const;
    QString TextWithoutSuffix() const;

    TVelCurrencySettings* CurrencySettings() const { return currency_.get(); }
    void SetCurrencySettings(const TVelCurrencySettings& Value) { currency_->Assign(Value); }

    TVelInputKind InputKind() const { return kind_; }

    // The separators the typing filter works with, as the locale had them at construction.
    QChar CapturedDecimalSeparator() const { return decimalSeparator_; }
    QChar CapturedThousandSeparator() const { return thousandSeparator_; }

    // Readers of the current text. A text that is no number fires OnValidationError and reads 0;
    // a reader of another kind raises EVelWrongDataType.
    qint32 AsInteger() const;
    TVelExtended AsFloat() const;
    TVelExtended AsCurrency() const;

    // Writes x in the current kind; the value itself follows through the text change.
    void ShowValue(double X);

    // The post-load step: runs once the window description has been applied.
    void Loaded() override;

    TNotifyEvent OnValidationError;

protected:
    virtual void DoValidationError();

    void SetInputKind(TVelInputKind Kind) { kind_ = Kind; }
    // x as the current kind writes it, without suffix. Raises EVelConvertError for a money amount
    // beyond 64 bits of ten-thousandths.
    QString KindText(double X, TVelInputKind Kind) const;
    QString KindText(double X) const { return KindText(X, kind_); }
    bool IsNumberKind() const { return kind_ != ikMask; }

    void TextChangedAt(int At) override;
    void WndProc(TMessage& Message) override;

    // The typing filter: what may be typed or deleted, and where the caret goes.
    void KeyPress(QChar& Key) override;
    void KeyDown(std::uint16_t& Key, Qt::KeyboardModifiers Shift) override;
    void ProcessKey(std::uint16_t& Key, Qt::KeyboardModifiers Shift) override;
    bool CanModify(const QString& S) override;
    void BeforeEdit() override;
    void FilterInsertText(int At, QString& S) override;
    void AfterEdit() override;
    // Whether the user may change the text at all; the filter's own edits ask it first.
    virtual bool EditAllowed() const { return !ReadOnly(); }
    // True while the filter rewrites the text behind the user's keystroke: no reading back, no
    // reformat, no notification.
    bool SilentTextChange() const { return silent_; }

private:
    // Reading reports through an event and never changes the edit, so the readers stay const.
    void ReportValidationError() const { const_cast<TVelCustomMaskEdit*>(this)->DoValidationError(); }
    bool Reformat();
    void RepairStoredSeparator();

    // Caret and text of an edit the reformat may regroup; taken per edit, so nested edits from
    // event handlers keep their own.
    struct TEditAnchor {
        bool Known = false;
        QString RawText;
        int Caret = 1;
    };

    bool TypedCharAccepted(QChar C);
    void ReplaceLeadingZero(QChar C);
    void ToggleSign();
    void StepIntoFraction();
    bool GuardNumberShape(const QString& S);
    bool RefuseWithStep();
    void StepCaret();
    bool SuffixGuardRefuses(const QString& S) const;
    bool KeepDeletionOutOfSuffix(std::uint16_t Key);
    void SkipThousandSeparator(std::uint16_t Key);
    void MoveCaret(int Pos);
    void SetTextSilently(const QString& S);
    QChar CharAt(int Pos) const;
    bool Overwriting() const;

    int decimals_ = 1;
    double minValue_ = -1.0;
    double maxValue_ = -1.0;
    QString suffix_;
    std::unique_ptr<TVelCurrencySettings> currency_;
    TVelInputKind kind_ = ikMask;
    QChar decimalSeparator_;
    QChar thousandSeparator_;
    std::uint16_t lastKey_ = 0;
    bool lastEditWasDeletion_ = false;
    bool keepingZero_ = false;
    bool silent_ = false;
    std::vector<TEditAnchor> anchors_;
};
