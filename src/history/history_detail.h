#pragma once
// What the history detail screen shows, computed without a window: the summary texts, the list
// rows of a series and the alternating sort of the list.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/history_analysis.h"

namespace mitoran {

// The texts of the summary panel, one per value label.
struct HistorySummary {
    std::string stDate;      // lblStDate
    std::string edDate;      // lblEdDate
    std::string dateSa;      // lblDate_Sa
    std::string jisshibi;    // lblJisshibi
    std::string miJisshibi;  // lblMiJisshibi
    std::string set;         // lblSet
    std::string total;       // lblTotal
    std::string setMax;      // lblSetMax
    std::string setMin;      // lblSetMin
    std::string setAvg;      // lblSetAvg
    std::string dayMax;      // lblDayMax
    std::string dayMin;      // lblDayMin
    std::string dayAvg;      // lblDayAvg
};

// The panel of an analysed history with at least one set.
HistorySummary summariseHistory(const HistoryAnalysis& a);
// The panel of an item without sets.
HistorySummary noDataSummary();

// "yy年mm月dd日" for a stored or generated date text; a text that is not a date is shown as it is.
std::string listDateText(std::string_view dateText);

// One list row: "№", "日付", "回数", "累計".
struct SeriesRow {
    std::string number;
    std::string date;
    std::string count;
    std::string total;
    std::int32_t countValue = 0;  // the chart's bar
    std::int64_t totalValue = 0;  // the chart's line
};
std::vector<SeriesRow> seriesRows(const Series& s);

// The list's columns.
inline constexpr int kColNumber = 0;
inline constexpr int kColDate = 1;
inline constexpr int kColCount = 2;
inline constexpr int kColTotal = 3;

// Which way the last sort through each toggle went (1 descending, 0 ascending). The date column
// shares the running-total toggle because it is sorted through that column.
struct SortToggles {
    std::int16_t CountSortDescending = 0;
    std::int16_t TotalSortDescending = 0;
};

struct SortStep {
    int keyColumn = 0;
    bool descending = false;
    std::string label;  // the text of lblSort
};

// The sort a double click on `column` asks for, flipping its toggle; nothing (and no toggle
// changed) for a column that does not sort.
std::optional<SortStep> nextSort(int column, SortToggles& toggles);

}  // namespace mitoran
