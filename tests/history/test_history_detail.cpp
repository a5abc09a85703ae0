// The screen's texts and its alternating sort, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/dates.h"
#include "history/history_detail.h"
#include "session/history_analysis.h"
#include "support/history_records.h"

using namespace mitoran;
using mitoran::testing::set;
using mitoran::testing::ymd;

namespace {

HistoryAnalysis analyse(const std::vector<HistoryRecord>& records) {
    return analyseHistory(records, ymd(2024, 6, 1)).analysis;
}

TEST(HistorySortTest, ColumnsThatDoNotSortLeaveTheTogglesAlone) {
    SortToggles t;
    t.TotalSortDescending = 1;
    for (int col : {kColNumber, 4, -1}) {
        EXPECT_FALSE(nextSort(col, t)) << col;
        EXPECT_EQ(t.CountSortDescending, 0);
        EXPECT_EQ(t.TotalSortDescending, 1);
    }
}

TEST(HistoryRowsTest, DatesShowTwoDigitYearsAndRowsNumberFromOne) {
    EXPECT_EQ(listDateText("2005年04月03日"), "05年04月03日");
    EXPECT_EQ(listDateText("2024年3月7日"), "24年03月07日");
    // Not a date: shown as it is rather than as an invented date.
    EXPECT_EQ(listDateText("2024年02月30日"), "2024年02月30日");

    const HistoryAnalysis a = analyse({set(ymd(2005, 4, 3), 8), set(ymd(2005, 4, 5), 0)});
    const std::vector<SeriesRow> rows = seriesRows(a.AllDaySeries);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].number, "1");
    EXPECT_EQ(rows[0].date, "05年04月03日");
    EXPECT_EQ(rows[1].date, "05年04月04日");
    EXPECT_EQ(rows[1].count, "0");
    EXPECT_EQ(rows[1].total, "8");
    EXPECT_EQ(rows[2].number, "3");
    EXPECT_EQ(rows[2].count, "0");
    EXPECT_EQ(rows[2].totalValue, 8);
    EXPECT_TRUE(seriesRows(Series{}).empty());
}

TEST(HistorySummaryTest, AveragesHaveTwoDecimalsWithHalvesAwayFromZero) {
    // 1 + 2 over 8 sets = 0.375 per set; days 1 and 2: 1.5 per day.
    std::vector<HistoryRecord> records;
    records.push_back(set(ymd(2024, 3, 1), 1));
    for (int i = 0; i < 6; ++i) records.push_back(set(ymd(2024, 3, 2), 0));
    records.push_back(set(ymd(2024, 3, 2), 2));
    const HistorySummary s = summariseHistory(analyse(records));
    EXPECT_EQ(s.setAvg, "0.38");
    EXPECT_EQ(s.dayAvg, "1.50");
    EXPECT_EQ(s.setMin, "0");
    EXPECT_EQ(s.dayMin, "1");
    EXPECT_EQ(s.stDate, "2024/03/01");
    EXPECT_EQ(s.edDate, "2024/03/02");
}

TEST(HistorySummaryTest, RecordsOutOfOrderNeverGiveNegativeDays) {
    // The last record lies before the first: the span is empty, yet there were training days.
    const HistorySummary s = summariseHistory(
        analyse({set(ymd(2024, 3, 9), 5), set(ymd(2024, 3, 2), 6), set(ymd(2024, 3, 1), 7)}));
    EXPECT_EQ(s.stDate, "2024/03/09");
    EXPECT_EQ(s.edDate, "2024/03/01");
    EXPECT_EQ(s.jisshibi, "3");
    EXPECT_EQ(s.miJisshibi, "0");
    EXPECT_FALSE(s.dateSa.starts_with('-'));
    EXPECT_EQ(s.total, "18");
    EXPECT_EQ(s.dayAvg, "6.00");
}

}  // namespace
