#include <QCoreApplication>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <vector>

#include "About.h"
#include "ApplicationTestSupport.h"
#include "Main.h"
#include "PrintQueue.h"
#include "PrinterResolution.h"
#include "Printing.h"
#include "RowNames.h"
#include "StringGridTestSupport.h"

namespace {

// Writes every call down as one line, so a printout is compared as a whole list.
class RecordingPrinter : public TVelPrinter {
public:
    explicit RecordingPrinter(int pageHeight = 6000) : pageHeight_(pageHeight) {}

    void SetTitle(const QString& title) override
    {
        title_ = title;
        calls.append("SetTitle " + title);
    }
    QString Title() const override { return title_; }
    void BeginDoc() override { calls.append("BeginDoc"); }
    void EndDoc() override { calls.append("EndDoc"); }
    void NewPage() override { calls.append("NewPage"); }
    int PageHeight() const override { return pageHeight_; }
    void SetPenColor(const QColor& color) override { calls.append("Pen " + color.name()); }
    void SetFont(const QString& face, int pointSize, bool bold, bool underline) override
    {
        calls.append(QStringLiteral("Font %1 %2%3%4")
                         .arg(face)
                         .arg(pointSize)
                         .arg(bold ? " bold" : "", underline ? " underline" : ""));
    }
    void TextOut(int x, int y, const QString& text) override
    {
        calls.append(QStringLiteral("TextOut %1,%2 %3").arg(x).arg(y).arg(text));
    }
    void TextRect(const QRect& rect, int x, int y, const QString& text) override
    {
        calls.append(Cell(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height(), x, y, text));
    }

    static QString Cell(int left, int top, int right, int bottom, int x, int y, const QString& text)
    {
        return QStringLiteral("TextRect %1,%2,%3,%4 %5,%6 %7")
            .arg(left)
            .arg(top)
            .arg(right)
            .arg(bottom)
            .arg(x)
            .arg(y)
            .arg(text);
    }

    QStringList calls;

private:
    int pageHeight_;
    QString title_;
};

const QString kTitleFont = "Font Times New Roman 12 bold underline";
const QString kHeaderFont = "Font Times New Roman 7 bold";
const QString kRowFont = "Font Times New Roman 7";

// A cell of the layout: column c at 500 * c, rectangle 470 wide and 150 high, text 50 in.
QString CellCall(int col, int top, const QString& text)
{
    return RecordingPrinter::Cell(500 * col, top, 500 * col + 470, top + 150, 500 * col + 50, top + 50, text);
}

QStringList Prologue()
{
    return {"SetTitle Calculation Results", "BeginDoc", "Pen #000000", kTitleFont, "TextOut 0,100 Calculation Results"};
}

} // namespace

TEST(PrintGrid, EmptyTablePrintsTitleHeaderAndOneBlankRowColumnByColumn)
{
    auto grid = MakeResultsGrid();
    RecordingPrinter printer;
    PrintGrid(*grid, "Calculation Results", printer);
    QStringList expected = Prologue();
    const QStringList header{"Voltage", "Amperage", "Resistance"};
    for (int c = 0; c < 3; ++c)
        expected << kHeaderFont << CellCall(c, 300, header[c]) << kRowFont << CellCall(c, 450, "");
    expected << "EndDoc";
    EXPECT_EQ(printer.calls, expected);
}

TEST(PrintGrid, StoredRowsFollowThePitchAndEndInTheBlankRow)
{
    auto grid = MakeResultsGrid();
    StoreRows(*grid, {{2, 1, 2}, {6, 2, 3}, {12, 3, 4}});
    RecordingPrinter printer;
    PrintGrid(*grid, "Calculation Results", printer);
    QStringList expected = Prologue();
    for (int c = 0; c < 3; ++c) {
        expected << kHeaderFont << CellCall(c, 300, grid->Cells(c, 0)) << kRowFont;
        for (int r = 1; r <= 4; ++r)
            expected << CellCall(c, 300 + 150 * r, grid->Cells(c, r));
    }
    expected << "EndDoc";
    EXPECT_EQ(printer.calls, expected);
    EXPECT_EQ(printer.calls.count(kHeaderFont), 3);
    EXPECT_EQ(printer.calls.count(kTitleFont), 1);
    EXPECT_TRUE(printer.calls.contains(CellCall(2, 750, "4")));
}

// Columns are laid out from the grid's widths, five page pixels per screen pixel.
TEST(PrintGrid, ColumnsFollowTheGridWidths)
{
    auto grid = MakeResultsGrid();
    grid->SetDefaultColWidth(64);
    RecordingPrinter printer;
    PrintGrid(*grid, "T", printer);
    EXPECT_TRUE(printer.calls.contains(RecordingPrinter::Cell(320, 300, 610, 450, 370, 350, "Amperage")));
    EXPECT_TRUE(printer.calls.contains(RecordingPrinter::Cell(640, 450, 930, 600, 690, 500, "")));
}

struct PagesCase {
    const char* name;
    int pageHeight;
    int storedRows;
    std::vector<std::vector<std::pair<int, int>>> pages; // (row, top) per page, header excluded
    friend void PrintTo(const PagesCase& Row, std::ostream* Os) { *Os << Row.name; }
};

class PrintGridPages : public ::testing::TestWithParam<PagesCase> {};

// Rows that would cross the bottom of the printable area go on to the next page, under the header
// repeated at the top; the title stays on the first page.
TEST_P(PrintGridPages, BreaksBeforeARowThatWouldCrossTheBottom)
{
    const PagesCase& c = GetParam();
    auto grid = MakeResultsGrid();
    for (int i = 1; i <= c.storedRows; ++i)
        StoreResultRow(*grid, i, 1, i);
    RecordingPrinter printer(c.pageHeight);
    PrintGrid(*grid, "Calculation Results", printer);

    QStringList expected = Prologue();
    for (size_t p = 0; p < c.pages.size(); ++p) {
        if (p > 0)
            expected << "NewPage";
        for (int col = 0; col < 3; ++col) {
            expected << kHeaderFont << CellCall(col, 300, grid->Cells(col, 0)) << kRowFont;
            for (const auto& [row, top] : c.pages[p])
                expected << CellCall(col, top, grid->Cells(col, row));
        }
    }
    expected << "EndDoc";
    EXPECT_EQ(printer.calls, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintGridPages,
    ::testing::Values(PagesCase{"ExactFitStaysOnOnePage", 1050, 3, {{{1, 450}, {2, 600}, {3, 750}, {4, 900}}}},
                      PagesCase{"OnePixelShortBreaks", 1049, 3, {{{1, 450}, {2, 600}, {3, 750}}, {{4, 450}}}},
                      PagesCase{"ThreePages", 900, 5, {{{1, 450}, {2, 600}, {3, 750}}, {{4, 450}, {5, 600}, {6, 750}}}},
                      PagesCase{
                          "ThirdPage", 750, 5, {{{1, 450}, {2, 600}}, {{3, 450}, {4, 600}}, {{5, 450}, {6, 600}}}},
                      // A page too short for any row still takes one, so printing ends.
                      PagesCase{"TooShortForARow", 400, 2, {{{1, 450}}, {{2, 450}}, {{3, 450}}}}),
    RowName());

namespace {

int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString pdf = QString::fromLatin1(file.readAll());
    return static_cast<int>(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

} // namespace

TEST(PrintGrid, PrintsThroughQPrinterIntoAOnePagePdf)
{
    QTemporaryDir dir;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(dir.filePath("table.pdf"));
    auto grid = MakeResultsGrid();
    StoreRows(*grid, {{2, 1, 2}, {6, 2, 3}});
    {
        TQtPrinter printer(pdf);
        PrintGrid(*grid, "Calculation Results", printer);
    }
    EXPECT_EQ(pdf.docName(), "Calculation Results");
    EXPECT_EQ(PdfPageCount(dir.filePath("table.pdf")), 1);
}

TEST(PrintGrid, LongTablesContinueOnFurtherPdfPages)
{
    QTemporaryDir dir;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(dir.filePath("long.pdf"));
    auto grid = MakeResultsGrid();
    TQtPrinter printer(pdf);
    const int rowsPerPage = (printer.PageHeight() - 450) / 150;
    ASSERT_GT(rowsPerPage, 1);
    for (int i = 0; i < 2 * rowsPerPage; ++i)
        StoreResultRow(*grid, i, 1, i);
    PrintGrid(*grid, "Calculation Results", printer);
    // 2 * rowsPerPage stored rows and the blank row: three pages.
    EXPECT_EQ(PdfPageCount(dir.filePath("long.pdf")), 3);
}

TEST(PrinterResolution, ReadsTheVerticalDefaultOfAPpd)
{
    const struct {
        const char* ppd;
        int dpi;
    } cases[] = {
        {"*PPD-Adobe: \"4.3\"\n*DefaultResolution: 300dpi\n*Resolution 300dpi: \"\"\n", 300},
        {"*DefaultResolution: 600x1200dpi\r\n", 1200},
        {"*DefaultResolution: 118dpcm\n", 300},
        {"*Resolution 600dpi/600 DPI: \"\"\n", 0},
        {"*DefaultResolution: Unknown\n", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PpdDefaultResolution(QByteArray(c.ppd)), c.dpi) << c.ppd;
}

namespace {

bool PrintServiceLoaded()
{
    void* library = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (library)
        dlclose(library);
    return library != nullptr;
}

} // namespace

// libcups and the libraries it pulls in cost every start time and memory; they wait for the
// first printout.
TEST(PrinterResolution, ThePrintServiceIsLoadedOnlyWhenAsked)
{
    const char* const freshMark = "VELORIN_FRESH_PROCESS";
    if (PrintServiceLoaded() && !qEnvironmentVariableIsSet(freshMark)) {
        // An earlier test of this process has printed; a fresh copy of it answers instead.
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(freshMark, "1");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=PrinterResolution.ThePrintServiceIsLoadedOnlyWhenAsked"});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
        return;
    }
    ASSERT_FALSE(PrintServiceLoaded()) << "loaded with the program";
    InitPictures();
    {
        TForm1 form;
        TAboutBox box(&form);
        EXPECT_FALSE(PrintServiceLoaded()) << "loaded with the windows";
    }
    EXPECT_EQ(LookUpQueue(TServiceCall(std::chrono::seconds(10)), QStringLiteral("velorin-no-such-queue")).name, "");
    EXPECT_TRUE(PrintServiceLoaded());
}
