#include "session/prompt_counts.h"

#include <algorithm>
#include <cmath>

namespace mitoran {

int proposedCount(int instructed, bool randomMode, float draw) {
    double proposal = instructed;
    if (randomMode) proposal = std::floor(instructed * double(draw) + 1.0);
    return static_cast<int>(std::clamp(proposal, 0.0, double(kCountBarMaximum)));
}

int nextFlashColour(int index) {
    ++index;
    if (index == 7) index = 9;  // silver and grey are too close to the window's own colour
    if (index == 16) index = 0;
    return index;
}

}  // namespace mitoran
