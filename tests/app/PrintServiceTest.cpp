// Printing through a real print service: a CUPS scheduler of the test's own (its own
// configuration, spool and socket, so neither a system scheduler nor another run of the suite is
// touched) with cups-pdf queues. The page the queue writes is read back with poppler's tools and
// measured in 300 dpi pixels. Services that reject, pause, hang or are gone are met the same way.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "ApplicationTestSupport.h"
#include "Main.h"
#include "PrintQueue.h"
#include "Printing.h"
#include "RunTool.h"
#include "ScopedEnv.h"
#include "StringGrid.h"
#include "VelExtSpinEdit.h"
#include "VelorinApplication.h"

namespace {

using namespace std::chrono_literals;

const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

QString Tool(const QString& name)
{
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
}

// Folders cups-pdf may write into: its Out setting, with ${HOME} the home of the job's owner as
// the system knows it, and the folder for jobs of unknown users.
QStringList PdfOutputFolders()
{
    QString out = QStringLiteral("${HOME}/PDF");
    QString anon = QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        static const QRegularExpression setting(QStringLiteral("^\\s*(Out|AnonDirName)\\s+(\\S.*?)\\s*$"));
        for (const QByteArray& raw : conf.readAll().split('\n')) {
            const QRegularExpressionMatch m = setting.match(QString::fromLocal8Bit(raw));
            if (m.hasMatch())
                (m.captured(1) == "Out" ? out : anon) = m.captured(2);
        }
    }
    const passwd* user = ::getpwuid(::geteuid());
    const QString home = user ? QFile::decodeName(user->pw_dir) : QDir::homePath();
    out.replace(QStringLiteral("${HOME}"), home);
    out.replace(QStringLiteral("${USER}"), user ? QString::fromLocal8Bit(user->pw_name) : QString());
    return {out, anon};
}

// The file cups-pdf wrote for job `jobId`: it names it after the job, "...-job_<id>.pdf". Only
// when it never shows is the newest file since `since` taken: cups-pdf may be set to leave the
// number out, and a file of another run is better not taken while ours may still come.
QString FindJobPdf(int jobId, const QDateTime& since)
{
    const QString suffix = QStringLiteral("job_%1.pdf").arg(jobId);
    QString newest;
    for (int waited = 0; waited < 10000; waited += 100) {
        QDateTime newestTime = since.addSecs(-2);
        for (const QString& folder : PdfOutputFolders()) {
            for (const QFileInfo& f : QDir(folder).entryInfoList({"*.pdf"}, QDir::Files)) {
                if (f.fileName().endsWith(suffix))
                    return f.absoluteFilePath();
                if (f.lastModified() >= newestTime) {
                    newestTime = f.lastModified();
                    newest = f.absoluteFilePath();
                }
            }
        }
        QThread::msleep(100);
    }
    return newest;
}

// A CUPS scheduler of this test's own, reached through a socket in its own folder that
// CUPS_SERVER names for this process and the tools it starts. Its queues print with cups-pdf;
// LPDEST makes one of them the default. Everything goes with it.
class TPrivateScheduler {
public:
    ~TPrivateScheduler()
    {
        if (cupsd_.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(cupsd_.processId()), SIGCONT);
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(10000))
            cupsd_.kill();
        cupsd_.waitForFinished();
    }

    // Empty when the scheduler answers, otherwise why there is none.
    QString Start()
    {
        for (const char* tool : {"cupsd", "lpadmin", "lpstat", "cupsreject", "cupsdisable", "pdfinfo", "pdftoppm"})
            if (Tool(tool).isEmpty())
                return QStringLiteral("%1 is not installed").arg(tool);
        if (!QFileInfo::exists(kPpd))
            return QStringLiteral("the cups-pdf driver is not installed (%1)").arg(kPpd);
        if (::geteuid() != 0)
            return QStringLiteral("only root may start a scheduler");
        if (QString why = WriteConfiguration(); !why.isEmpty())
            return why;
        cupsd_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        cupsd_.setStandardOutputFile(QProcess::nullDevice());
        cupsd_.start(Tool("cupsd"), {"-f", "-c", Path("cupsd.conf"), "-s", Path("cups-files.conf")});
        if (!cupsd_.waitForStarted(10000))
            return QStringLiteral("cupsd could not be started");
        for (int waited = 0; waited < 15000; waited += 100) {
            if (cupsd_.state() != QProcess::Running)
                return QStringLiteral("cupsd stopped right after starting");
            if (RunTool(Tool("lpstat"), {"-r"}, 5000).output.contains("scheduler is running"))
                return {};
            QThread::msleep(100);
        }
        return QStringLiteral("cupsd did not answer within 15 seconds");
    }

    // A cups-pdf queue; empty when it was added, otherwise what went wrong.
    QString AddQueue(const QString& name, const QStringList& driver = {"-P", kPpd})
    {
        const auto adds = [this] { return Operations().count(QStringLiteral("CUPS-Add-Modify-Printer")); };
        const qsizetype before = adds();
        const Ran added = RunTool(Tool("lpadmin"), QStringList{"-p", name, "-E", "-v", "cups-pdf:/"} + driver);
        if (added.exitCode != 0)
            return QStringLiteral("lpadmin failed: ") + added.output;
        // The scheduler logs a request only after answering it: a test that counts the operations
        // from here on must not find this one arriving late.
        return QTest::qWaitFor([&] { return adds() > before; }, 10000)
                   ? QString()
                   : QStringLiteral("the scheduler never logged the new queue");
    }

    // Freezes the scheduler where it stands, or lets it go on: it still takes connections.
    void Freeze(bool frozen) { ::kill(static_cast<pid_t>(cupsd_.processId()), frozen ? SIGSTOP : SIGCONT); }

    // The IPP operations the scheduler has been asked, oldest first.
    QStringList Operations() const
    {
        QFile log(Path("access_log"));
        QStringList operations;
        if (log.open(QIODevice::ReadOnly))
            for (const QByteArray& line : log.readAll().split('\n'))
                if (line.contains("\"POST "))
                    operations << QString::fromLatin1(line.split(' ').value(line.split(' ').size() - 2));
        return operations;
    }

    // Jobs of the queue, as lpstat lists them ("not-completed", "completed" or "all").
    QStringList Jobs(const QString& queue, const QString& which) const
    {
        return RunTool(Tool("lpstat"), {"-W", which, "-o", queue}).output.split('\n', Qt::SkipEmptyParts);
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    QString WriteConfiguration()
    {
        // Filters run as lp: they must reach the folder and write into its temporary one.
        QFile::setPermissions(dir_.path(), QFile::permissions(dir_.path()) | QFile::ExeGroup | QFile::ExeOther);
        for (const char* folder : {"spool", "cache", "state", "tmp"})
            if (!QDir(dir_.path()).mkpath(folder))
                return QStringLiteral("no folder for the scheduler");
        ::chmod(QFile::encodeName(Path("tmp")).constData(), 01777);
        const QString files = QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                             "StateDir %1/state\nTempDir %1/tmp\nAccessLog %1/access_log\n"
                                             "ErrorLog %1/error_log\nPageLog %1/page_log\nSystemGroup root\n")
                                  .arg(dir_.path());
        // Every request is logged, so a test can count them; anyone on the socket may do anything.
        const QString daemon = QStringLiteral("Listen %1\nAccessLogLevel all\nLogLevel warn\nErrorPolicy abort-job\n"
                                              "Browsing No\nWebInterface No\nDefaultAuthType None\n"
                                              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                              "</Policy>\n")
                                   .arg(Path("cups.sock"));
        // cups-pdf puts every scheduler's files into one folder and names them by job number:
        // numbering from the process id keeps runs of the suite side by side apart.
        const QString jobs = QStringLiteral("NextJobId %1\n").arg(::getpid());
        if (!Write("cups-files.conf", files) || !Write("cupsd.conf", daemon) || !Write("cache/job.cache", jobs))
            return QStringLiteral("the scheduler's configuration could not be written");
        qputenv("CUPS_SERVER", QFile::encodeName(Path("cups.sock")));
        return {};
    }

    bool Write(const QString& name, const QString& text) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
    }

    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/velorin-cups-XXXXXX")};
    TScopedEnv server_{"CUPS_SERVER"};
    QProcess cupsd_;
};

bool MustRun()
{
    return qgetenv("CI") == "true" && ::geteuid() == 0;
}

// CI must meet the real service; elsewhere a machine without it skips.
#define VELORIN_REQUIRE_SCHEDULER(scheduler)                                                                           \
    do {                                                                                                               \
        if (const QString why = (scheduler).Start(); !why.isEmpty()) {                                                 \
            if (MustRun())                                                                                             \
                FAIL() << "CI must print through CUPS, but " << why.toStdString();                                     \
            GTEST_SKIP() << "no print service: " << why.toStdString();                                                 \
        }                                                                                                              \
    } while (false)

// Rows of a rendered page that hold dark pixels, as bands [top, bottom] of consecutive rows.
struct Band {
    int top, bottom;
};

bool Dark(const QImage& page, int x, int y)
{
    return qGray(page.pixel(x, y)) < 128;
}

std::vector<Band> DarkBands(const QImage& page)
{
    std::vector<Band> bands;
    for (int y = 0; y < page.height(); ++y) {
        bool dark = false;
        for (int x = 0; x < page.width() && !dark; ++x)
            dark = Dark(page, x, y);
        if (!dark)
            continue;
        if (!bands.empty() && bands.back().bottom == y - 1)
            bands.back().bottom = y;
        else
            bands.push_back({y, y});
    }
    return bands;
}

// Left edges of the runs of dark columns within a band, runs closer than `gap` merged: the words.
std::vector<int> WordLefts(const QImage& page, const Band& band, int gap)
{
    std::vector<int> lefts;
    int lastDark = -gap - 1;
    for (int x = 0; x < page.width(); ++x) {
        bool dark = false;
        for (int y = band.top; y <= band.bottom && !dark; ++y)
            dark = Dark(page, x, y);
        if (!dark)
            continue;
        if (x - lastDark > gap)
            lefts.push_back(x);
        lastDark = x;
    }
    return lefts;
}

// The ids of the queue's completed jobs, once it holds no other job (or the wait ran out).
std::vector<int> CompletedJobs(const TPrivateScheduler& scheduler, const QString& queue)
{
    for (int waited = 0; waited < 60000 && !scheduler.Jobs(queue, "not-completed").isEmpty(); waited += 100)
        QThread::msleep(100);
    std::vector<int> ids;
    static const QRegularExpression job(QStringLiteral("^\\S+-(\\d+)\\s"));
    for (const QString& line : scheduler.Jobs(queue, "completed"))
        if (const QRegularExpressionMatch m = job.match(line); m.hasMatch())
            ids.push_back(m.captured(1).toInt());
    return ids;
}

// The window with one stored row, printing to the default queue as the program does, with the
// error box and the notices written down instead of shown.
class PrintRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitPictures();
        form = std::make_unique<TForm1>();
        form->Amp->SetValue(2);
        form->Resistance->SetValue(3.3);
        form->Calculation(form->StoreBB);
        previousBox_ = SetErrorBox([this](const QString&, const QString& text) { errors << text; });
        PrintHooks::Notice = [this](const QString& text) { notices << text; };
    }
    void TearDown() override
    {
        SetErrorBox(previousBox_);
        PrintHooks::Notice = nullptr;
        PrintHooks::ServiceBound = bound_;
    }

    void Print()
    {
        DeliverGuarded(
            [this] {
                form->PrintBBClick(form->PrintBB);
                return true;
            },
            QStringLiteral("Velorin"));
    }

    QStringList Cells() const
    {
        QStringList cells;
        for (int row = 0; row < form->ResultSG->RowCount(); ++row)
            for (int col = 0; col < form->ResultSG->ColCount(); ++col)
                cells << form->ResultSG->Cells(col, row);
        return cells;
    }

    std::unique_ptr<TForm1> form;
    QStringList errors, notices;
    TScopedEnv dest{"LPDEST"};

private:
    TErrorBox previousBox_;
    std::chrono::milliseconds bound_ = PrintHooks::ServiceBound;
};

} // namespace

// The window's Print on a PDF printer: one page, under the job's title, laid out in the printer's
// own 300 dpi pixels: title near the top left, the header row's text 250 pixels (0.83 inch) below
// it, columns 500 pixels apart, the stored row 150 pixels under the header.
TEST_F(PrintRun, PrintWritesOnePageAtTheQueuesOwnResolution)
{
    TPrivateScheduler scheduler;
    VELORIN_REQUIRE_SCHEDULER(scheduler);
    ASSERT_EQ(scheduler.AddQueue("pdf"), "");
    qputenv("LPDEST", "pdf");
    ASSERT_EQ(form->ResultSG->RowCount(), 3);
    const QDateTime started = QDateTime::currentDateTime();
    const qsizetype asked = scheduler.Operations().size();
    Print();
    EXPECT_EQ(errors, QStringList());
    EXPECT_EQ(notices, QStringList());

    // The queue and what it can do, then the job and its document: Qt's own route from
    // QPrinterInfo::defaultPrinter() to a printed page asks eleven times.
    const QStringList expected{"Get-Printer-Attributes", "Get-Printer-Attributes", "Create-Job", "Send-Document"};
    for (int waited = 0; waited < 10000 && scheduler.Operations().size() < asked + expected.size(); waited += 100)
        QThread::msleep(100);
    EXPECT_EQ(scheduler.Operations().mid(asked), expected);

    const std::vector<int> jobs = CompletedJobs(scheduler, "pdf");
    ASSERT_EQ(jobs.size(), 1u) << "the job did not complete";
    const QString pdf = FindJobPdf(jobs.front(), started);
    ASSERT_FALSE(pdf.isEmpty()) << "cups-pdf wrote no file into " << PdfOutputFolders().join(", ").toStdString();
    struct Cleanup {
        QString path;
        ~Cleanup() { QFile::remove(path); }
    } cleanup{pdf};
    // cups-pdf names the file after the job's title.
    EXPECT_TRUE(QFileInfo(pdf).fileName().startsWith("Calculation_Results")) << pdf.toStdString();

    const QString info = RunTool(Tool("pdfinfo"), {pdf}).output;
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("^Pages:\\s+1$"), QRegularExpression::MultilineOption)))
        << info.toStdString();
    // Ghostscript's pdfwrite keeps the PostScript string's parentheses in the title.
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("^Title:\\s+\\(?Calculation Results\\)?\\s*$"),
                                                 QRegularExpression::MultilineOption)))
        << info.toStdString();

    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    ASSERT_EQ(RunTool(Tool("pdftoppm"), {"-r", "300", "-gray", "-singlefile", pdf, prefix}).exitCode, 0);
    const QImage page(prefix + ".pgm");
    ASSERT_FALSE(page.isNull());

    const std::vector<Band> bands = DarkBands(page);
    // Title (with its underline), header row, stored row, and nothing else: the blank row is white.
    ASSERT_EQ(bands.size(), 3u);
    const Band title = bands[0], header = bands[1], row = bands[2];
    const int titleLeft = WordLefts(page, title, 40).front();
    EXPECT_LT(titleLeft, 300) << "title more than an inch from the left edge";
    EXPECT_LT(title.top, 450) << "title far below the top";
    // A 12 point line at 300 dpi is about 50 pixels high; at 1,200 dpi it would be a fifth of that.
    EXPECT_GT(title.bottom - title.top, 25);
    EXPECT_NEAR(header.top - title.top, 250, 40);
    EXPECT_NEAR(row.top - header.top, 150, 25);

    const std::vector<int> headers = WordLefts(page, header, 60);
    ASSERT_EQ(headers.size(), 3u) << "Voltage, Amperage, Resistance";
    EXPECT_NEAR(headers[0] - titleLeft, 50, 20);
    EXPECT_NEAR(headers[1] - headers[0], 500, 20);
    EXPECT_NEAR(headers[2] - headers[0], 1000, 20);
    const std::vector<int> cells = WordLefts(page, row, 60);
    ASSERT_EQ(cells.size(), 3u) << "6.6, 2, 3.3";
    for (size_t c = 0; c < 3; ++c)
        EXPECT_NEAR(cells[c], headers[c], 6) << c;
}

namespace {

enum class TService { Scheduler, Frozen, Silent, Gone };

struct FaultCase {
    const char* name;
    TService service;
    const char* queueTool; // run on the queue before the print, when there is one
    bool cancel;           // the user cancels once the "Printing…" box shows
    const char* error;     // the error box's text ("%1" the queue); empty: none
    const char* notice;    // the same for the notice
    int jobs;              // jobs the queue holds afterwards
};

[[maybe_unused]] void PrintTo(const FaultCase& c, std::ostream* os)
{
    *os << c.name;
}

QStringList Told(const char* text, const QString& queue)
{
    const QString told = QString::fromUtf8(text);
    if (told.isEmpty())
        return {};
    return {told.contains("%1") ? told.arg(queue) : told};
}

bool Hangs(TService service)
{
    return service == TService::Frozen || service == TService::Silent;
}

// Counts the turns the window's event loop takes while a print runs, and whether the
// "Printing…" box stood in front of the window; cancels the box like a user when asked to.
class TWindowWatch {
public:
    TWindowWatch(QWidget& window, bool cancel) : window_(window), cancel_(cancel)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(10);
    }

    int turns = 0;
    bool boxShown = false;

private:
    void Tick()
    {
        ++turns;
        auto* box = window_.findChild<QProgressDialog*>();
        if (!box || !box->isVisible())
            return;
        boxShown = true;
        if (cancel_ && std::exchange(cancel_, false))
            QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
    }

    QWidget& window_;
    bool cancel_;
    QTimer timer_;
};

// A service that takes the connection and never answers; its socket file's path when it listens,
// empty otherwise. A socket file, as the private scheduler uses, needs no network, not even the
// loopback.
class TSilentService {
public:
    TSilentService()
    {
        const QByteArray path = QFile::encodeName(folder_.filePath(QStringLiteral("silent.sock")));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd_ < 0 || !folder_.isValid() || std::size_t(path.size()) >= sizeof address.sun_path)
            return;
        std::copy(path.begin(), path.end(), address.sun_path);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd_, 16) == 0)
            server_ = path;
    }
    ~TSilentService()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TSilentService(const TSilentService&) = delete;
    TSilentService& operator=(const TSilentService&) = delete;

    const QByteArray& Server() const { return server_; }

private:
    QTemporaryDir folder_;
    int fd_ = -1;
    QByteArray server_;
};

class PrintServiceFaults : public PrintRun, public ::testing::WithParamInterface<FaultCase> {};

} // namespace

// Whatever the service does, the window goes on answering, the user learns what became of the
// print, and the table stays as it was.
TEST_P(PrintServiceFaults, TellTheUserAndKeepTheWindowAnswering)
{
    const FaultCase& c = GetParam();
    TPrivateScheduler scheduler;
    TSilentService silent;
    std::optional<TScopedEnv> server;
    const QString queue = QStringLiteral("pdf");
    if (c.service == TService::Silent) {
        ASSERT_FALSE(silent.Server().isEmpty());
        server.emplace("CUPS_SERVER", silent.Server());
    } else if (c.service == TService::Gone) {
        server.emplace("CUPS_SERVER", QFile::encodeName(QDir::tempPath() + "/velorin-no-such-service.sock"));
    } else {
        VELORIN_REQUIRE_SCHEDULER(scheduler);
        ASSERT_EQ(scheduler.AddQueue(queue), "");
        if (c.queueTool) {
            ASSERT_EQ(RunTool(Tool(c.queueTool), {queue}).exitCode, 0);
        }
    }
    qputenv("LPDEST", queue.toUtf8());
    // A short bound keeps a silent service from holding the suite up; a print the user cancels
    // must end by the cancel, long before its bound.
    if (Hangs(c.service))
        PrintHooks::ServiceBound = c.cancel ? 60s : 1500ms;
    const QStringList cells = Cells();

    if (c.service == TService::Frozen)
        scheduler.Freeze(true);
    TWindowWatch watch(*form, c.cancel);
    Print();
    if (c.service == TService::Frozen)
        scheduler.Freeze(false);

    EXPECT_EQ(errors, Told(c.error, queue));
    EXPECT_EQ(notices, Told(c.notice, queue));
    EXPECT_EQ(Cells(), cells);
    if (Hangs(c.service)) {
        EXPECT_GT(watch.turns, 0) << "the window stopped answering";
        EXPECT_TRUE(watch.boxShown);
    }
    if (c.jobs >= 0) {
        EXPECT_EQ(scheduler.Jobs(queue, "all").size(), c.jobs);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintServiceFaults,
    ::testing::Values(
        FaultCase{"RejectingQueue", TService::Scheduler, "cupsreject", false, "The printer %1 is not accepting jobs.",
                  "", 0},
        FaultCase{"PausedQueue", TService::Scheduler, "cupsdisable", false, "",
                  "The printer %1 is paused. The printout waits in its queue until the printer is resumed.", 1},
        FaultCase{"FrozenScheduler", TService::Frozen, nullptr, false, "The print service does not answer.", "", 0},
        FaultCase{"SilentService", TService::Silent, nullptr, false, "The print service does not answer.", "", -1},
        FaultCase{"CancelledWhileSilent", TService::Silent, nullptr, true, "", "", -1},
        FaultCase{"NoService", TService::Gone, nullptr, false, "There is no default printer currently selected.", "",
                  -1}),
    [](const auto& row) { return std::string(row.param.name); });

// The lookup reads what the queue itself reports: its resolution (300 dpi when it reports none)
// and its paper (none for a raw queue).
TEST(PrintQueueLookup, ReadsTheQueuesOwnResolutionAndPaper)
{
    TPrivateScheduler scheduler;
    VELORIN_REQUIRE_SCHEDULER(scheduler);
    const struct {
        const char* queue;
        QStringList driver;
        int dpi;
        QPageSize::PageSizeId paper;
    } cases[] = {
        {"pdf", {"-P", kPpd, "-o", "PageSize=A4"}, 300, QPageSize::A4},
        {"fine", {"-P", kPpd, "-o", "Resolution=600dpi", "-o", "PageSize=Letter"}, 600, QPageSize::Letter},
        {"raw", {"-m", "raw"}, 300, QPageSize::Custom},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.queue);
        ASSERT_EQ(scheduler.AddQueue(c.queue, c.driver), "");
        const TPrintQueue queue = LookUpQueue(TServiceCall(10s), c.queue);
        EXPECT_EQ(queue.name, c.queue);
        EXPECT_TRUE(queue.acceptingJobs);
        EXPECT_FALSE(queue.paused);
        EXPECT_EQ(queue.resolution, c.dpi);
        EXPECT_EQ(queue.page.isValid() ? queue.page.pageSize().id() : QPageSize::Custom, c.paper);
    }
    EXPECT_EQ(LookUpQueue(TServiceCall(10s), "velorin-no-such-queue").name, "");
}
