#include "history/history_detail.h"

#include <algorithm>

#include "data/dates.h"
#include "data/number_format.h"

namespace mitoran {
namespace {

std::string slashDateText(std::string_view stored) {
    if (auto d = parseDate(stored)) return formatSlashDate(*d);
    return std::string(stored);
}

}  // namespace

HistorySummary summariseHistory(const HistoryAnalysis& a) {
    if (a.SetTotal <= 0 || a.SetSeries.length() <= 0) return noDataSummary();
    const int n = a.SetSeries.length();
    HistorySummary s;
    s.stDate = slashDateText(a.SetSeries.DateText[1]);
    s.edDate = slashDateText(a.SetSeries.DateText[n]);
    s.dateSa = std::to_string(a.CalendarDays);
    s.jisshibi = std::to_string(a.TrainingDays);
    // Records out of date order can group into more days than the span holds; a negative number
    // of days without training would be nonsense.
    s.miJisshibi = std::to_string(
        std::max<std::int64_t>(0, static_cast<std::int64_t>(a.CalendarDays) - a.TrainingDays));
    s.set = std::to_string(a.SetTotal);
    s.total = std::to_string(a.GrandTotal);
    s.setMax = std::to_string(a.BestSet);
    s.setMin = std::to_string(a.WorstSet);
    s.setAvg = formatFixed(static_cast<double>(a.GrandTotal) / a.SetTotal, 2);
    s.dayMax = std::to_string(a.BestDay);
    s.dayMin = std::to_string(a.WorstDay);
    const int days = std::min(a.TrainingDays, a.DoneDaySeries.length());
    s.dayAvg = days > 0 ? formatFixed(static_cast<double>(a.DoneDaySeries.Total[days]) / days, 2)
                        : std::string("0.00");
    return s;
}

HistorySummary noDataSummary() {
    const std::string zero = "0";
    HistorySummary s{"データなし", "データなし", zero, zero, zero, zero, zero,
                     zero,         zero,         zero, zero, zero, zero};
    return s;
}

std::string listDateText(std::string_view dateText) {
    if (auto d = parseDate(dateText)) return formatShortDate(*d);
    return std::string(dateText);
}

std::vector<SeriesRow> seriesRows(const Series& s) {
    const int n = s.length();
    std::vector<SeriesRow> rows;
    rows.reserve(n > 0 ? n : 0);
    for (int i = 1; i <= n; ++i) {
        // A date text array shorter than the counts would be a fault of the series' producer;
        // the row then shows no date rather than reading past the end.
        const std::string date =
            i < static_cast<int>(s.DateText.size()) ? listDateText(s.DateText[i]) : std::string();
        const std::int64_t total = i < static_cast<int>(s.Total.size()) ? s.Total[i] : 0;
        rows.push_back({std::to_string(i), date, std::to_string(s.Count[i]), std::to_string(total),
                        s.Count[i], total});
    }
    return rows;
}

std::optional<SortStep> nextSort(int column, SortToggles& toggles) {
    std::int16_t* toggle = nullptr;
    int key = column;
    const char* ascending = nullptr;
    const char* descending = nullptr;
    switch (column) {
        case kColDate:
            // Running totals never fall from one entry to the next, so they order the rows by date.
            toggle = &toggles.TotalSortDescending;
            key = kColTotal;
            ascending = "日付 昇順";
            descending = "日付 降順";
            break;
        case kColCount:
            toggle = &toggles.CountSortDescending;
            ascending = "回数 昇順";
            descending = "回数 降順";
            break;
        case kColTotal:
            toggle = &toggles.TotalSortDescending;
            ascending = "累計 昇順";
            descending = "累計 降順";
            break;
        default:
            return std::nullopt;
    }
    SortStep step;
    step.keyColumn = key;
    step.descending = *toggle != 1;
    *toggle = step.descending ? 1 : 0;
    step.label = step.descending ? descending : ascending;
    return step;
}

}  // namespace mitoran
