#include "Printing.h"

#include <QBuffer>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrinter>

#include <optional>
#include <vector>

#include "PrintQueue.h"
#include "ServiceWait.h"
#include "StringGrid.h"
#include "VelApplicationTitle.h"
#include "VelErrors.h"

TQtPrinter::TQtPrinter(QPrinter& printer) : device_(&printer), printer_(&printer) {}

TQtPrinter::TQtPrinter(QPdfWriter& writer) : device_(&writer), writer_(&writer) {}

TQtPrinter::~TQtPrinter()
{
    if (painter_.isActive()) {
        if (printer_)
            printer_->abort();
        painter_.end();
    }
}

void TQtPrinter::BeginDoc()
{
    if (printer_)
        printer_->setDocName(title_);
    if (writer_)
        writer_->setTitle(title_);
    if (!painter_.begin(device_))
        throw EVelPrinterError(QStringLiteral("Printing could not be started"));
    painter_.setPen(pen_);
    painter_.setFont(font_);
}

void TQtPrinter::EndDoc()
{
    if (!painter_.end())
        throw EVelPrinterError(QStringLiteral("Printing could not be finished"));
}

void TQtPrinter::NewPage()
{
    if (!device_->newPage())
        throw EVelPrinterError(QStringLiteral("A new page could not be started"));
}

int TQtPrinter::PageHeight() const
{
    return device_->height();
}

void TQtPrinter::SetPenColor(const QColor& color)
{
    pen_ = color;
    if (painter_.isActive())
        painter_.setPen(pen_);
}

void TQtPrinter::SetFont(const QString& face, int pointSize, bool bold, bool underline)
{
    font_ = QFont(face);
    // Resolved against the device the painter works on, so points are the printer's points.
    font_.setPointSize(pointSize);
    font_.setBold(bold);
    font_.setUnderline(underline);
    if (painter_.isActive())
        painter_.setFont(font_);
}

void TQtPrinter::TextOut(int x, int y, const QString& text)
{
    DrawText(x, y, text);
}

void TQtPrinter::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    painter_.save();
    painter_.setClipRect(rect);
    painter_.fillRect(rect, Qt::white);
    DrawText(x, y, text);
    painter_.restore();
}

void TQtPrinter::DrawText(int x, int y, const QString& text)
{
    painter_.drawText(x, y + painter_.fontMetrics().ascent(), text);
}

QRect CellRect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

namespace {

const QString kFace = QStringLiteral("Times New Roman");
constexpr int kTitleX = 0;
constexpr int kTitleY = 100;
constexpr int kTitlePoints = 12;
constexpr int kCellPoints = 7;
constexpr int kColumnScale = 5;
constexpr int kRightInset = 30;
constexpr int kTextInset = 50;
constexpr int kHeaderTop = 300;
constexpr int kRowPitch = 150;

struct RowPlace {
    int row;
    int top;
};

// Rows 1.. onto pages, the header's place taken on every page. A row whose rectangle would reach
// below the printable area starts a new page, unless it is the first row there: a page too short
// for even one row still gets one, so printing always ends.
std::vector<std::vector<RowPlace>> LayOutPages(int rowCount, int pageHeight)
{
    std::vector<std::vector<RowPlace>> pages(1);
    int top = kHeaderTop + kRowPitch;
    for (int row = 1; row < rowCount; ++row) {
        if (!pages.back().empty() && top + kRowPitch > pageHeight) {
            pages.emplace_back();
            top = kHeaderTop + kRowPitch;
        }
        pages.back().push_back({row, top});
        top += kRowPitch;
    }
    return pages;
}

void PrintCell(TVelPrinter& printer, const StringGrid& grid, int col, int row, int left, int right, int top)
{
    printer.TextRect(CellRect(left, top, right - kRightInset, top + kRowPitch), left + kTextInset, top + kTextInset,
                     grid.Cells(col, row));
}

void PrintPage(TVelPrinter& printer, const StringGrid& grid, const std::vector<RowPlace>& rows)
{
    int left = 0;
    for (int col = 0; col < grid.ColCount(); ++col) {
        const int right = left + kColumnScale * grid.ColWidths(col);
        printer.SetFont(kFace, kCellPoints, true, false);
        PrintCell(printer, grid, col, 0, left, right, kHeaderTop);
        printer.SetFont(kFace, kCellPoints, false, false);
        for (const RowPlace& place : rows)
            PrintCell(printer, grid, col, place.row, left, right, place.top);
        left = right;
    }
}

} // namespace

void PrintGrid(const StringGrid& grid, const QString& title, TVelPrinter& printer)
{
    printer.SetTitle(title);
    printer.BeginDoc();
    printer.SetPenColor(Qt::black);
    printer.SetFont(kFace, kTitlePoints, true, true);
    printer.TextOut(kTitleX, kTitleY, printer.Title());

    const auto pages = LayOutPages(grid.RowCount(), printer.PageHeight());
    for (size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            printer.NewPage();
        PrintPage(printer, grid, pages[page]);
    }
    printer.EndDoc();
}

std::function<std::unique_ptr<TVelPrinter>()> PrintHooks::CreatePrinter;
std::chrono::milliseconds PrintHooks::ServiceBound{10000};
std::function<void(const QString&)> PrintHooks::Notice;

namespace {

// A service that answers within this never shows the "Printing…" box.
constexpr std::chrono::milliseconds kBoxDelay{500};

QString NotAccepting(const QString& queue)
{
    return QStringLiteral("The printer %1 is not accepting jobs").arg(queue);
}

QString NotTaken(const QString& queue, const QString& why)
{
    const QString message = QStringLiteral("The printer %1 did not take the job").arg(queue);
    return why.isEmpty() ? message : message + QStringLiteral(": ") + why;
}

void CheckQueue(const TPrintQueue& queue)
{
    if (queue.name.isEmpty())
        throw EVelPrinterError(QStringLiteral("There is no default printer currently selected"));
    if (!queue.failure.isEmpty())
        throw EVelPrinterError(NotTaken(queue.name, queue.failure));
    if (!queue.acceptingJobs)
        throw EVelPrinterError(NotAccepting(queue.name));
}

void CheckJob(const TPrintQueue& queue, const TJob& job)
{
    if (job.id > 0)
        return;
    throw EVelPrinterError(job.notAccepting ? NotAccepting(queue.name) : NotTaken(queue.name, job.error));
}

// The page as the queue will print it: its own resolution, paper and printable area.
QByteArray DrawDocument(const StringGrid& grid, const QString& title, const TPrintQueue& queue)
{
    QByteArray pdf;
    QBuffer out(&pdf);
    out.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&out);
        writer.setResolution(queue.resolution);
        if (queue.page.isValid())
            writer.setPageLayout(queue.page);
        TQtPrinter printer(writer);
        PrintGrid(grid, title, printer);
    }
    return pdf;
}

// The queue the job went to; nothing when the user cancelled.
std::optional<TPrintQueue> PrintToDefaultQueue(const StringGrid& grid, const QString& title)
{
    TServiceWait wait(grid.window(), PrintHooks::ServiceBound, kBoxDelay);
    std::optional<TPrintQueue> queue =
        wait.Run<TPrintQueue>([](const TServiceCall& call) { return LookUpQueue(call); });
    if (!queue)
        return std::nullopt;
    CheckQueue(*queue);
    const QByteArray pdf = DrawDocument(grid, title, *queue);
    const TPrintQueue target = *queue;
    const std::optional<TJob> job = wait.Run<TJob>(
        [target, title, pdf](const TServiceCall& call) { return SubmitJob(call, target, title, pdf); },
        [target, bound = PrintHooks::ServiceBound](TJob& late) { CancelJob(TServiceCall(bound), target, late.id); });
    if (!job)
        return std::nullopt;
    CheckJob(*queue, *job);
    return queue;
}

void Notify(QWidget* owner, const QString& text)
{
    if (PrintHooks::Notice) {
        PrintHooks::Notice(text);
        return;
    }
    QMessageBox box(QMessageBox::Information, VelApplicationTitle(), text, QMessageBox::NoButton, owner);
    // English like the text beside it, whatever translation of Qt is loaded.
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

void PrintGrid(const StringGrid& grid, const QString& title)
{
    if (PrintHooks::CreatePrinter) {
        const std::unique_ptr<TVelPrinter> printer = PrintHooks::CreatePrinter();
        PrintGrid(grid, title, *printer);
        return;
    }
    const std::optional<TPrintQueue> queue = PrintToDefaultQueue(grid, title);
    if (queue && queue->paused)
        Notify(grid.window(),
               QStringLiteral("The printer %1 is paused. The printout waits in its queue until the printer is resumed.")
                   .arg(queue->name));
}
