// The home screen's load with twenty full histories, against reading and decoding those files;
// and the processor time the program takes while a launch delay runs.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "app/pctm.h"
#include "bench_app.h"
#include "data/cp932.h"
#include "data/data_files.h"
#include "home/frmSettei.h"
#include "home/home_figures.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/qt_window_services.h"

namespace {

using namespace mitoran;

constexpr int kItems = 20;
constexpr int kSets = 32767;

// Twenty items of 32,767 sets each, three sets a day, in a working folder of their own.
struct TwentyHistories {
    testing::TempFolder folder;
    testing::ScriptedServices* svc = nullptr;

    TwentyHistories() {
        bench::application();
        svc = &testing::installScriptedServices();
        svc->setNow(2024, 3, 7);
        resetRun();
        std::vector<ItemRecord> items;
        for (int i = 1; i <= kItems; ++i) {
            // Some items past their target, so the goal message is part of the fill.
            items.push_back({"種目" + std::to_string(i), 30, i % 4 == 0 ? 1000 : 5000000});
        }
        PCTM.setItems(items);
        for (int i = 1; i <= kItems; ++i) {
            std::string bytes;
            bytes.reserve(static_cast<std::size_t>(kSets) * 40);
            Date day{std::chrono::year{1994}, std::chrono::month{1}, std::chrono::day{1}};
            for (int k = 0; k < kSets; ++k) {
                if (k > 0 && k % 3 == 0) day = addDays(day, 1);
                bytes += encodeHistoryRecord(LocalDateTime{day, 7 + k % 3, 30, 0},
                                             static_cast<std::int16_t>(1 + (k * 7 + i) % 50));
            }
            if (!rewriteFile(historyFileName(PCTM.ItemNames(i)), bytes)) std::abort();
        }
    }
};

// The floor: every history file's bytes read and decoded to text, nothing more.
void BM_HomeReadAndDecodeOnly(benchmark::State& state) {
    TwentyHistories data;
    for (auto _ : state) {
        std::size_t chars = 0;
        for (int i = 1; i <= kItems; ++i) {
            const ReadBytes raw = readWholeFile(historyFileName(PCTM.ItemNames(i)));
            if (raw.status != ReadStatus::Ok || raw.bytes.empty())
                state.SkipWithError("a history file was not read");
            const std::string text = decodeCp932(raw.bytes);
            chars += text.size();
        }
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_HomeReadAndDecodeOnly)->Unit(benchmark::kMillisecond);

// The history reader alone (read, decode, records), for reference.
void BM_HomeReadHistories(benchmark::State& state) {
    TwentyHistories data;
    for (auto _ : state) {
        const ItemHistories h = readItemHistories(PCTM.itemNamesFrom1(), PCTM.ItemCount());
        benchmark::DoNotOptimize(h.records.size());
    }
}
BENCHMARK(BM_HomeReadHistories)->Unit(benchmark::kMillisecond);

// What the load derives from one read: totals and recorded-day lists.
void BM_HomeFigures(benchmark::State& state) {
    TwentyHistories data;
    const Date today = data.svc->now().date;
    for (auto _ : state) {
        const ItemHistories h = readItemHistories(PCTM.itemNamesFrom1(), PCTM.ItemCount());
        const ItemTotals totals = ComputeItemTotals(h, today);
        const ItemDateLists dates = BuildItemDates(h, today);
        benchmark::DoNotOptimize(totals.ItemTotalCount[kItems]);
        benchmark::DoNotOptimize(dates.ItemDateCount[kItems]);
    }
}
BENCHMARK(BM_HomeFigures)->Unit(benchmark::kMillisecond);

// The derivation alone, on histories already read: the home screen's own share of the load.
void BM_HomeTotalsAndDatesOnly(benchmark::State& state) {
    TwentyHistories data;
    const Date today = data.svc->now().date;
    const ItemHistories h = readItemHistories(PCTM.itemNamesFrom1(), PCTM.ItemCount());
    for (auto _ : state) {
        const ItemTotals totals = ComputeItemTotals(h, today);
        const ItemDateLists dates = BuildItemDates(h, today);
        benchmark::DoNotOptimize(totals.ItemTotalCount[kItems]);
        benchmark::DoNotOptimize(dates.ItemDateCount[kItems]);
    }
}
BENCHMARK(BM_HomeTotalsAndDatesOnly)->Unit(benchmark::kMillisecond);

// The same on the real screen, with the grid and the bars filled.
void BM_HomeFiguresAndOverviewFill(benchmark::State& state) {
    TwentyHistories data;
    auto home = std::make_unique<frmSettei>();
    home->SetUpOverviewGrid();
    home->show();
    for (auto _ : state) {
        home->ComputeItemTotals();
        home->FillOverview();
        QCoreApplication::processEvents();  // and painted, as the user sees it
        benchmark::DoNotOptimize(home->barLength(kItems));
    }
    // The sets of the first item, which must be all of them.
    state.counters["sets"] = static_cast<double>(home->itemTotals().ItemTotalSets[1]);
    if (home->itemTotals().ItemTotalSets[1] != kSets) state.SkipWithError("a history was not read");
}
BENCHMARK(BM_HomeFiguresAndOverviewFill)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A real 60-minute launch delay: ten seconds of the event loop with the single shot pending.
// The share of one core the process used is the counter cpu_percent.
void BM_LaunchDelayIdleCpu(benchmark::State& state) {
    bench::application();
    setServices(std::make_unique<QtWindowServices>());
    for (auto _ : state) {
        QWidget prompt;
        bool fired = false;
        auto timer = services().startSingleShot(&prompt, QStringLiteral("launch"), 3600.0,
                                                [&fired] { fired = true; });
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        QElapsedTimer wall;
        const double cpuBefore = processCpuSeconds();
        wall.start();
        loop.exec();
        const double cpu = processCpuSeconds() - cpuBefore;
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        state.counters["cpu_percent"] = 100.0 * cpu / seconds;
        state.counters["cpu_ms"] = cpu * 1000.0;
        if (fired || !timer->isActive()) state.SkipWithError("the launch delay ended early");
    }
    testing::installScriptedServices();
}
// Three runs of ten seconds whatever --benchmark_repetitions says: each is a long average already.
BENCHMARK(BM_LaunchDelayIdleCpu)->Iterations(1)->Repetitions(3)->Unit(benchmark::kSecond);

}  // namespace
