#include "Export.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "DelimitedText.h"
#include "SaveDialog.h"
#include "StringGrid.h"
#include "VelErrors.h"

std::function<bool(QWidget*, const QString&)> ExportHooks::ConfirmOverwrite;

namespace {

// Every failure is read from errno straight after the system call that failed: any later call,
// Qt's own clean-up included, may overwrite it with something unrelated.
[[noreturn]] void Fail(int err, bool creating)
{
    throw EVelInOutError::FromErrno(err, creating);
}

// The mode bits only: access() lets root write anything.
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

constexpr qsizetype kBlockSize = 64 * 1024;

// Closes on every way out; Close() reports the error a deferred write may only show there.
class TFileHandle {
public:
    explicit TFileHandle(int fd) : fd_(fd) {}
    ~TFileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    int Fd() const { return fd_; }
    void Close()
    {
        const int fd = std::exchange(fd_, -1);
        if (::close(fd) != 0 && errno != EINTR)
            Fail(errno, false);
    }

private:
    int fd_;
};

void WriteBytes(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, false);
        }
        data += n;
        left -= n;
    }
}

// Blocks of lines, so a long table is not one system call per row.
void WriteLines(const StringGrid& grid, int fd)
{
    QByteArray block;
    block.reserve(kBlockSize + 256);
    const int rows = grid.RowCount();
    for (int row = 0; row < rows; ++row) {
        block.append(RowToCsvLine(grid.Rows(row)).toLocal8Bit());
        block.append("\r\n", 2);
        if (block.size() >= kBlockSize) {
            WriteBytes(fd, block);
            block.clear();
        }
    }
    if (!block.isEmpty())
        WriteBytes(fd, block);
}

// A device or a pipe cannot be replaced by renaming a file over it, and must not be; a writable
// file in a folder we may not create files in is written this way too, without the protection
// of the temporary file.
void WriteInPlace(const StringGrid& grid, const QByteArray& path)
{
    TFileHandle file(::open(path.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (file.Fd() < 0)
        Fail(errno, false);
    WriteLines(grid, file.Fd());
    file.Close();
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Written next to the target under a hidden name and renamed over it once complete, so a failed
// export leaves the previous file as it was.
void WriteReplacing(const StringGrid& grid, const QByteArray& path, const struct stat* existing)
{
    const QFileInfo target(QFile::decodeName(path));
    QByteArray temp =
        QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (existing && (err == EACCES || err == EPERM || err == EROFS)) {
            WriteInPlace(grid, path);
            return;
        }
        Fail(err, true);
    }
    TFileHandle file(fd);
    try {
        if (existing) {
            // The replacement keeps the old file's mode and, where we may, its owner.
            ::fchmod(fd, existing->st_mode & 07777);
            [[maybe_unused]] const int owned = ::fchown(fd, existing->st_uid, existing->st_gid);
        } else {
            ::fchmod(fd, NewFileMode());
        }
        WriteLines(grid, fd);
        if (::fsync(fd) != 0 && errno != EINVAL)
            Fail(errno, false);
        file.Close();
        if (::rename(temp.constData(), path.constData()) != 0)
            Fail(errno, true);
    } catch (...) {
        ::unlink(temp.constData());
        throw;
    }
}

std::optional<EVelInOutError> WriteAccessError(const QString& path)
{
    if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
        return std::nullopt;
    return EVelInOutError::FromErrno(errno, true);
}

// Why an export into `path` would fail before anything is written, if it would.
std::optional<EVelInOutError> TargetError(const QString& path)
{
    if (path.isEmpty())
        return EVelInOutError(3);
    const QFileInfo target(path);
    if (target.isDir())
        return EVelInOutError(5);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return EVelInOutError(3);
    if (!target.exists())
        return WriteAccessError(folder.absoluteFilePath());
    // The replacement goes in through the folder, which would get past a read-only file; so the
    // file's own permission decides, and a file nobody may write stays untouched even for root.
    if (auto error = WriteAccessError(target.absoluteFilePath()))
        return error;
    struct stat st {};
    if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &st) == 0 && !(st.st_mode & kAnyWrite))
        return EVelInOutError(5);
    return std::nullopt;
}

}  // namespace

QString ExportInitialDir(const QString& programFolder)
{
    const QFileInfo program(programFolder);
    if (program.isDir() && ::access(QFile::encodeName(program.absoluteFilePath()).constData(), W_OK) == 0)
        return program.absoluteFilePath() + QLatin1Char('/');
    // An installed program's folder belongs to the system; the user's own folders do not.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return QDir(folder).absolutePath() + QLatin1Char('/');
}

int TargetAccessCode(const QString& path)
{
    const auto error = TargetError(path);
    return error ? error->ErrorCode() : 0;
}

void WriteGridCsv(const StringGrid& grid, const QString& path)
{
    if (auto error = TargetError(path))
        throw *error;
    // A link is followed, as an editor saving through it would: the file it names is replaced.
    const QFileInfo target(path);
    const QByteArray native =
        QFile::encodeName(target.exists() ? target.canonicalFilePath() : target.absoluteFilePath());
    struct stat st {};
    const bool exists = ::stat(native.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        WriteInPlace(grid, native);
        return;
    }
    WriteReplacing(grid, native, exists ? &st : nullptr);
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
    dialog.SetInitialDir(ExportInitialDir(QCoreApplication::applicationDirPath()));
    if (!dialog.Execute(parent))
        return;
    const QString path = dialog.FileName();
    // Only a file counts as existing; a folder goes on to fail with "File access denied".
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && !ConfirmOverwrite(parent, path))
        return;
    WriteGridCsv(grid, path);
}
