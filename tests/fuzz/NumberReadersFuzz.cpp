// Arbitrary text through the number readers of every kind, in "." and "," locales. A reader gives
// a value or reports the text as unreadable, never both; what it reads agrees with an independent
// reading where the text is a plain number; and what the writer of its kind makes of that value
// reads back to the same text, so the edit's read-write-read cycle settles at once.
//
// Input: a locale byte, a decimals byte, two currency bytes, a suffix byte, then the text (see
// FuzzBytes::Text).

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "ExtendedSupport.h"
#include "FuzzSupport.h"
#include "VelCurrencySettings.h"
#include "VelNumberText.h"

namespace {

struct Locale {
    QChar decimal;
    QChar thousand;
};
// The last one is the broken locale the edit only warns about: the readers must still survive it.
const Locale kLocales[4] = {{QLatin1Char('.'), QLatin1Char(',')},
                            {QLatin1Char(','), QLatin1Char('.')},
                            {QLatin1Char(','), QChar(0x00A0)},
                            {QLatin1Char('.'), QLatin1Char('.')}};
const char* const kSuffixes[5] = {"", " V", "%", "\u03A9", "-"};
const char* const kSymbols[6] = {"$", "\u20AC", "kr", "", "CHF", "z\u0142"};

// Optional sign and ASCII digits, nothing else; "-" alone is 0.
std::optional<qint64> PlainInteger(const QString& s)
{
    if (s == QLatin1String("-"))
        return 0;
    std::string ascii;
    for (const QChar c : s) {
        if (c.unicode() > 127)
            return std::nullopt;
        ascii += char(c.unicode());
    }
    std::size_t at = (!ascii.empty() && (ascii[0] == '+' || ascii[0] == '-')) ? 1 : 0;
    if (at == ascii.size() || ascii.find_first_not_of("0123456789", at) != std::string::npos)
        return std::nullopt;
    if (ascii[0] == '+')
        ascii.erase(0, 1);
    qint64 v = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    if (ec != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return v;
}

void CheckParseInt64(const QString& t)
{
    const std::optional<qint64> got = ParseInt64(t);
    const std::optional<qint64> want = PlainInteger(t);
    FuzzCheck(got == want, "ParseInt64(" + Quoted(t) + ") = " + (got ? std::to_string(*got) : "nothing") +
                               ", expected " + (want ? std::to_string(*want) : "nothing"));
}

void CheckIntegerReader(const QString& t)
{
    const TVelIntegerRead r = ReadIntegerText(t);
    FuzzCheck(!r.Failed || r.Value == 0, "integer reader failed with a value on " + Quoted(t));
    const std::optional<qint64> plain = t.isEmpty() ? std::optional<qint64>(0) : PlainInteger(t);
    const bool readable = plain && *plain >= -2147483647 && *plain <= 2147483647;
    FuzzCheck(r.Failed == !readable, "integer reader on " + Quoted(t) + (r.Failed ? " failed" : " succeeded"));
    if (r.Failed)
        return;
    FuzzCheck(r.Value == *plain, "integer reader on " + Quoted(t) + " gave " + std::to_string(r.Value));
    const QString shown = IntegerValueText(r.Value);
    const TVelIntegerRead again = ReadIntegerText(shown);
    FuzzCheck(!again.Failed && again.Value == r.Value && shown == QString::number(r.Value),
              "integer " + std::to_string(r.Value) + " shows as " + Quoted(shown) + ", which does not read back");
}

// The text as the float reader sees it once thousand separators are gone and surplus decimals
// are cut, when that is a plain number: sign, digits, and optionally the separator and digits.
std::optional<std::string> PlainFloat(QString t, int cut, QChar decimal, QChar thousand)
{
    if (!thousand.isNull())
        t.remove(thousand);
    std::string ascii;
    bool seenSeparator = false;
    int fractionDigits = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c == decimal && !seenSeparator) {
            seenSeparator = true;
            ascii += '.';
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            if (seenSeparator && cut >= 0 && fractionDigits >= cut)
                continue;
            fractionDigits += seenSeparator;
            ascii += char(c.unicode());
        } else if (i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            ascii += char(c.unicode());
        } else {
            return std::nullopt;
        }
    }
    const std::size_t digitsFrom = (!ascii.empty() && (ascii[0] == '-' || ascii[0] == '+')) ? 1 : 0;
    if (ascii.size() == digitsFrom || ascii[digitsFrom] == '.')
        return std::nullopt; // no integer digits: the reader has its own rules for those
    return ascii;
}

void CheckFloatReader(const QString& t, int cut, const Locale& locale)
{
    const TVelFloatRead r = ReadFloatText(t, cut, locale.decimal, locale.thousand);
    const std::string where = "float reader (cut " + std::to_string(cut) + ") on " + Quoted(t);
    FuzzCheck(!r.Failed || r.Value == 0, where + " failed with a value");
    FuzzCheck(r.Value.IsFinite(), where + " gave a non-finite value");
    if (locale.decimal == locale.thousand)
        return;

    const std::optional<std::string> plain = PlainFloat(t, cut, locale.decimal, locale.thousand);
    if (!plain)
        return;
    const std::string integerPart = plain->substr(0, plain->find('.'));
    if (!PlainInteger(QString::fromLatin1(integerPart.c_str()))) {
        FuzzCheck(r.Failed, where + " read an integer part beyond 64 bits");
        return;
    }
    FuzzCheck(!r.Failed, where + " failed on a plain number");
    const TVelExtended want = ExtendedSupport::FromText(plain->c_str());
    const TVelExtended error = (r.Value - want).Abs();
    const std::string values =
        " gave " + ExtendedSupport::Scientific(r.Value, 21) + ", expected " + ExtendedSupport::Scientific(want, 21);
    static const TVelExtended kTiny = ExtendedSupport::FromText("1e-4930");
    FuzzCheck(error <= want.Abs() * 1e-18 + kTiny, where + values);
    FuzzCheck(r.Value.SignBit() == want.SignBit(), where + values + " (sign)");
}

// The edit stores the value as a double, writes it in its kind and reads that text again; the
// cycle must end there, with the same text.
void CheckFloatCycle(const QString& t, int decimals, TVelNumberType type, const Locale& locale)
{
    if (locale.decimal == locale.thousand)
        return;
    const int cut = type == ntFloat ? -1 : std::max(decimals, 0);
    const TVelNumberStyle style = type == ntFloat        ? TVelNumberStyle::Trimmed
                                  : type == ntFloatFixed ? TVelNumberStyle::Padded
                                                         : TVelNumberStyle::Grouped;
    TFormatSettings fs;
    fs.DecimalSeparator = locale.decimal;
    fs.ThousandSeparator = locale.thousand;

    const double v = double(ReadFloatText(t, cut, locale.decimal, locale.thousand).Value);
    // Beyond 18 integer digits the writer switches to the exponent form, which is no typing form.
    if (!(std::fabs(v) < 1e18))
        return;
    const QString shown = FormatNumber(v, decimals, style, 1, fs);
    const TVelFloatRead back = ReadFloatText(shown, cut, locale.decimal, locale.thousand);
    const QString again = FormatNumber(double(back.Value), decimals, style, 1, fs);
    FuzzCheck(!back.Failed && again == shown, "kind " + std::to_string(type) + ", " + std::to_string(decimals) +
                                                  " decimals: " + Quoted(t) + " shows as " + Quoted(shown) +
                                                  ", which reads back as " + Quoted(again));
}

void CheckCurrency(const QString& text, const TVelCurrencySettings& settings)
{
    const std::optional<qint64> v = TextToCurrency(text, settings);
    // With equal separators the layout cannot be read back; the reader need only survive it.
    if (!v || settings.DecimalSeparator() == settings.ThousandSeparator())
        return;
    qint64 unit = 1;
    for (int k = settings.Decimals(); k < 4; ++k)
        unit *= 10;
    // Rounding half up would carry an amount within half a unit of the 64-bit edge past it; there
    // the writer rounds down instead, by less than a whole unit.
    const quint64 magnitude = *v < 0 ? 0 - quint64(*v) : quint64(*v);
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (*v < 0 ? 1 : 0);
    const quint64 rest = magnitude % quint64(unit);
    const bool atEdge = rest * 2 >= quint64(unit) && magnitude - rest > limit - quint64(unit);

    const QString shown = CurrencyToText(*v, settings);
    const std::optional<qint64> back = TextToCurrency(shown, settings);
    const std::string where = "currency " + Quoted(text) + " = " + std::to_string(*v) + " shows as " + Quoted(shown);
    FuzzCheck(back.has_value(), where + ", which does not read back");
    FuzzCheck(CurrencyToText(*back, settings) == shown, where + ", which reads back as " + std::to_string(*back));
    // Rounding to the shown decimals moves the amount by at most half a unit of the last one.
    const TVelExtended moved = (TVelExtended(*back) - TVelExtended(*v)).Abs();
    FuzzCheck(atEdge ? moved < unit : moved * 2 <= unit, where + ", which reads back as " + std::to_string(*back));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBytes in(data, size);
    const Locale& locale = kLocales[in.Byte() & 3];
    const int decimals = int(int8_t(in.Byte())) % 24; // -23 .. 23: past the writer's 18 both ways
    const uint8_t currency = in.Byte();
    const uint8_t layout = in.Byte();
    const QString suffix = QString::fromUtf8(kSuffixes[in.Byte() % 5]);
    const QString text = in.Text();

    // The integer and float kinds read the text without their suffix.
    const QString t = TextWithoutSuffix(text, suffix);
    CheckParseInt64(t);
    CheckIntegerReader(t);
    CheckFloatReader(t, -1, locale);
    CheckFloatReader(t, std::max(decimals, 0), locale);
    for (const TVelNumberType type : {ntFloat, ntFloatFixed, ntFloatNumber})
        CheckFloatCycle(t, decimals, type, locale);

    // The currency kind has no suffix; its settings follow the locale or are set by hand.
    TFormatSettings fs;
    fs.DecimalSeparator = locale.decimal;
    fs.ThousandSeparator = locale.thousand;
    fs.MonetaryThousandSeparator = locale.thousand;
    fs.CurrencyFormat = currency & 3;
    fs.NegCurrFormat = (currency >> 2) & 15;
    fs.CurrencyDecimals = layout & 7;
    fs.CurrencyString = QString::fromUtf8(kSymbols[(layout >> 3) % 6]);
    SetFormatSettings(fs);
    TVelCurrencySettings settings;
    if (currency & 0x40)
        settings.SetGroupSize((layout >> 6) + (currency >> 7) * 4); // 0 .. 7
    if (currency & 0x80)
        settings.SetDecimals(quint8(decimals < 0 ? 255 + decimals : decimals));
    SetFormatSettings(TFormatSettings{});
    CheckCurrency(text, settings);
    return 0;
}
