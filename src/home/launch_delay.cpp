#include "home/launch_delay.h"

#include <cmath>

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

}  // namespace mitoran
