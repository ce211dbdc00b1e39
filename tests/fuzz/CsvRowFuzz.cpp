// Arbitrary cells through RowToCsvLine, read back by a strict reader of our own.
//
// What the line promises: a cell is quoted exactly when a blank, a control character, a quote or
// a comma stands before its first NUL, and a quoted cell doubles every quote. So every row reads
// back to the same cells except one kind: a cell left unquoted (nothing forcing quotes before its
// NUL) that holds a comma or a quote after the NUL. The writer stops looking at the NUL on
// purpose, so that line cannot be read back; for such rows the line is checked against the
// writing rules instead. Every line is checked against those rules.
//
// Input: empty for a row without cells; otherwise a byte that is ignored, then the cells separated
// by 0xFF bytes (see FuzzBytes::Text), so that a lone empty cell can be written too.

#include <optional>
#include <string>

#include <QStringList>

#include "DelimitedText.h"
#include "FuzzSupport.h"

namespace {

constexpr QChar kComma = QLatin1Char(',');
constexpr QChar kQuote = QLatin1Char('"');

bool ForcesQuotes(QChar c)
{
    return (c.unicode() >= 1 && c.unicode() <= 32) || c == kQuote || c == kComma;
}

bool WrittenQuoted(const QString& cell)
{
    for (const QChar c : cell) {
        if (c.isNull())
            return false;
        if (ForcesQuotes(c))
            return true;
    }
    return false;
}

// The writing rules, cell by cell.
QString ModelLine(const QStringList& cells)
{
    if (cells.size() == 1 && cells.front().isEmpty())
        return QStringLiteral("\"\"");
    QStringList parts;
    for (const QString& cell : cells) {
        if (!WrittenQuoted(cell)) {
            parts << cell;
            continue;
        }
        QString q = cell;
        q.replace(kQuote, QStringLiteral("\"\""));
        parts << kQuote + q + kQuote;
    }
    return parts.join(kComma);
}

bool ReadsBack(const QStringList& cells)
{
    for (const QString& cell : cells) {
        const qsizetype nul = cell.indexOf(QChar());
        if (nul < 0 || WrittenQuoted(cell))
            continue;
        const QStringView tail = QStringView(cell).mid(nul);
        if (tail.contains(kComma) || tail.contains(kQuote))
            return false;
    }
    return true;
}

// A strict reader: a field is either quoted (doubled quotes inside, and a comma or the end right
// after the closing quote) or free of quotes. An empty line is a row without cells.
std::optional<QStringList> ReadLine(const QString& line)
{
    QStringList cells;
    if (line.isEmpty())
        return cells;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        QString cell;
        if (i < n && line.at(i) == kQuote) {
            ++i;
            while (true) {
                if (i >= n)
                    return std::nullopt; // unterminated
                if (line.at(i) == kQuote) {
                    if (i + 1 < n && line.at(i + 1) == kQuote) {
                        cell += kQuote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += line.at(i++);
            }
            if (i < n && line.at(i) != kComma)
                return std::nullopt; // text after the closing quote
        } else {
            while (i < n && line.at(i) != kComma) {
                if (line.at(i) == kQuote)
                    return std::nullopt;
                cell += line.at(i++);
            }
        }
        cells << cell;
        if (i >= n)
            return cells;
        ++i; // the comma; a line ending in one has an empty last cell
        if (i == n) {
            cells << QString();
            return cells;
        }
    }
}

std::string Describe(const QStringList& cells)
{
    std::string s = "[";
    for (const QString& c : cells)
        s += (s.size() > 1 ? ", " : "") + Quoted(c);
    return s + "]";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList cells;
    for (size_t start = 1, i = 1; i <= size; ++i) {
        if (i == size || data[i] == 0xFF) {
            FuzzBytes cell(data + start, i - start);
            cells << cell.Text();
            start = i + 1;
        }
    }

    const QString line = RowToCsvLine(cells);
    FuzzCheck(line == ModelLine(cells),
              "line of " + Describe(cells) + " is " + Quoted(line) + ", the rules give " + Quoted(ModelLine(cells)));
    if (!ReadsBack(cells))
        return 0;
    const std::optional<QStringList> back = ReadLine(line);
    FuzzCheck(back.has_value(), "line " + Quoted(line) + " of " + Describe(cells) + " does not read back");
    FuzzCheck(*back == cells,
              "line " + Quoted(line) + " reads back as " + Describe(*back) + ", not " + Describe(cells));
    return 0;
}
