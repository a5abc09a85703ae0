#include "data/number_format.h"

#include <cmath>
#include <cstdio>

namespace mitoran {

std::string formatFixed(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // std::round takes halves away from zero; the small nudge keeps 18.45 (stored as 18.4499..)
    // rounding the way a reader of the decimal text expects.
    double scaled = value * scale;
    scaled = std::round(scaled + (scaled >= 0 ? 1e-9 : -1e-9));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, scaled / scale);
    std::string text = buf;
    if (text.rfind("-", 0) == 0 && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);  // no "-0.0"
    return text;
}

std::string formatPercent(double ratio) { return formatFixed(ratio * 100.0, 1) + "%"; }

}  // namespace mitoran
