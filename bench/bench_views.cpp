// Drawing the history list and chart for the longest history, and re-sorting the list.
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <QString>

#include "bench_app.h"
#include "ui/chart_view.h"
#include "ui/grid_view.h"

namespace {

constexpr int kEntries = 32767;

// As the history list fills itself: header, then number, date, count and running total.
void fillHistoryList(mitoran::GridView& g) {
    g.clear();
    g.setRows(1);
    g.setText(0, 0, QStringLiteral("№"));
    g.setText(0, 1, QStringLiteral("日付"));
    g.setText(0, 2, QStringLiteral("回数"));
    g.setText(0, 3, QStringLiteral("累計"));
    g.setRows(kEntries + 1);
    int total = 0;
    for (int i = 1; i <= kEntries; ++i) {
        const int count = (i * 7919) % 101;
        total += count;
        g.setText(i, 0, QString::number(i));
        g.setText(i, 1, QStringLiteral("24年03月%1日").arg(i % 28 + 1, 2, 10, QLatin1Char('0')));
        g.setText(i, 2, QString::number(count));
        g.setText(i, 3, QString::number(total));
    }
    if (g.rows() > 10) g.setFirstVisibleRow(g.rows() - 1);
}

void prepare(mitoran::GridView& g) {
    g.setColumnCount(4);
    g.setFontSize(10);
    for (int c = 0; c < 4; ++c) g.setColumnCentred(c);
    g.resize(300, 300);
    g.show();
    QCoreApplication::processEvents();
}

void BM_GridFill32767x4(benchmark::State& state) {
    mitoran::bench::application();
    mitoran::GridView g;
    prepare(g);
    for (auto _ : state) {
        fillHistoryList(g);
        QCoreApplication::processEvents();  // the batched change notice and the repaint
        g.viewport()->repaint();
    }
    benchmark::DoNotOptimize(g.text(kEntries, 3));
}
BENCHMARK(BM_GridFill32767x4)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_GridSort32767(benchmark::State& state) {
    mitoran::bench::application();
    mitoran::GridView g;
    prepare(g);
    fillHistoryList(g);
    QCoreApplication::processEvents();
    bool descending = true;
    for (auto _ : state) {
        g.sortRows(2, descending);
        g.setFirstVisibleRow(1);
        QCoreApplication::processEvents();
        g.viewport()->repaint();
        descending = !descending;
    }
    benchmark::DoNotOptimize(g.text(1, 2));
}
BENCHMARK(BM_GridSort32767)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ChartFillAndRedraw32767(benchmark::State& state) {
    mitoran::bench::application();
    mitoran::ChartView c;
    c.resize(800, 400);
    c.show();
    QCoreApplication::processEvents();
    double replots = 0;
    QObject::connect(c.plot(), &QCustomPlot::afterReplot, [&replots] { ++replots; });
    for (auto _ : state) {
        c.setCategoryCount(0);
        c.setCategoryCount(kEntries);
        double total = 0;
        for (int i = 1; i <= kEntries; ++i) {
            const double count = (i * 7919) % 101;
            total += count;
            c.setValue(1, i, total);
            c.setValue(2, i, count);
        }
        c.redraw();
        QCoreApplication::processEvents();  // the plot draws itself when it is painted
    }
    state.counters["replots"] = benchmark::Counter(replots, benchmark::Counter::kAvgIterations);
    if (replots < static_cast<double>(state.iterations()))
        state.SkipWithError("the chart was not drawn after each fill");
    benchmark::DoNotOptimize(c.values(1).back());
}
BENCHMARK(BM_ChartFillAndRedraw32767)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
