#pragma once
// The statistics and the four time series of one item's history. Pure: records and today's date
// in, results out. Widths are wider than the 16 and 32 bits of the stored format so that no sum
// wraps; for every history the program itself writes the values are the same.
#include <cstdint>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "data/dates.h"
#include "data/short_text.h"

namespace mitoran {

// Three parallel arrays indexed from 1; entry 0 is empty text and zeros.
struct Series {
    std::vector<ShortText> DateText{ShortText()};
    std::vector<std::int32_t> Count{0};
    std::vector<std::int64_t> Total{0};

    int length() const { return static_cast<int>(Count.size()) - 1; }
    void reset() {
        DateText.assign(1, ShortText());
        Count.assign(1, 0);
        Total.assign(1, 0);
    }
};

struct HistoryAnalysis {
    Series SetSeries;
    Series DoneDaySeries;
    Series AllDaySeries;
    Series SetCountSeries;
    std::int32_t SetTotal = 0;
    std::int32_t TrainingDays = 0;
    std::int32_t CalendarDays = 0;
    std::int32_t BestSet = 0;
    std::int32_t WorstSet = 30000;
    std::int32_t BestDay = 0;
    std::int32_t WorstDay = 30000;
    std::int64_t GrandTotal = 0;
    std::int64_t TodayTotal = 0;
};

}  // namespace mitoran

namespace mitoran {

// What one analysis gives: the shared record and the two figures that are only displayed.
struct AnalysisResult {
    HistoryAnalysis analysis;
    std::int32_t todaySets = 0;      // sets dated today
    std::int32_t mostSetsInDay = 0;  // most sets on one training day
};

// The full analysis of an item's records (in file order) as of `today`. The second form writes
// over `into` and reuses its storage, so analysing item after item does not allocate per entry.
AnalysisResult analyseHistory(const std::vector<HistoryRecord>& records, Date today);
void analyseHistory(const std::vector<HistoryRecord>& records, Date today, AnalysisResult& into);

// The same analysis without the every-calendar-day series (AllDaySeries is left empty), so that
// other ways of filling that series can be checked and timed against the program's.
AnalysisResult analyseSetsAndDays(const std::vector<HistoryRecord>& records, Date today);

// The twelve texts of the prompt screen's statistics panel, named after the labels showing them.
struct PromptStatistics {
    std::string lblSet;          // sets, total
    std::string lblSetTotalMax;  // sets, most in one day
    std::string lblTodaySet;     // sets, today
    std::string lblSetSa;        // sets, today minus the most
    std::string lblSetKaiAvg;    // sets per training day
    std::string lblTotal;        // count, total
    std::string lblDayMax;       // count, best day
    std::string lblTodayTotal;   // count, today
    std::string lblKaiSa;        // count, today minus the best day
    std::string lblDayAvg;       // count per training day
    std::string lblSetMax;       // best single set
    std::string lblSetAvg;       // average single set
};

PromptStatistics promptLabels(const AnalysisResult& result);

}  // namespace mitoran
