#pragma once
// How long the next round waits before the prompt screen comes up.
#include <cstdint>
#include <string>

#include "data/dates.h"

namespace mitoran {

inline constexpr std::int16_t kLaunchRandom = 1;
inline constexpr std::int16_t kLaunchFixed = 0;
inline constexpr std::int16_t kLaunchDirect = 2;

// Seconds to wait for `launchMode` with `interval` minutes; `draw` is a random number in [0, 1)
// used by the random mode only. Random: a whole number of minutes, each of 1..interval equally
// likely. Direct: 0. Any other mode waits the fixed interval.
double LaunchDelay(std::int16_t launchMode, float interval, float draw);

// The clock time, "HH:MM" on the 24-hour clock, at which a delay of `seconds` from `now` ends.
std::string launchStartTime(const LocalDateTime& now, double seconds);

}  // namespace mitoran
