#pragma once

#include <QChar>
#include <QString>
#include <functional>
#include <memory>

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
    long double AsFloat() const;
    long double AsCurrency() const;

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

private:
    // Reading reports through an event and never changes the edit, so the readers stay const.
    void ReportValidationError() const { const_cast<TVelCustomMaskEdit*>(this)->DoValidationError(); }
    bool Reformat();
    void RepairStoredSeparator();

    int decimals_ = 1;
    double minValue_ = -1.0;
    double maxValue_ = -1.0;
    QString suffix_;
    std::unique_ptr<TVelCurrencySettings> currency_;
    TVelInputKind kind_ = ikMask;
    QChar decimalSeparator_;
    QChar thousandSeparator_;
};
