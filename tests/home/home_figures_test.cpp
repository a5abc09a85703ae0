// The home screen's figures without a window: totals, recorded-day lists, overview rows, delays.
#include "home/home_figures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <set>

#include "data/data_files.h"
#include "home/launch_delay.h"
#include "support/history_records.h"

namespace mitoran {
namespace {

using testing::set;
using testing::ymd;

ItemHistories histories(std::vector<std::vector<HistoryRecord>> perItem) {
    ItemHistories h;
    for (auto& records : perItem) h.records.push_back(std::move(records));
    return h;
}

const Date kToday = ymd(2024, 3, 7);
const Date kYesterday = ymd(2024, 3, 6);

TEST(ItemTotals, TodayColumnsTakeOnlyTodaysSetsWhileTotalsTakeEverySet) {
    const ItemHistories h = histories({
        {set(kYesterday, 10), set(kYesterday, 12), set(kToday, 5)},
        {set(kYesterday, 7)},
        {},
    });
    const ItemTotals t = ComputeItemTotals(h, kToday);
    EXPECT_EQ(t.ItemTotalCount[1], 27);
    EXPECT_EQ(t.ItemTotalSets[1], 3);
    EXPECT_EQ(t.ItemTodayCount[1], 5);
    EXPECT_EQ(t.ItemTodaySets[1], 1);

    EXPECT_EQ(t.ItemTotalCount[2], 7);
    EXPECT_EQ(t.ItemTotalSets[2], 1);
    EXPECT_EQ(t.ItemTodayCount[2], 0);
    EXPECT_EQ(t.ItemTodaySets[2], 0);

    EXPECT_EQ(t.ItemTotalCount[3], 0);
    EXPECT_EQ(t.ItemTotalSets[3], 0);
    // The panels index items 1..20 whatever the number of items.
    ASSERT_GE(t.ItemTotalCount.size(), 21u);
    EXPECT_EQ(t.ItemTotalCount[20], 0);
}

TEST(ItemTotals, LongHistoriesDoNotWrapTheSixteenBitFigures) {
    std::vector<HistoryRecord> many(40000, set(kToday, 1000));
    const ItemTotals t = ComputeItemTotals(histories({many}), kToday);
    EXPECT_EQ(t.ItemTotalSets[1], 40000);
    EXPECT_EQ(t.ItemTodaySets[1], 40000);
    EXPECT_EQ(t.ItemTodayCount[1], 40000000);
    EXPECT_EQ(t.ItemTotalCount[1], 40000000);
}

TEST(ItemDates, DistinctDatesInFirstAppearanceOrderEachOnce) {
    const Date a = ymd(2024, 3, 1), b = ymd(2024, 3, 3), c = ymd(2024, 2, 27);
    const ItemHistories h = histories({
        {set(a, 1), set(a, 2), set(b, 3), set(a, 4), set(c, 5), set(c, 6), set(b, 7)},
        {},
    });
    const ItemDateLists lists = BuildItemDates(h, kToday);
    EXPECT_EQ(lists.ItemDateCount[1], 3);
    EXPECT_EQ(lists.ItemDates[1],
              (std::vector<std::string>{"2024年03月01日", "2024年03月03日", "2024年02月27日"}));
    EXPECT_EQ(lists.ItemDateCount[2], 0);
    EXPECT_TRUE(lists.ItemDates[2].empty());
    EXPECT_TRUE(lists.ItemDates[0].empty());
    ASSERT_GE(lists.ItemDates.size(), 21u);
}

TEST(ItemDates, OutOfOrderFilesKeepEveryDateBeyondTheSpanOfFirstAndLast) {
    // First and last record on the same day: a span of 1, yet five distinct days.
    const Date d = ymd(2024, 3, 1);
    const ItemHistories h =
        histories({{set(d, 1), set(ymd(2023, 1, 1), 1), set(ymd(2022, 5, 5), 1),
                    set(ymd(2025, 1, 1), 1), set(ymd(2021, 1, 1), 1), set(d, 1)}});
    const ItemDateLists lists = BuildItemDates(h, kToday);
    EXPECT_EQ(lists.MaxDateSpan, 1);
    EXPECT_EQ(lists.ItemDateCount[1], 5);
}

TEST(ItemDates, TextsAreComparedExactlyAndAnyOrderGivesTheFirstAppearances) {
    // Two spellings of one day are two date texts.
    HistoryRecord shortForm = set(ymd(2024, 3, 1), 1);
    shortForm.date = "2024年3月1日";
    const ItemHistories spellings =
        histories({{set(ymd(2024, 3, 1), 1), shortForm, set(ymd(2024, 3, 1), 1), shortForm}});
    EXPECT_EQ(BuildItemDates(spellings, kToday).ItemDates[1],
              (std::vector<std::string>{"2024年03月01日", "2024年3月1日"}));

    // Runs forward in time broken by steps back, against the plain search of every earlier text.
    unsigned seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 50; ++round) {
        std::vector<HistoryRecord> records;
        Date d = ymd(2020, 1, 1);
        const int n = static_cast<int>(next() % 300);
        for (int k = 0; k < n; ++k) {
            const unsigned step = next() % 10;
            if (step < 6)
                d = addDays(d, 0);
            else if (step < 9)
                d = addDays(d, static_cast<long>(next() % 3 + 1));
            else
                d = addDays(d, -static_cast<long>(next() % 40));
            records.push_back(set(d, 1));
        }
        std::vector<std::string> expected;
        for (const HistoryRecord& r : records)
            if (std::find(expected.begin(), expected.end(), r.date) == expected.end())
                expected.emplace_back(r.date);
        const ItemDateLists lists = BuildItemDates(histories({records}), kToday);
        ASSERT_EQ(lists.ItemDates[1], expected) << "round " << round;
        ASSERT_EQ(lists.ItemDateCount[1], static_cast<int>(expected.size()));
    }
}

TEST(ItemDates, SpanIsTheWidestItemAndAnEmptyHistoryCountsOneDay) {
    const ItemHistories h = histories({
        {set(ymd(2024, 2, 1), 1), set(ymd(2024, 2, 10), 1)},  // 10 days
        {},
        {set(ymd(2024, 1, 31), 1), set(ymd(2024, 3, 1), 1)},  // 31 days across February
    });
    EXPECT_EQ(BuildItemDates(h, kToday).MaxDateSpan, 31);
    EXPECT_EQ(BuildItemDates(histories({{}}), kToday).MaxDateSpan, 1);
}

// A working folder of its own, for the reader.
class HistoryFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        char pattern[] = "/tmp/mitoran-home-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    static void record(const std::string& item, Date d, std::int16_t count) {
        ASSERT_TRUE(appendHistory(item, LocalDateTime{d, 9, 30, 0}, count).ok);
    }
    std::filesystem::path previous_, dir_;
};

TEST_F(HistoryFolder, ReadingStopsAtTheFirstEmptyNameAndMissingFilesCountEmpty) {
    record("腕立て", kToday, 10);
    record("腹筋", kToday, 20);  // comes after the empty name: never read
    const std::vector<std::string> names{"", "腕立て", "スクワット", "", "腹筋"};
    const ItemHistories h = readItemHistories(names, 4);
    ASSERT_EQ(h.itemsLookedAt(), 2);
    EXPECT_EQ(h.records[1].size(), 1u);
    EXPECT_TRUE(h.records[2].empty());
    EXPECT_TRUE(h.unreadable.empty());
    // A missing history is not created by looking at it.
    EXPECT_FALSE(fileExists(historyFileName("スクワット")));

    const ItemTotals t = ComputeItemTotals(h, kToday);
    EXPECT_EQ(t.ItemTotalCount[1], 10);
    EXPECT_EQ(t.ItemTotalCount[4], 0);
    EXPECT_EQ(BuildItemDates(h, kToday).ItemDateCount[4], 0);
}

TEST_F(HistoryFolder, AnUnreadableHistoryIsNamedAndCountsAsEmpty) {
    record("腕立て", kToday, 10);
    std::filesystem::create_directory(historyFileName("腹筋"));  // cannot be read as a file
    const ItemHistories h = readItemHistories({"", "腹筋", "腕立て"}, 2);
    ASSERT_EQ(h.itemsLookedAt(), 2);
    EXPECT_TRUE(h.records[1].empty());
    EXPECT_EQ(h.records[2].size(), 1u);
    ASSERT_EQ(h.unreadable.size(), 1u);
    EXPECT_EQ(h.unreadable[0].rfind("腹筋: ", 0), 0u);
}

TEST(OverviewRows, BandsLengthsAndTheGoalMessage) {
    // Past the target the message takes the colour's place.
    const struct {
        std::int64_t total;
        const char* rate;
        int bar;
        std::optional<int> colour;
        bool goal;
    } rows[] = {{45, "45.0%", 1215, 14, false},
                {100, "100.0%", 2700, 9, false},
                {101, "101.0%", 2700, std::nullopt, true},
                {0, "0.0%", 0, 12, false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.total);
        const OverviewRow row = overviewRow(r.total, 100);
        EXPECT_EQ(row.rateText, r.rate);
        EXPECT_EQ(row.barLength, r.bar);
        EXPECT_EQ(row.colour, r.colour);
        EXPECT_EQ(row.goalReached, r.goal);
    }

    // Band edges: 40 % and 80 % open the next band.
    EXPECT_EQ(overviewRow(399, 1000).colour, 12);
    EXPECT_EQ(overviewRow(400, 1000).colour, 14);
    EXPECT_EQ(overviewRow(799, 1000).colour, 14);
    EXPECT_EQ(overviewRow(800, 1000).colour, 9);

    // Just above the target but less than one unit of bar: no message yet.
    EXPECT_FALSE(overviewRow(10003, 10000).goalReached);
    EXPECT_TRUE(overviewRow(10004, 10000).goalReached);
}

TEST(OverviewRows, TargetsThatCannotDivideShowADashAndNoBar) {
    for (std::int32_t target : {0, -5}) {
        const OverviewRow row = overviewRow(50, target);
        EXPECT_EQ(row.rateText, "-") << target;
        EXPECT_EQ(row.barLength, 0);
        EXPECT_FALSE(row.goalReached);
        EXPECT_FALSE(row.colour.has_value());
    }
    // Huge and negative totals stay within the bar.
    EXPECT_EQ(overviewRow(std::int64_t{1} << 40, 1).barLength, 2700);
    EXPECT_EQ(overviewRow(-30, 100).barLength, 0);
}

TEST(LaunchDelays, FixedDirectAndRandomModes) {
    EXPECT_EQ(LaunchDelay(kLaunchFixed, 15, 0.7f), 900);
    EXPECT_EQ(LaunchDelay(kLaunchFixed, 60, 0.0f), 3600);
    EXPECT_EQ(LaunchDelay(kLaunchDirect, 15, 0.7f), 0);
    // Any mode other than random and direct waits the fixed interval.
    EXPECT_EQ(LaunchDelay(7, 5, 0.7f), 300);

    for (float draw : {0.0f, 0.5f, 0.99999994f}) EXPECT_EQ(LaunchDelay(kLaunchRandom, 1, draw), 60);

    std::set<int> minutes;
    for (int k = 0; k < 6000; ++k) {
        const float draw = static_cast<float>(k) / 6000.0f;
        const double seconds = LaunchDelay(kLaunchRandom, 60, draw);
        ASSERT_EQ(std::fmod(seconds, 60.0), 0.0) << draw;
        minutes.insert(static_cast<int>(seconds / 60));
    }
    EXPECT_EQ(LaunchDelay(kLaunchRandom, 60, 0.99999994f), 3600);
    ASSERT_EQ(minutes.size(), 60u);
    EXPECT_EQ(*minutes.begin(), 1);
    EXPECT_EQ(*minutes.rbegin(), 60);
}

TEST(LaunchDelays, StartTimeIsTheClockTimeTheDelayEnds) {
    const struct {
        int h, m, s;
        double delay;
        const char* expected;
    } cases[] = {
        {19, 34, 59, 60, "19:35"},  // the seconds are dropped
        {9, 5, 0, 3600, "10:05"},   // two digits, leading zeros
        {23, 50, 0, 900, "00:05"},  // past midnight
        {12, 0, 0, 0, "12:00"},
        {12, 0, 0, -5, "12:00"},  // nonsense delays are no delay
        {12, 0, 0, std::numeric_limits<double>::quiet_NaN(), "12:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(launchStartTime(LocalDateTime{Date{}, c.h, c.m, c.s}, c.delay), c.expected)
            << c.h << ":" << c.m << "+" << c.delay;
}

}  // namespace
}  // namespace mitoran
