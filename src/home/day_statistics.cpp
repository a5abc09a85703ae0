#include "home/day_statistics.h"

#include <algorithm>

#include "data/number_format.h"

namespace mitoran {

void ComputeDayStatistics(const std::vector<HistoryRecord>& records, std::optional<Date> day,
                          HistoryAnalysis& analysis) {
    Series& series = analysis.SetSeries;
    series.reset();
    analysis.SetTotal = 0;
    analysis.BestSet = 0;
    analysis.WorstSet = 30000;
    analysis.GrandTotal = 0;
    if (!day) return;

    for (const HistoryRecord& r : records) {
        if (r.day != *day) continue;
        series.DateText.push_back(r.date);
        series.Count.push_back(r.count);
        series.Total.push_back(series.Total.back() + r.count);
        analysis.BestSet = std::max<std::int32_t>(analysis.BestSet, r.count);
        analysis.WorstSet = std::min<std::int32_t>(analysis.WorstSet, r.count);
    }
    analysis.SetTotal = series.length();
    analysis.GrandTotal = series.Total.back();
}

DayLabels dayLabels(const HistoryAnalysis& analysis) {
    const int n = analysis.SetTotal;
    if (n <= 0) return {"0", "0", "0", "0", "0"};
    return {std::to_string(n), std::to_string(analysis.GrandTotal),
            std::to_string(analysis.BestSet), std::to_string(analysis.WorstSet),
            formatFixed(static_cast<double>(analysis.GrandTotal) / n, 2)};
}

std::vector<DayRow> dayRows(const HistoryAnalysis& analysis) {
    const Series& s = analysis.SetSeries;
    const int n = std::min(analysis.SetTotal, s.length());
    std::vector<DayRow> rows;
    rows.reserve(std::max(n, 0));
    for (int k = 1; k <= n; ++k) {
        const std::optional<Date> d = parseDate(s.DateText[k]);
        rows.push_back({std::to_string(k), d ? formatStoredDate(*d) : s.DateText[k].str(),
                        std::to_string(s.Count[k]), std::to_string(s.Total[k])});
    }
    return rows;
}

}  // namespace mitoran
