#include "VelCurrencySettings.h"

#include <limits>

namespace {

const QString kSymbolMark = QStringLiteral("\u00A4");
const QString kNumberMark = QStringLiteral("1,1");

const char* const kPositive[4] = {"\u00A41,1", "1,1\u00A4", "\u00A4 1,1", "1,1 \u00A4"};
const char* const kNegative[16] = {"(\u00A41,1)", "-\u00A41,1",  "\u00A4-1,1",   "\u00A41,1-",
                                   "(1,1\u00A4)", "-1,1\u00A4",  "1,1-\u00A4",   "1,1\u00A4-",
                                   "-1,1 \u00A4", "-\u00A4 1,1", "1,1 \u00A4-",  "\u00A4 1,1-",
                                   "\u00A4 -1,1", "1,1- \u00A4", "(\u00A4 1,1)", "(1,1 \u00A4)"};

// The pattern with the symbol put in, split around the number.
struct TLayout {
    QString Before;
    QString After;
};

TLayout LayoutOf(const QString& pattern, const QString& symbol)
{
    const qsizetype at = pattern.indexOf(kNumberMark);
    QString before = at < 0 ? pattern : pattern.left(at);
    QString after = at < 0 ? QString() : pattern.mid(at + kNumberMark.size());
    before.replace(kSymbolMark, symbol);
    after.replace(kSymbolMark, symbol);
    return {before, after};
}

QString WithoutSpaces(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s)
        if (!c.isSpace())
            out += c;
    return out;
}

QString Grouped(const QString& digits, int groupSize, QChar separator)
{
    if (groupSize <= 0 || separator.isNull())
        return digits;
    QString s = digits;
    for (qsizetype at = s.size() - groupSize; at > 0; at -= groupSize)
        s.insert(at, separator);
    return s;
}

// Unsigned amount "ddd[.ddd]" with group separators already gone; the fraction is rounded half
// away from zero to four digits.
std::optional<quint64> ReadAmount(const QString& s, QChar decimalSeparator, quint64 limit)
{
    const qsizetype sep = s.indexOf(decimalSeparator);
    const QString whole = sep < 0 ? s : s.left(sep);
    const QString fraction = sep < 0 ? QString() : s.mid(sep + 1);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };

    quint64 units = 0;
    for (QChar c : whole) {
        if (!isDigit(c) || units > limit / 10)
            return std::nullopt;
        units = units * 10 + (c.unicode() - '0');
    }
    quint64 part = 0;
    for (qsizetype k = 0; k < fraction.size(); ++k) {
        const QChar c = fraction.at(k);
        if (!isDigit(c))
            return std::nullopt;
        if (k < 4)
            part = part * 10 + (c.unicode() - '0');
        else if (k == 4 && c >= QLatin1Char('5'))
            ++part;
    }
    for (qsizetype k = fraction.size(); k < 4; ++k)
        part *= 10;
    if (units > (limit - part) / 10000)
        return std::nullopt;
    return units * 10000 + part;
}

std::optional<qint64> Signed(std::optional<quint64> magnitude, bool negative)
{
    if (!magnitude)
        return std::nullopt;
    if (!negative)
        return static_cast<qint64>(*magnitude);
    if (*magnitude == quint64(std::numeric_limits<qint64>::max()) + 1)
        return std::numeric_limits<qint64>::min();
    return -static_cast<qint64>(*magnitude);
}

} // namespace

TVelCurrencySettings::TVelCurrencySettings()
{
    LoadSystemDefaults();
}

QString TVelCurrencySettings::PositivePattern(int code)
{
    return QString::fromUtf8(kPositive[std::clamp(code, 0, 3)]);
}

QString TVelCurrencySettings::NegativePattern(int code)
{
    return QString::fromUtf8(kNegative[std::clamp(code, 0, 15)]);
}

void TVelCurrencySettings::LoadSystemDefaults()
{
    const TFormatSettings& fs = FormatSettings();
    symbol_ = fs.CurrencyString;
    positive_ = PositivePattern(fs.CurrencyFormat);
    negative_ = NegativePattern(fs.NegCurrFormat);
    groupSize_ = fs.CurrencyGrouping >= 0 ? fs.CurrencyGrouping : 3;
    decimals_ = fs.CurrencyDecimals >= 0 && fs.CurrencyDecimals <= 255 ? quint8(fs.CurrencyDecimals) : 2;
    decimalSeparator_ = fs.DecimalSeparator;
    thousandSeparator_ = fs.MonetaryThousandSeparator;
}

void TVelCurrencySettings::SetSystemDefaults(TVelCurrencyMode mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    if (mode_ == cmSystem)
        LoadSystemDefaults();
}

void TVelCurrencySettings::SetSymbol(const QString& symbol)
{
    symbol_ = symbol;
    mode_ = cmUser;
}

void TVelCurrencySettings::SetPositiveFormatStr(const QString& pattern)
{
    positive_ = pattern;
    mode_ = cmUser;
}

void TVelCurrencySettings::SetNegativeFormatStr(const QString& pattern)
{
    negative_ = pattern;
    mode_ = cmUser;
}

void TVelCurrencySettings::SetDecimalSeparator(QChar c)
{
    decimalSeparator_ = c;
    mode_ = cmUser;
}

void TVelCurrencySettings::SetThousandSeparator(QChar c)
{
    thousandSeparator_ = c;
    mode_ = cmUser;
}

void TVelCurrencySettings::SetGroupSize(int size)
{
    groupSize_ = size;
    mode_ = cmUser;
}

void TVelCurrencySettings::Assign(const TVelCurrencySettings& source)
{
    if (&source == this)
        return;
    if (source.mode_ == cmSystem) {
        mode_ = cmUser; // forces the reload even when this one is already cmSystem
        SetSystemDefaults(cmSystem);
        return;
    }
    mode_ = cmUser;
    symbol_ = source.symbol_;
    decimals_ = source.decimals_;
    decimalSeparator_ = source.decimalSeparator_;
    thousandSeparator_ = source.thousandSeparator_;
    positive_ = source.positive_;
    negative_ = source.negative_;
    // Without the group size a copy would lay out the same amount differently.
    groupSize_ = source.groupSize_;
}

QString CurrencyToText(qint64 tenThousandths, const TVelCurrencySettings& settings)
{
    const int decimals = settings.Decimals();
    quint64 magnitude = tenThousandths < 0 ? 0 - quint64(tenThousandths) : quint64(tenThousandths);
    QString whole;
    QString fraction;
    if (decimals < 4) {
        quint64 unit = 1;
        for (int k = decimals; k < 4; ++k)
            unit *= 10;
        quint64 q = magnitude / unit;
        // Rounding half up must not carry the amount past what the reader takes back (the 64-bit
        // range), or the edit would show a text it then rejects; at the edge it rounds down.
        const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (tenThousandths < 0 ? 1 : 0);
        if ((magnitude % unit) * 2 >= unit && (q + 1) * unit <= limit)
            ++q;
        quint64 scale = 1;
        for (int k = 0; k < decimals; ++k)
            scale *= 10;
        whole = QString::number(q / scale);
        if (decimals > 0)
            fraction = QString::number(q % scale).rightJustified(decimals, QLatin1Char('0'));
        magnitude = q;
    } else {
        whole = QString::number(magnitude / 10000);
        fraction = QString::number(magnitude % 10000).rightJustified(4, QLatin1Char('0')) +
                   QString(decimals - 4, QLatin1Char('0'));
    }
    QString number = Grouped(whole, settings.GroupSize(), settings.ThousandSeparator());
    if (!fraction.isEmpty())
        number += settings.DecimalSeparator() + fraction;

    // An amount that rounds to zero shows no sign.
    const bool negative = tenThousandths < 0 && magnitude != 0;
    const QString& pattern = negative ? settings.NegativeFormatStr() : settings.PositiveFormatStr();
    const TLayout layout = LayoutOf(pattern, settings.Symbol());
    return layout.Before + number + layout.After;
}

std::optional<qint64> TextToCurrency(const QString& text, const TVelCurrencySettings& settings)
{
    QString t = WithoutSpaces(text);
    if (t.isEmpty())
        return 0;
    const QChar group = settings.ThousandSeparator();
    const quint64 positiveLimit = quint64(std::numeric_limits<qint64>::max());

    auto tryLayout = [&](const QString& pattern, bool negative) -> std::optional<qint64> {
        const TLayout layout = LayoutOf(pattern, settings.Symbol());
        const QString before = WithoutSpaces(layout.Before);
        const QString after = WithoutSpaces(layout.After);
        if (t.size() < before.size() + after.size() || !t.startsWith(before) || !t.endsWith(after))
            return std::nullopt;
        QString number = t.mid(before.size(), t.size() - before.size() - after.size());
        if (!group.isNull() && group != settings.DecimalSeparator())
            number.remove(group);
        return Signed(ReadAmount(number, settings.DecimalSeparator(), positiveLimit + (negative ? 1 : 0)), negative);
    };

    if (auto v = tryLayout(settings.NegativeFormatStr(), true))
        return v;
    if (auto v = tryLayout(settings.PositiveFormatStr(), false))
        return v;
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative)
        t.remove(0, 1);
    return tryLayout(kNumberMark, negative);
}
