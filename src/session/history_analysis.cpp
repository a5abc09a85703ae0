#include "session/history_analysis.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <string_view>

#include "data/number_format.h"

namespace mitoran {
namespace {

constexpr std::int32_t kNoSmallest = 30000;  // marker of the smallest-value searches

// Dates from a clock span a few decades; only a hand-edited date (year 1 next to year 9999)
// reaches further, and the day-by-day series then stops here instead of exhausting memory.
constexpr long kMaxCalendarDays = 1'000'000;

// Day sums are exact in 64 bits; a series' Count is 32 bits, so an absurd hand-made day that
// exceeds it shows the largest value instead of wrapping round to a negative one.
std::int32_t saturate32(std::int64_t v) {
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(std::clamp(v, lo, hi));
}

// The stored date text as formatStoredDate writes it, built without a formatted print: the
// day-by-day series needs one per calendar day. False outside the years this form covers.
constexpr std::size_t kStoredDateLength = 17;
bool writeStoredDate(char (&out)[kStoredDateLength], Date d) {
    const int y = static_cast<int>(d.year());
    if (y < 0 || y > 9999 || !d.ok()) return false;
    const unsigned m = static_cast<unsigned>(d.month());
    const unsigned dd = static_cast<unsigned>(d.day());
    static constexpr char kYear[] = "年", kMonth[] = "月", kDay[] = "日";
    char* p = out;
    *p++ = static_cast<char>('0' + y / 1000);
    *p++ = static_cast<char>('0' + y / 100 % 10);
    *p++ = static_cast<char>('0' + y / 10 % 10);
    *p++ = static_cast<char>('0' + y % 10);
    p = std::copy(kYear, kYear + 3, p);
    *p++ = static_cast<char>('0' + m / 10);
    *p++ = static_cast<char>('0' + m % 10);
    p = std::copy(kMonth, kMonth + 3, p);
    *p++ = static_cast<char>('0' + dd / 10);
    *p++ = static_cast<char>('0' + dd % 10);
    std::copy(kDay, kDay + 3, p);
    return true;
}

// Whether `text` is exactly the stored form of `d` (a hand-typed "2024年3月7日" is not).
bool isStoredDateText(std::string_view text, Date d) {
    char buf[kStoredDateLength];
    if (!writeStoredDate(buf, d)) return text == formatStoredDate(d);
    return text == std::string_view(buf, kStoredDateLength);
}

// Writes a series from entry 1 on over the storage of an earlier one, so analysing one long
// history after another does not allocate per entry.
class SeriesWriter {
  public:
    explicit SeriesWriter(Series& s) : s_(s) {
        s_.DateText.resize(std::max<std::size_t>(s_.DateText.size(), 1));
        s_.Count.resize(s_.DateText.size());
        s_.Total.resize(s_.DateText.size());
        s_.DateText[0].clear();
        s_.Count[0] = 0;
        s_.Total[0] = 0;
    }
    void reserve(std::size_t entries) {
        s_.DateText.reserve(entries + 1);
        s_.Count.reserve(entries + 1);
        s_.Total.reserve(entries + 1);
    }
    template <class Text>  // ShortText or std::string_view
    void push(const Text& text, std::int32_t count, std::int64_t total) {
        if (used_ < s_.DateText.size()) {
            s_.DateText[used_] = text;
            s_.Count[used_] = count;
            s_.Total[used_] = total;
        } else {
            s_.DateText.emplace_back(text);
            s_.Count.push_back(count);
            s_.Total.push_back(total);
        }
        ++used_;
    }
    void finish() {
        s_.DateText.resize(used_);
        s_.Count.resize(used_);
        s_.Total.resize(used_);
    }

  private:
    Series& s_;
    std::size_t used_ = 1;
};

// Everything but the every-calendar-day series; `dayDates` receives the calendar date of each
// training day.
void analyseRecords(const std::vector<HistoryRecord>& records, Date today, AnalysisResult& result,
                    std::vector<Date>& dayDates) {
    HistoryAnalysis& a = result.analysis;
    const std::size_t n = records.size();
    result.todaySets = 0;

    SeriesWriter sets(a.SetSeries);
    SeriesWriter done(a.DoneDaySeries);
    SeriesWriter counts(a.SetCountSeries);
    sets.reserve(n);
    dayDates.assign(1, Date{});
    a.SetTotal = saturate32(static_cast<std::int64_t>(n));
    a.BestSet = 0;
    a.WorstSet = kNoSmallest;
    a.TodayTotal = 0;

    // Only adjacent records of one date text form a day: a text that comes back after another
    // date opens a new day. The series grow as needed, so days beyond the span still fit. Sets
    // and days come out of one pass, as a long history does not fit in the caches.
    std::int64_t running = 0, dayRunning = 0, setRunning = 0;
    std::int64_t mostSets = 0, bestDay = 0, worstDay = kNoSmallest;
    std::int64_t trainingDays = 0;
    const HistoryRecord* dayFirst = nullptr;  // the first record of the day being summed
    std::int64_t daySum = 0, daySets = 0;
    const auto closeDay = [&] {
        dayRunning += daySum;
        setRunning += daySets;
        done.push(dayFirst->date, saturate32(daySum), dayRunning);
        counts.push(dayFirst->date, saturate32(daySets), setRunning);
        dayDates.push_back(dayFirst->day);
        bestDay = std::max(bestDay, daySum);
        worstDay = std::min(worstDay, daySum);
        mostSets = std::max(mostSets, daySets);
        ++trainingDays;
    };
    for (const HistoryRecord& r : records) {
        const std::int32_t c = r.count;
        running += c;
        sets.push(r.date, c, running);
        if (c > a.BestSet) a.BestSet = c;
        if (c < a.WorstSet) a.WorstSet = c;
        if (r.day == today) {
            a.TodayTotal += c;
            ++result.todaySets;
        }
        if (!dayFirst || r.date != dayFirst->date) {
            if (dayFirst) closeDay();
            dayFirst = &r;
            daySum = 0;
            daySets = 0;
        }
        daySum += c;
        ++daySets;
    }
    if (dayFirst) closeDay();
    sets.finish();
    done.finish();
    counts.finish();
    a.GrandTotal = running;
    a.TrainingDays = saturate32(trainingDays);
    a.BestDay = saturate32(bestDay);
    a.WorstDay = saturate32(worstDay);
    result.mostSetsInDay = saturate32(mostSets);

    // Records out of order can put the last date before the first; such a span counts as empty.
    a.CalendarDays = 0;
    if (n > 0) {
        const long span = daysBetween(records.front().day, records.back().day) + 1;
        a.CalendarDays = saturate32(std::clamp(span, 0L, kMaxCalendarDays));
    }
}

// Calendar day i takes the first training day whose date text equals the day's text. Day 1 keeps
// the stored text of training day 1, so it finds that day. Every later day has the stored form
// of its date, which only a training day holding exactly the stored form of the same date can
// equal; so a table by day offset, filled with the first such training day, finds the same day
// as searching the training days from the first.
void fillAllDaySeries(HistoryAnalysis& a, Date firstDay, const std::vector<Date>& dayDates) {
    SeriesWriter all(a.AllDaySeries);
    const Series& done = a.DoneDaySeries;
    if (a.CalendarDays <= 0 || a.TrainingDays <= 0) {
        all.finish();
        return;
    }
    const std::size_t days = static_cast<std::size_t>(a.CalendarDays);

    std::vector<std::int32_t> firstAt(days, 0);  // by offset from firstDay; 0 = none
    for (std::int32_t j = 2; j <= a.TrainingDays; ++j) {
        const long offset = daysBetween(firstDay, dayDates[j]);
        if (offset < 1 || offset >= static_cast<long>(days)) continue;
        if (firstAt[offset] == 0 && isStoredDateText(done.DateText[j], dayDates[j]))
            firstAt[offset] = j;
    }

    all.reserve(days);
    all.push(done.DateText[1], done.Count[1], done.Total[1]);
    std::int32_t lastMatched = 1;
    std::chrono::sys_days day{firstDay};
    char text[kStoredDateLength];
    for (std::size_t i = 2; i <= days; ++i) {
        ++day;
        const std::int32_t j = firstAt[i - 1];
        if (j) lastMatched = j;
        const std::int32_t count = j ? done.Count[j] : 0;
        // A matched training day holds exactly this day's stored text: it was checked above.
        if (j)
            all.push(done.DateText[j], count, done.Total[lastMatched]);
        else if (writeStoredDate(text, Date{day}))
            all.push(std::string_view(text, kStoredDateLength), count, done.Total[lastMatched]);
        else
            all.push(formatStoredDate(Date{day}), count, done.Total[lastMatched]);
    }
    all.finish();
}

}  // namespace

AnalysisResult analyseSetsAndDays(const std::vector<HistoryRecord>& records, Date today) {
    AnalysisResult result;
    std::vector<Date> dayDates;
    analyseRecords(records, today, result, dayDates);
    return result;
}

void analyseHistory(const std::vector<HistoryRecord>& records, Date today, AnalysisResult& into) {
    std::vector<Date> dayDates;
    analyseRecords(records, today, into, dayDates);
    fillAllDaySeries(into.analysis, records.empty() ? Date{} : records.front().day, dayDates);
}

AnalysisResult analyseHistory(const std::vector<HistoryRecord>& records, Date today) {
    AnalysisResult result;
    analyseHistory(records, today, result);
    return result;
}

PromptStatistics promptLabels(const AnalysisResult& result) {
    const HistoryAnalysis& a = result.analysis;
    // "No set" and "no training day" are told by the counts themselves: every day and set could
    // lie above the 30000 marker, and the averages must still show.
    const bool anySet = a.SetTotal > 0;
    const bool anyDay = a.TrainingDays > 0;
    const double days = anyDay ? static_cast<double>(a.TrainingDays) : 1.0;
    PromptStatistics s;
    s.lblSet = std::to_string(a.SetTotal);
    s.lblSetTotalMax = std::to_string(result.mostSetsInDay);
    s.lblTodaySet = std::to_string(result.todaySets);
    s.lblSetSa = std::to_string(static_cast<std::int64_t>(result.todaySets) - result.mostSetsInDay);
    s.lblSetKaiAvg = anyDay ? formatFixed(a.SetTotal / days, 1) : "0";
    s.lblTotal = std::to_string(a.GrandTotal);
    s.lblDayMax = std::to_string(a.BestDay);
    s.lblTodayTotal = std::to_string(a.TodayTotal);
    s.lblKaiSa = std::to_string(a.TodayTotal - a.BestDay);
    s.lblDayAvg =
        anyDay ? formatFixed(static_cast<double>(a.DoneDaySeries.Total[a.TrainingDays]) / days, 1)
               : "0";
    s.lblSetMax = std::to_string(a.BestSet);
    s.lblSetAvg = anySet ? formatFixed(static_cast<double>(a.GrandTotal) / a.SetTotal, 1) : "0";
    return s;
}

}  // namespace mitoran
