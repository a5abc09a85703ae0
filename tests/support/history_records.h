#pragma once
// Dates and history records written the way the program writes them, for tests without files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "data/data_files.h"
#include "data/dates.h"
#include "session/history_analysis.h"

namespace mitoran::testing {

inline Date ymd(int y, int m, int d) {
    return Date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                std::chrono::day{static_cast<unsigned>(d)}};
}

// One set done at noon of the day.
inline HistoryRecord set(Date day, int count) {
    HistoryRecord r;
    r.day = day;
    r.date = formatStoredDate(day);
    r.time = "12時00分00秒";
    r.count = static_cast<std::int16_t>(count);
    r.countText = std::to_string(count);
    return r;
}

// The same with the date as the file has it, which may be typed by hand without leading zeros.
inline HistoryRecord set(const std::string& dateText, int count) {
    HistoryRecord r = set(parseDate(dateText).value(), count);
    r.date = dateText;
    return r;
}

// Checks the named single figures of an analysis; a failure names the figure.
inline void expectFigures(const HistoryAnalysis& a,
                          std::initializer_list<std::pair<std::string_view, std::int64_t>> want) {
    const std::pair<std::string_view, std::int64_t> figures[] = {
        {"SetTotal", a.SetTotal},         {"TrainingDays", a.TrainingDays},
        {"CalendarDays", a.CalendarDays}, {"BestSet", a.BestSet},
        {"WorstSet", a.WorstSet},         {"BestDay", a.BestDay},
        {"WorstDay", a.WorstDay},         {"GrandTotal", a.GrandTotal},
        {"TodayTotal", a.TodayTotal}};
    for (const auto& [name, value] : want) {
        const auto* f = std::find_if(std::begin(figures), std::end(figures),
                                     [&](const auto& g) { return g.first == name; });
        if (f == std::end(figures))
            ADD_FAILURE() << "no figure " << name;
        else
            EXPECT_EQ(f->second, value) << name;
    }
}

}  // namespace mitoran::testing
