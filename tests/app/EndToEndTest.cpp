// The calculator as a user drives it: keys, clicks and the wheel only. The controls are read,
// never called, so every path from the event to the result labels, the table, the file and the
// printout is the program's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ActiveFormTest.h"
#include "Export.h"
#include "FakeClock.h"
#include "Main.h"
#include "Printing.h"
#include "QtPrinters.h"
#include "SaveDialog.h"
#include "StringGrid.h"
#include "VelExtSpinEdit.h"
#include "VelSpinButton.h"
#include "VelSpinEdit.h"

namespace {

// Keeps what a printout would put on paper, in order.
class PaperPrinter : public TVelPrinter {
public:
    explicit PaperPrinter(QStringList& paper) : paper_(paper) {}
    void SetTitle(const QString& title) override { title_ = title; }
    QString Title() const override { return title_; }
    void BeginDoc() override { paper_ << "begin " + title_; }
    void EndDoc() override { paper_ << "end"; }
    void NewPage() override { paper_ << "page"; }
    int PageHeight() const override { return 6000; }
    void SetPenColor(const QColor&) override {}
    void SetFont(const QString&, int, bool, bool) override {}
    void TextOut(int, int, const QString& text) override { paper_ << text; }
    void TextRect(const QRect&, int, int, const QString& text) override { paper_ << text; }

private:
    QStringList& paper_;
    QString title_;
};

class EndToEnd : public ActiveFormTest {
protected:
    QPoint UpHalf(TVelCustomExtSpinEdit* e) { return e->SpinButton()->BoundsRect().topLeft() + QPoint(3, 3); }
    QPoint DownHalf(TVelCustomExtSpinEdit* e) { return e->SpinButton()->BoundsRect().bottomRight() - QPoint(3, 3); }
    void Click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    QStringList Labels() const { return {form->Label6->text(), form->Label7->text(), form->Label8->text()}; }
};

TEST_F(EndToEnd, TypedInputsGiveTheVoltage)
{
    SelectAllAndType(form->Amp, "2");
    SelectAllAndType(form->Resistance, "3.3");
    EXPECT_EQ(form->Amp->Text(), "2.0");
    EXPECT_EQ(form->Resistance->Text(), "3.3");
    EXPECT_EQ(form->Label6->text(), "Voltage = 6.6 Volts");
}

TEST_F(EndToEnd, StepKeysInAmp)
{
    ClickIntoStart(form->Amp);
    const struct {
        Qt::Key key;
        const char* text;
    } steps[] = {{Qt::Key_Up, "1.0"},
                 {Qt::Key_PageUp, "11.0"},
                 {Qt::Key_PageDown, "1.0"},
                 {Qt::Key_Down, "0.0"},
                 {Qt::Key_Down, "0.0"}};
    for (const auto& s : steps) {
        QTest::keyClick(form->Amp, s.key);
        EXPECT_EQ(form->Amp->Text(), QString::fromLatin1(s.text)) << s.text;
    }
}

TEST_F(EndToEnd, UpInTheFractionStepsByATenth)
{
    SelectAllAndType(form->Amp, "5");
    ASSERT_EQ(form->Amp->Text(), "5.0");
    // Between the separator and the last digit: the caret stands in the fraction.
    const int x = (form->Amp->CharPosToX(3) + form->Amp->CharPosToX(4)) / 2;
    QTest::mouseClick(form->Amp, Qt::LeftButton, {}, QPoint(x, form->Amp->height() / 2));
    QTest::keyClick(form->Amp, Qt::Key_Up);
    EXPECT_EQ(form->Amp->Text(), "5.1");
    QTest::keyClick(form->Amp, Qt::Key_Up);
    EXPECT_EQ(form->Amp->Text(), "5.2");
    EXPECT_EQ(form->Label6->text(), "Voltage = 0 Volt");
}

TEST_F(EndToEnd, SpinHalvesOfAnUnfocusedEditFocusAndStep)
{
    const struct {
        bool up;
        const char* text;
    } clicks[] = {{true, "1.0"}, {true, "2.0"}, {false, "1.0"}};
    for (const auto& c : clicks) {
        ClickIntoStart(form->Resistance);
        ASSERT_TRUE(form->Resistance->hasFocus());
        QTest::mouseClick(form->Amp, Qt::LeftButton, {}, c.up ? UpHalf(form->Amp) : DownHalf(form->Amp));
        EXPECT_TRUE(form->Amp->hasFocus());
        EXPECT_EQ(form->Amp->Text(), QString::fromLatin1(c.text));
    }
}

TEST_F(EndToEnd, HoldingTheUpHalfRepeats)
{
    TFakeClock clock;
    QTest::mousePress(form->Amp, Qt::LeftButton, {}, UpHalf(form->Amp));
    // One step at the press, one 300 ms later, then one every 100 ms.
    clock.Advance(1000);
    QTest::mouseRelease(form->Amp, Qt::LeftButton, {}, UpHalf(form->Amp));
    EXPECT_EQ(form->Amp->Text(), "9.0");
    clock.Advance(1000);
    EXPECT_EQ(form->Amp->Text(), "9.0");
}

TEST_F(EndToEnd, WheelStepsTheFocusedInputOnly)
{
    ClickIntoStart(form->Amp);
    const QPoint at(20, 10);
    QWheelEvent up(QPointF(at), QPointF(form->Amp->mapToGlobal(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->Amp, &up);
    EXPECT_EQ(form->Amp->Text(), "1.0");
    QWheelEvent past(QPointF(at), QPointF(form->Resistance->mapToGlobal(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->Resistance, &past);
    EXPECT_EQ(form->Resistance->Text(), "0.0");
}

TEST_F(EndToEnd, DecimalsInputClampsAndReformatsTheThreeInputs)
{
    SelectAllAndType(form->Amp, "2");
    SelectAllAndType(form->DecimalR, "15");
    EXPECT_EQ(form->DecimalR->Text(), "10");
    EXPECT_EQ(form->Amp->Text(), "2.0000000000");
    EXPECT_EQ(form->Resistance->Text(), "0.0000000000");
    EXPECT_EQ(form->Volt->Text(), "0.0000000000");
    SelectAllAndType(form->DecimalR, "0");
    EXPECT_EQ(form->DecimalR->Text(), "0");
    EXPECT_EQ(form->Amp->Text(), "2");
    EXPECT_EQ(form->Resistance->Text(), "0");
    EXPECT_EQ(form->Volt->Text(), "0");
}

TEST_F(EndToEnd, StoreDeleteExportAndPrint)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Results.csv");
    TSaveDialog::ExecuteHook = [&](TSaveDialog& d) {
        d.SetFileName(path);
        return true;
    };
    QStringList paper;
    PrintHooks::CreatePrinter = [&] { return std::make_unique<PaperPrinter>(paper); };

    SelectAllAndType(form->Amp, "2");
    SelectAllAndType(form->Resistance, "3.3");
    Click(form->StoreBB);
    QTest::mouseClick(form->Amp, Qt::LeftButton, {}, UpHalf(form->Amp));
    Click(form->StoreBB);
    // The caret still stands in Resistance's fraction, so its spin button steps a tenth.
    QTest::mouseClick(form->Resistance, Qt::LeftButton, {}, DownHalf(form->Resistance));
    Click(form->StoreBB);
    ASSERT_EQ(form->ResultSG->RowCount(), 5);

    // The middle row goes; the model leaves the header row out.
    const QRect row2 = form->ResultSG->visualRect(form->ResultSG->model()->index(1, 0));
    QTest::mouseClick(form->ResultSG->viewport(), Qt::LeftButton, {}, row2.center());
    Click(form->DeleteBB);
    Click(form->ExportBB);
    Click(form->PrintBB);
    TSaveDialog::ExecuteHook = nullptr;
    PrintHooks::CreatePrinter = nullptr;

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Voltage,Amperage,Resistance\r\n6.6,2,3.3\r\n9.6,3,3.2\r\n,,\r\n"));
    // Column by column, the blank last row included.
    EXPECT_EQ(paper, (QStringList{"begin Calculation Results", "Calculation Results", "Voltage", "6.6", "9.6", "",
                                  "Amperage", "2", "3", "", "Resistance", "3.3", "3.2", "", "end"}));
}

} // namespace
