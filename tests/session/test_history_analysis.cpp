#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <random>

#include "session/history_analysis.h"
#include "session/linear_day_fill.h"
#include "support/history_records.h"

namespace mitoran {
namespace {

using namespace std::chrono;
using testing::expectFigures;
using testing::set;
using testing::ymd;

std::vector<std::string> texts(const Series& s) {
    return {s.DateText.begin() + 1, s.DateText.end()};
}
std::vector<std::int32_t> counts(const Series& s) { return {s.Count.begin() + 1, s.Count.end()}; }
std::vector<std::int64_t> totals(const Series& s) { return {s.Total.begin() + 1, s.Total.end()}; }

using Texts = std::vector<std::string>;
using Counts = std::vector<std::int32_t>;
using Totals = std::vector<std::int64_t>;

// The prompt's twelve figures in the order the screen shows them.
const char* const kLabels[] = {"lblSet",       "lblSetTotalMax", "lblTodaySet", "lblSetSa",
                               "lblSetKaiAvg", "lblTotal",       "lblDayMax",   "lblTodayTotal",
                               "lblKaiSa",     "lblDayAvg",      "lblSetMax",   "lblSetAvg"};
void expectLabels(const PromptStatistics& s, const Texts& want) {
    const Texts shown = {s.lblSet,       s.lblSetTotalMax, s.lblTodaySet, s.lblSetSa,
                         s.lblSetKaiAvg, s.lblTotal,       s.lblDayMax,   s.lblTodayTotal,
                         s.lblKaiSa,     s.lblDayAvg,      s.lblSetMax,   s.lblSetAvg};
    ASSERT_EQ(want.size(), shown.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(shown[i], want[i]) << kLabels[i];
}

TEST(HistoryAnalysis, EmptyHistoryHasNoDataMarkersAndZeroLabels) {
    const AnalysisResult r = analyseHistory({}, ymd(2024, 3, 7));
    const HistoryAnalysis& a = r.analysis;
    expectFigures(a, {.SetTotal = 0,
                      .TrainingDays = 0,
                      .CalendarDays = 0,
                      .BestSet = 0,
                      .WorstSet = 30000,
                      .BestDay = 0,
                      .WorstDay = 30000,
                      .GrandTotal = 0,
                      .TodayTotal = 0});
    for (const Series* s : {&a.SetSeries, &a.DoneDaySeries, &a.AllDaySeries, &a.SetCountSeries})
        EXPECT_EQ(s->length(), 0);
    expectLabels(promptLabels(r), Texts(std::size(kLabels), "0"));
}

TEST(HistoryAnalysis, OneSetToday) {
    expectLabels(promptLabels(analyseHistory({set("2024年03月07日", 8)}, ymd(2024, 3, 7))),
                 {"1", "1", "1", "0", "1.0", "8", "8", "8", "0", "8.0", "8", "8.0"});
}

// Two sets on 1 March, one on 3 March: the day in between has no set.
TEST(HistoryAnalysis, DaysWithAGapFillEverySeries) {
    const AnalysisResult r = analyseHistory(
        {set("2024年03月01日", 10), set("2024年03月01日", 12), set("2024年03月03日", 15)},
        ymd(2024, 3, 3));
    const HistoryAnalysis& a = r.analysis;
    expectFigures(a, {.SetTotal = 3, .TrainingDays = 2, .CalendarDays = 3});
    EXPECT_EQ(totals(a.SetSeries), (Totals{10, 22, 37}));
    EXPECT_EQ(texts(a.DoneDaySeries), (Texts{"2024年03月01日", "2024年03月03日"}));
    EXPECT_EQ(counts(a.DoneDaySeries), (Counts{22, 15}));
    EXPECT_EQ(totals(a.DoneDaySeries), (Totals{22, 37}));
    EXPECT_EQ(texts(a.SetCountSeries), texts(a.DoneDaySeries));
    EXPECT_EQ(counts(a.SetCountSeries), (Counts{2, 1}));
    EXPECT_EQ(totals(a.SetCountSeries), (Totals{2, 3}));
    EXPECT_EQ(texts(a.AllDaySeries), (Texts{"2024年03月01日", "2024年03月02日", "2024年03月03日"}));
    EXPECT_EQ(counts(a.AllDaySeries), (Counts{22, 0, 15}));
    EXPECT_EQ(totals(a.AllDaySeries), (Totals{22, 22, 37}));
    expectFigures(a,
                  {.BestSet = 15, .WorstSet = 10, .BestDay = 22, .WorstDay = 15, .GrandTotal = 37});
    EXPECT_EQ(r.mostSetsInDay, 2);

    expectLabels(promptLabels(r),
                 {"3", "2", "1", "-1", "1.5", "37", "22", "15", "-7", "18.5", "15", "12.3"});
}

// A set of 0 is a set; a date that comes back after another date opens a second training day,
// and the calendar series takes the first of the two.
TEST(HistoryAnalysis, ZeroSetsCountAndRepeatedDatesFormNewDays) {
    const AnalysisResult r = analyseHistory({set("2024年03月01日", 5), set("2024年03月02日", 0),
                                             set("2024年03月01日", 7), set("2024年03月03日", 4)},
                                            ymd(2024, 3, 9));
    const HistoryAnalysis& a = r.analysis;
    // More training days than the span of 3: the series still hold them.
    expectFigures(a, {.SetTotal = 4,
                      .TrainingDays = 4,
                      .CalendarDays = 3,
                      .WorstSet = 0,
                      .BestDay = 7,
                      .WorstDay = 0});
    EXPECT_EQ(counts(a.DoneDaySeries), (Counts{5, 0, 7, 4}));
    EXPECT_EQ(counts(a.AllDaySeries), (Counts{5, 0, 4}));
    EXPECT_EQ(totals(a.AllDaySeries), (Totals{5, 5, 16}));
    const PromptStatistics s = promptLabels(r);
    EXPECT_EQ(s.lblSetAvg, "4.0");
    EXPECT_EQ(s.lblDayAvg, "4.0");
    EXPECT_EQ(s.lblSetKaiAvg, "1.0");
}

// Today is a calendar date, the day grouping is by text: a hand-written date without leading
// zeros counts for today but forms a day of its own, and calendar days match stored texts only.
TEST(HistoryAnalysis, TodayIsReadAsADateWhileDaysCompareTexts) {
    const AnalysisResult r =
        analyseHistory({set("2024年03月06日", 3), set("2024年3月7日", 4), set("2024年03月07日", 5)},
                       ymd(2024, 3, 7));
    EXPECT_EQ(r.analysis.TodayTotal, 9);
    EXPECT_EQ(r.todaySets, 2);
    EXPECT_EQ(r.analysis.TrainingDays, 3);
    EXPECT_EQ(counts(r.analysis.AllDaySeries), (Counts{3, 5}));
}

TEST(HistoryAnalysis, CountsAboveTheMarkersNeitherWrapNorHideTheAverages) {
    std::vector<HistoryRecord> records(40, set("2024年03月07日", 1000));  // 40000 in one day
    records.push_back(set("2024年03月08日", 31000));
    const AnalysisResult r = analyseHistory(records, ymd(2024, 3, 7));
    const HistoryAnalysis& a = r.analysis;
    // The search for the worst day starts at its marker.
    expectFigures(a, {.BestSet = 31000,
                      .BestDay = 40000,
                      .WorstDay = 30000,
                      .GrandTotal = 71000,
                      .TodayTotal = 40000});
    const PromptStatistics s = promptLabels(r);
    EXPECT_EQ(s.lblTodayTotal, "40000");
    EXPECT_EQ(s.lblKaiSa, "0");
    EXPECT_EQ(s.lblDayAvg, "35500.0");
    EXPECT_EQ(s.lblSetAvg, "1731.7");

    // A single hand-made set above every marker still shows its averages.
    const PromptStatistics one =
        promptLabels(analyseHistory({set("2024年03月07日", 31000)}, ymd(2024, 3, 7)));
    EXPECT_EQ(one.lblSetAvg, "31000.0");
    EXPECT_EQ(one.lblDayAvg, "31000.0");
    EXPECT_EQ(one.lblSetKaiAvg, "1.0");

    // A day beyond 32 bits keeps exact running totals; its own count stops at the largest value.
    const std::vector<HistoryRecord> huge(70000, set("2024年03月07日", 32767));
    const HistoryAnalysis h = analyseHistory(huge, ymd(2024, 3, 7)).analysis;
    EXPECT_EQ(h.GrandTotal, 70000LL * 32767);
    EXPECT_EQ(h.TodayTotal, 70000LL * 32767);
    EXPECT_EQ(h.DoneDaySeries.Count[1], std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(h.AllDaySeries.Total[1], 70000LL * 32767);
}

TEST(HistoryAnalysis, RecordsOutOfOrderGiveAnEmptyOrShortSpan) {
    const AnalysisResult back = analyseHistory(
        {set("2024年03月05日", 1), set("2024年03月09日", 2), set("2024年03月01日", 3)},
        ymd(2024, 3, 9));
    EXPECT_EQ(back.analysis.CalendarDays, 0);
    EXPECT_EQ(back.analysis.AllDaySeries.length(), 0);
    EXPECT_EQ(back.analysis.TrainingDays, 3);
    EXPECT_EQ(counts(back.analysis.DoneDaySeries), (Counts{1, 2, 3}));
    EXPECT_EQ(promptLabels(back).lblDayAvg, "2.0");

    // Year 1900 next to year 9999: the calendar series stops at its bound instead of taking
    // millions of days.
    const AnalysisResult far =
        analyseHistory({set("1900年01月01日", 4), set("9999年12月31日", 6)}, ymd(2024, 3, 9));
    EXPECT_EQ(far.analysis.CalendarDays, 1'000'000);
    EXPECT_EQ(far.analysis.AllDaySeries.length(), 1'000'000);
    EXPECT_EQ(far.analysis.AllDaySeries.Total.back(), 4);
}

std::string unpadded(Date d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d年%u月%u日", int(d.year()), unsigned(d.month()),
                  unsigned(d.day()));
    return buf;
}

bool sameSeries(const Series& x, const Series& y) {
    return x.DateText == y.DateText && x.Count == y.Count && x.Total == y.Total;
}

bool sameAnalysis(const AnalysisResult& p, const AnalysisResult& q) {
    const HistoryAnalysis& x = p.analysis;
    const HistoryAnalysis& y = q.analysis;
    return sameSeries(x.SetSeries, y.SetSeries) && sameSeries(x.DoneDaySeries, y.DoneDaySeries) &&
           sameSeries(x.AllDaySeries, y.AllDaySeries) &&
           sameSeries(x.SetCountSeries, y.SetCountSeries) && x.SetTotal == y.SetTotal &&
           x.TrainingDays == y.TrainingDays && x.CalendarDays == y.CalendarDays &&
           x.BestSet == y.BestSet && x.WorstSet == y.WorstSet && x.BestDay == y.BestDay &&
           x.WorstDay == y.WorstDay && x.GrandTotal == y.GrandTotal &&
           x.TodayTotal == y.TodayTotal && p.todaySets == q.todaySets &&
           p.mostSetsInDay == q.mostSetsInDay;
}

// Histories as they come: runs of one day, gaps, clock changes back and forth, dates typed by
// hand. The lookup must give exactly what the day-by-day search gives.
TEST(HistoryAnalysis, CalendarLookupEqualsTheLinearSearchOnRandomHistories) {
    std::mt19937 rng(20240307);
    AnalysisResult reused;
    for (int round = 0; round < 300; ++round) {
        std::vector<HistoryRecord> records;
        const int startYear = round % 3 == 0 ? int(1000 + rng() % 8990) : 2020;
        sys_days d = sys_days{ymd(startYear, 1, 1)} + days{int(rng() % 1000)};
        const int n = int(rng() % 120);
        for (int i = 0; i < n; ++i) {
            const unsigned step = rng() % 20;
            if (step < 8) {
            } else if (step < 16) {
                d += days{int(1 + rng() % 4)};
            } else if (step < 18) {
                d -= days{int(1 + rng() % 10)};
            } else if (!records.empty()) {
                d = sys_days{records[rng() % records.size()].day};
            }
            HistoryRecord r = set(formatStoredDate(Date{d}), int(rng() % 60));
            if (rng() % 15 == 0) r.date = unpadded(r.day);
            records.push_back(r);
        }
        const Date today = records.empty() ? ymd(2024, 1, 1) : records[rng() % records.size()].day;
        const AnalysisResult fresh = analyseHistory(records, today);
        const HistoryAnalysis& fast = fresh.analysis;
        const HistoryAnalysis slow = testing::linearAnalyseHistory(records, today).analysis;
        ASSERT_EQ(fast.AllDaySeries.DateText, slow.AllDaySeries.DateText) << round;
        ASSERT_EQ(fast.AllDaySeries.Count, slow.AllDaySeries.Count) << round;
        ASSERT_EQ(fast.AllDaySeries.Total, slow.AllDaySeries.Total) << round;
        // Written over the previous history's storage, the result is the same as a fresh one.
        analyseHistory(records, today, reused);
        ASSERT_TRUE(sameAnalysis(reused, fresh)) << round;

        const bool ascending = std::is_sorted(
            records.begin(), records.end(),
            [](const HistoryRecord& x, const HistoryRecord& y) { return x.day < y.day; });
        const bool padded = std::all_of(records.begin(), records.end(), [](const HistoryRecord& x) {
            return x.date == formatStoredDate(x.day);
        });
        if (ascending && padded && !records.empty()) {
            ASSERT_LE(fast.TrainingDays, fast.CalendarDays);
            ASSERT_EQ(fast.AllDaySeries.Total.back(), fast.GrandTotal);
            ASSERT_EQ(fast.DoneDaySeries.Total.back(), fast.GrandTotal);
            ASSERT_EQ(fast.SetCountSeries.Total.back(), fast.SetTotal);
        }
    }
}

}  // namespace
}  // namespace mitoran
