#include "data/dates.h"

#include <cstdio>
#include <cstring>

namespace mitoran {
namespace {

constexpr std::string_view kYear = "年";
constexpr std::string_view kMonth = "月";
constexpr std::string_view kDay = "日";
constexpr std::string_view kHour = "時";
constexpr std::string_view kMinute = "分";

bool isDigit(char c) { return c >= '0' && c <= '9'; }
int digit(char c) { return c - '0'; }

// Reads 1..maxDigits digits at the front of `s`.
bool takeNumber(std::string_view& s, int maxDigits, int& value) {
    int n = 0;
    value = 0;
    while (n < maxDigits && n < static_cast<int>(s.size()) && isDigit(s[n])) {
        value = value * 10 + digit(s[n]);
        ++n;
    }
    if (n == 0) return false;
    s.remove_prefix(n);
    return true;
}

bool takeText(std::string_view& s, std::string_view what) {
    if (s.substr(0, what.size()) != what) return false;
    s.remove_prefix(what.size());
    return true;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

std::optional<Date> makeDate(int y, int m, int d) {
    static constexpr unsigned char kDaysInMonth[] = {31, 28, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return std::nullopt;
    const int last = kDaysInMonth[m - 1] + (m == 2 && isLeapYear(y) ? 1 : 0);
    if (d > last) return std::nullopt;
    return Date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                std::chrono::day{static_cast<unsigned>(d)}};
}

// The stored form "2024年03月07日" is by far the most common text: read it at fixed offsets.
std::optional<Date> parseStoredExactly(std::string_view t) {
    const auto* p = reinterpret_cast<const unsigned char*>(t.data());
    auto d = [p](int i) { return static_cast<unsigned>(p[i]) - '0'; };
    const bool digits = (d(0) <= 9) & (d(1) <= 9) & (d(2) <= 9) & (d(3) <= 9) & (d(7) <= 9) &
                        (d(8) <= 9) & (d(12) <= 9) & (d(13) <= 9);
    if (!digits) return std::nullopt;
    if (std::memcmp(p + 4, kYear.data(), 3) != 0 || std::memcmp(p + 9, kMonth.data(), 3) != 0 ||
        std::memcmp(p + 14, kDay.data(), 3) != 0)
        return std::nullopt;
    return makeDate(static_cast<int>(d(0) * 1000 + d(1) * 100 + d(2) * 10 + d(3)),
                    static_cast<int>(d(7) * 10 + d(8)), static_cast<int>(d(12) * 10 + d(13)));
}

}  // namespace

namespace {

// Every other spelling: leading zeros left out, or the slash form.
[[gnu::noinline]] std::optional<Date> parseDateGenerally(std::string_view text) {
    std::string_view s = text;
    int y = 0, m = 0, d = 0;
    if (!takeNumber(s, 4, y)) return std::nullopt;
    if (takeText(s, kYear)) {
        if (!takeNumber(s, 2, m) || !takeText(s, kMonth)) return std::nullopt;
        if (!takeNumber(s, 2, d) || !takeText(s, kDay)) return std::nullopt;
    } else if (takeText(s, "/")) {
        if (!takeNumber(s, 2, m) || !takeText(s, "/")) return std::nullopt;
        if (!takeNumber(s, 2, d)) return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (!s.empty()) return std::nullopt;
    return makeDate(y, m, d);
}

}  // namespace

std::optional<Date> parseDate(std::string_view text) {
    if (text.size() == 17) {
        if (auto d = parseStoredExactly(text)) return d;
    }
    return parseDateGenerally(text);
}

std::string formatStoredDate(Date d) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d年%02u月%02u日", static_cast<int>(d.year()),
                  static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    return buf;
}

std::string formatShortDate(Date d) {
    int y = static_cast<int>(d.year()) % 100;
    if (y < 0) y += 100;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d年%02u月%02u日", y, static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()));
    return buf;
}

std::string formatSlashDate(Date d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02u/%02u", static_cast<int>(d.year()),
                  static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    return buf;
}

std::string formatStoredTime(int hour, int minute, int second) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d時%02d分%02d秒", hour, minute, second);
    return buf;
}

std::optional<std::string> formatHourMinute(std::string_view storedTime) {
    std::string_view s = storedTime;
    int h = 0, m = 0;
    if (!takeNumber(s, 2, h) || !takeText(s, kHour)) return std::nullopt;
    if (!takeNumber(s, 2, m) || !takeText(s, kMinute)) return std::nullopt;
    if (h > 23 || m > 59) return std::nullopt;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d時%02d分", h, m);
    return std::string(buf);
}

long daysBetween(Date from, Date to) {
    return static_cast<long>((std::chrono::sys_days{to} - std::chrono::sys_days{from}).count());
}

Date addDays(Date d, long days) { return Date{std::chrono::sys_days{d} + std::chrono::days{days}}; }

}  // namespace mitoran
