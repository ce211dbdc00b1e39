#include "Main.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "About.h"
#include "Export.h"
#include "FloatToText.h"
#include "FormAccessible.h"
#include "FormDescription.h"
#include "Printing.h"
#include "ResultAnnouncer.h"
#include "ResultsTable.h"
#include "SaveDialog.h"
#include "StringGrid.h"
#include "VelErrors.h"
#include "VelExtended.h"
#include "VelExtSpinEdit.h"
#include "VelSpinEdit.h"

TForm1* Form1 = nullptr;

// Without the bracket the spin edits would run Calculation while their properties arrive.
static_assert(TLoadable<TVelExtSpinEdit> && TLoadable<TVelSpinEdit>);

namespace {

double Rounded(TVelExtended x)
{
    const double d = static_cast<double>(x);
    if (std::isnan(d))
        throw EVelMathError(QStringLiteral("Invalid floating point operation"));
    if (std::isinf(d))
        throw EVelMathError(QStringLiteral("Floating point overflow"));
    return d;
}

TVelExtended Quotient(TVelExtended dividend, TVelExtended divisor)
{
    if (divisor == 0)
        throw EVelMathError(dividend == 0 ? QStringLiteral("Invalid floating point operation")
                                          : QStringLiteral("Floating point division by zero"));
    return dividend / divisor;
}

QString ResultText(const char* prefix, double value, const char* plural, const char* singular)
{
    return QLatin1String(prefix) + FloatToGeneralText(value) + QLatin1String(value > 1 ? plural : singular);
}

QFont WindowFont()
{
    QFont f;
    // Arial and its metric twin stand in where the classic face is missing, keeping the texts
    // inside the bounds they were laid out for.
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    f.setPixelSize(16);
    return f;
}

auto Caption(const char* text)
{
    return [text](TLabel& l) { l.SetCaption(QString::fromLatin1(text)); };
}

// The buttons are push buttons raising their handler with themselves as sender.
auto Button(const char* caption, void (TForm1::*handler)(QObject*))
{
    return [caption, handler](QPushButton& b, TForm1& form) {
        b.setText(QString::fromLatin1(caption));
        QObject::connect(&b, &QPushButton::clicked, &form, [&form, &b, handler] { (form.*handler)(&b); });
    };
}

// The stored settings every spin edit of the window shares: the window's own edit border and the
// classic caret blink. The caption label is linked as buddy, which names the edit for screen
// readers and changes nothing on screen.
void SpinEditLook(TVelBaseEdit& e, TLabel* caption)
{
    e.Bevel()->SetMode(bmWindows);
    e.Caret()->SetBlinkRate(530);
    caption->setBuddy(&e);
}

auto QuantityInput(bool visible, TLabel* TForm1::*caption)
{
    return [visible, caption](TVelExtSpinEdit& e, TForm1& form) {
        e.setVisible(visible);
        SpinEditLook(e, form.*caption);
        // The stored order: the bound before the kind, as the value model expects it.
        e.SetMaxValue(1000000.0);
        e.SetEditType(ntFloatNumber);
        e.SetFractionStep(0.1);
        e.SetValue(0.0);
        e.OnChange = [&form](QObject* Sender) { form.Calculation(Sender); };
    };
}

const TFormDescription<TForm1>& Description()
{
    static const TFormDescription<TForm1> description = {
        Control(&TForm1::Bevel3, "Bevel3", {8, 376, 441, 97}, NoTab, [](TBevel&) {}),
        Control(&TForm1::Bevel2, "Bevel2", {232, 32, 217, 209}, NoTab, [](TBevel&) {}),
        Control(&TForm1::Image1, "Image1", {16, 40, 201, 194}, NoTab,
                [](TImage& i) {
                    i.SetAutoSize(true);
                    i.SetInkOnPaper(true);
                    i.SetPicture(LoadPicture(QStringLiteral(":/pictures/formula.bmp")));
                }),
        Control(&TForm1::Bevel1, "Bevel1", {8, 32, 217, 209}, NoTab, [](TBevel&) {}),
        Control(&TForm1::Label1, "Label1", At(80, 8), NoTab, Caption("Ohm Law")),
        Control(&TForm1::Label2, "Label2", At(304, 8), NoTab, Caption("Calculation")),
        Control(&TForm1::Label3, "Label3", At(240, 80), NoTab, Caption("Voltage")),
        Control(&TForm1::Label4, "Label4", At(240, 133), NoTab, Caption("Amperage")),
        Control(&TForm1::Label5, "Label5", At(240, 184), NoTab, Caption("Resistance")),
        Control(&TForm1::Label6, "Label6", At(16, 384), NoTab, Caption("Voltage = 0 Volt")),
        Control(&TForm1::Label7, "Label7", At(16, 416), NoTab, Caption("Amperage = 0 Amp")),
        Control(&TForm1::Label8, "Label8", At(16, 448), NoTab, Caption("Resistance = 0 Ohm")),
        Control(&TForm1::Label9, "Label9", At(8, 352), NoTab, Caption("Results")),
        Control(&TForm1::Label10, "Label10", At(560, 8), NoTab, Caption("Stored Result")),
        Control(&TForm1::Label11, "Label11", At(240, 48), NoTab, Caption("Decimal Required")),
        Control(&TForm1::RadioGroup1, "RadioGroup1", {8, 248, 441, 105}, 0,
                [](TRadioGroup& g, TForm1& form) {
                    g.setTitle(QStringLiteral("Calculation of : "));
                    g.SetItems({QStringLiteral("Voltage"), QStringLiteral("Amperage"), QStringLiteral("Resistance")});
                    g.SetItemIndex(0);
                    g.OnClick = [&form](QObject* Sender) { form.RadioGroup1Click(Sender); };
                }),
        Control(&TForm1::ResultSG, "ResultSG", {456, 32, 320, 345}, 1,
                [](StringGrid& g) {
                    g.SetColCount(3);
                    g.SetDefaultColWidth(100);
                    g.SetFixedCols(0);
                    g.SetRowCount(2);
                }),
        Control(&TForm1::StoreBB, "StoreBB", {456, 384, 75, 33}, 2, Button("Store", &TForm1::Calculation)),
        Control(&TForm1::DeleteBB, "DeleteBB", {576, 384, 75, 33}, 3, Button("Delete", &TForm1::DeleteBBClick)),
        Control(&TForm1::Volt, "Volt", {240, 104, 201, 25}, 4, QuantityInput(false, &TForm1::Label3)),
        Control(&TForm1::Amp, "Amp", {240, 160, 201, 25}, 5, QuantityInput(true, &TForm1::Label4)),
        Control(&TForm1::Resistance, "Resistance", {240, 208, 201, 25}, 6, QuantityInput(true, &TForm1::Label5)),
        Component(&TForm1::SaveDialog1, "SaveDialog1",
                  [](TSaveDialog& d) {
                      d.SetDefaultExt(QStringLiteral("*.csv"));
                      d.SetFileName(QStringLiteral("Results"));
                      d.SetFilter(
                          QStringLiteral("CSV (Comma Separated Value)|*.csv|TXT (Text File)|*.txt|Any (Any type)|*.*"));
                  }),
        Control(&TForm1::ExportBB, "ExportBB", {696, 384, 75, 33}, 7, Button("Export", &TForm1::ExportBBClick)),
        Control(&TForm1::PrintBB, "PrintBB", {456, 432, 75, 33}, 8, Button("Print", &TForm1::PrintBBClick)),
        Control(&TForm1::AboutBB, "AboutBB", {576, 432, 75, 33}, 9, Button("About", &TForm1::AboutBBClick)),
        Control(&TForm1::ExitBB, "ExitBB", {696, 432, 75, 33}, 10, Button("Exit", &TForm1::ExitBBClick)),
        Control(&TForm1::DecimalR, "DecimalR", {376, 48, 65, 30}, 11,
                [](TVelSpinEdit& e, TForm1& form) {
                    SpinEditLook(e, form.Label11);
                    e.SetMaxValue(10);
                    e.SetValue(1);
                    e.SetAutoSelect(true);
                    e.OnChange = [&form](QObject* Sender) { form.DecimalRChange(Sender); };
                }),
    };
    return description;
}

} // namespace

TOhmValues SolveOhm(int mode, TOhmValues in)
{
    const TVelExtended v = in.V, a = in.A, r = in.R;
    switch (mode) {
    case 0: in.V = Rounded(a * r); break;
    case 1: in.A = Rounded(Quotient(v, r)); break;
    case 2: in.R = Rounded(Quotient(v, a)); break;
    default: break;
    }
    return in;
}

QString VoltageText(double v)
{
    return ResultText("Voltage = ", v, " Volts", " Volt");
}

QString AmperageText(double a)
{
    return ResultText("Amperage = ", a, " Amps", " Amp");
}

QString ResistanceText(double r)
{
    return ResultText("Resistance = ", r, " Ohms", " Ohm");
}

TForm1::TForm1(QWidget* parent, THandlerTrace trace) : QWidget(parent), trace_(std::move(trace))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velorin"));
    setWindowIcon(ProgramIcon());
    InstallFormAccessibility();
    setFont(WindowFont());
    // The controls sit at fixed client positions; this is the client area they were laid out in.
    resize(782, 482);
    LoadForm(*this, Description());
    FormCreate(this);
    announcer_ = new TResultAnnouncer(*this);
}

void TForm1::Trace(const char* handler, QObject* Sender) const
{
    if (trace_)
        trace_(QString::fromLatin1(handler), Sender);
}

void TForm1::Calculation(QObject* Sender)
{
    Trace("Calculation", Sender);
    TOhmValues values{Volt->Value(), Amp->Value(), Resistance->Value()};
    if (values.A == 0.0 && values.R == 0.0) {
        // Nothing to compute from; the voltage label still follows the voltage just read so
        // that it never shows a result the inputs no longer give.
        Label6->SetCaption(VoltageText(values.V));
        Label7->SetCaption(QStringLiteral("Amperage = 0 Amp"));
        Label8->SetCaption(QStringLiteral("Resistance = 0 Ohm"));
        return;
    }
    values = SolveOhm(RadioGroup1->ItemIndex(), values);
    Label6->SetCaption(VoltageText(values.V));
    Label7->SetCaption(AmperageText(values.A));
    Label8->SetCaption(ResistanceText(values.R));
    if (Sender == StoreBB) {
        StoreResultRow(*ResultSG, values.V, values.A, values.R);
        announcer_->Stored(ResultSG->RowCount() - 2);
    }
}

void TForm1::RadioGroup1Click(QObject* Sender)
{
    Trace("RadioGroup1Click", Sender);
    TVelExtSpinEdit* const inputs[] = {Volt, Amp, Resistance};
    for (int item = 0; item < 3; ++item) {
        TVelExtSpinEdit* input = inputs[item];
        if (RadioGroup1->ItemIndex() == item) {
            // Hidden first, so the Calculation the reset raises already sees the new mode's
            // invariant: the calculated input is hidden and holds 0.
            input->setVisible(false);
            input->SetValue(0.0);
        } else {
            input->setVisible(true);
        }
    }
}

void TForm1::FormCreate(QObject* Sender)
{
    Trace("FormCreate", Sender);
    WriteResultsHeader(*ResultSG);
}

void TForm1::DeleteBBClick(QObject* Sender)
{
    Trace("DeleteBBClick", Sender);
    const int row = ResultSG->Row(), rows = ResultSG->RowCount();
    DeleteGridRow(*ResultSG, row);
    if (ResultSG->RowCount() < rows)
        announcer_->Deleted(row);
}

void TForm1::ExportBBClick(QObject* Sender)
{
    Trace("ExportBBClick", Sender);
    ExportResults(*SaveDialog1, *ResultSG, this);
}

void TForm1::PrintBBClick(QObject* Sender)
{
    Trace("PrintBBClick", Sender);
    PrintGrid(*ResultSG, QStringLiteral("Calculation Results"));
}

void TForm1::ExitBBClick(QObject* Sender)
{
    Trace("ExitBBClick", Sender);
    close();
}

void TForm1::AboutBBClick(QObject* Sender)
{
    Trace("AboutBBClick", Sender);
    if (AboutBox)
        AboutBox->ShowModeless();
}

void TForm1::DecimalRChange(QObject* Sender)
{
    Trace("DecimalRChange", Sender);
    for (TVelExtSpinEdit* input : {Volt, Amp, Resistance})
        input->SetDecimals(DecimalR->Value());
}

void TForm1::CenterOnDesktop()
{
    const QScreen* desktop = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!desktop)
        return;
    // Before the first showing the frame is not known yet; the window then centres its client
    // area, which is off by half a frame at most.
    QRect outer = frameGeometry();
    outer.moveCenter(desktop->availableGeometry().center());
    move(outer.topLeft());
}
