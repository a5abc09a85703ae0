#pragma once
// The two numbers the prompt screen works out for itself: the count it proposes and the next
// flash colour. Pure, so the screen only shows them.
namespace mitoran {

// The count bar's range.
inline constexpr int kCountBarMaximum = 1000;

// The proposed count for an item's instructed count: the count itself, or with `randomMode` a
// whole number from 1 to it, `draw` being a random number in [0, 1). Kept within the bar, so a
// hand-edited instructed count outside it still shows the value that will be recorded.
int proposedCount(int instructed, bool randomMode, float draw);

// The palette index after `index` in a run of flashes: 0..6, then 9..15, then 0 again.
int nextFlashColour(int index);

}  // namespace mitoran
