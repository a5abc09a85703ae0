#pragma once
// Checks of what the user types for an item: its name, which is also the stem of two file names
// and a quoted field of the item list, and its two counts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/ascii_case.h"

namespace mitoran {

inline constexpr std::int32_t kMaxInstructed = 1000;
inline constexpr std::int32_t kMaxTarget = 2147483647;

// True when the text holds nothing but blanks (half-width, full-width spaces and tabs).
bool isBlankText(std::string_view text);

// The name as it will be stored: the characters an input method produces for what CP932 holds
// under another code point are replaced by the CP932 ones, so the name in memory, in the item
// list and in the file names stays the same text.
std::string normaliseItemName(std::string_view typed);

// Why `name` cannot name an item, in Japanese for a message box; nothing when it can.
// `otherNames` are the names of the other items: an exact repeat is allowed (the items then share
// their history files), a name differing only in the case of Latin letters is not, since the file
// lookup would make both items use one file.
std::optional<std::string> itemNameProblem(std::string_view name,
                                           const std::vector<std::string>& otherNames);

enum class CountCheck { Ok, BelowOne, AboveLimit };

struct TypedCount {
    CountCheck check = CountCheck::Ok;
    std::int32_t value = 0;  // the nearest whole number (halves to even) when check is Ok
};

// Reads a typed count by its leading number; accepted when it lies within 1..`limit`.
TypedCount readTypedCount(std::string_view text, std::int32_t limit);

}  // namespace mitoran
