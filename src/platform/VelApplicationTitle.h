#pragma once

#include <QString>

// The title users see on the program's message boxes: the program file's name without its
// folder, cut at its first ".", first character as it is and the rest in lower case
// ("/opt/VELORIN.bin" -> "Velorin", "/usr/bin/velorin" -> "velorin").
QString ApplicationTitleFrom(const QString& programPath);

// ApplicationTitleFrom() of the running program file.
QString VelApplicationTitle();
