// The item history analysis on the longest history the stored counts allow: 32,767 sets, one a
// day over 32,767 calendar days. Compared with merely reading and decoding the same file, and
// with the day-by-day linear search it replaces.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_app.h"
#include "data/cp932.h"
#include "data/data_files.h"
#include "data/file_io.h"
#include "session/history_analysis.h"
#include "session/linear_day_fill.h"

namespace {

using namespace mitoran;

constexpr int kSets = 32767;
const std::string kItem = "腕立て";
const std::string kGrowing = "腹筋";  // appended to by the advance benchmark

const Date kToday{std::chrono::year{2024}, std::chrono::month{9}, std::chrono::day{1}};

// A folder of its own, entered by every benchmark here.
class HistoryFolder {
  public:
    HistoryFolder() : folder_("analysis") {
        const std::chrono::sys_days first =
            std::chrono::sys_days{kToday} - std::chrono::days{kSets - 1};
        std::string bytes;
        for (int i = 0; i < kSets; ++i)
            bytes +=
                encodeHistoryRecord(LocalDateTime{Date{first + std::chrono::days{i}}, 7, 30, 0},
                                    static_cast<std::int16_t>(1 + i % 50));
        if (!rewriteFile(historyFileName(kItem), bytes) ||
            !rewriteFile(historyFileName(kGrowing), bytes))
            std::abort();
    }
    void enter() const { folder_.enter(); }

  private:
    bench::BenchFolder folder_;
};

const HistoryFolder& folder() {
    static HistoryFolder f;
    f.enter();
    return f;
}

void BM_ReadAndDecodeHistory(benchmark::State& state) {
    folder();
    for (auto _ : state) {
        ReadBytes raw = readWholeFile(historyFileName(kItem));
        if (raw.status != ReadStatus::Ok || raw.bytes.empty()) {
            state.SkipWithError("the history file was not read");
            break;
        }
        std::string text = decodeCp932(raw.bytes);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ReadAndDecodeHistory)->Unit(benchmark::kMillisecond);

// As the prompt screen does it: the shared record is written over, item after item.
void BM_ReadAndAnalyseHistory(benchmark::State& state) {
    folder();
    AnalysisResult r;
    for (auto _ : state) {
        Loaded<HistoryRecord> loaded = readHistory(kItem);
        analyseHistory(loaded.records, kToday, r);
        if (r.analysis.CalendarDays != kSets) state.SkipWithError("unexpected span");
        benchmark::DoNotOptimize(r.analysis.AllDaySeries.Total.back());
    }
}
BENCHMARK(BM_ReadAndAnalyseHistory)->Unit(benchmark::kMillisecond);

// The same with a fresh result each time (every entry's text allocated and freed).
void BM_ReadAndAnalyseHistoryFreshResult(benchmark::State& state) {
    folder();
    for (auto _ : state) {
        Loaded<HistoryRecord> loaded = readHistory(kItem);
        AnalysisResult r = analyseHistory(loaded.records, kToday);
        benchmark::DoNotOptimize(r.analysis.AllDaySeries.Total.back());
    }
}
BENCHMARK(BM_ReadAndAnalyseHistoryFreshResult)->Unit(benchmark::kMillisecond);

// Reading alone, to tell the parsing of records from the analysis.
void BM_ReadHistoryRecords(benchmark::State& state) {
    folder();
    for (auto _ : state) {
        Loaded<HistoryRecord> loaded = readHistory(kItem);
        benchmark::DoNotOptimize(loaded.records.data());
    }
}
BENCHMARK(BM_ReadHistoryRecords)->Unit(benchmark::kMillisecond);

void BM_ReadAndAnalyseHistoryLinearSearch(benchmark::State& state) {
    folder();
    for (auto _ : state) {
        Loaded<HistoryRecord> loaded = readHistory(kItem);
        AnalysisResult r = testing::linearAnalyseHistory(loaded.records, kToday);
        benchmark::DoNotOptimize(r.analysis.AllDaySeries.Total.back());
    }
}
BENCHMARK(BM_ReadAndAnalyseHistoryLinearSearch)->Unit(benchmark::kMillisecond);

// What one confirmation costs before the next item is on screen, without the 0.1-second flash:
// the synced append, the analysis of the next item's whole history and its label texts.
void BM_AdvanceToNextItem(benchmark::State& state) {
    folder();
    AnalysisResult r;
    for (auto _ : state) {
        IoResult written = appendHistory(kGrowing, LocalDateTime{kToday, 21, 5, 9}, 10);
        if (!written) state.SkipWithError("append failed");
        Loaded<HistoryRecord> loaded = readHistory(kItem);
        analyseHistory(loaded.records, kToday, r);
        PromptStatistics labels = promptLabels(r);
        benchmark::DoNotOptimize(labels.lblDayAvg.data());
    }
}
BENCHMARK(BM_AdvanceToNextItem)->Unit(benchmark::kMillisecond);

}  // namespace
