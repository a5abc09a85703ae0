#pragma once
// One item's sets on one calendar day, as the today panel shows them. Pure: records in, the
// shared analysis record and display texts out.
#include <optional>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "data/dates.h"
#include "session/history_analysis.h"

namespace mitoran {

// Fills SetSeries, SetTotal, BestSet, WorstSet and GrandTotal of `analysis` from the records whose
// date, as a calendar date, is `day`, in file order. A day that is no date (a typed text that
// does not convert) has no set. A day without sets leaves an empty series, best 0, lowest 30000
// and total 0, so the record never shows sets it does not count. The other fields belong to
// whichever analysis filled them last and are left alone.
void ComputeDayStatistics(const std::vector<HistoryRecord>& records, std::optional<Date> day,
                          HistoryAnalysis& analysis);

// The texts of lblSet, lblTotal, lblSetMax, lblSetMin and lblSetAvg; "0" each without a set.
struct DayLabels {
    std::string sets;
    std::string total;
    std::string best;
    std::string lowest;
    std::string average;
};
DayLabels dayLabels(const HistoryAnalysis& analysis);

// One grid row per set of the series: number, date ("YYYY年MM月DD日"), count, running total.
struct DayRow {
    std::string number;
    std::string date;
    std::string count;
    std::string total;
};
std::vector<DayRow> dayRows(const HistoryAnalysis& analysis);

}  // namespace mitoran
