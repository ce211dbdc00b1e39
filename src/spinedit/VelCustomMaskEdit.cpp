#include "VelCustomMaskEdit.h"

#include <QMessageBox>
#include <cmath>

#include "FloatToText.h"
#include "VelApplicationTitle.h"
#include "VelMessageBox.h"

namespace {

void ShowMessageBox(const QString& Text)
{
    QMessageBox box(QMessageBox::NoIcon, VelApplicationTitle(), Text, QMessageBox::Ok);
    VelKeepButtonTexts(box);
    box.exec();
}

TVelMessageBoxHook& MessageBoxHook()
{
    static TVelMessageBoxHook hook = ShowMessageBox;
    return hook;
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Money is held in whole ten-thousandths; what does not fit 64 bits of them is no amount.
qint64 ToTenThousandths(double X)
{
    // 2^63 bounds the 64-bit integers.
    constexpr double kLimit = 9223372036854775808.0;
    const TVelExtended r = (TVelExtended(X) * 10000).RoundHalfEven();
    if (!r.IsFinite() || r >= kLimit || r < -kLimit)
        throw EVelConvertError(QStringLiteral("%1 is not a valid currency value").arg(FloatToGeneralText(X)));
    return r.ToInt64();
}

} // namespace

TVelInputKind InputKindOf(TVelNumberType Type)
{
    switch (Type) {
    case ntInteger: return ikInteger;
    case ntFloat: return ikFloat;
    case ntFloatFixed: return ikFixed;
    case ntFloatNumber: return ikNumber;
    case ntCurrency: return ikCurrency;
    }
    return ikInteger;
}

TVelMessageBoxHook SetVelMessageBoxHook(TVelMessageBoxHook Hook)
{
    TVelMessageBoxHook previous = std::move(MessageBoxHook());
    MessageBoxHook() = Hook ? std::move(Hook) : TVelMessageBoxHook(ShowMessageBox);
    return previous;
}

TVelCustomMaskEdit::TVelCustomMaskEdit(QWidget* parent)
    : TVelCustomEdit(parent), currency_(std::make_unique<TVelCurrencySettings>())
{
    const TFormatSettings& fs = FormatSettings();
    decimalSeparator_ = fs.DecimalSeparator;
    thousandSeparator_ = fs.ThousandSeparator;
    // The readers could not tell the two apart; the edit still works, so only warn.
    if (thousandSeparator_ == decimalSeparator_)
        MessageBoxHook()(QStringLiteral("Decimal and thousand separators must differ!"));
}

TVelCustomMaskEdit::~TVelCustomMaskEdit() = default;

void TVelCustomMaskEdit::SetDecimalsIdx(int Index, int Value)
{
    if (Index != 0 || Value == decimals_)
        return;
    decimals_ = Value;
    currency_->SetDecimals(static_cast<quint8>(Value & 0xFF));
    // Re-reading under the new count cuts surplus digits, then the text is rewritten with it.
    TextChangedAt(1);
}

void TVelCustomMaskEdit::SetBoundIdx(int Index, double Value)
{
    if (Index == 1) {
        if (Value == minValue_)
            return;
        minValue_ = Value;
        if (minValue_ > maxValue_)
            maxValue_ = Value;
    } else if (Index == 2) {
        if (Value == maxValue_)
            return;
        maxValue_ = Value;
        if (minValue_ > maxValue_)
            minValue_ = Value;
    }
}

void TVelCustomMaskEdit::SetSuffix(const QString& Value)
{
    if (Value == suffix_)
        return;
    const QString t = TextWithoutSuffix();
    suffix_ = Value;
    SetText(t + EffectiveSuffix());
}

QString TVelCustomMaskEdit::EffectiveSuffix() const
{
    switch (kind_) {
    case ikInteger:
    case ikFloat:
    case ikFixed:
    case ikNumber: return suffix_;
    default: return {};
    }
}

QString TVelCustomMaskEdit::TextWithoutSuffix() const
{
    return ::TextWithoutSuffix(Text(), EffectiveSuffix());
}

qint32 TVelCustomMaskEdit::AsInteger() const
{
    if (kind_ != ikInteger)
        throw EVelWrongDataType(QStringLiteral("No integer entered"));
    const TVelIntegerRead r = ReadIntegerText(TextWithoutSuffix());
    if (r.Failed)
        ReportValidationError();
    return r.Value;
}

TVelExtended TVelCustomMaskEdit::AsFloat() const
{
    if (kind_ != ikFloat && kind_ != ikFixed && kind_ != ikNumber && kind_ != ikCurrency)
        throw EVelWrongDataType(QStringLiteral("No float entered"));
    const TFormatSettings& fs = FormatSettings();
    const int cut = (kind_ == ikFixed || kind_ == ikNumber) ? std::max(decimals_, 0) : -1;
    const TVelFloatRead r = ReadFloatText(TextWithoutSuffix(), cut, fs.DecimalSeparator, fs.ThousandSeparator);
    if (r.Failed)
        ReportValidationError();
    return r.Value;
}

TVelExtended TVelCustomMaskEdit::AsCurrency() const
{
    const std::optional<qint64> v = TextToCurrency(TextWithoutSuffix(), *currency_);
    if (!v) {
        ReportValidationError();
        return 0;
    }
    return TVelExtended(*v) / 10000;
}

QString TVelCustomMaskEdit::KindText(double X, TVelInputKind Kind) const
{
    switch (Kind) {
    case ikInteger: return IntegerValueText(X);
    case ikFloat: return FormatNumber(X, decimals_, TVelNumberStyle::Trimmed, decimals_);
    case ikFixed: return FormatNumber(X, decimals_, TVelNumberStyle::Padded, 1);
    case ikNumber: return FormatNumber(X, decimals_, TVelNumberStyle::Grouped, decimals_);
    case ikCurrency: return CurrencyToText(ToTenThousandths(X), *currency_);
    case ikMask: break;
    }
    return FloatToGeneralText(X);
}

void TVelCustomMaskEdit::ShowValue(double X)
{
    SetText(KindText(X) + EffectiveSuffix());
}

void TVelCustomMaskEdit::DoValidationError()
{
    if (OnValidationError)
        OnValidationError(this);
}

void TVelCustomMaskEdit::TextChangedAt(int At)
{
    if (silent_) {
        BuildDisplayText();
        return;
    }
    if (Reformat())
        TVelCustomEdit::TextChangedAt(At);
    else
        BuildDisplayText();
}

// Puts the text back into the shape of its kind. False when a nested change already reported a
// different text, so that the stale notification for this one is dropped.
bool TVelCustomMaskEdit::Reformat()
{
    bool notify = true;
    const QString suffix = EffectiveSuffix();
    switch (kind_) {
    case ikInteger: {
        if (TextWithoutSuffix().isEmpty()) {
            SetText(QStringLiteral("0") + suffix);
            break;
        }
        QString s = QString::number(AsInteger());
        // Keeps a sign typed ahead of the digits: "-" becomes "-0".
        if (Text().startsWith(QLatin1Char('-')) && !s.startsWith(QLatin1Char('-')))
            s.prepend(QLatin1Char('-'));
        SetText(s + suffix);
        notify = s == TextWithoutSuffix();
        break;
    }
    case ikFixed:
    case ikNumber: {
        const TVelNumberStyle style = kind_ == ikFixed ? TVelNumberStyle::Padded : TVelNumberStyle::Grouped;
        QString s = FormatNumber(AsFloat(), decimals_, style, decimals_);
        if (MaxLength() > 0)
            s.truncate(MaxLength());
        if (Text() != s) {
            if (Text().startsWith(QLatin1Char('-')) && s.size() > 1 && !s.startsWith(QLatin1Char('-')))
                s.prepend(QLatin1Char('-'));
            SetText(s + suffix);
            notify = s == TextWithoutSuffix();
        }
        break;
    }
    case ikCurrency:
        try {
            const QString s = KindText(static_cast<double>(AsCurrency()));
            if (Text() != s) {
                SetText(s);
                notify = s == Text();
            }
        } catch (const EVelException&) {
            ReportValidationError();
        }
        break;
    case ikFloat: {
        // The float kind keeps the text as typed, but a paste can leave one no reader takes: it
        // would go on showing something other than the value 0 it stands for.
        const TFormatSettings& fs = FormatSettings();
        if (!ReadFloatText(TextWithoutSuffix(), -1, fs.DecimalSeparator, fs.ThousandSeparator).Failed)
            break;
        const QString s = KindText(0);
        SetText(s + suffix);
        notify = s == TextWithoutSuffix();
        break;
    }
    case ikMask: break;
    }
    return notify;
}

void TVelCustomMaskEdit::WndProc(TMessage& Message)
{
    TVelCustomEdit::WndProc(Message);
    // A sign alone is no number: it leaves as zero. Written as the kind's zero rather than an empty
    // text, because the float kind has no reformat that would turn an empty text into "0".
    if (Message.Msg == WM_KILLFOCUS && kind_ != ikMask && kind_ != ikCurrency &&
        TextWithoutSuffix() == QLatin1String("-"))
        ShowValue(0);
}

void TVelCustomMaskEdit::Loaded()
{
    RepairStoredSeparator();
    TVelCustomEdit::Loaded();
}

// A text stored under another locale carries that locale's decimal separator: the last non-digit
// before the fraction is taken to be it. The suffix is left out of the scan, and an edit without
// decimals has no separator to repair (its last non-digit is a thousand separator).
void TVelCustomMaskEdit::RepairStoredSeparator()
{
    if ((kind_ != ikFloat && kind_ != ikFixed && kind_ != ikNumber) || decimals_ <= 0)
        return;
    QString t = TextWithoutSuffix();
    if (t.isEmpty())
        return;
    qsizetype i = t.size() - 1;
    while (i >= 0 && IsDigit(t.at(i)))
        --i;
    if (i <= 0)
        return;
    const QChar decimal = FormatSettings().DecimalSeparator;
    // The stored grouping used what is now the decimal separator; left as it is, "1.234,5" would
    // turn into "1.234.5" and read as 1.2.
    if (t.at(i) != decimal) {
        const QChar thousand = FormatSettings().ThousandSeparator;
        for (qsizetype k = 0; k < i; ++k)
            if (t.at(k) == decimal)
                t[k] = thousand;
    }
    t[i] = decimal;
    SetText(t + EffectiveSuffix());
}
