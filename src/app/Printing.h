#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class StringGrid;

// What printing the table needs of a printer: a job, pages and a canvas in device pixels with
// the origin at the top left of the printable area. Text positions name the top of the text.
class TVelPrinter {
public:
    virtual ~TVelPrinter() = default;

    virtual void SetTitle(const QString& title) = 0;
    virtual QString Title() const = 0;
    // Opens the job under the title and starts the first page.
    virtual void BeginDoc() = 0;
    // Finishes the page and hands the job over.
    virtual void EndDoc() = 0;
    virtual void NewPage() = 0;
    // Height of the printable area in device pixels.
    virtual int PageHeight() const = 0;

    virtual void SetPenColor(const QColor& color) = 0;
    // Size in points at the printer's own resolution.
    virtual void SetFont(const QString& face, int pointSize, bool bold, bool underline) = 0;
    virtual void TextOut(int x, int y, const QString& text) = 0;
    // Fills `rect` white and draws the text at (x, y), cut off at the rectangle's edges.
    virtual void TextRect(const QRect& rect, int x, int y, const QString& text) = 0;
};

// A Qt paged device behind the interface above: a printer set up by the caller (a PDF file, for
// instance), or the PDF document that goes to the print service.
class TQtPrinter : public TVelPrinter {
public:
    explicit TQtPrinter(QPrinter& printer);
    explicit TQtPrinter(QPdfWriter& writer);
    // A job still open here failed half way; it is aborted rather than sent half drawn.
    ~TQtPrinter() override;
    TQtPrinter(const TQtPrinter&) = delete;
    TQtPrinter& operator=(const TQtPrinter&) = delete;

    void SetTitle(const QString& title) override { title_ = title; }
    QString Title() const override { return title_; }
    void BeginDoc() override;
    void EndDoc() override;
    void NewPage() override;
    int PageHeight() const override;

    void SetPenColor(const QColor& color) override;
    void SetFont(const QString& face, int pointSize, bool bold, bool underline) override;
    void TextOut(int x, int y, const QString& text) override;
    void TextRect(const QRect& rect, int x, int y, const QString& text) override;

private:
    void DrawText(int x, int y, const QString& text);

    QPagedPaintDevice* device_;
    QPrinter* printer_ = nullptr;
    QPdfWriter* writer_ = nullptr;
    QPainter painter_;
    QString title_;
    QColor pen_ = Qt::black;
    QFont font_;
};

// Prints the table under `title`, column by column, continuing on further pages when the rows
// do not fit: each new page repeats the header row at the top, the title stays on the first.
void PrintGrid(const StringGrid& grid, const QString& title, TVelPrinter& printer);
// The same on the user's default print queue (or on the printer PrintHooks hands out). The print
// service is asked on threads of its own while the window answers (TServiceWait); the page is
// drawn here. Raises EVelPrinterError when there is no default queue, it rejects jobs, the service
// does not answer or does not take the job; tells the user when the queue is paused and the job
// waits in it. A print the user cancels ends quietly, with nothing printed.
void PrintGrid(const StringGrid& grid, const QString& title);

struct PrintHooks {
    // Lets a test print the window's table into a printer of its own instead of the default one.
    static std::function<std::unique_ptr<TVelPrinter>()> CreatePrinter;
    // How long the print service may take over one step of a print (finding the queue, taking
    // the job) before it counts as not answering.
    static std::chrono::milliseconds ServiceBound;
    // Shows what the user should know about a print that went through; a message box when empty.
    static std::function<void(const QString& text)> Notice;
};

// A cell's rectangle: left and top inclusive, right and bottom exclusive, as page coordinates
// are counted in the layout.
QRect CellRect(int left, int top, int right, int bottom);
