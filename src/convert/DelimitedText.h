#pragma once

#include <QString>
#include <QStringList>

// One row of cells as one comma-separated line, without a line end. A cell is quoted only when
// a blank, a control character, a quote or a comma would otherwise break the line apart.
QString RowToCsvLine(const QStringList& cells);
