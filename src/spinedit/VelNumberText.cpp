#include "VelNumberText.h"

#include "FloatToText.h"

#include <cmath>
#include <algorithm>
#include <limits>

namespace {

constexpr int kMaxSignificant = 18;

// The fixed writer falls back to the exponent form (and INF, NAN) for what it cannot hold; those
// texts are left as they are by the styles.
bool IsFixedForm(const QString& s, QChar decimalSeparator)
{
    for (QChar c : s)
        if (!c.isDigit() && c != QLatin1Char('-') && c != decimalSeparator)
            return false;
    return true;
}

void Trim(QString& s, QChar decimalSeparator)
{
    if (!s.contains(decimalSeparator))
        return;
    while (s.size() > 1 && s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(decimalSeparator))
        s.chop(1);
}

void Pad(QString& s, int minFraction, QChar decimalSeparator)
{
    const qsizetype sep = s.indexOf(decimalSeparator);
    if (sep >= 0) {
        const qsizetype have = s.size() - sep - 1;
        if (have < minFraction)
            s += QString(minFraction - have, QLatin1Char('0'));
    } else if (minFraction > 0) {
        s += decimalSeparator + QString(minFraction, QLatin1Char('0'));
    }
}

// A digit's weight in the fraction. Only decimal digits carry one: the reader serves decimal
// edits, where a pasted letter must not turn "1.A" into 2.
int FractionDigitValue(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.unicode() - '0' : 0;
}

} // namespace

QString FormatNumber(TVelExtended x, int places, TVelNumberStyle style, int minFraction, const TFormatSettings& fs)
{
    places = std::clamp(places, 0, kMaxSignificant);
    // The conversion groups the integer digits itself, and leaves the exponent form alone.
    if (style == TVelNumberStyle::Grouped)
        return FloatToTextFmt(x, TFloatFormat::Number, kMaxSignificant, places, fs);
    QString s = FloatToTextFmt(x, TFloatFormat::Fixed, kMaxSignificant, places, fs);
    if (!IsFixedForm(s, fs.DecimalSeparator))
        return s;
    if (style == TVelNumberStyle::Trimmed)
        Trim(s, fs.DecimalSeparator);
    else
        Pad(s, minFraction, fs.DecimalSeparator);
    return s;
}

QString IntegerValueText(double x)
{
    if (!std::isfinite(x))
        return QStringLiteral("0");
    // fmod is exact, so this is the low 32 bits of the truncated value however large it is.
    const double low = std::fmod(std::trunc(x), 4294967296.0);
    const auto bits = static_cast<quint32>(static_cast<qint64>(low));
    return QString::number(static_cast<qint32>(bits));
}

QString TextWithoutSuffix(const QString& text, const QString& suffix)
{
    if (suffix.isEmpty())
        return text;
    const qsizetype at = text.indexOf(suffix);
    if (at < 0)
        return text;
    QString t = text;
    t.remove(at, suffix.size());
    return t;
}

std::optional<qint64> ParseInt64(const QString& s)
{
    if (s == QLatin1String("-"))
        return 0;
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s.at(i) == QLatin1Char('-') || s.at(i) == QLatin1Char('+'))) {
        negative = s.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == s.size())
        return std::nullopt;
    // Accumulated as a magnitude so that the most negative value fits.
    const quint64 limit =
        negative ? quint64(std::numeric_limits<qint64>::max()) + 1 : quint64(std::numeric_limits<qint64>::max());
    quint64 v = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        const unsigned digit = c.unicode() - '0';
        if (v > (limit - digit) / 10)
            return std::nullopt;
        v = v * 10 + digit;
    }
    if (negative)
        return v == limit ? std::numeric_limits<qint64>::min() : -static_cast<qint64>(v);
    return static_cast<qint64>(v);
}

TVelIntegerRead ReadIntegerText(const QString& t)
{
    if (t.isEmpty())
        return {};
    const std::optional<qint64> v = ParseInt64(t);
    if (!v || *v < -2147483647 || *v > 2147483647)
        return {0, true};
    return {static_cast<qint32>(*v), false};
}

TVelFloatRead ReadFloatText(const QString& text, int cutDecimals, QChar decimalSeparator, QChar thousandSeparator)
{
    QString t = text;
    if (!thousandSeparator.isNull())
        t.removeIf([thousandSeparator](QChar c) { return IsThousandSeparator(c, thousandSeparator); });
    if (t.isEmpty())
        return {};

    if (cutDecimals >= 0) {
        const qsizetype sep = t.indexOf(decimalSeparator);
        if (sep >= 0 && t.size() - sep - 1 > cutDecimals)
            t.truncate(sep + 1 + cutDecimals);
    }

    if (t == QLatin1String("-"))
        t = QStringLiteral("0");
    else if (t.size() > 1 && t.at(0) == QLatin1Char('-') && t.at(1) == decimalSeparator)
        t.insert(1, QLatin1Char('0'));

    const qsizetype sep = t.indexOf(decimalSeparator);
    const QString integerPart = sep < 0 ? t : t.left(sep);
    if (integerPart.isEmpty())
        return {};

    const std::optional<qint64> i = ParseInt64(integerPart);
    if (!i)
        return {0, true};
    const bool negativeZero = *i == 0 && t.startsWith(QLatin1Char('-'));

    TVelExtended fraction = 0;
    if (sep >= 0 && sep + 1 < t.size()) {
        TVelExtended f = FractionDigitValue(t.at(t.size() - 1));
        for (qsizetype k = t.size() - 2; k > sep; --k)
            f = FractionDigitValue(t.at(k)) + f / 10;
        fraction = f / 10;
    }

    const TVelExtended whole = *i;
    TVelExtended result = (*i >= 0 || negativeZero) ? whole + fraction : whole - fraction;
    if (negativeZero)
        result = -result;
    return {result, false};
}
