// Kills a writer at random moments and checks that every data file is left either as it was or
// as it was to become, never torn.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "data/data_files.h"

namespace mitoran {
namespace {

namespace fs = std::filesystem;

class ScratchFolder {
  public:
    ScratchFolder() {
        char tmpl[] = "/tmp/mitoran-crash-XXXXXX";
        path_ = mkdtemp(tmpl);
        previous_ = fs::current_path();
        fs::current_path(path_);
    }
    ~ScratchFolder() {
        fs::current_path(previous_);
        std::error_code ec;
        fs::remove_all(path_, ec);
    }

  private:
    fs::path path_;
    fs::path previous_;
};

const std::vector<ItemRecord> kListA = {{"腕立て伏せ", 10, 3000}, {"腹筋", 20, 5000}};
const std::vector<ItemRecord> kListB = {
    {"スクワット", 15, 4000}, {"背筋", 12, 2500}, {"懸垂", 5, 800}};
const PlaySettings kPlayA{2, 0, 5};
const PlaySettings kPlayB{1, 1, 60};

LocalDateTime moment(int n) {
    using namespace std::chrono;
    return {year_month_day{year{2026}, month{12}, day{static_cast<unsigned>(1 + n % 28)}}, n % 24,
            n % 60, (n * 7) % 60};
}

// The writer the parent kills: alternates every rewrite between two contents and appends sets.
[[noreturn]] void runWriter(int start) {
    for (int n = start;; ++n) {
        const bool even = n % 2 == 0;
        if (!rewriteItemList(even ? kListA : kListB)) _exit(2);
        if (!writeSettings(even ? 1 : 0)) _exit(3);
        if (!writePlaySettings(even ? kPlayA : kPlayB)) _exit(4);
        if (!appendHistory("腕立て伏せ", moment(n), static_cast<std::int16_t>(n % 1000))) _exit(5);
    }
}

bool sameItems(const std::vector<ItemRecord>& a, const std::vector<ItemRecord>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].instructed != b[i].instructed ||
            a[i].target != b[i].target)
            return false;
    return true;
}

TEST(CrashSafety, KilledWritersLeaveEveryFileOldOrNew) {
    ScratchFolder folder;
    ASSERT_TRUE(rewriteItemList(kListA));
    ASSERT_TRUE(writeSettings(1));
    ASSERT_TRUE(writePlaySettings(kPlayA));
    // An item's history file exists from the item's creation on.
    ASSERT_TRUE(createIfMissing(historyFileName("腕立て伏せ")));

    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> delayUs(0, 4000);
    const int kKills = 200;
    std::size_t historyRecords = 0;

    for (int k = 0; k < kKills; ++k) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) runWriter(k);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own, status " << status;

        auto items = readItemList();
        ASSERT_TRUE(items.ok()) << "kill " << k;
        EXPECT_EQ(items.skipped, 0) << "kill " << k;
        EXPECT_TRUE(sameItems(items.records, kListA) || sameItems(items.records, kListB))
            << "kill " << k << ": item list is neither the old nor the new content";

        auto settings = readSettings();
        ASSERT_TRUE(settings.ok()) << "kill " << k;
        ASSERT_EQ(settings.records.size(), 1u) << "kill " << k;
        EXPECT_EQ(settings.skipped, 0);

        auto play = readPlaySettings();
        ASSERT_TRUE(play.ok()) << "kill " << k;
        ASSERT_EQ(play.records.size(), 1u) << "kill " << k;
        const auto& p = play.records[0];
        EXPECT_TRUE((p.launchMode == 2 && p.countMode == 0 && p.interval == 5) ||
                    (p.launchMode == 1 && p.countMode == 1 && p.interval == 60))
            << "kill " << k;

        // The history only grows, by whole records: the old records, or those plus new whole ones.
        auto history = readHistory("腕立て伏せ");
        ASSERT_TRUE(history.ok()) << "kill " << k;
        EXPECT_EQ(history.skipped, 0) << "kill " << k << ": a torn record";
        EXPECT_GE(history.records.size(), historyRecords) << "kill " << k;
        historyRecords = history.records.size();
        const std::string bytes = [] {
            auto r = readWholeFile(historyFileName("腕立て伏せ"));
            return r.bytes;
        }();
        if (!bytes.empty()) {
            EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "kill " << k;
        }
    }
}

}  // namespace
}  // namespace mitoran
