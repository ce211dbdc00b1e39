// Printing through a real print service: CUPS with a cups-pdf queue as the default printer. The
// page the queue writes is read back with poppler's tools and measured in 300 dpi pixels.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <optional>
#include <pwd.h>
#include <unistd.h>
#include <vector>

#include "About.h"
#include "ApplicationTestSupport.h"
#include "Main.h"
#include "Printing.h"
#include "RunTool.h"
#include "StringGrid.h"
#include "VelExtSpinEdit.h"

namespace {

const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
const QString kQueuePrefix = QStringLiteral("velorin-test-");

QString Tool(const QString& name)
{
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
}

bool SchedulerRunning()
{
    const Ran r = RunTool(Tool("lpstat"), {"-r"}, 5000);
    return r.exitCode == 0 && r.output.contains("scheduler is running") && !r.output.contains("not running");
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

// The file cups-pdf wrote for job `jobId`: it names it after the job, "...-job_<id>.pdf".
QString FindJobPdf(int jobId, const QDateTime& since)
{
    const QString suffix = QStringLiteral("job_%1.pdf").arg(jobId);
    QString newest;
    QDateTime newestTime = since.addSecs(-2);
    for (const QString& folder : PdfOutputFolders()) {
        const QFileInfoList files = QDir(folder).entryInfoList({"*.pdf"}, QDir::Files);
        for (const QFileInfo& f : files) {
            if (f.fileName().endsWith(suffix))
                return f.absoluteFilePath();
            if (f.lastModified() >= newestTime) {
                newestTime = f.lastModified();
                newest = f.absoluteFilePath();
            }
        }
    }
    return newest;
}

// A temporary cups-pdf queue made this process's default printer (LPDEST), on the running
// scheduler or on one started here. Everything is undone when it goes; queues left by a run that
// was killed are removed on the way in.
class PdfQueue {
public:
    ~PdfQueue()
    {
        if (!name_.isEmpty())
            RunTool(Tool("lpadmin"), {"-x", name_});
        if (scheduler_) {
            scheduler_->terminate();
            if (!scheduler_->waitForFinished(10000))
                scheduler_->kill();
            scheduler_->waitForFinished();
        }
        if (!savedDest_.isNull())
            qputenv("LPDEST", savedDest_);
        else
            qunsetenv("LPDEST");
    }

    // Empty when the queue is ready, otherwise why there is none.
    QString Create()
    {
        for (const char* tool : {"cupsd", "lpadmin", "lpstat", "pdfinfo", "pdftoppm"})
            if (Tool(tool).isEmpty())
                return QStringLiteral("%1 is not installed").arg(tool);
        if (!QFileInfo::exists(kPpd))
            return QStringLiteral("the cups-pdf driver is not installed (%1)").arg(kPpd);
        if (!SchedulerRunning()) {
            if (::geteuid() != 0)
                return QStringLiteral("cupsd is not running, and only root may start it");
            if (const QString why = StartScheduler(); !why.isEmpty())
                return why;
        }
        RemoveStaleQueues();
        name_ = kQueuePrefix + QString::number(::getpid());
        const Ran added = RunTool(Tool("lpadmin"), {"-p", name_, "-E", "-v", "cups-pdf:/", "-P", kPpd});
        if (added.exitCode != 0) {
            name_.clear();
            return QStringLiteral("lpadmin could not add a cups-pdf queue: ") + added.output;
        }
        savedDest_ = qgetenv("LPDEST");
        qputenv("LPDEST", name_.toUtf8());
        return {};
    }

    const QString& Name() const { return name_; }

    // Waits until the queue holds no job, then returns the completed jobs' ids.
    std::vector<int> CompletedJobs(int timeoutMs = 60000) const
    {
        for (int waited = 0; waited < timeoutMs; waited += 100) {
            if (RunTool(Tool("lpstat"), {"-o", name_}).output.trimmed().isEmpty())
                break;
            QThread::msleep(100);
        }
        std::vector<int> ids;
        static const QRegularExpression job(QStringLiteral("^\\S+-(\\d+)\\s"), QRegularExpression::MultilineOption);
        const QString listed = RunTool(Tool("lpstat"), {"-W", "completed", "-o", name_}).output;
        for (auto it = job.globalMatch(listed); it.hasNext();)
            ids.push_back(it.next().captured(1).toInt());
        return ids;
    }

private:
    QString StartScheduler()
    {
        scheduler_ = std::make_unique<QProcess>();
        scheduler_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        scheduler_->setStandardOutputFile(QProcess::nullDevice());
        scheduler_->start(Tool("cupsd"), {"-f"});
        if (!scheduler_->waitForStarted(10000))
            return QStringLiteral("cupsd could not be started");
        for (int waited = 0; waited < 15000; waited += 100) {
            if (scheduler_->state() != QProcess::Running)
                return QStringLiteral("cupsd stopped right after starting");
            if (SchedulerRunning())
                return {};
            QThread::msleep(100);
        }
        return QStringLiteral("cupsd did not answer within 15 seconds");
    }

    static void RemoveStaleQueues()
    {
        static const QRegularExpression queue(QStringLiteral("^") + kQueuePrefix + QStringLiteral("(\\d+)$"),
                                              QRegularExpression::MultilineOption);
        const QString listed = RunTool(Tool("lpstat"), {"-e"}).output;
        for (auto it = queue.globalMatch(listed); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const pid_t owner = m.captured(1).toInt();
            if (owner != ::getpid() && ::kill(owner, 0) != 0)
                RunTool(Tool("lpadmin"), {"-x", m.captured(0)});
        }
    }

    QString name_;
    QByteArray savedDest_;
    std::unique_ptr<QProcess> scheduler_;
};

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

bool MustRun()
{
    return qgetenv("CI") == "true" && ::geteuid() == 0;
}

} // namespace

// The window's Print on a PDF printer: one page, under the job's title, laid out in the printer's
// own 300 dpi pixels: title near the top left, the header row's text 250 pixels (0.83 inch) below
// it, columns 500 pixels apart, the stored row 150 pixels under the header.
TEST(PrintService, PrintWritesOnePageAtTheQueuesOwnResolution)
{
    PdfQueue queue;
    if (const QString why = queue.Create(); !why.isEmpty()) {
        if (MustRun())
            FAIL() << "CI must print through CUPS, but " << why.toStdString();
        GTEST_SKIP() << "no print service: " << why.toStdString();
    }
    ASSERT_EQ(QPrinterInfo::defaultPrinter().printerName(), queue.Name());
    EXPECT_EQ(TQtPrinter().Resolution(), 300);

    InitPictures();
    TForm1 form;
    form.Amp->SetValue(2);
    form.Resistance->SetValue(3.3);
    form.Calculation(form.StoreBB);
    ASSERT_EQ(form.ResultSG->RowCount(), 3);
    const QDateTime started = QDateTime::currentDateTime();
    form.PrintBBClick(form.PrintBB);

    const std::vector<int> jobs = queue.CompletedJobs();
    ASSERT_EQ(jobs.size(), 1u) << "the job did not complete";
    QString pdf;
    for (int waited = 0; waited < 10000 && pdf.isEmpty(); waited += 100) {
        pdf = FindJobPdf(jobs.front(), started);
        if (pdf.isEmpty())
            QThread::msleep(100);
    }
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
