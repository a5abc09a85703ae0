#pragma once
// Calendar dates and the date and time texts of the data files and screens.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace mitoran {

using Date = std::chrono::year_month_day;

// A local moment as the screens and records need it.
struct LocalDateTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Reads "yyyy年mm月dd日" (leading zeros optional) or "yyyy/mm/dd"; nothing when the text is not a
// real calendar date (2024年02月30日 is not).
std::optional<Date> parseDate(std::string_view text);

std::string formatStoredDate(Date d);                            // 2024年03月07日
std::string formatShortDate(Date d);                             // 24年03月07日
std::string formatSlashDate(Date d);                             // 2024/03/07
std::string formatStoredTime(int hour, int minute, int second);  // 07時05分09秒

// "HH時MM分" from a stored time text; nothing when the text does not start with hours and minutes.
std::optional<std::string> formatHourMinute(std::string_view storedTime);

// Whole days from `from` to `to` (negative when `to` lies before `from`).
long daysBetween(Date from, Date to);
Date addDays(Date d, long days);

}  // namespace mitoran
