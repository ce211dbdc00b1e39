#pragma once

#include <QString>

#include <functional>

class QWidget;
class StringGrid;
class TSaveDialog;

// The Export button: asks for a file name in the program's folder (ExportInitialDir), asks before replacing an
// existing file, and writes the table there as comma-separated lines.
void ExportResults(TSaveDialog& dialog, const StringGrid& grid, QWidget* parent);

// Every grid row, header and blank last row included, as RowToCsvLine + CR LF in the local 8-bit
// encoding. The file is replaced only once everything is written, so a failed export leaves the
// old file as it was; links are followed, devices and pipes written in place (a pipe nobody reads
// fails at once), disks and sockets refused. Failures raise EVelInOutError.
void WriteGridCsv(const StringGrid& grid, const QString& path);

// 0 when the export may write `path`, otherwise the I/O error code it would fail with: 3 for a
// missing folder, 5 for a folder, a disk, a socket, a file that may not be written or one without
// any write permission bit (read-only to everybody, the superuser included).
int TargetAccessCode(const QString& path);

// The folder the save dialog opens in, with a trailing "/": the program's own folder when the user
// may write there and it is not a shared "bin", else the user's documents folder, else the home
// folder.
QString ExportInitialDir(const QString& programFolder);

// The question before an existing file is replaced; true to go on.
bool ConfirmOverwrite(QWidget* parent, const QString& path);

struct ExportHooks {
    // When set, replaces the overwrite question, so tests can answer it.
    static std::function<bool(QWidget* parent, const QString& path)> ConfirmOverwrite;
};
