#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "VelInstanceRecord.h"

namespace {

constexpr const char* kProbeVariable = "VELORIN_INSTANCE_PROBE";

// When this test program is started with the probe variable set, it is a copy of "the program"
// for the two-process tests: it opens the record named there, reports what it found on one line
// and holds the record until its input closes or it is killed. It acts before main, so the copy
// needs no Qt application and runs no test.
const bool probeRan = [] {
    const char* path = std::getenv(kProbeVariable);
    if (!path)
        return false;
    TVelInstanceRecord record;
    TVelInstanceData own;
    own.Instance = static_cast<std::uint32_t>(::getpid());
    own.AppWindow = 0xA11CE;
    record.Open(QString::fromLocal8Bit(path), own);
    if (record.PreviousInstance())
        std::printf("previous %u %u\n", record.Previous().Instance, record.Previous().AppWindow);
    else
        std::printf("first\n");
    std::fflush(stdout);
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    std::_Exit(0);
}();

// One running copy of the program.
class TCopy {
public:
    explicit TCopy(const QString& RecordPath)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kProbeVariable), RecordPath);
        process_.setProcessEnvironment(env);
        process_.start(QCoreApplication::applicationFilePath(), {});
    }
    ~TCopy()
    {
        process_.closeWriteChannel();
        process_.waitForFinished(5000);
    }

    // The copy's report: "first" or "previous <pid> <window>".
    QString Report()
    {
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        return QString::fromLatin1(process_.readLine()).trimmed();
    }
    qint64 Pid() const { return process_.processId(); }
    void Kill()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    void Quit()
    {
        process_.closeWriteChannel();
        process_.waitForFinished(5000);
    }

private:
    QProcess process_;
};

TEST(InstanceRecord, ASecondCopySeesTheFirstAndTheFirstSeesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VELORIN.instance"));
    TCopy first(path);
    ASSERT_EQ(first.Report(), QStringLiteral("first"));
    TCopy second(path);
    EXPECT_EQ(second.Report(), QStringLiteral("previous %1 %2").arg(first.Pid()).arg(0xA11CE));
    TCopy third(path);
    EXPECT_TRUE(third.Report().startsWith(QStringLiteral("previous %1 ").arg(first.Pid())));
}

TEST(InstanceRecord, NoStaleMarkAfterTheFirstCopyEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VELORIN.instance"));
    const struct {
        const char* name;
        void (TCopy::*end)();
    } endings[] = {{"killed", &TCopy::Kill}, {"quit", &TCopy::Quit}};
    for (const auto& ending : endings) {
        {
            TCopy first(path);
            ASSERT_EQ(first.Report(), QStringLiteral("first")) << ending.name;
            (first.*ending.end)();
        }
        TCopy next(path);
        EXPECT_EQ(next.Report(), QStringLiteral("first")) << ending.name;
    }
}

TEST(InstanceRecord, TwoRecordsInOneProcessAlsoCount)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("X.instance"));
    TVelInstanceRecord first, second;
    ASSERT_TRUE(first.Open(path, {11, 22, 33, 0}));
    EXPECT_FALSE(first.PreviousInstance());
    ASSERT_TRUE(second.Open(path, {99, 0, 0, 0}));
    EXPECT_TRUE(second.PreviousInstance());
    EXPECT_EQ(second.Previous().Instance, 11u);
    EXPECT_EQ(second.Previous().MainWindow, 33u);
    EXPECT_EQ(QFileInfo(path).size(), 16);
    first.Close();
    TVelInstanceRecord third;
    ASSERT_TRUE(third.Open(path, {77, 0, 0, 0}));
    EXPECT_FALSE(third.PreviousInstance());
}

TEST(InstanceRecord, AnUnreachableFolderMeansNoPreviousInstance)
{
    TVelInstanceRecord record;
    EXPECT_FALSE(record.Open(QStringLiteral("/nonexistent-folder/VELORIN.instance"), {}));
    EXPECT_FALSE(record.PreviousInstance());
}

TEST(InstanceRecord, BytesAreFourLittleEndianWords)
{
    const TVelInstanceData data{0x04030201, 0x08070605, 0x0C0B0A09, 0};
    const auto bytes = data.ToBytes();
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(bytes[static_cast<std::size_t>(i)], i + 1);
    const TVelInstanceData back = TVelInstanceData::FromBytes(bytes.data(), 16);
    EXPECT_EQ(back.MainWindow, data.MainWindow);
    EXPECT_EQ(TVelInstanceData::FromBytes(bytes.data(), 5).AppWindow, 0x05u) << "a short record reads as zeros";
}

} // namespace
