// What a screen reader costs a keystroke: one Up or Down on the calculator's Amp input through the
// whole path (the step, the reformat, Calculation, the result labels, a repaint, then the event
// loop's turn, where the changed result is told) with nobody listening against the same with a
// listener, in the same run. Without a listener the figure must match the plain keystroke's; with
// one, the edit's text events and the result's announcement are built and handed over (offscreen,
// Qt's own bridge and the bus are not in it). Compare the two "per_key" figures; for instruction
// counts run it under callgrind with --toggle-collect='*MeasuredKeystroke*'.
#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QWindow>
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include "Main.h"
#include "VelAnnouncement.h"
#include "VelEditAccessible.h"
#include "VelExtSpinEdit.h"

namespace {

// A keystroke and the event loop's turn, where the changed result is told.
void Press(QWidget& w, Qt::Key key)
{
    Keystroke(w, key);
    QCoreApplication::processEvents();
}

// The measured keystroke, kept out of line so that callgrind can count it alone.
[[gnu::noinline]] void MeasuredKeystroke(QWidget& w, Qt::Key key)
{
    Press(w, key);
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

void Run(benchmark::State& state, bool listening)
{
    EnsureApplication();
    TForm1 form;
    form.show();
    const QDeadlineTimer exposed(10000);
    while (!(form.windowHandle() && form.windowHandle()->isExposed()) && !exposed.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    PaintCounter counter;
    form.Amp->installEventFilter(&counter);
    form.Resistance->SetValue(3.3);
    form.Amp->setFocus();
    int told = 0;
    const TVelAccessibleEventHook events =
        SetVelAccessibleEventHook(listening ? [&](QAccessibleEvent*) { ++told; } : TVelAccessibleEventHook());
    const TVelAnnouncementHook announcements = SetVelAnnouncementHook(
        listening ? [&](QAccessibleInterface*, const QString&) { ++told; } : TVelAnnouncementHook());
    // The first keystrokes lay out and paint for the first time.
    for (int i = 0; i < 20; ++i)
        Press(*form.Amp, i % 2 ? Qt::Key_Down : Qt::Key_Up);
    bool up = true;
    for (auto _ : state) {
        MeasuredKeystroke(*form.Amp, up ? Qt::Key_Up : Qt::Key_Down);
        up = !up;
    }
    SetVelAccessibleEventHook(events);
    SetVelAnnouncementHook(announcements);
    if (counter.paints < state.iterations())
        state.SkipWithError("the input was not painted after every keystroke");
    state.counters["per_key"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["keys"] = double(state.iterations());
    state.counters["told_per_key"] = double(told) / double(state.iterations());
}

void BM_KeystrokeNobodyListening(benchmark::State& state)
{
    Run(state, false);
}
// A fixed count, so that an instruction count divides by a known number of keystrokes.
BENCHMARK(BM_KeystrokeNobodyListening)->Iterations(500);

void BM_KeystrokeScreenReaderListening(benchmark::State& state)
{
    Run(state, true);
}
BENCHMARK(BM_KeystrokeScreenReaderListening)->Iterations(500);

} // namespace

BENCHMARK_MAIN();
