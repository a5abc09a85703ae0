#pragma once
// Number texts of the screens.
#include <string>

namespace mitoran {

// Fixed decimals with halves rounded away from zero: formatFixed(18.5, 1) == "18.5",
// formatFixed(12, 2) == "12.00".
std::string formatFixed(double value, int decimals);

// A ratio shown as a percentage with one decimal: 0.4567 -> "45.7%".
std::string formatPercent(double ratio);

}  // namespace mitoran
