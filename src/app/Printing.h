#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

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

// A QPrinter behind the interface above: the system's default printer, printed straight to the
// print service, or a printer set up by the caller (a PDF file, for instance).
class TQtPrinter : public TVelPrinter {
public:
    // The default printer at the resolution its queue reports (PrinterResolution); raises EVelPrinterError when there
    // is none.
    TQtPrinter();
    explicit TQtPrinter(QPrinter& printer);
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
    // Device pixels per inch of the page.
    int Resolution() const;

    void SetPenColor(const QColor& color) override;
    void SetFont(const QString& face, int pointSize, bool bold, bool underline) override;
    void TextOut(int x, int y, const QString& text) override;
    void TextRect(const QRect& rect, int x, int y, const QString& text) override;

private:
    void DrawText(int x, int y, const QString& text);

    std::unique_ptr<QPrinter> owned_;
    QPrinter* printer_;
    QPainter painter_;
    QString title_;
    QColor pen_ = Qt::black;
    QFont font_;
};

// Prints the table under `title`, column by column, continuing on further pages when the rows
// do not fit: each new page repeats the header row at the top, the title stays on the first.
void PrintGrid(const StringGrid& grid, const QString& title, TVelPrinter& printer);
// The same on the system's default printer, or on the one PrintHooks hands out.
void PrintGrid(const StringGrid& grid, const QString& title);

// Lets a test print the window's table into a printer of its own instead of the default one.
struct PrintHooks {
    static std::function<std::unique_ptr<TVelPrinter>()> CreatePrinter;
};

// A cell's rectangle: left and top inclusive, right and bottom exclusive, as page coordinates
// are counted in the layout.
QRect CellRect(int left, int top, int right, int bottom);
