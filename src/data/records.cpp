#include "data/records.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace mitoran {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimTrailingBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

template <class Int>
std::optional<Int> toWidth(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = roundHalfEven(value);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

}  // namespace

bool RecordSplitter::split(std::string_view line) {
    fields_.clear();
    scratch_.clear();
    // Every field copied into scratch_ is shorter than the line, so one reservation keeps all
    // earlier views valid.
    if (scratch_.capacity() < line.size()) scratch_.reserve(line.size());
    const std::size_t n = line.size();
    std::size_t pos = 0;
    for (;;) {
        while (pos < n && isBlank(line[pos])) ++pos;
        // The two shapes the program writes, "text" and a bare number, need no copy.
        if (pos < n && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) return false;
            std::size_t after = close + 1;
            while (after < n && isBlank(line[after])) ++after;
            if (after == n || line[after] == ',') {
                fields_.push_back(line.substr(pos + 1, close - pos - 1));
                if (after == n) return true;
                pos = after + 1;
                continue;
            }
        } else {
            const std::size_t stop = line.find_first_of(",\"", pos);
            if (stop == std::string_view::npos || line[stop] == ',') {
                const std::size_t end = stop == std::string_view::npos ? n : stop;
                fields_.push_back(trimTrailingBlanks(line.substr(pos, end - pos)));
                if (stop == std::string_view::npos) return true;
                pos = stop + 1;
                continue;
            }
        }
        // Quotes inside a field, or text after a closing quote: the quotes only shield commas
        // and are dropped, blanks outside quotes at the end of the field are dropped too.
        const std::size_t start = scratch_.size();
        std::size_t keep = start;
        bool inQuote = false;
        while (pos < n) {
            const char c = line[pos];
            if (c == '"') {
                inQuote = !inQuote;
                keep = scratch_.size();
                ++pos;
                continue;
            }
            if (!inQuote && c == ',') break;
            scratch_.push_back(c);
            if (inQuote || !isBlank(c)) keep = scratch_.size();
            ++pos;
        }
        if (inQuote) return false;
        scratch_.resize(keep);
        fields_.push_back(std::string_view(scratch_.data() + start, keep - start));
        if (pos >= n) return true;
        ++pos;
    }
}

bool hasFieldCount(const std::vector<std::string_view>& fields, std::size_t wanted) {
    if (fields.size() < wanted) return false;
    for (std::size_t i = wanted; i < fields.size(); ++i)
        if (!fields[i].empty()) return false;
    return true;
}

std::optional<std::vector<std::string>> splitRecord(std::string_view line) {
    RecordSplitter splitter;
    if (!splitter.split(line)) return std::nullopt;
    std::vector<std::string> out;
    out.reserve(splitter.fields().size());
    for (std::string_view f : splitter.fields()) out.emplace_back(f);
    return out;
}

std::string formatNumber(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";  // no "-0"
    char buf[400];
    if (std::trunc(value) == value && std::fabs(value) < 1e18) {
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<std::int64_t>(value));
        return std::string(buf, end);
    }
    // Shortest text that reads back as the same double, never with an exponent.
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

std::string formatRecord(const std::vector<OutField>& fields) {
    std::string line;
    char buf[32];
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line.push_back(',');
        const OutField& f = fields[i];
        if (const auto* t = std::get_if<TextField>(&f)) {
            line.push_back('"');
            line.append(t->text);
            line.push_back('"');
        } else if (const auto* n = std::get_if<std::int64_t>(&f)) {
            auto [end, ec] = std::to_chars(buf, buf + sizeof buf, *n);
            line.append(buf, end);
        } else {
            line.append(formatNumber(std::get<double>(f)));
        }
    }
    line.append("\r\n");
    return line;
}

double leadingNumber(std::string_view text, bool* found) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    // The ideographic space is the space key's character while a Japanese input method is on.
    constexpr std::string_view kIdeographicSpace = "\u3000";
    for (;;) {
        if (i < n && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        else if (text.substr(i).starts_with(kIdeographicSpace))
            i += kIdeographicSpace.size();
        else
            break;
    }
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t intStart = i;
    while (i < n && isDigit(text[i])) ++i;
    const std::size_t intEnd = i;
    std::size_t end = intEnd;
    if (i < n && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < n && isDigit(text[j])) ++j;
        if (j > i + 1) end = j;
    }
    if (end == intStart) {
        if (found) *found = false;
        return 0;
    }
    if (found) *found = true;
    double value = 0;
    if (end == intEnd && intEnd - intStart <= 18) {
        std::int64_t whole = 0;
        for (std::size_t k = intStart; k < intEnd; ++k) whole = whole * 10 + (text[k] - '0');
        value = static_cast<double>(whole);
    } else {
        auto [ptr, ec] = std::from_chars(text.data() + intStart, text.data() + end, value,
                                         std::chars_format::fixed);
        if (ec == std::errc::result_out_of_range) {
            bool big = false;
            for (std::size_t k = intStart; k < intEnd; ++k)
                if (text[k] != '0') big = true;
            value = big ? std::numeric_limits<double>::infinity() : 0.0;
        } else if (ec != std::errc()) {
            value = 0;
        }
    }
    return negative ? -value : value;
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double down = std::floor(value);
    const double diff = value - down;
    if (diff < 0.5) return down;
    if (diff > 0.5) return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

std::optional<std::int16_t> toInt16(double value) { return toWidth<std::int16_t>(value); }
std::optional<std::int32_t> toInt32(double value) { return toWidth<std::int32_t>(value); }

}  // namespace mitoran
