// A paste of 10 kB, 100 kB and 1 MB into the plain edit, through a real Ctrl+V key event, into
// an edit that already holds the same amount of text. The cost must grow linearly with the size:
// compare the per-byte figures of the three runs (bytes_per_second should stay flat).
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include "WidgetSteps.h"

#include "VelCustomEdit.h"

namespace {

QString Text(int size)
{
    static const QString piece = QStringLiteral("The quick brown fox jumps over the lazy dog. ");
    QString s;
    s.reserve(size);
    while (s.size() < size)
        s += piece;
    s.truncate(size);
    return s;
}

void SendCtrlV(QWidget& w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(&w, &release);
}

void BM_PasteIntoPlainEdit(benchmark::State& state)
{
    EnsureApplication();
    const int size = int(state.range(0));
    const QString text = Text(size);
    QGuiApplication::clipboard()->setText(text);
    TVelCustomEdit edit;
    edit.resize(300, 24);
    // Exposed, so the paint below really shapes and draws the new text.
    ShowExposed(edit, edit);
    TPaintProbe probe(edit);
    long unpainted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        edit.SetText(text);
        edit.SetCursorPos(size / 2 + 1);
        PaintRequested();
        const int before = probe.Count();
        state.ResumeTiming();
        SendCtrlV(edit);
        PaintRequested();
        unpainted += probe.Count() == before;
    }
    if (edit.Text().size() != 2 * size)
        state.SkipWithError("the paste did not arrive whole");
    if (unpainted) {
        FailLoudly("a paste painted nothing");
        state.SkipWithError("a paste painted nothing");
    }
    state.SetBytesProcessed(state.iterations() * int64_t(size));
}
BENCHMARK(BM_PasteIntoPlainEdit)->Arg(10 << 10)->Arg(100 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
