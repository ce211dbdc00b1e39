#include "DelimitedText.h"

namespace {

constexpr QChar kSeparator = QLatin1Char(',');
constexpr QChar kQuote = QLatin1Char('"');

// Only the text before a NUL is looked at, matching readers that stop there.
bool NeedsQuotes(const QString& cell)
{
    for (const QChar c : cell) {
        const char16_t u = c.unicode();
        if (u == 0)
            return false;
        if (u <= 32 || c == kQuote || c == kSeparator)
            return true;
    }
    return false;
}

void AppendQuoted(QString& line, const QString& cell)
{
    line += kQuote;
    for (const QChar c : cell) {
        line += c;
        if (c == kQuote)
            line += kQuote;
    }
    line += kQuote;
}

} // namespace

QString RowToCsvLine(const QStringList& cells)
{
    // A lone empty cell would otherwise vanish into an empty line.
    if (cells.size() == 1 && cells.front().isEmpty())
        return QStringLiteral("\"\"");

    QString line;
    qsizetype room = 0;
    for (const QString& cell : cells)
        room += cell.size() + 3;
    line.reserve(room);
    for (const QString& cell : cells) {
        if (NeedsQuotes(cell))
            AppendQuoted(line, cell);
        else
            line += cell;
        line += kSeparator;
    }
    line.chop(1);
    return line;
}
