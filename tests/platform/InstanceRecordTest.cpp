#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "RootOnly.h"
#include "ScopedEnv.h"
#include "VelInstanceRecord.h"

namespace {

class TScopedApplicationName {
public:
    explicit TScopedApplicationName(const QString& Name) { QCoreApplication::setApplicationName(Name); }
    ~TScopedApplicationName() { QCoreApplication::setApplicationName(saved_); }

private:
    QString saved_ = QCoreApplication::applicationName();
};

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
    record.Close();
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
        bool removed; // a copy that quits takes its record with it; a killed one cannot
    } endings[] = {{"killed", &TCopy::Kill, false}, {"quit", &TCopy::Quit, true}};
    for (const auto& ending : endings) {
        {
            TCopy first(path);
            ASSERT_EQ(first.Report(), QStringLiteral("first")) << ending.name;
            (first.*ending.end)();
        }
        if (ending.removed) {
            EXPECT_FALSE(QFileInfo::exists(path)) << ending.name;
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
    EXPECT_TRUE(third.PreviousInstance()) << "the second still runs";
    second.Close();
    EXPECT_TRUE(QFileInfo::exists(path)) << "the third still runs";
    third.Close();
    EXPECT_FALSE(QFileInfo::exists(path)) << "the last copy takes the record with it";
    TVelInstanceRecord fourth;
    ASSERT_TRUE(fourth.Open(path, {88, 0, 0, 0}));
    EXPECT_FALSE(fourth.PreviousInstance());
}

// Any running copy counts, whichever copies started before it and whichever have gone since.
TEST(InstanceRecord, EveryRunningCopyCounts)
{
    struct Step {
        char action; // '+' starts the copy, 'k' kills it, 'q' lets it quit
        int copy;
        const char* report = ""; // how a started copy's report begins
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
    } scenarios[] = {
        {"FirstKilledSecondRuns", {{'+', 0, "first"}, {'+', 1, "previous"}, {'k', 0}, {'+', 2, "previous"}}},
        {"SecondQuitFirstRuns", {{'+', 0, "first"}, {'+', 1, "previous"}, {'q', 1}, {'+', 2, "previous"}}},
        {"AllGone", {{'+', 0, "first"}, {'+', 1, "previous"}, {'q', 1}, {'k', 0}, {'+', 2, "first"}}},
    };
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("VELORIN.instance"));
        std::unique_ptr<TCopy> copies[3];
        for (const Step& step : scenario.steps) {
            if (step.action == '+') {
                copies[step.copy] = std::make_unique<TCopy>(path);
                EXPECT_TRUE(copies[step.copy]->Report().startsWith(QLatin1String(step.report))) << step.copy;
            } else {
                (copies[step.copy].get()->*(step.action == 'k' ? &TCopy::Kill : &TCopy::Quit))();
            }
        }
    }
}

// Neither another user's file nor a link is taken for the record: both may be planted to block or
// forge it.
TEST(InstanceRecord, OnlyTheUsersOwnPlainFileIsTheRecord)
{
    QTemporaryDir dir;
    const QString own = dir.filePath(QStringLiteral("OWN.instance"));
    const QString link = dir.filePath(QStringLiteral("LINK.instance"));
    TVelInstanceRecord holder, record;
    ASSERT_TRUE(holder.Open(own, {}));
    ASSERT_TRUE(QFile::link(own, link));
    EXPECT_FALSE(record.Open(link, {}));
    EXPECT_FALSE(record.PreviousInstance());

    VELORIN_REQUIRE_ROOT("gives a file to another user");
    const QString foreign = dir.filePath(QStringLiteral("FOREIGN.instance"));
    ASSERT_TRUE(QFile(foreign).open(QIODevice::WriteOnly));
    ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), kOtherUid, kOtherGid), 0);
    EXPECT_FALSE(record.Open(foreign, {}));
    EXPECT_FALSE(record.PreviousInstance());
}

// The record lives where no other user can create or replace it: the runtime folder when it is the
// user's own and private, else a private folder in the user's home; never a shared folder.
TEST(InstanceRecord, FolderIsOneNoOtherUserMayWrite)
{
    QTemporaryDir dir;
    const QString runtime = dir.filePath(QStringLiteral("runtime"));
    const QString state = dir.filePath(QStringLiteral("state"));
    // The folder is the program's own, named as the program names itself.
    const TScopedApplicationName name(QStringLiteral("ohm"));
    const QString stateRecords = state + QStringLiteral("/ohm");
    const struct {
        const char* name;
        bool root;            // the runtime folder belongs to another user; last, as it may skip
        int runtimeMode;      // -1: XDG_RUNTIME_DIR unset
        int stateMode;        // the records' folder in the state folder beforehand; -1: missing
        const char* expected; // the folder chosen; "" for none
    } cases[] = {
        {"PrivateRuntimeFolder", false, 0700, -1, "runtime"},
        {"NoRuntimeFolder", false, -1, -1, "state/ohm"},
        {"SharedRuntimeFolder", false, 01777, -1, "state/ohm"},
        {"GroupWritableRuntimeFolder", false, 0770, 0700, "state/ohm"},
        {"SharedStateFolder", false, -1, 0777, ""},
        {"RuntimeFolderOfAnotherUser", true, 0700, -1, "state/ohm"},
    };
    TScopedEnv runtimeEnv("XDG_RUNTIME_DIR"), stateEnv("XDG_STATE_HOME");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.root)
            VELORIN_REQUIRE_ROOT("gives the runtime folder to another user");
        QDir(runtime).removeRecursively();
        QDir(state).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(runtime));
        ASSERT_EQ(::chmod(QFile::encodeName(runtime).constData(),
                          static_cast<mode_t>(c.runtimeMode < 0 ? 0700 : c.runtimeMode)),
                  0);
        if (c.root) {
            ASSERT_EQ(::chown(QFile::encodeName(runtime).constData(), kOtherUid, kOtherGid), 0);
        }
        if (c.runtimeMode < 0)
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        if (c.stateMode >= 0) {
            ASSERT_TRUE(QDir().mkpath(stateRecords));
            ASSERT_EQ(::chmod(QFile::encodeName(stateRecords).constData(), static_cast<mode_t>(c.stateMode)), 0);
        }
        qputenv("XDG_STATE_HOME", QFile::encodeName(state));

        const QString expected = *c.expected ? dir.filePath(QLatin1String(c.expected)) : QString();
        EXPECT_EQ(TVelInstanceRecord::Folder().toStdString(), expected.toStdString());
        if (expected == stateRecords) {
            EXPECT_EQ(QFileInfo(stateRecords).permissions() & 0x0077, 0) << "the folder is private";
        }
    }
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
