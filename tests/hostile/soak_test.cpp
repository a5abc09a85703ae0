// A long session: 5,000 sets recorded through the real prompt screen with the Enter key, the
// rounds restarted from the home screen. Memory must not creep, and every set must be on disk
// exactly as confirmed.
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QPixmapCache>
#include <QScrollBar>
#include <QTest>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/pctm.h"
#include "app/screens.h"
#include "app/startup.h"
#include "data/data_files.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "home/help_window.h"
#include "session/frmMain.h"
#include "support/named_child.h"
#include "support/screen_reset.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"

namespace mitoran::testing {
namespace {

// Resident memory of this process in bytes.
long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// Lets the event loop finish what it was given (deferred deletes above all), as it would between
// two user actions.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct Memory {
    long raw = 0;      // resident, as it is
    long settled = 0;  // resident once the caches below are emptied
    long heap = 0;     // bytes handed out by malloc and not freed
};

// What the process holds, without what only looks like growth: the style's picture cache, which
// Qt fills up to its fixed limit (QPixmapCache::cacheLimit(), 10 MB) during the first hundred
// rounds whatever the program does, and freed memory the allocator has not yet given back.
Memory measure() {
    settle();
    Memory m;
    m.raw = residentBytes();
    QPixmapCache::clear();
    ::malloc_trim(0);
    m.settled = residentBytes();
    m.heap = static_cast<long>(::mallinfo2().uordblks);
    return m;
}

class Soak : public ::testing::Test {
  protected:
    void SetUp() override {
        svc = &installScriptedServices();
        svc->setNow(2026, 1, 1, 6, 0, 0);
        resetRun();
    }
    void TearDown() override {
        closeEveryScreen();
        resetRun();
    }

    TempFolder folder;
    ScriptedServices* svc = nullptr;
};

TEST_F(Soak, FiveThousandSetsKeepMemoryFlatAndAllReachTheDisk) {
    const std::vector<std::string> items = {"腕立て", "腹筋", "背筋", "スクワット", "懸垂"};
    constexpr int kRounds = 1000;
    constexpr int kInstructed = 10;
    std::string list;
    // Targets far beyond reach: no congratulation box interrupts the rounds.
    for (const std::string& name : items)
        list += "\"" + name + "\"," + std::to_string(kInstructed) + ",100000000\r\n";
    TempFolder::write("項目一覧.txt", TempFolder::cp932(list));
    TempFolder::write("設定.txt", TempFolder::cp932("\"ヘルプツアー\",0\r\n"));
    TempFolder::write("プレイ設定.txt", "2,0,5\r\n");  // rounds start at once

    ASSERT_EQ(Main(), 0);
    settle();

    std::vector<std::string> expected(items.size());
    Memory afterFirstHundred;
    for (int round = 0; round < kRounds; ++round) {
        frmMain* prompt = screens::promptScreen();
        ASSERT_NE(prompt, nullptr) << "round " << round;
        auto* bar = expectChild<QScrollBar>(prompt, "hsbKaisu");
        ASSERT_NE(bar, nullptr);
        svc->monotonic += 1;  // the prompt is read before it is answered
        for (std::size_t i = 0; i < items.size(); ++i) {
            ASSERT_EQ(PCTM.RoundPosition, static_cast<int>(i) + 1) << "round " << round;
            // A different count now and then, set with the arrow key as the user would.
            const int more = (round + static_cast<int>(i)) % 4;
            for (int k = 0; k < more; ++k) QTest::keyClick(bar, Qt::Key_Right);
            ASSERT_EQ(bar->value(), kInstructed + more);
            const LocalDateTime when = svc->now();
            QTest::keyClick(bar, Qt::Key_Return);
            expected[i] += encodeHistoryRecord(when, static_cast<std::int16_t>(kInstructed + more));
        }
        settle();
        ASSERT_EQ(screens::promptScreen(), nullptr) << "round " << round << " did not end";
        frmSettei* home = screens::homeScreen();
        ASSERT_NE(home, nullptr) << "round " << round;

        // The overview counts what the round recorded.
        auto* grid = expectChild<GridView>(home, "msgIchiran");
        ASSERT_NE(grid, nullptr);
        for (std::size_t i = 0; i < items.size(); ++i)
            ASSERT_EQ(grid->text(static_cast<int>(i) + 1, 5), QString::number(round + 1));

        const int sets = (round + 1) * static_cast<int>(items.size());
        if (sets == 100) afterFirstHundred = measure();

        if (round + 1 == kRounds) break;
        svc->advance(3 * 3600);  // the next round a few hours later, now and then another day
        expectChild<QAbstractButton>(home, "cmdAgain")->click();
        settle();
    }
    const Memory afterLast = measure();
    const auto kib = [](long bytes) { return std::to_string(bytes / 1024) + " KiB"; };
    std::cout << "memory after 100 sets: resident " << kib(afterFirstHundred.settled) << " (raw "
              << kib(afterFirstHundred.raw) << "), heap in use " << kib(afterFirstHundred.heap)
              << "\nmemory after " << kRounds * items.size() << " sets: resident "
              << kib(afterLast.settled) << " (raw " << kib(afterLast.raw) << "), heap in use "
              << kib(afterLast.heap) << std::endl;
    ASSERT_GT(afterFirstHundred.settled, 0);
    EXPECT_LE(afterLast.settled, afterFirstHundred.settled * 11 / 10);
    EXPECT_TRUE(svc->boxes.empty()) << svc->boxes.front().text.toStdString();

    screens::closeScreen(screens::homeScreen());
    settle();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& name = items[i];
        // Byte for byte what the confirmations wrote, in their order, and nothing else.
        EXPECT_EQ(TempFolder::read(historyFileName(name)), expected[i]) << name;
        const Loaded<HistoryRecord> read = readHistory(name);
        ASSERT_TRUE(read.ok()) << name;
        EXPECT_EQ(read.skipped, 0) << name;
        ASSERT_EQ(read.records.size(), static_cast<std::size_t>(kRounds)) << name;
        for (int round = 0; round < kRounds; ++round)
            ASSERT_EQ(read.records[round].count, kInstructed + (round + static_cast<int>(i)) % 4)
                << name << " set " << round + 1;
    }
}

}  // namespace
}  // namespace mitoran::testing
