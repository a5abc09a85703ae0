#pragma once

namespace mitoran {

// The most items the item list holds: the prompt screen has one plan slot and the home screen one
// achievement bar for each, and a longer list would be cut short at its next rewrite.
inline constexpr int kItemLimit = 20;

}  // namespace mitoran
