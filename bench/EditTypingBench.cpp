// Typing into our edit against typing into Qt's line edit, in the same run: 1,000 characters with
// a Backspace after every tenth and a Home/End pair after every hundredth, each keystroke a real
// key event followed by a repaint. The goal is our edit at no more than 0.6 times the line
// edit's cost per keystroke (compare the two "per_key" figures).
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <memory>

#include "VelCustomEdit.h"

namespace {

// Returns the number of keystrokes sent.
int TypeThousand(QWidget& w)
{
    int keys = 0;
    const auto key = [&](Qt::Key k, char ch = 0) {
        if (ch)
            QTest::keyClick(&w, ch);
        else
            QTest::keyClick(&w, k);
        w.repaint();
        ++keys;
    };
    for (int i = 1; i <= 1000; ++i) {
        key(Qt::Key_unknown, static_cast<char>('a' + i % 26));
        if (i % 10 == 0)
            key(Qt::Key_Backspace);
        if (i % 100 == 0) {
            key(Qt::Key_Home);
            key(Qt::Key_End);
        }
    }
    return keys;
}

template <class Edit, class Clear> void Typing(benchmark::State& state, Clear clear)
{
    EnsureApplication();
    auto window = std::make_unique<QWidget>();
    auto* edit = new Edit(window.get());
    edit->setGeometry(10, 10, 200, 24);
    window->resize(220, 44);
    window->show();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window.get());
    edit->setFocus();
    int keys = 0;
    for (auto _ : state) {
        state.PauseTiming();
        clear(*edit);
        state.ResumeTiming();
        keys += TypeThousand(*edit);
    }
    state.counters["per_key"] = benchmark::Counter(keys, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TypingVelEdit(benchmark::State& state)
{
    Typing<TVelCustomEdit>(state, [](TVelCustomEdit& e) {
        e.SetText(QString());
        e.ClearUndo();
    });
}

void BM_TypingQLineEdit(benchmark::State& state)
{
    Typing<QLineEdit>(state, [](QLineEdit& e) { e.clear(); });
}

BENCHMARK(BM_TypingVelEdit)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TypingQLineEdit)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
