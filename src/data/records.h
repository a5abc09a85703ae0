#pragma once
// The record rules shared by every data file: comma-separated fields, text in double quotes,
// bare numbers, one record per line ending in CR LF.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mitoran {

// Splits one line (without its line break) at commas outside double quotes. Blanks before a field
// are skipped; a quoted field loses its quotes. Returns nothing when a quote is left open.
std::optional<std::vector<std::string>> splitRecord(std::string_view line);

// The same split without an allocation per field, for readers of long files: the fields are views
// into the line or into the splitter's own buffer, valid until the next split() and while the line
// lives. Reuse one splitter for all lines of a file.
class RecordSplitter {
  public:
    bool split(std::string_view line);  // false when a quote is left open
    const std::vector<std::string_view>& fields() const { return fields_; }

  private:
    std::vector<std::string_view> fields_;
    std::string scratch_;
};

// Calls `onLine` for every non-blank line of already decoded text. Accepts CR LF, a lone LF, a
// missing final line break and a leading UTF-8 byte-order mark.
template <class F>
void forEachLine(std::string_view text, F&& onLine);

// The same, with the line's number in the file: `lineNumber` holds the number of lines before
// `text` and is advanced past every line of it, blank or not, so a file taken piece by piece
// (pieces ending at a line break) keeps counting.
template <class F>
void forEachNumberedLine(std::string_view text, int& lineNumber, F&& onLine);

// True when a record split into `fields` has the `wanted` number of fields, not counting empty
// fields at its end: a spreadsheet writes "懸垂",10,100, for a row with an empty last column.
bool hasFieldCount(const std::vector<std::string_view>& fields, std::size_t wanted);

// A field to write: text is written in double quotes, numbers bare.
struct TextField {
    std::string text;
};
using OutField = std::variant<TextField, std::int64_t, double>;

// Joins fields with commas and ends the line with CR LF (UTF-8; the file layer encodes).
// A double is written without a decimal point when it is whole, otherwise with a full stop.
std::string formatRecord(const std::vector<OutField>& fields);

// Number text as the program writes it: plain decimal, a full stop for fractions, no exponent.
std::string formatNumber(double value);

// The leading number of a text: leading blanks and ideographic spaces skipped, optional sign,
// digits, an optional fraction; 0 when it does not begin with a number. `found`: a digit was read.
double leadingNumber(std::string_view text, bool* found = nullptr);

// Nearest whole number, halves to the even neighbour; nothing when outside the receiving width.
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);

// Banker's rounding without a range check (the caller checks the range it needs).
double roundHalfEven(double value);

// ---- implementation of the template ----
template <class F>
void forEachLine(std::string_view text, F&& onLine) {
    int lineNumber = 0;
    forEachNumberedLine(text, lineNumber, [&](std::string_view line, int) { onLine(line); });
}

template <class F>
void forEachNumberedLine(std::string_view text, int& lineNumber, F&& onLine) {
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
        static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF)
        text.remove_prefix(3);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        bool blank = true;
        for (char c : line)
            if (c != ' ' && c != '\t' && c != '\r') {
                blank = false;
                break;
            }
        if (!blank) onLine(line, lineNumber);
        pos = end + 1;
    }
}

}  // namespace mitoran
