// Writes the first-run data (five items with a few weeks of history) into a folder, through the
// program's own writers so the bytes are exactly what the program itself would write.
// Usage: make_sample <folder>. The output depends on nothing but this file.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "data/data_files.h"

namespace {

using namespace mitoran;
using namespace std::chrono;

// splitmix64: a fixed, portable sequence (the standard distributions differ between libraries).
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_;
};

struct SampleItem {
    const char* name;
    std::int16_t instructed;
    double shareOfTarget;  // how far the generated history gets towards the target
};

// One item already past its target, one near half-way, the others spread between.
const SampleItem kItems[] = {
    {"腕立て伏せ", 20, 1.12}, {"腹筋", 30, 0.45}, {"スクワット", 25, 0.72},
    {"背筋", 15, 0.25},       {"懸垂", 5, 0.93},
};

struct QuickAttempt {
    int dayOffset;  // days before the last sample day
    int hour, minute, second;
    std::int16_t seconds;
    double count;
};

bool check(const IoResult& r, const char* what) {
    if (!r) std::fprintf(stderr, "make_sample: %s: %s\n", what, r.reason.c_str());
    return r.ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample <folder>\n");
        return 2;
    }
    if (chdir(argv[1]) != 0) {
        std::perror(argv[1]);
        return 1;
    }

    const Date lastDay{year{2026}, month{12}, day{7}};
    const int kDays = 42;  // six weeks, ending on the last day
    Random random(20261207);

    std::vector<long> totals(std::size(kItems), 0);
    std::vector<int> sets(std::size(kItems), 0);
    for (const SampleItem& item : kItems) {
        if (!check(removeFile(historyFileName(item.name)), item.name)) return 1;
        if (!check(removeFile(quickFileName(item.name)), item.name)) return 1;
    }

    // Rounds run through the items in list order, a minute or two apart; a round now and then
    // skips an item, and some days have no round at all.
    static const int kRoundStart[4][2] = {{6, 50}, {12, 20}, {18, 40}, {21, 30}};
    for (int d = 0; d < kDays; ++d) {
        const Date date = addDays(lastDay, d - (kDays - 1));
        const bool lastOne = d == kDays - 1;
        const int rounds = !lastOne && random.below(6) == 0 ? 0 : 1 + random.below(4);
        for (int r = 0; r < rounds; ++r) {
            int clock = kRoundStart[r][0] * 3600 + kRoundStart[r][1] * 60 + random.below(20 * 60);
            for (std::size_t i = 0; i < std::size(kItems); ++i) {
                clock += 60 + random.below(90);
                if (random.below(10) == 0) continue;
                const SampleItem& item = kItems[i];
                // Counts scatter around the instructed count and creep up over the weeks.
                const int spread = item.instructed / 3 + 1;
                const int progress = item.instructed * d / (kDays * 6);
                int count = item.instructed - spread + random.below(spread + 2) + progress;
                if (count < 1) count = 1;
                const LocalDateTime when{date, clock / 3600, clock / 60 % 60, clock % 60};
                if (!check(appendHistory(item.name, when, static_cast<std::int16_t>(count)),
                           item.name))
                    return 1;
                totals[i] += count;
                ++sets[i];
            }
        }
    }

    std::vector<ItemRecord> list;
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
        const double exact = static_cast<double>(totals[i]) / kItems[i].shareOfTarget;
        const auto target = static_cast<std::int32_t>(std::lround(exact / 50.0) * 50);
        list.push_back({kItems[i].name, kItems[i].instructed, target < 50 ? 50 : target});
    }
    if (!check(rewriteItemList(list), "項目一覧")) return 1;
    if (!check(writeSettings(1), "設定")) return 1;
    if (!check(writePlaySettings({2, 0, 5.0f}), "プレイ設定")) return 1;

    // Quick Muscle attempts of the first two items; the last one of each decides the seconds the
    // panel proposes (60 for the first item, 180 for the second).
    const std::vector<QuickAttempt> pushUps = {
        {34, 19, 5, 12, 60, 31},   {27, 19, 12, 40, 180, 68}, {20, 20, 2, 7, 60, 34},
        {13, 18, 47, 55, 180, 77}, {6, 19, 30, 21, 60, 38},   {1, 20, 15, 3, 60, 41},
    };
    const std::vector<QuickAttempt> sitUps = {
        {30, 7, 15, 44, 60, 42}, {23, 7, 20, 9, 180, 96}, {16, 7, 11, 30, 60, 45},
        {9, 7, 18, 2, 180, 104}, {2, 7, 9, 51, 180, 111},
    };
    int quickCounts[2] = {0, 0};
    for (int q = 0; q < 2; ++q) {
        for (const QuickAttempt& a : q == 0 ? pushUps : sitUps) {
            const LocalDateTime when{addDays(lastDay, -a.dayOffset), a.hour, a.minute, a.second};
            if (!check(appendQuick(kItems[q].name, when, a.seconds, a.count), kItems[q].name))
                return 1;
            ++quickCounts[q];
        }
    }

    for (std::size_t i = 0; i < std::size(kItems); ++i)
        std::printf("%s: %d sets, total %ld, target %d\n", kItems[i].name, sets[i], totals[i],
                    list[i].target);
    std::printf("quick: %s %d, %s %d\n", kItems[0].name, quickCounts[0], kItems[1].name,
                quickCounts[1]);
    return 0;
}
