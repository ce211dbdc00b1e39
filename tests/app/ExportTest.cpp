#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <utility>
#include <sys/resource.h>
#include <unistd.h>

#include "Export.h"
#include "FileContents.h"
#include "RowNames.h"
#include "SaveDialog.h"
#include "ScopedFormat.h"
#include "StringGridTestSupport.h"
#include "VelErrors.h"
#include "VelorinApplication.h"

namespace {

// The window's save dialog, played by the test: the user "chooses" `choice`, or cancels when it
// is empty. The overwrite question is answered with `overwrite` and counted.
class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        dialog.SetDefaultExt("*.csv");
        dialog.SetFileName("Results");
        dialog.SetFilter("CSV (Comma Separated Value)|*.csv|TXT (Text File)|*.txt|Any (Any type)|*.*");
        TSaveDialog::ExecuteHook = [this](TSaveDialog& d) {
            initialDirSeen = d.InitialDir();
            if (choice.isEmpty())
                return false;
            d.SetFileName(choice);
            return true;
        };
        ExportHooks::ConfirmOverwrite = [this](QWidget*, const QString& path) {
            questions.append(path);
            return overwrite;
        };
    }

    void TearDown() override
    {
        TSaveDialog::ExecuteHook = nullptr;
        ExportHooks::ConfirmOverwrite = nullptr;
    }

    QByteArray ExportTo(const QString& name)
    {
        choice = dir.filePath(name);
        ExportResults(dialog, *grid, nullptr);
        return ReadAll(choice);
    }

    // The I/O error an export into `path` raises, or -1 when it succeeds.
    int ExportErrorCode(const QString& path, QString* message = nullptr)
    {
        choice = path;
        try {
            ExportResults(dialog, *grid, nullptr);
        } catch (const EVelInOutError& e) {
            if (message)
                *message = e.Message();
            return e.ErrorCode();
        }
        return -1;
    }

    QTemporaryDir dir;
    TSaveDialog dialog;
    std::unique_ptr<StringGrid> grid = MakeResultsGrid();
    QString choice;
    QString initialDirSeen;
    bool overwrite = true;
    QStringList questions;
};

} // namespace

TEST_F(ExportTest, EmptyTableGivesHeaderAndBlankLine)
{
    EXPECT_EQ(ExportTo("Results.csv"), QByteArray("Voltage,Amperage,Resistance\r\n,,\r\n"));
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(initialDirSeen, QCoreApplication::applicationDirPath() + "/");
}

TEST_F(ExportTest, StoredRowsComeBetweenHeaderAndBlankLine)
{
    StoreRows(*grid, {{6.6, 2, 3.3}, {1, 1, 1}});
    EXPECT_EQ(ExportTo("Results.txt"), QByteArray("Voltage,Amperage,Resistance\r\n6.6,2,3.3\r\n1,1,1\r\n,,\r\n"));
}

TEST_F(ExportTest, CommaDecimalsAreQuoted)
{
    {
        ScopedFormat comma(QChar(','), QChar('.'));
        StoreResultRow(*grid, 1.5, 1, 1.5);
    }
    EXPECT_EQ(ExportTo("Results.csv"), QByteArray("Voltage,Amperage,Resistance\r\n\"1,5\",1,\"1,5\"\r\n,,\r\n"));
}

TEST_F(ExportTest, CellsAreWrittenInTheLocal8BitEncoding)
{
    grid->SetCells(0, 1, QStringLiteral("\u00b5A"));
    const QByteArray expected =
        QByteArray("Voltage,Amperage,Resistance\r\n") + QStringLiteral("\u00b5A").toLocal8Bit() + QByteArray(",,\r\n");
    EXPECT_EQ(ExportTo("Results.csv"), expected);
}

TEST_F(ExportTest, CancelledDialogWritesAndAsksNothing)
{
    choice.clear();
    ExportResults(dialog, *grid, nullptr);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(ExportTest, ExistingFileIsReplacedOnlyAfterOk)
{
    const QString path = dir.filePath("Results.csv");
    for (const bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "OK" : "Cancel");
        WriteAll(path, "old content, longer than the new one\r\n\r\n\r\n\r\n\r\n\r\n");
        questions.clear();
        overwrite = answer;
        const QByteArray written = ExportTo("Results.csv");
        EXPECT_EQ(questions, QStringList{path});
        EXPECT_EQ(written, answer ? QByteArray("Voltage,Amperage,Resistance\r\n,,\r\n")
                                  : QByteArray("old content, longer than the new one\r\n\r\n\r\n\r\n\r\n\r\n"));
    }
}

TEST_F(ExportTest, ExportLeavesTheTableAsItWas)
{
    StoreRows(*grid, {{2, 1, 2}, {6, 2, 3}});
    grid->SetRow(2);
    const auto before = AllRows(*grid);
    ExportTo("Results.csv");
    EXPECT_EQ(AllRows(*grid), before);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(ExportTest, ReadOnlyFileIsRefusedAndKept)
{
    const QString path = dir.filePath("Locked.csv");
    WriteAll(path, "keep me");
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QString message;
    EXPECT_EQ(ExportErrorCode(path, &message), 5);
    EXPECT_EQ(message, "File access denied");
    EXPECT_EQ(questions, QStringList{path});
    EXPECT_EQ(ReadAll(path), QByteArray("keep me"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Locked.csv"});
}

TEST_F(ExportTest, MissingFolderIsAnInvalidFilename)
{
    QString message;
    EXPECT_EQ(ExportErrorCode(dir.filePath("no such folder/Results.csv"), &message), 3);
    EXPECT_EQ(message, "Invalid filename");
}

TEST_F(ExportTest, FolderAsTargetIsDeniedWithoutAQuestion)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("Results.csv"));
    QString message;
    EXPECT_EQ(ExportErrorCode(dir.filePath("Results.csv"), &message), 5);
    EXPECT_EQ(message, "File access denied");
    EXPECT_TRUE(questions.isEmpty());
}

struct AccessCase {
    const char* name;
    const char* target; // relative to the temporary folder
    int expected;
    friend void PrintTo(const AccessCase& Row, std::ostream* Os) { *Os << Row.name; }
};

class ExportTargetAccess : public ::testing::TestWithParam<AccessCase> {};

TEST_P(ExportTargetAccess, DecidesBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    WriteAll(dir.filePath("plain.csv"), "x");
    WriteAll(dir.filePath("locked.csv"), "x");
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("locked.csv"), QFile::ReadOwner | QFile::ReadOther));
    EXPECT_EQ(TargetAccessCode(dir.filePath(GetParam().target)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportTargetAccess,
                         ::testing::Values(AccessCase{"NewFile", "new.csv", 0},
                                           AccessCase{"WritableFile", "plain.csv", 0},
                                           AccessCase{"ReadOnlyFile", "locked.csv", 5},
                                           AccessCase{"Folder", "folder", 5},
                                           AccessCase{"MissingFolder", "missing/new.csv", 3},
                                           AccessCase{"FileAsFolder", "plain.csv/new.csv", 3}),
                         RowName());

// A write that fails half way (here the file size limit) must leave the previous export intact
// and no temporary file behind. EFBIG is not a full disk: it keeps its own number.
TEST_F(ExportTest, FailedWriteKeepsThePreviousFile)
{
    for (int i = 0; i < 2000; ++i)
        StoreResultRow(*grid, i, 1, i);
    const QString path = dir.filePath("Results.csv");
    WriteAll(path, "previous export");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    const int code = ExportErrorCode(path, &message);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(code, EFBIG);
    EXPECT_EQ(message, QStringLiteral("I/O error %1 (File too large)").arg(EFBIG));
    EXPECT_EQ(ReadAll(path), QByteArray("previous export"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Results.csv"});
}

// Devices are written in place: renaming a file over /dev/null would replace the device.
TEST_F(ExportTest, DevicesAreWrittenInPlace)
{
    if (!QFileInfo::exists("/dev/null") || !QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/null or /dev/full here";
    EXPECT_EQ(ExportErrorCode("/dev/null"), -1);
    EXPECT_FALSE(QFileInfo("/dev/null").isFile());
    QString message;
    EXPECT_EQ(ExportErrorCode("/dev/full", &message), 101);
    EXPECT_EQ(message, "Disk full");
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());
}

// What the user sees: the error box's text, and a window whose table and dialog stay as they were.
TEST_F(ExportTest, FullDeviceShowsDiskFullAndChangesNothingElse)
{
    if (!QFileInfo("/dev/full").exists())
        GTEST_SKIP() << "no /dev/full here";
    StoreRows(*grid, {{6.6, 2, 3.3}});
    const QStringList before = {grid->Cells(0, 1), grid->Cells(1, 1), grid->Cells(2, 1)};
    QStringList boxes;
    const TErrorBox previous = SetErrorBox([&](const QString&, const QString& text) { boxes.append(text); });
    choice = "/dev/full";
    const bool ok = DeliverGuarded(
        [&] {
            ExportResults(dialog, *grid, nullptr);
            return true;
        },
        "Velorin");
    SetErrorBox(previous);
    EXPECT_FALSE(ok);
    EXPECT_EQ(boxes, QStringList{"Disk full."});
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ((QStringList{grid->Cells(0, 1), grid->Cells(1, 1), grid->Cells(2, 1)}), before);
    EXPECT_EQ(dialog.FileName(), "/dev/full");
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());
}

// The folder was there when the dialog closed and is gone when the file is created.
TEST_F(ExportTest, FolderThatVanishedAfterTheDialogIsAnInvalidFilename)
{
    const QString folder = dir.filePath("gone");
    ASSERT_TRUE(QDir().mkdir(folder));
    TSaveDialog::ExecuteHook = [&](TSaveDialog& d) {
        d.SetFileName(folder + "/Results.csv");
        return QDir(folder).removeRecursively();
    };
    try {
        ExportResults(dialog, *grid, nullptr);
        FAIL() << "exported into a missing folder";
    } catch (const EVelInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 3);
        EXPECT_EQ(e.Message(), "Invalid filename");
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

// An installed program's folder is the system's or a "bin" shared with other programs; the dialog
// then opens where the user keeps files.
TEST(ExportInitialDir, ProgramFolderWhenWritableAndNoBinElseDocumentsElseHome)
{
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedDocs = qgetenv("XDG_DOCUMENTS_DIR");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_DOCUMENTS_DIR");
    const QString missing = home.filePath("no such program folder");
    const QString readOnly = home.filePath("readonly");
    const QString bin = home.filePath(".local/bin");
    QDir().mkdir(readOnly);
    QDir().mkpath(bin);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const bool root = ::geteuid() == 0; // root may write any folder

    EXPECT_EQ(ExportInitialDir(home.path()), home.path() + "/");
    for (const QString& documents : {QString(), home.filePath("Documents")}) {
        if (!documents.isEmpty()) {
            ASSERT_TRUE(QDir().mkdir(documents));
        }
        const QString expected = (documents.isEmpty() ? QDir(home.path()).absolutePath() : documents) + "/";
        EXPECT_EQ(ExportInitialDir(missing), expected);
        EXPECT_EQ(ExportInitialDir(bin), expected);
        if (!root) {
            EXPECT_EQ(ExportInitialDir(readOnly), expected);
        }
    }

    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", savedHome);
    if (!savedDocs.isEmpty())
        qputenv("XDG_DOCUMENTS_DIR", savedDocs);
}

TEST(ExportOverwriteQuestion, IsAWarningWithOkDefaultAndCancelOnEscapeOrClose)
{
    struct Case {
        const char* name;
        std::function<void(QMessageBox&)> answer;
        bool expected;
    };
    const Case cases[] = {
        {"Ok", [](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); }, true},
        {"Enter", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, true},
        {"Cancel", [](QMessageBox& box) { box.button(QMessageBox::Cancel)->click(); }, false},
        {"Escape", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false},
        {"Close", [](QMessageBox& box) { box.close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->windowTitle(), "Warning");
            EXPECT_EQ(box->text(), "This File exist, do you want to overwrite it?");
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Ok));
            EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));
            c.answer(*box);
            if (box->isVisible())
                box->done(QMessageBox::Cancel);
        });
        EXPECT_EQ(ConfirmOverwrite(nullptr, "/tmp/x.csv"), c.expected);
        EXPECT_TRUE(seen);
    }
}

TEST(ExportSaveDialog, TurnsTheFilterIntoNameFiltersAndTheExtensionIntoASuffix)
{
    TSaveDialog dialog;
    dialog.SetFilter("CSV (Comma Separated Value)|*.csv|TXT (Text File)|*.txt|Any (Any type)|*.*");
    EXPECT_EQ(dialog.NameFilters(),
              (QStringList{"CSV (Comma Separated Value) (*.csv)", "TXT (Text File) (*.txt)", "Any (Any type) (*.*)"}));
    dialog.SetFilter("Text|*.txt;*.log");
    EXPECT_EQ(dialog.NameFilters(), QStringList{"Text (*.txt *.log)"});
    const std::pair<const char*, const char*> suffixes[] = {
        {"*.csv", "csv"}, {".csv", "csv"}, {"csv", "csv"}, {"*.*", ""}, {"", ""}};
    for (const auto& [ext, suffix] : suffixes) {
        dialog.SetDefaultExt(ext);
        EXPECT_EQ(dialog.DefaultSuffix(), QString(suffix)) << ext;
    }
}

// Drives the real QFileDialog: it must be a save dialog that does not ask about overwriting,
// open where it is told, and hand back the full path and the chosen file type.
TEST(ExportSaveDialog, ExecuteShowsASaveDialogAndRemembersTheChoice)
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("Existing.txt"), "x");
    TSaveDialog dialog;
    dialog.SetDefaultExt("*.csv");
    dialog.SetFileName("Results");
    dialog.SetFilter("CSV (Comma Separated Value)|*.csv|TXT (Text File)|*.txt|Any (Any type)|*.*");
    dialog.SetInitialDir(dir.path() + "/");

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(fd, nullptr);
        seen = true;
        EXPECT_EQ(fd->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(fd->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(fd->defaultSuffix(), "csv");
        EXPECT_EQ(fd->selectedNameFilter(), "CSV (Comma Separated Value) (*.csv)");
        EXPECT_EQ(QDir(fd->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        fd->selectNameFilter("TXT (Text File) (*.txt)");
        fd->selectFile(dir.filePath("Existing.txt"));
        QMetaObject::invokeMethod(fd, "accept");
        if (fd->isVisible())
            fd->reject();
    });
    ASSERT_TRUE(dialog.Execute(nullptr));
    EXPECT_TRUE(seen);
    EXPECT_EQ(QFileInfo(dialog.FileName()).canonicalFilePath(),
              QFileInfo(dir.filePath("Existing.txt")).canonicalFilePath());
    EXPECT_EQ(dialog.FilterIndex(), 2);

    // Cancelling keeps what was chosen before.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(dialog.Execute(nullptr));
    EXPECT_EQ(QFileInfo(dialog.FileName()).fileName(), "Existing.txt");
    EXPECT_EQ(dialog.FilterIndex(), 2);
}
