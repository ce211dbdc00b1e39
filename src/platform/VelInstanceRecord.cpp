#include "VelInstanceRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

TVelInstanceRecord::~TVelInstanceRecord()
{
    Close();
}

QString TVelInstanceRecord::PathFor(const QString& ProgramFile)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::tempPath();
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
    const QByteArray file = QFile::encodeName(Path);
    // Close-on-exec: a program this copy starts must not inherit the lock and keep the mark alive
    // after this copy has gone.
    const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) {
        const auto bytes = Own.ToBytes();
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, bytes.data(), bytes.size(), 0) != TVelInstanceData::kSize) {
            // A mark without its record would mislead the next copy more than no mark at all.
            ::close(fd);
            return false;
        }
    } else if (errno == EWOULDBLOCK) {
        unsigned char bytes[TVelInstanceData::kSize] = {};
        const ssize_t read = ::pread(fd, bytes, sizeof bytes, 0);
        previous_ = true;
        previousData_ = TVelInstanceData::FromBytes(bytes, read > 0 ? static_cast<int>(read) : 0);
    } else {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void TVelInstanceRecord::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    previous_ = false;
    previousData_ = {};
}
