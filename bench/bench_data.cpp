// Reading the longest history an item can hold (32,767 sets, one a day): the parse must cost no
// more than reading and decoding the bytes (BM_HistoryParsed ≤ 2 × BM_HistoryBytesDecoded).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "bench_app.h"
#include "data/cp932.h"
#include "data/data_files.h"
#include "data/file_io.h"

namespace {

using namespace mitoran;

// One file in a folder of its own, entered before each benchmark.
class LongHistoryFile {
  public:
    LongHistoryFile() : folder_("data") {
        std::string bytes;
        bytes.reserve(kSets * 40);
        Date day{std::chrono::year{1937}, std::chrono::month{1}, std::chrono::day{1}};
        for (int i = 0; i < kSets; ++i) {
            const LocalDateTime when{day, 6 + i % 17, i % 60, (i * 7) % 60};
            bytes += encodeHistoryRecord(when, static_cast<std::int16_t>((i * 37) % 1001));
            day = addDays(day, 1);
        }
        if (!rewriteFile(historyFileName(item_), bytes)) std::abort();
    }
    void enter() const { folder_.enter(); }
    const std::string& item() const { return item_; }
    std::string fileName() const { return historyFileName(item_); }

    static constexpr int kSets = 32767;

  private:
    bench::BenchFolder folder_;
    std::string item_ = "腕立て伏せ";
};

const LongHistoryFile& longHistory() {
    static LongHistoryFile file;
    file.enter();
    return file;
}

void BM_HistoryBytesDecoded(benchmark::State& state) {
    const std::string name = longHistory().fileName();
    for (auto _ : state) {
        ReadBytes raw = readWholeFile(name);
        if (raw.status != ReadStatus::Ok || raw.bytes.empty()) {
            state.SkipWithError("the history file was not read");
            break;
        }
        std::string text = decodeCp932(raw.bytes);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_HistoryBytesDecoded)->Unit(benchmark::kMillisecond);

void BM_HistoryParsed(benchmark::State& state) {
    const std::string& item = longHistory().item();
    for (auto _ : state) {
        auto history = readHistory(item);
        if (history.records.size() != LongHistoryFile::kSets || history.skipped != 0) {
            state.SkipWithError("history did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(history.records.data());
    }
}
BENCHMARK(BM_HistoryParsed)->Unit(benchmark::kMillisecond);

}  // namespace
