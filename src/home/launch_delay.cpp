#include "home/launch_delay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mitoran {

double LaunchDelay(std::int16_t launchMode, float interval, float draw) {
    if (launchMode == kLaunchDirect) return 0;
    if (launchMode == kLaunchRandom) {
        // In double precision: in single precision a draw just below 1 rounds the sum up to
        // interval + 1, one minute more than the longest the user asked for.
        const double minutes =
            std::floor(static_cast<double>(interval) * static_cast<double>(draw) + 1.0);
        return minutes * 60.0;
    }
    return static_cast<double>(interval) * 60.0;
}

std::string launchStartTime(const LocalDateTime& now, double seconds) {
    constexpr long long kDay = 24 * 3600;
    const double wait = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 366.0 * kDay) : 0.0;
    const long long at =
        (now.hour * 3600LL + now.minute * 60LL + now.second + static_cast<long long>(wait)) % kDay;
    char text[8];
    std::snprintf(text, sizeof text, "%02lld:%02lld", at / 3600, at / 60 % 60);
    return text;
}

}  // namespace mitoran
