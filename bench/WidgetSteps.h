#pragma once

// What a user pays for a keystroke is its handling and the painting it asks for, in a window the
// platform has exposed: a window that is shown but not yet exposed paints nothing at all, and a
// benchmark on it measures a fraction of the work. Each case here opens such a window and takes
// one step on it (a key and the paint it caused, or a repaint); every step must paint, or the run
// fails. The same cases run under Google Benchmark for time and, with --callgrind=STEPS under
// valgrind (bench/keycost.sh), as instructions counted over the steps alone.

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchApplication.h"

// Counts the paint events of a widget and of every widget inside it.
class TPaintProbe final : public QObject {
public:
    explicit TPaintProbe(QWidget& Root)
    {
        Root.installEventFilter(this);
        for (QWidget* child : Root.findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    int Count() const { return count_; }

protected:
    bool eventFilter(QObject* /*Watched*/, QEvent* Event) override
    {
        if (Event->type() == QEvent::Paint)
            ++count_;
        return false;
    }

private:
    int count_ = 0;
};

// An open window and one step on it.
struct TStepSession {
    std::unique_ptr<QWidget> window;
    QWidget* target = nullptr;      // the control the steps go to; its painting is counted
    std::function<void(long)> step; // the i-th step
};

struct TStepCase {
    std::string name;
    std::function<TStepSession()> open;
};

// Two cases measured against each other, ours first, with the ratio the goal allows (0: none).
struct TStepPair {
    std::string title;
    TStepCase ours, peer;
    double goal;
};

inline bool& BenchFailed()
{
    static bool failed = false;
    return failed;
}

inline void FailLoudly(const std::string& what)
{
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    BenchFailed() = true;
}

// Shows the window, waits until the platform exposes it and gives the target the keyboard focus.
inline void ShowExposed(QWidget& Window, QWidget& Target)
{
    Window.show();
    Window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&Window) || !QTest::qWaitForWindowActive(&Window)) {
        FailLoudly("the window was never exposed");
        std::exit(1);
    }
    Target.setFocus();
    QCoreApplication::processEvents();
}

// The paint a step asked for, delivered now as the event loop would deliver it next.
inline void PaintRequested()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

inline void SendKey(QWidget& Target, Qt::Key Key, const QString& Text = {})
{
    QKeyEvent press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
    QApplication::sendEvent(&Target, &press);
    QKeyEvent release(QEvent::KeyRelease, Key, Qt::NoModifier, Text);
    QApplication::sendEvent(&Target, &release);
}

// Runs Steps steps and returns how many of them painted nothing.
inline long TakeSteps(TStepSession& Session, TPaintProbe& Probe, long First, long Steps)
{
    long unpainted = 0;
    for (long i = First; i < First + Steps; ++i) {
        const int before = Probe.Count();
        Session.step(i);
        unpainted += Probe.Count() == before;
    }
    return unpainted;
}

inline void RunCase(benchmark::State& State, const TStepCase& Case)
{
    EnsureApplication();
    TStepSession session = Case.open();
    TPaintProbe probe(*session.target);
    long steps = 0, unpainted = 0;
    for (auto _ : State) {
        const int before = probe.Count();
        session.step(steps++);
        unpainted += probe.Count() == before;
    }
    if (unpainted) {
        FailLoudly(Case.name + ": " + std::to_string(unpainted) + " of " + std::to_string(steps) +
                   " steps painted nothing");
        State.SkipWithError("a step painted nothing");
    }
    State.counters["per_key"] =
        benchmark::Counter(double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Under callgrind (started with --collect-atstart=no), counts each case's steps alone and dumps
// them under the case's name; bench/keycost.sh reads the dumps and prints the ratios.
inline void CountInstructions(const TStepCase& Case, long Steps)
{
    TStepSession session = Case.open();
    TPaintProbe probe(*session.target);
    long unpainted = TakeSteps(session, probe, 0, 16); // caches, fonts and glyphs warmed up
    CALLGRIND_TOGGLE_COLLECT;
    unpainted += TakeSteps(session, probe, 16, Steps);
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(Case.name.c_str());
    if (unpainted)
        FailLoudly(Case.name + ": " + std::to_string(unpainted) + " steps painted nothing");
}

// Google Benchmark's main, failing when a benchmark did.
inline int RunBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return BenchFailed() ? 1 : 0;
}

// The main of a widget benchmark: Google Benchmark over every case, or with --callgrind=STEPS
// the instruction counts of every pair (their titles, goals and step counts printed for the script).
inline int StepBenchMain(int argc, char** argv, const std::vector<TStepPair>& Pairs)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--callgrind=", 0) != 0)
            continue;
        const long steps = std::atol(arg.c_str() + 12);
        if (!RUNNING_ON_VALGRIND)
            std::fprintf(stderr, "not under valgrind: run bench/keycost.sh\n");
        EnsureApplication();
        for (const TStepPair& pair : Pairs) {
            std::printf("pair\t%s\t%s\t%s\t%ld\t%.2f\n", pair.title.c_str(), pair.ours.name.c_str(),
                        pair.peer.name.c_str(), steps, pair.goal);
            CountInstructions(pair.ours, steps);
            CountInstructions(pair.peer, steps);
        }
        return BenchFailed() ? 1 : 0;
    }
    for (const TStepPair& pair : Pairs)
        for (const TStepCase* c : {&pair.ours, &pair.peer})
            benchmark::RegisterBenchmark(c->name.c_str(), [c](benchmark::State& s) { RunCase(s, *c); });
    return RunBenchmarks(argc, argv);
}
