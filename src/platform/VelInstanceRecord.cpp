#include "VelInstanceRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::array<unsigned char, TVelInstanceData::kSize> TVelInstanceData::ToBytes() const
{
    std::array<unsigned char, kSize> bytes{};
    const std::uint32_t words[] = {Instance, AppWindow, MainWindow, Reserved};
    for (int w = 0; w < 4; ++w)
        for (int b = 0; b < 4; ++b)
            bytes[static_cast<std::size_t>(w * 4 + b)] = static_cast<unsigned char>(words[w] >> (8 * b));
    return bytes;
}

TVelInstanceData TVelInstanceData::FromBytes(const unsigned char* Bytes, int Length)
{
    std::uint32_t words[4] = {};
    for (int i = 0; i < Length && i < kSize; ++i)
        words[i / 4] |= static_cast<std::uint32_t>(Bytes[i]) << (8 * (i % 4));
    return {words[0], words[1], words[2], words[3]};
}

namespace {

// Tries to read the record for this long while a starting copy holds it alone to write it.
constexpr int kReadTries = 200;
constexpr useconds_t kReadPause = 10000;
// Opens the record anew this often when the last copy removed it while this one was opening it.
constexpr int kOpenTries = 20;

// A real folder of the user's own that nobody else may write: no other user can plant, replace
// or forge a record in it.
bool IsPrivateFolder(const QByteArray& Path)
{
    struct stat st {};
    return ::lstat(Path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Every folder it has to create on the way is private, as the desktop's base folders should be.
bool MakePrivateFolder(const QString& Folder)
{
    const QByteArray path = QFile::encodeName(Folder);
    for (qsizetype end = 1; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != '/')
            continue;
        if (::mkdir(path.left(end).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return IsPrivateFolder(path);
}

// Locks of the open file rather than of the process, so two records in one process count as two
// copies; and unlike flock(), turning the writer's exclusive lock into a shared one leaves no
// moment in which a starting copy could find the record free.
bool Lock(int Fd, short Type)
{
    struct flock lock {};
    lock.l_type = Type;
    lock.l_whence = SEEK_SET;
    int result;
    do {
        result = ::fcntl(Fd, F_OFD_SETLK, &lock);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool HeldByAnother(int Err)
{
    return Err == EAGAIN || Err == EACCES;
}

// The file Fd has open is still the one at Path. The last copy to end removes the record while it
// holds it alone; a copy that opened that file just before then holds a file no other copy will
// ever open.
bool StillTheRecord(int Fd, const QByteArray& Path)
{
    struct stat open {
    }, named{};
    return ::fstat(Fd, &open) == 0 && ::lstat(Path.constData(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

} // namespace

TVelInstanceRecord::~TVelInstanceRecord()
{
    Close();
}

QString TVelInstanceRecord::Folder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && IsPrivateFolder(QFile::encodeName(runtime)))
        return QDir::cleanPath(runtime);
    // Never the temporary folder: any user can create the record there first.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    // The program's own folder, named as the program names itself.
    const QString name = QCoreApplication::applicationName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/')))
        return {};
    const QString folder = QDir::cleanPath(state + QLatin1Char('/') + name);
    return MakePrivateFolder(folder) ? folder : QString();
}

QString TVelInstanceRecord::PathFor(const QString& ProgramFile)
{
    const QString folder = Folder();
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(QFileInfo(ProgramFile).fileName().toUpper() + QStringLiteral(".instance"));
}

QString TVelInstanceRecord::DefaultPath()
{
    const QString program = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    return PathFor(program.isEmpty() ? QStringLiteral("velorin") : program);
}

bool TVelInstanceRecord::Open(const QString& Path, const TVelInstanceData& Own)
{
    Close();
    if (Path.isEmpty())
        return false;
    const QByteArray file = QFile::encodeName(Path);
    for (int attempt = 0; attempt < kOpenTries; ++attempt) {
        switch (Attach(file, Own)) {
        case TAttach::Held: path_ = file; return true;
        case TAttach::Failed: return false;
        case TAttach::Removed: break;
        }
    }
    return false;
}

TVelInstanceRecord::TAttach TVelInstanceRecord::Attach(const QByteArray& File, const TVelInstanceData& Own)
{
    // Close-on-exec: a program this copy starts must not inherit the lock and keep the mark alive
    // after this copy has gone. No link is followed and nothing but a plain file may make the
    // start wait.
    const int fd = ::open(File.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return TAttach::Failed;
    // A record someone else owns may be forged or held by them: no record beats a false one.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return TAttach::Failed;
    }
    if (Lock(fd, F_WRLCK)) {
        if (!StillTheRecord(fd, File)) {
            ::close(fd);
            return TAttach::Removed;
        }
        const auto bytes = Own.ToBytes();
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, bytes.data(), bytes.size(), 0) != TVelInstanceData::kSize) {
            // A mark without its record would mislead the next copy more than no mark at all.
            ::close(fd);
            return TAttach::Failed;
        }
        Lock(fd, F_RDLCK);
    } else if (HeldByAnother(errno)) {
        for (int tries = 0; tries < kReadTries; ++tries) {
            if (Lock(fd, F_RDLCK)) {
                if (!StillTheRecord(fd, File)) {
                    ::close(fd);
                    return TAttach::Removed;
                }
                unsigned char bytes[TVelInstanceData::kSize] = {};
                const ssize_t read = ::pread(fd, bytes, sizeof bytes, 0);
                previousData_ = TVelInstanceData::FromBytes(bytes, read > 0 ? static_cast<int>(read) : 0);
                break;
            }
            if (!HeldByAnother(errno))
                break;
            ::usleep(kReadPause);
        }
        previous_ = true;
    } else {
        ::close(fd);
        return TAttach::Failed;
    }
    fd_ = fd;
    return TAttach::Held;
}

void TVelInstanceRecord::Close()
{
    if (fd_ >= 0) {
        // The last copy to end takes the record with it. Only a copy that holds the record alone
        // removes it, and a copy that opened the file just before finds it gone once it holds it,
        // and opens the record anew (see StillTheRecord).
        if (Lock(fd_, F_WRLCK) && StillTheRecord(fd_, path_))
            ::unlink(path_.constData());
        ::close(fd_);
    }
    fd_ = -1;
    path_.clear();
    previous_ = false;
    previousData_ = {};
}
