// One Up keystroke on the calculator's Amp input through the whole path (the step, the
// reformat, Calculation, the three result labels and a repaint of the edit) against one Up
// keystroke on a QDoubleSpinBox wired to the same calculation and labels, in the same run. Up and
// Down alternate so the values stay in range. The goal is our input at no more than 0.6 times the
// Qt spin box's cost per keystroke (compare the two "per_key" figures).
#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <memory>

#include "FloatToText.h"
#include "VelExtended.h"
#include "FormControls.h"
#include "Main.h"
#include "VelExtSpinEdit.h"

namespace {

void Keystroke(QWidget& w, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&w, &release);
    w.repaint();
}

void Run(benchmark::State& state, QWidget& target)
{
    bool up = true;
    for (auto _ : state) {
        Keystroke(target, up ? Qt::Key_Up : Qt::Key_Down);
        up = !up;
    }
    state.counters["per_key"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_AmpUpKeystroke(benchmark::State& state)
{
    EnsureApplication();
    TForm1 form;
    form.show();
    form.Resistance->SetValue(3.3);
    form.Amp->setFocus();
    Run(state, *form.Amp);
}
BENCHMARK(BM_AmpUpKeystroke);

// Qt's spin box with what Calculation does in voltage mode: V = A * R into three labels.
void BM_QDoubleSpinBoxUpKeystroke(benchmark::State& state)
{
    EnsureApplication();
    QWidget window;
    auto* amp = new QDoubleSpinBox(&window);
    amp->setGeometry(240, 160, 201, 25);
    amp->setRange(0.0, 1000000.0);
    amp->setDecimals(1);
    // The window's own self-sizing labels, as Calculation writes them.
    auto* volt = new TLabel(&window);
    auto* amps = new TLabel(&window);
    auto* ohms = new TLabel(&window);
    const double resistance = 3.3;
    QObject::connect(amp, &QDoubleSpinBox::valueChanged, &window, [=](double a) {
        const double v = static_cast<double>(TVelExtended(a) * resistance);
        volt->SetCaption(QLatin1String("Voltage = ") + FloatToGeneralText(v) +
                         QLatin1String(v > 1 ? " Volts" : " Volt"));
        amps->SetCaption(QLatin1String("Amperage = ") + FloatToGeneralText(a) +
                         QLatin1String(a > 1 ? " Amps" : " Amp"));
        ohms->SetCaption(QLatin1String("Resistance = ") + FloatToGeneralText(resistance) + QLatin1String(" Ohms"));
    });
    window.resize(800, 500);
    window.show();
    amp->setFocus();
    Run(state, *amp);
}
BENCHMARK(BM_QDoubleSpinBoxUpKeystroke);

} // namespace

BENCHMARK_MAIN();
