#pragma once
// Dates and history records written the way the program writes them, for tests without files.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

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

// The single figures of an analysis a test expects; those left out are not checked.
struct Figures {
    std::optional<std::int64_t> SetTotal = {}, TrainingDays = {}, CalendarDays = {}, BestSet = {},
                                WorstSet = {}, BestDay = {}, WorstDay = {}, GrandTotal = {},
                                TodayTotal = {};
};

// Checks the expected figures one by one; a failure names the figure.
inline void expectFigures(const HistoryAnalysis& a, const Figures& want) {
    const auto check = [](const char* name, std::int64_t shown,
                          std::optional<std::int64_t> wanted) {
        if (wanted) {
            EXPECT_EQ(shown, *wanted) << name;
        }
    };
    check("SetTotal", a.SetTotal, want.SetTotal);
    check("TrainingDays", a.TrainingDays, want.TrainingDays);
    check("CalendarDays", a.CalendarDays, want.CalendarDays);
    check("BestSet", a.BestSet, want.BestSet);
    check("WorstSet", a.WorstSet, want.WorstSet);
    check("BestDay", a.BestDay, want.BestDay);
    check("WorstDay", a.WorstDay, want.WorstDay);
    check("GrandTotal", a.GrandTotal, want.GrandTotal);
    check("TodayTotal", a.TodayTotal, want.TodayTotal);
}

}  // namespace mitoran::testing
