// The history detail screen on the longest history an item can have: 32,767 sets, one a day, so
// every view has 32,767 rows and chart points.
#include <benchmark/benchmark.h>

#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "app/pctm.h"
#include "app/screens.h"
#include "bench_app.h"
#include "data/data_files.h"
#include "data/file_io.h"
#include "history/frmGraph.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"

namespace {

using namespace mitoran;

constexpr int kSets = 32767;
const char* const kItem = "腕立て";

// A working folder holding one item with the full history, for as long as a benchmark runs.
struct LongHistory {
    testing::TempFolder folder;

    LongHistory() {
        bench::application();
        testing::installScriptedServices().setNow(2030, 1, 1);
        resetRun();
        PCTM.setItems({{kItem, 50, 100000}});
        PCTM.CurrentItem = 1;
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(kSets) * 40);
        Date day = Date{std::chrono::year{1940}, std::chrono::month{1}, std::chrono::day{1}};
        for (int i = 0; i < kSets; ++i) {
            bytes += encodeHistoryRecord(LocalDateTime{day, 7, 30, 0},
                                         static_cast<std::int16_t>(1 + i % 60));
            day = addDays(day, 1);
        }
        if (!rewriteFile(historyFileName(kItem), bytes)) std::abort();
    }
    ~LongHistory() {
        closeScreen();
        resetRun();
    }

    static frmGraph* open() {
        PCTM.CurrentItem = 1;
        frmGraph* g = screens::openHistoryScreen();
        // Let the list announce its rows and the window paint, as it would before the user sees it.
        QCoreApplication::processEvents();
        return g;
    }
    static void closeScreen() {
        if (auto* g = screens::historyScreen()) screens::closeScreen(g);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

void BM_OpenHistoryScreen(benchmark::State& state) {
    LongHistory history;
    for (auto _ : state) {
        frmGraph* g = LongHistory::open();
        benchmark::DoNotOptimize(g);
        state.PauseTiming();
        LongHistory::closeScreen();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(PCTM.Analysis.SetSeries.length());
    if (PCTM.Analysis.SetSeries.length() != kSets) state.SkipWithError("the history was not read");
}
BENCHMARK(BM_OpenHistoryScreen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Drawing one view: list and chart filled, then the events that show them processed.
void BM_DrawHistoryView(benchmark::State& state) {
    LongHistory history;
    frmGraph* g = LongHistory::open();
    const QString button = QStringLiteral("Option%1").arg(state.range(0));
    auto* option = g->findChild<QPushButton*>(button);
    auto* list = g->findChild<GridView*>(QStringLiteral("msgList"));
    if (!option || !list) {
        state.SkipWithError("controls not found");
        return;
    }
    for (auto _ : state) {
        option->click();
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = list->rows() - 1;
    if (list->rows() - 1 < 1000) state.SkipWithError("the list was not filled");
}
BENCHMARK(BM_DrawHistoryView)
    ->DenseRange(1, 4)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// A double click on the count column: each one re-sorts all rows, alternating the direction.
void BM_ResortHistoryList(benchmark::State& state) {
    LongHistory history;
    frmGraph* g = LongHistory::open();
    auto* list = g->findChild<GridView*>(QStringLiteral("msgList"));
    if (!list) {
        state.SkipWithError("list not found");
        return;
    }
    for (auto _ : state) {
        list->setFirstVisibleRow(1);
        const QRect cell = list->visualRect(list->model()->index(0, 2));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = list->rows() - 1;
    if (list->rows() - 1 < 1000) state.SkipWithError("the list was not filled");
}
BENCHMARK(BM_ResortHistoryList)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
