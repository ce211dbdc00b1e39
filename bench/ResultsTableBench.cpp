// Results table costs at 1,000 and 100,000 stored rows: a Store must cost the same at both
// sizes, and an export must stay close to a plain file loop writing the same lines.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <memory>

#include <unistd.h>

#include "DelimitedText.h"
#include "Export.h"
#include "ResultsTable.h"
#include "StringGrid.h"

namespace {

std::unique_ptr<StringGrid> GridWithRows(int stored)
{
    EnsureApplication();
    auto grid = std::make_unique<StringGrid>();
    grid->SetColCount(3);
    grid->SetRowCount(2);
    grid->SetDefaultColWidth(100);
    WriteResultsHeader(*grid);
    for (int i = 0; i < stored; ++i)
        StoreResultRow(*grid, i * 0.5, 1.25, i * 0.4);
    return grid;
}

QTemporaryDir& TempDir()
{
    static QTemporaryDir dir;
    return dir;
}

constexpr int kBatch = 1000;

// Per-store cost with the table held at its size: a batch of Stores, then (untimed) the batch
// taken off again.
void BM_StorePerRow(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    auto grid = GridWithRows(size);
    const int rows = grid->RowCount();
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i)
            StoreResultRow(*grid, i * 0.5, 1.25, i * 0.4);
        state.PauseTiming();
        grid->SetRowCount(rows);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_StorePerRow)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Filling a fresh table: linear in the rows when nothing is quadratic.
void BM_StoreWholeTable(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto grid = GridWithRows(size);
        benchmark::DoNotOptimize(grid->RowCount());
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * size);
}
BENCHMARK(BM_StoreWholeTable)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Deleting the oldest row, the worst case: every later row moves up.
void BM_DeleteOldest(benchmark::State& state)
{
    auto grid = GridWithRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        DeleteGridRow(*grid, 1);
        state.PauseTiming();
        StoreResultRow(*grid, 1, 1, 1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteOldest)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_Export(benchmark::State& state)
{
    auto grid = GridWithRows(static_cast<int>(state.range(0)));
    const QString path = TempDir().filePath("export.csv");
    for (auto _ : state)
        WriteGridCsv(*grid, path);
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_Export)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same lines from the same table through a bare QFile: no temporary file, no checks.
// Synced, it is as durable as the export, which syncs its file before replacing the old one.
void PlainFileLoop(benchmark::State& state, const char* name, bool sync)
{
    auto grid = GridWithRows(static_cast<int>(state.range(0)));
    const QString path = TempDir().filePath(QLatin1String(name));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            state.SkipWithError("cannot open");
            break;
        }
        for (int row = 0; row < grid->RowCount(); ++row) {
            QByteArray line = RowToCsvLine(grid->Rows(row)).toLocal8Bit();
            line.append("\r\n", 2);
            file.write(line);
        }
        if (sync) {
            file.flush();
            ::fdatasync(file.handle());
        }
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void BM_PlainFileLoop(benchmark::State& state)
{
    PlainFileLoop(state, "plain.csv", false);
}
BENCHMARK(BM_PlainFileLoop)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PlainFileLoopSynced(benchmark::State& state)
{
    PlainFileLoop(state, "synced.csv", true);
}
BENCHMARK(BM_PlainFileLoopSynced)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Only the bytes: the lines made once beforehand, written by a bare QFile.
void BM_PlainFileBytesOnly(benchmark::State& state)
{
    auto grid = GridWithRows(static_cast<int>(state.range(0)));
    QList<QByteArray> lines;
    for (int row = 0; row < grid->RowCount(); ++row)
        lines.append(RowToCsvLine(grid->Rows(row)).toLocal8Bit() + "\r\n");
    const QString path = TempDir().filePath("bytes.csv");
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            state.SkipWithError("cannot open");
            break;
        }
        for (const QByteArray& line : lines)
            file.write(line);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_PlainFileBytesOnly)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
