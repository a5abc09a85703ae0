#pragma once
// The every-calendar-day series computed the plain way: for each calendar day, search the
// training days from the first for an equal date text. Quadratic; the reference the program's
// lookup must agree with, and the baseline it is timed against.
#include <chrono>

#include "data/dates.h"
#include "session/history_analysis.h"

namespace mitoran::testing {

inline void linearFillAllDaySeries(HistoryAnalysis& a, Date firstDay) {
    Series& all = a.AllDaySeries;
    all.reset();
    const Series& done = a.DoneDaySeries;
    if (a.CalendarDays <= 0 || a.TrainingDays <= 0) return;
    std::int32_t lastMatched = 0;
    for (std::int32_t i = 1; i <= a.CalendarDays; ++i) {
        all.DateText.emplace_back(i == 1 ? done.DateText[1].str()
                                         : formatStoredDate(addDays(firstDay, i - 1)));
        std::int32_t found = 0;
        for (std::int32_t j = 1; j <= a.TrainingDays; ++j)
            if (done.DateText[j] == all.DateText[i]) {
                found = j;
                break;
            }
        if (found) lastMatched = found;
        all.Count.push_back(found ? done.Count[found] : 0);
        all.Total.push_back(done.Total[lastMatched]);
    }
}

inline AnalysisResult linearAnalyseHistory(const std::vector<HistoryRecord>& records, Date today) {
    AnalysisResult r = analyseSetsAndDays(records, today);
    if (!records.empty()) linearFillAllDaySeries(r.analysis, records.front().day);
    return r;
}

}  // namespace mitoran::testing
