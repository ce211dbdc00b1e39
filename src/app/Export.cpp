#include "Export.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>

#include <cerrno>
#include <unistd.h>

#include "DelimitedText.h"
#include "SaveDialog.h"
#include "StringGrid.h"
#include "VelErrors.h"

std::function<bool(QWidget*, const QString&)> ExportHooks::ConfirmOverwrite;

namespace {

// errno must be read straight after the failing call; `fallback` covers a failure that left
// no system error behind.
int CodeFromLastError(int err, int fallback)
{
    return err != 0 ? EVelInOutError::CodeFromErrno(err) : fallback;
}

int WriteAccessCode(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    errno = 0;
    if (::access(native.constData(), W_OK) == 0)
        return 0;
    return CodeFromLastError(errno, 5);
}

// The mode bits only: Qt's "user" flags ask the system, which lets root write anything.
constexpr QFileDevice::Permissions kAnyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

constexpr qsizetype kBlockSize = 64 * 1024;

// Blocks of lines, because QSaveFile hands every write straight to the system. Where in the file a
// failure strikes does not matter: the temporary file is thrown away.
void WriteLines(const StringGrid& grid, QFileDevice& file)
{
    QByteArray block;
    block.reserve(kBlockSize + 256);
    auto flush = [&] {
        errno = 0;
        if (file.write(block) != block.size())
            throw EVelInOutError(CodeFromLastError(errno, 101));
        block.clear();
    };
    const int rows = grid.RowCount();
    for (int row = 0; row < rows; ++row) {
        block.append(RowToCsvLine(grid.Rows(row)).toLocal8Bit());
        block.append("\r\n", 2);
        if (block.size() >= kBlockSize)
            flush();
    }
    if (!block.isEmpty())
        flush();
}

// A device or a pipe cannot be replaced by renaming a file over it, and must not be.
void WriteInPlace(const StringGrid& grid, const QString& path)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EVelInOutError(CodeFromLastError(errno, 5));
    WriteLines(grid, file);
    file.close();
}

}  // namespace

int TargetAccessCode(const QString& path)
{
    if (path.isEmpty())
        return 3;
    const QFileInfo target(path);
    if (target.isDir())
        return 5;
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return 3;
    if (!target.exists())
        return WriteAccessCode(folder.absoluteFilePath());
    // The replacement goes in through the folder, which would get past a read-only file; so the
    // file's own permission decides, and a file nobody may write stays untouched even for root.
    if (const int code = WriteAccessCode(target.absoluteFilePath()))
        return code;
    if (!(target.permissions() & kAnyWrite))
        return 5;
    return 0;
}

void WriteGridCsv(const StringGrid& grid, const QString& path)
{
    if (const int code = TargetAccessCode(path))
        throw EVelInOutError(code);
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        WriteInPlace(grid, path);
        return;
    }

    QSaveFile file(path);
    // A writable file in a folder we may not create files in is still written, in place and
    // without the temporary file's protection, as it could be before.
    file.setDirectWriteFallback(true);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw EVelInOutError(CodeFromLastError(errno, 5));
    WriteLines(grid, file);
    errno = 0;
    if (!file.commit())
        throw EVelInOutError(CodeFromLastError(errno, 101));
}

bool ConfirmOverwrite(QWidget* parent, const QString& path)
{
    if (ExportHooks::ConfirmOverwrite)
        return ExportHooks::ConfirmOverwrite(parent, path);

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"),
                    QStringLiteral("This File exist, do you want to overwrite it?"),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    box.adjustSize();
    // Centred on the screen rather than over the window; a moved dialog keeps its place.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.exec();
    // Closing the box counts as Cancel: only an explicit OK replaces the file.
    return box.clickedButton() == box.button(QMessageBox::Ok);
}

void ExportResults(TSaveDialog& dialog, const StringGrid& grid, QWidget* parent)
{
    dialog.SetInitialDir(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    if (!dialog.Execute(parent))
        return;
    const QString path = dialog.FileName();
    // Only a file counts as existing; a folder goes on to fail with "File access denied".
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && !ConfirmOverwrite(parent, path))
        return;
    WriteGridCsv(grid, path);
}
