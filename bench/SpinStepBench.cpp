// Our float spin edit against a QDoubleSpinBox set up alike (size, range, decimals, font), in the
// same run: one Up or Down keystroke and the paint it asks for, a full repaint, typing (Home, a
// digit, Backspace, End), and the Up keystroke through the whole calculator (the step, the
// reformat, Calculation, the three result labels) against a spin box wired to the same
// calculation and labels. Up and Down alternate so the values stay in range. Goals: a keystroke
// or a typed key at no more than 0.6 times the Qt spin box's cost, a full repaint at no more than
// its cost (compare the "per_key" figures, or the instruction counts of bench/keycost.sh).
#include <QApplication>
#include <QDoubleSpinBox>

#include "WidgetSteps.h"

#include "FloatToText.h"
#include "VelExtended.h"
#include "FormControls.h"
#include "Main.h"
#include "VelExtSpinEdit.h"

namespace {

enum TStep { sKeys, sRepaint, sTyping };

// A step is an Up or a Down keystroke and its paint, a full repaint, or a typed key and its paint.
std::function<void(long)> Steps(QWidget* control, TStep step)
{
    switch (step) {
    case sRepaint: return [control](long) { control->repaint(); };
    case sTyping:
        return [control](long i) {
            switch (i % 4) {
            case 0: SendKey(*control, Qt::Key_Home); break;
            case 1: SendKey(*control, Qt::Key_7, QStringLiteral("7")); break;
            case 2: SendKey(*control, Qt::Key_Backspace); break;
            default: SendKey(*control, Qt::Key_End); break;
            }
            PaintRequested();
        };
    default:
        return [control](long i) {
            SendKey(*control, i % 2 ? Qt::Key_Down : Qt::Key_Up);
            PaintRequested();
        };
    }
}

// A window holding one input the size of the calculator's, in the calculator's font.
std::unique_ptr<QWidget> Window()
{
    auto window = std::make_unique<QWidget>();
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(16);
    window->setFont(font);
    window->resize(221, 45);
    return window;
}

TStepSession Ours(TStep step)
{
    auto window = Window();
    auto* edit = new TVelExtSpinEdit(window.get());
    edit->setGeometry(10, 10, 201, 25);
    edit->Bevel()->SetMode(bmWindows);
    edit->SetMaxValue(1000000.0);
    edit->SetEditType(ntFloatNumber);
    edit->SetValue(12.5);
    ShowExposed(*window, *edit);
    SendKey(*edit, Qt::Key_End);
    PaintRequested();
    return {std::move(window), edit, Steps(edit, step)};
}

TStepSession Theirs(TStep step)
{
    auto window = Window();
    auto* box = new QDoubleSpinBox(window.get());
    box->setGeometry(10, 10, 201, 25);
    box->setRange(0.0, 1000000.0);
    box->setDecimals(1);
    box->setValue(12.5);
    ShowExposed(*window, *box);
    SendKey(*box, Qt::Key_End);
    PaintRequested();
    return {std::move(window), box, Steps(box, step)};
}

TStepSession Calculator()
{
    auto form = std::make_unique<TForm1>();
    TVelExtSpinEdit* amp = form->Amp;
    form->Resistance->SetValue(3.3);
    ShowExposed(*form, *amp);
    return {std::move(form), amp, Steps(amp, sKeys)};
}

// Qt's spin box with what Calculation does in voltage mode: V = A * R into three labels placed
// as the calculator's are.
TStepSession QtCalculator()
{
    auto window = std::make_unique<QWidget>();
    auto* amp = new QDoubleSpinBox(window.get());
    amp->setGeometry(240, 160, 201, 25);
    amp->setRange(0.0, 1000000.0);
    amp->setDecimals(1);
    // The window's own self-sizing labels, as Calculation writes them.
    auto* volt = new TLabel(window.get());
    auto* amps = new TLabel(window.get());
    auto* ohms = new TLabel(window.get());
    volt->move(16, 384);
    amps->move(16, 416);
    ohms->move(16, 448);
    const double resistance = 3.3;
    QObject::connect(amp, &QDoubleSpinBox::valueChanged, window.get(), [=](double a) {
        const double v = static_cast<double>(TVelExtended(a) * resistance);
        volt->SetCaption(QLatin1String("Voltage = ") + FloatToGeneralText(v) +
                         QLatin1String(v > 1 ? " Volts" : " Volt"));
        amps->SetCaption(QLatin1String("Amperage = ") + FloatToGeneralText(a) +
                         QLatin1String(a > 1 ? " Amps" : " Amp"));
        ohms->SetCaption(QLatin1String("Resistance = ") + FloatToGeneralText(resistance) + QLatin1String(" Ohms"));
    });
    window->resize(782, 482);
    ShowExposed(*window, *amp);
    return {std::move(window), amp, Steps(amp, sKeys)};
}

} // namespace

int main(int argc, char** argv)
{
    return StepBenchMain(argc, argv,
                         {
                             {"Up keystroke and its paint",
                              {"BM_SpinEditUpKeystroke", [] { return Ours(sKeys); }},
                              {"BM_QDoubleSpinBoxUpKeystroke", [] { return Theirs(sKeys); }},
                              0.6},
                             {"full repaint",
                              {"BM_SpinEditRepaint", [] { return Ours(sRepaint); }},
                              {"BM_QDoubleSpinBoxRepaint", [] { return Theirs(sRepaint); }},
                              1.0},
                             {"typing into the spin edit",
                              {"BM_SpinEditTyping", [] { return Ours(sTyping); }},
                              {"BM_QDoubleSpinBoxTyping", [] { return Theirs(sTyping); }},
                              0.6},
                             // Most of this path is the result labels, the same code on both sides: no goal.
                             {"Up keystroke through the calculator",
                              {"BM_AmpUpKeystroke", Calculator},
                              {"BM_QtCalculatorUpKeystroke", QtCalculator},
                              0},
                         });
}
