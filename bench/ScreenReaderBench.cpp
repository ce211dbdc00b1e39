// What a screen reader costs a keystroke: one Up or Down on the calculator's Amp input through the
// whole path (the step, the reformat, Calculation, the result labels, a repaint, then the event
// loop's turn, where the changed result is told) with nobody listening against the same with a
// listener, in the same run. Without a listener the figure must match the plain keystroke's; with
// one, the edit's text events and the result's announcement are built and handed over (offscreen,
// Qt's own bridge and the bus are not in it). Compare the two "per_key" figures; for instruction
// counts run it under callgrind with --toggle-collect='*Keystroke*'.
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include "Main.h"
#include "VelAnnouncement.h"
#include "VelEditAccessible.h"
#include "VelExtSpinEdit.h"

namespace {

void Press(QWidget& w, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&w, &release);
    w.repaint();
    QCoreApplication::processEvents();
}

// The measured keystroke, kept out of line so that callgrind can count it alone.
[[gnu::noinline]] void Keystroke(QWidget& w, Qt::Key key)
{
    Press(w, key);
}

void Run(benchmark::State& state, bool listening)
{
    EnsureApplication();
    TForm1 form;
    form.show();
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
        Keystroke(*form.Amp, up ? Qt::Key_Up : Qt::Key_Down);
        up = !up;
    }
    SetVelAccessibleEventHook(events);
    SetVelAnnouncementHook(announcements);
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
