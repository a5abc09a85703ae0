// The day figures of the today panel and the Quick Muscle listing and sequence, without windows.
#include <gtest/gtest.h>

#include "home/day_statistics.h"
#include "home/quick_history.h"
#include "support/history_records.h"

namespace mitoran {
namespace {

using testing::expectFigures;
using testing::set;
using testing::ymd;

const Date kDay = ymd(2024, 3, 7);
const Date kOther = ymd(2024, 3, 6);

TEST(DayStatistics, TakesOnlyTheSetsOfTheDayInFileOrder) {
    HistoryAnalysis a;
    a.TrainingDays = 7;  // another analysis's figure: not the day view's to change
    a.TodayTotal = 99;
    ComputeDayStatistics({set(kOther, 40), set(kDay, 10), set(kOther, 1), set(kDay, 15),
                          set(kDay, 5), set(ymd(2024, 3, 8), 50)},
                         kDay, a);
    EXPECT_EQ(a.SetTotal, 3);
    EXPECT_EQ(a.SetSeries.Count, (std::vector<std::int32_t>{0, 10, 15, 5}));
    EXPECT_EQ(a.SetSeries.Total, (std::vector<std::int64_t>{0, 10, 25, 30}));
    EXPECT_EQ(a.SetSeries.DateText[3], "2024年03月07日");
    expectFigures(
        a, {.TrainingDays = 7, .BestSet = 15, .WorstSet = 5, .GrandTotal = 30, .TodayTotal = 99});

    const DayLabels l = dayLabels(a);
    EXPECT_EQ(l.sets, "3");
    EXPECT_EQ(l.total, "30");
    EXPECT_EQ(l.best, "15");
    EXPECT_EQ(l.lowest, "5");
    EXPECT_EQ(l.average, "10.00");
}

// Zero sets and the 30000 marker are checked through the panel; here the sums and averages.
TEST(DayStatistics, BigSetsDoNotWrapAndAveragesRound) {
    HistoryAnalysis a;
    ComputeDayStatistics({set(kDay, 30001), set(kDay, 32767)}, kDay, a);
    const DayLabels l = dayLabels(a);
    EXPECT_EQ(l.lowest, "30000");
    EXPECT_EQ(l.best, "32767");
    EXPECT_EQ(l.total, "62768");  // no 16-bit wrap of the day's total
    EXPECT_EQ(l.average, "31384.00");

    ComputeDayStatistics({set(kDay, 10), set(kDay, 15)}, kDay, a);
    EXPECT_EQ(dayLabels(a).average, "12.50");
    ComputeDayStatistics({set(kDay, 1), set(kDay, 1), set(kDay, 2)}, kDay, a);
    EXPECT_EQ(dayLabels(a).average, "1.33");
}

TEST(DayStatistics, AnEmptyDayOrNoDateLeavesNoStaleSets) {
    HistoryAnalysis a;
    const std::vector<HistoryRecord> records{set(kDay, 10), set(kDay, 12)};
    ComputeDayStatistics(records, kDay, a);
    ASSERT_EQ(a.SetTotal, 2);

    for (std::optional<Date> day : {std::optional<Date>(kOther), std::optional<Date>()}) {
        ComputeDayStatistics(records, day, a);
        EXPECT_EQ(a.SetSeries.length(), 0);
        expectFigures(a, {.SetTotal = 0, .BestSet = 0, .WorstSet = 30000, .GrandTotal = 0});
        EXPECT_TRUE(dayRows(a).empty());
        const DayLabels l = dayLabels(a);
        for (const std::string& t : {l.sets, l.total, l.best, l.lowest, l.average})
            EXPECT_EQ(t, "0");
    }
}

QuickRecord attempt(std::string seconds, std::string count, std::string date = "2024年03月07日",
                    std::string time = "14時05分33秒") {
    return {std::move(date), std::move(time), std::move(seconds), std::move(count)};
}

TEST(QuickHistory, PresetFollowsTheLastAttempt) {
    EXPECT_EQ(presetSecondsText({}), "180");
    EXPECT_EQ(presetSecondsText({attempt("90", "10"), attempt("60", "5")}), "60");
    EXPECT_EQ(presetSecondsText({attempt("60", "5"), attempt("45", "5")}), "45");
    EXPECT_EQ(presetSecondsText({attempt("60", "5"), attempt("0", "5")}), "180");
    EXPECT_EQ(presetSecondsText({attempt("40000", "5")}), "180");  // beyond 16 bits
    EXPECT_EQ(presetSecondsText({attempt("-30", "5")}), "-30");
}

TEST(QuickHistory, ListsTheAttemptsOfTheChosenSeconds) {
    const std::vector<QuickRecord> records{
        attempt("60", "30", "2005年12月30日", "14時05分33秒"),
        attempt("90", "99"),
        attempt("60.0", "41", "2024年01月02日", "08時09分10秒"),  // the same number of seconds
        attempt("60", "-50"),
        attempt("60", "40.5"),
    };
    const QuickListing l = listQuickAttempts(records, "60");
    ASSERT_EQ(l.rows.size(), 4u);
    EXPECT_EQ(l.rows[0].number, "1");
    EXPECT_EQ(l.rows[0].when, "05年12月30日  14時05分");
    EXPECT_EQ(l.rows[1].number, "2");
    EXPECT_EQ(l.rows[1].when, "24年01月02日  08時09分");
    EXPECT_EQ(l.rows[1].seconds, "60.0");  // shown as stored
    EXPECT_EQ(l.rows[3].count, "40.5");
    EXPECT_EQ(l.best, 41);
    EXPECT_EQ(bestText(l.best), "41");

    EXPECT_EQ(listQuickAttempts(records, "90").best, 99);
    EXPECT_TRUE(listQuickAttempts(records, "45").rows.empty());
    EXPECT_EQ(listQuickAttempts(records, "45").best, 0);
    // A best that is not whole goes to the nearest whole number, halves to the even neighbour.
    EXPECT_EQ(listQuickAttempts({attempt("30", "34.5")}, "30").best, 34);
    EXPECT_EQ(listQuickAttempts({attempt("30", "35.5")}, "30").best, 36);
    // Only negative attempts leave the best at 0.
    EXPECT_EQ(listQuickAttempts({attempt("30", "-5")}, "30").best, 0);
}

TEST(QuickHistory, SecondsBeyondSixteenBitsAreRefused) {
    EXPECT_EQ(secondsOf("45"), std::optional<std::int16_t>(45));
    EXPECT_EQ(secondsOf(" 32767"), std::optional<std::int16_t>(32767));
    EXPECT_EQ(secondsOf("-32768"), std::optional<std::int16_t>(-32768));
    EXPECT_EQ(secondsOf("abc"), std::optional<std::int16_t>(0));
    EXPECT_FALSE(secondsOf("32768"));
    EXPECT_FALSE(secondsOf("-40000"));
}

// The panel tests drive the usual sequence; these are the timings they cannot reach.
TEST(QuickChallenge, LateTicksNegativeSecondsAndAnOldStop) {
    QuickChallenge c;
    c.start();
    c.signalTick(101, 60);
    c.signalTick(102, 60);
    EXPECT_TRUE(c.signalTick(103, 60).started);
    EXPECT_EQ(c.countdownTick(157).remaining, 6);
    // Late ticks do not stretch the challenge: it ends at the first tick at or after the end.
    QuickChallenge::CountdownTick t = c.countdownTick(165);
    EXPECT_EQ(t.remaining, -2);
    EXPECT_EQ(t.cue, SoundCue::CountBox);
    EXPECT_TRUE(t.finished);
    EXPECT_EQ(c.runSeconds(), 60);
    EXPECT_FALSE(c.countdownTick(166).remaining);

    c.start();
    for (int s = 1; s <= 3; ++s) c.signalTick(200 + s, -5);
    EXPECT_TRUE(c.countdownTick(203).finished);

    // A stop pressed while idle does not swallow the next start.
    c.stop();
    c.start();
    EXPECT_EQ(c.signalTick(300, 30).lamp, 1);
    EXPECT_FALSE(c.countdownTick(300).stopHandled);
    // One pressed during the signal lights no further lamp, whichever timer ticks first.
    c.stop();
    EXPECT_EQ(c.signalTick(301, 30).lamp, 0);
    EXPECT_TRUE(c.countdownTick(301).signalCancelled);
    EXPECT_EQ(c.signalTick(302, 30).lamp, 0);
}

}  // namespace
}  // namespace mitoran
