#pragma once

#include <QString>
#include <ostream>

// GoogleTest shows a QString in failures and parameter lists as its quoted UTF-8 text, not as
// the bytes of its characters.
inline void PrintTo(const QString& Text, std::ostream* Os)
{
    *Os << '"' << Text.toStdString() << '"';
}
