// The export against real faults: a full file system, a read-only folder or mount, a FIFO that
// nobody reads, names at the length limit, links. Whatever happens, the file the user chose holds
// either its old bytes or the whole new export, and no temporary file is left behind.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <ostream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Export.h"
#include "FileContents.h"
#include "RootOnly.h"
#include "RowNames.h"
#include "StringGridTestSupport.h"
#include "VelErrors.h"

namespace {

const QByteArray kOld = QByteArray("previous export, longer than the new one\r\n").repeated(3);
const QByteArray kTwoRows("Voltage,Amperage,Resistance\r\n1,1,1\r\n2,1,2\r\n,,\r\n");

// Mounts made for one test, undone innermost first however the test ends; the temporary folder
// that holds them is removed after them.
class TMounts {
public:
    TMounts() = default;
    TMounts(const TMounts&) = delete;
    TMounts& operator=(const TMounts&) = delete;
    ~TMounts()
    {
        for (auto point = points_.rbegin(); point != points_.rend(); ++point)
            ::umount2(point->constData(), MNT_DETACH);
    }

    bool Tmpfs(const QString& folder, const char* size)
    {
        const QByteArray at = QFile::encodeName(folder);
        return Add(at, ::mount("tmpfs", at.constData(), "tmpfs", 0, (QByteArray("size=") + size).constData()));
    }
    // A folder or file mounted over itself, so that it can be made read-only on its own.
    bool BindSelf(const QString& path)
    {
        const QByteArray at = QFile::encodeName(path);
        return Add(at, ::mount(at.constData(), at.constData(), nullptr, MS_BIND, nullptr));
    }
    static bool MakeReadOnly(const QString& path)
    {
        return ::mount(nullptr, QFile::encodeName(path).constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                       nullptr) == 0;
    }

private:
    bool Add(const QByteArray& at, int result)
    {
        if (result != 0)
            return false;
        points_.push_back(at);
        return true;
    }

    std::vector<QByteArray> points_;
};

// Opens the FIFO for reading when the export still waits for a reader after five seconds, so a
// hang fails the test instead of stopping the suite.
class TFifoWatchdog {
public:
    explicit TFifoWatchdog(const QString& fifo)
        : thread_([this, path = QFile::encodeName(fifo)] {
              for (int waited = 0; waited < 5000 && !done_; waited += 10)
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              if (done_)
                  return;
              fired_ = true;
              const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK);
              while (!done_)
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              if (fd >= 0)
                  ::close(fd);
          })
    {
    }
    ~TFifoWatchdog() { Stop(); }

    // True when the export had to be let go.
    bool Stop()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
        return fired_;
    }

private:
    std::atomic<bool> done_{false};
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

enum class Fs {
    Plain,          // a temporary folder
    Tmpfs,          // a 16 KiB file system, which 2000 rows overfill
    ReadOnlyFolder, // that file system, its folder read-only and the old file itself writable
    ReadOnlyMount,  // that file system mounted read-only
};

enum class Target { OldFile, Name250, Name256, Fifo, DanglingLink, LiveLink };

struct FaultCase {
    const char* name;
    Fs fs;
    Target target;
    int rows;          // stored rows; 2 give kTwoRows
    const char* error; // nullptr when the export is written
};

[[maybe_unused]] void PrintTo(const FaultCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExportFault : public ::testing::TestWithParam<FaultCase> {
protected:
    // Lays out the case and returns the path the user chose; empty when that failed.
    QString Prepare()
    {
        const FaultCase& c = GetParam();
        folder = dir.filePath("fs");
        const QString file = folder + "/Results.csv";
        if (!QDir().mkdir(folder) || (c.fs != Fs::Plain && !mounts.Tmpfs(folder, "16k")))
            return {};
        const QByteArray native = QFile::encodeName(file);
        switch (c.target) {
        case Target::OldFile: WriteAll(file, kOld); break;
        case Target::Name250: return folder + "/" + QString(246, 'n') + ".csv";
        case Target::Name256: return folder + "/" + QString(252, 'n') + ".csv";
        case Target::Fifo:
            if (::mkfifo(native.constData(), 0666) != 0)
                return {};
            break;
        case Target::LiveLink: WriteAll(folder + "/real.csv", kOld); [[fallthrough]];
        case Target::DanglingLink:
            if (::symlink("real.csv", native.constData()) != 0)
                return {};
            break;
        }
        const bool mounted = c.fs == Fs::ReadOnlyFolder
                                 ? mounts.BindSelf(folder) && mounts.BindSelf(file) && TMounts::MakeReadOnly(folder)
                             : c.fs == Fs::ReadOnlyMount ? mounts.BindSelf(folder) && TMounts::MakeReadOnly(folder)
                                                         : true;
        return mounted ? file : QString();
    }

    QTemporaryDir dir;
    TMounts mounts;
    QString folder;
};

TEST_P(ExportFault, LeavesTheOldBytesOrTheWholeExport)
{
    const FaultCase& c = GetParam();
    if (c.fs != Fs::Plain)
        VELORIN_REQUIRE_ROOT("mounts a small tmpfs and read-only binds");
    auto grid = MakeResultsGrid();
    for (int i = 1; i <= c.rows; ++i)
        StoreResultRow(*grid, i, 1, i);
    const QString path = Prepare();
    ASSERT_FALSE(path.isEmpty()) << "could not lay out the case: " << std::strerror(errno);

    std::optional<TFifoWatchdog> watchdog;
    if (c.target == Target::Fifo)
        watchdog.emplace(path);
    QString error;
    try {
        WriteGridCsv(*grid, path);
    } catch (const EVelInOutError& e) {
        error = e.Message();
    }
    if (watchdog) {
        EXPECT_FALSE(watchdog->Stop()) << "the export waited for a reader";
    }

    EXPECT_EQ(error.toStdString(), c.error ? c.error : "");
    const bool link = c.target == Target::DanglingLink || c.target == Target::LiveLink;
    const QString end = link ? folder + "/real.csv" : path;
    if (!c.error) {
        EXPECT_EQ(ReadAll(end).toStdString(), kTwoRows.toStdString());
    } else if (c.target == Target::OldFile) {
        EXPECT_EQ(ReadAll(end).toStdString(), kOld.toStdString());
    }
    if (link) {
        EXPECT_TRUE(QFileInfo(path).isSymLink());
    }
    const QStringList hidden =
        QDir(folder).entryList(QStringList{".*"}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_TRUE(hidden.isEmpty()) << hidden.join(", ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportFault,
    ::testing::Values(FaultCase{"FullDisk", Fs::Tmpfs, Target::OldFile, 2000, "Disk full"},
                      FaultCase{"FullDiskReadOnlyFolder", Fs::ReadOnlyFolder, Target::OldFile, 2000, "Disk full"},
                      FaultCase{"ReadOnlyFolder", Fs::ReadOnlyFolder, Target::OldFile, 2, nullptr},
                      FaultCase{"ReadOnlyMount", Fs::ReadOnlyMount, Target::OldFile, 2, "File access denied"},
                      FaultCase{"FifoWithoutReader", Fs::Plain, Target::Fifo, 2,
                                "I/O error 6 (No such device or address)"},
                      FaultCase{"Name250Bytes", Fs::Plain, Target::Name250, 2, nullptr},
                      FaultCase{"Name256Bytes", Fs::Plain, Target::Name256, 2, "I/O error 36 (File name too long)"},
                      FaultCase{"DanglingLink", Fs::Plain, Target::DanglingLink, 2, nullptr},
                      FaultCase{"LiveLink", Fs::Plain, Target::LiveLink, 2, nullptr}),
    RowName());

} // namespace
