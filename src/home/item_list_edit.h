#pragma once
// The edit panel's item list as plain data: the drag rule, and how an entry of a list whose order
// may differ from the registered items finds its item.
#include <optional>
#include <string>
#include <vector>

#include "data/data_files.h"

namespace mitoran {

// Where the entry pressed at `from` ends up when released on `to` (0-based), or nothing when the
// order stays as it is: released on itself or on the entry just below it, or outside the list.
// The entry goes just before the one that was at `to`, so nothing can be dropped after the last.
std::optional<int> dropPosition(int from, int to, int count);

// Applies dropPosition to `entries`; returns whether the order changed.
bool moveEntry(std::vector<std::string>& entries, int from, int to);

// The item (1-based index into `itemNames`, whose entry 0 is unused) that entry `row` of
// `entries` stands for: the k-th entry showing a name stands for the k-th item of that name, so
// items sharing a name keep their own values whatever the order of the list. 0 when none.
int itemForEntry(const std::vector<std::string>& entries, int row,
                 const std::vector<std::string>& itemNames);

// The records of `items` in the order of `entries` (each entry matched as itemForEntry does);
// entries naming no item, or naming it more often than items have that name, are left out.
std::vector<ItemRecord> recordsInListOrder(const std::vector<std::string>& entries,
                                           const std::vector<ItemRecord>& items);

// True when an item other than `except` (1-based; 0 for none) uses the history files of `name`;
// the file lookup ignores the case of Latin letters, so this does too.
bool nameUsedByOtherItem(const std::vector<std::string>& itemNames, int except,
                         const std::string& name);

}  // namespace mitoran
