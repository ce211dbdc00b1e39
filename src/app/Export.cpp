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
#include <climits>
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
#include "VelMessageBox.h"

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

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

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

// The whole export as bytes, for the paths that must know its length before they write.
QByteArray GridBytes(const StringGrid& grid)
{
    QByteArray bytes;
    const int rows = grid.RowCount();
    for (int row = 0; row < rows; ++row) {
        bytes.append(RowToCsvLine(grid.Rows(row)).toLocal8Bit());
        bytes.append("\r\n", 2);
    }
    return bytes;
}

void SetBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        Fail(errno, false);
}

// A device or a pipe cannot be replaced by renaming a file over it, and must not be. It is opened
// without waiting, so a FIFO that nobody reads fails at once instead of freezing the window until
// some other program opens it; once open, it is written normally.
void WriteStream(const StringGrid& grid, const QByteArray& path)
{
    TFileHandle file(::open(path.constData(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Fd() < 0)
        Fail(errno, false);
    struct stat st {};
    if (::fstat(file.Fd(), &st) != 0)
        Fail(errno, false);
    if (!S_ISFIFO(st.st_mode) && !S_ISCHR(st.st_mode))
        Fail(EACCES, false);
    SetBlocking(file.Fd());
    WriteLines(grid, file.Fd());
    file.Close();
}

// A writable file in a folder we may not create files in has to be written in place. Its old
// bytes stay as they are until the space for the new ones is reserved, so a full disk fails with
// the old file whole. A kill, a crash or a failing device in the middle of the writes cannot be
// made safe here: the file then holds part of each export. That is why this path is taken only
// when the folder refuses the temporary file.
void OverwriteInPlace(const StringGrid& grid, const QByteArray& path)
{
    TFileHandle file(::open(path.constData(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (file.Fd() < 0)
        Fail(errno, false);
    struct stat st {};
    if (::fstat(file.Fd(), &st) != 0)
        Fail(errno, false);
    if (!S_ISREG(st.st_mode))
        Fail(EACCES, false);
    const QByteArray bytes = GridBytes(grid);
    int reserved = 0;
    while (!bytes.isEmpty() &&
           (reserved = ::posix_fallocate(file.Fd(), 0, static_cast<off_t>(bytes.size()))) == EINTR) {
    }
    if (reserved != 0) {
        // A reservation that gave up half way may have grown the file.
        struct stat now {};
        if (::fstat(file.Fd(), &now) == 0 && now.st_size != st.st_size) {
            [[maybe_unused]] const int cut = ::ftruncate(file.Fd(), st.st_size);
        }
        Fail(reserved, false);
    }
    WriteBytes(file.Fd(), bytes);
    if (::ftruncate(file.Fd(), static_cast<off_t>(bytes.size())) != 0)
        Fail(errno, false);
    if (::fsync(file.Fd()) != 0 && errno != EINVAL)
        Fail(errno, false);
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
    // The temporary name has a length of its own: any name the target may have, up to the
    // longest the file system allows, must still leave room for it.
    QByteArray temp = path.left(path.lastIndexOf('/') + 1) + QByteArrayLiteral(".velorin-XXXXXX");
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (existing && (err == EACCES || err == EPERM || err == EROFS)) {
            OverwriteInPlace(grid, path);
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

// Where a write into `path` lands. Links are followed to their end, as an editor saving through
// them would, whether that end exists yet or not: the file a link names is replaced or created,
// and the link stays.
std::optional<EVelInOutError> FollowLinks(const QString& path, QByteArray& end)
{
    end = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(end.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return std::nullopt;
        if (hops == kMaxLinks)
            return EVelInOutError::FromErrno(ELOOP, true);
        QByteArray link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(end.constData(), link.data(), static_cast<size_t>(link.size()));
        if (length < 0)
            return EVelInOutError::FromErrno(errno, true);
        link.truncate(length);
        end = link.startsWith('/') ? link : end.left(end.lastIndexOf('/') + 1) + link;
    }
}

// Why an export into `path` would fail before anything is written, if it would; `end` is where it
// would write.
std::optional<EVelInOutError> TargetError(const QString& path, QByteArray& end)
{
    if (path.isEmpty())
        return EVelInOutError(3);
    if (auto error = FollowLinks(path, end))
        return error;
    const QFileInfo target(QFile::decodeName(end));
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
    if (::stat(end.constData(), &st) != 0)
        return std::nullopt;
    // A disk or a socket is never an export's file, whatever its permissions say.
    if (!(st.st_mode & kAnyWrite) || S_ISBLK(st.st_mode) || S_ISSOCK(st.st_mode))
        return EVelInOutError(5);
    return std::nullopt;
}

} // namespace

QString ExportInitialDir(const QString& programFolder)
{
    const QFileInfo program(programFolder);
    // An installed program shares its "bin" with every other program the user runs: Enter in the
    // dialog would drop the results among them, even when the user may write there.
    const bool shared = program.fileName() == QLatin1String("bin");
    if (!shared && program.isDir() && ::access(QFile::encodeName(program.absoluteFilePath()).constData(), W_OK) == 0)
        return program.absoluteFilePath() + QLatin1Char('/');
    // A system folder, or one the user may not write: the user's own folders instead.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return QDir(folder).absolutePath() + QLatin1Char('/');
}

int TargetAccessCode(const QString& path)
{
    QByteArray end;
    const auto error = TargetError(path, end);
    return error ? error->ErrorCode() : 0;
}

void WriteGridCsv(const StringGrid& grid, const QString& path)
{
    QByteArray end;
    if (const auto error = TargetError(path, end))
        throw EVelInOutError(*error);
    struct stat st {};
    const bool exists = ::stat(end.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        WriteStream(grid, end);
        return;
    }
    WriteReplacing(grid, end, exists ? &st : nullptr);
}

bool ConfirmOverwrite(QWidget* parent, const QString& path)
{
    if (ExportHooks::ConfirmOverwrite)
        return ExportHooks::ConfirmOverwrite(parent, path);

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"),
                    QStringLiteral("This File exist, do you want to overwrite it?"),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    VelKeepButtonTexts(box);
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
