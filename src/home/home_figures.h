#pragma once
// The figures of the home screen, computed from one read of every item's history file: the
// overview totals, each item's list of recorded days, and the look of one overview row.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "data/dates.h"

namespace mitoran {

// The histories of the items the home screen looks at: items 1.. up to (not including) the first
// item with an empty name. Entry 0 is empty; records are in file order.
struct ItemHistories {
    std::vector<std::vector<HistoryRecord>> records{{}};
    // Items whose history file exists but could not be read, as "name: reason" (Japanese).
    // They count as empty histories so the screen still loads.
    std::vector<std::string> unreadable;
    // What to tell of files with lines that could not be read (each file once a run).
    std::vector<std::string> notices;

    int itemsLookedAt() const { return static_cast<int>(records.size()) - 1; }
};

// Reads each history file once. A missing file counts as an empty history; nothing is created.
// `itemNames` is indexed from 1 (entry 0 unused), `itemCount` items are registered.
ItemHistories readItemHistories(const std::vector<std::string>& itemNames, int itemCount);

// Per-item overview figures, indexed by item (entry 0 unused, at least entries 0..20). Wider than
// the stored 16 and 32 bits so that a long history never wraps into a wrong figure.
struct ItemTotals {
    std::vector<std::int64_t> ItemTotalCount;
    std::vector<std::int32_t> ItemTotalSets;
    std::vector<std::int64_t> ItemTodayCount;
    std::vector<std::int32_t> ItemTodaySets;
};

ItemTotals ComputeItemTotals(const ItemHistories& histories, Date today);

// Each item's distinct date texts (exactly as stored) in order of first appearance.
struct ItemDateLists {
    // ItemDates[i] for item i (entry 0 empty; at least entries 0..20).
    std::vector<std::vector<std::string>> ItemDates;
    std::vector<std::int32_t> ItemDateCount;
    // The largest number of calendar days from an item's first to its last record, inclusive; at
    // least 1. Kept for reference only: the lists above hold every distinct date whatever it is.
    std::int32_t MaxDateSpan = 1;
};

ItemDateLists BuildItemDates(const ItemHistories& histories, Date today);

// How one item shows in the overview.
inline constexpr int kFullBarLength = 2700;  // the length that stands for 100 %

struct OverviewRow {
    float achievement = 0;     // total / target; 0 when the target cannot divide
    std::string rateText;      // "45.0%", or "-" when the target is 0 or below
    int barLength = 0;         // 0..kFullBarLength
    bool goalReached = false;  // the bar had to be cut back to full length
    // Palette index of the bar's band, or nothing when the colour stays as it was.
    std::optional<int> colour;
};

OverviewRow overviewRow(std::int64_t total, std::int32_t target);

}  // namespace mitoran
