#pragma once
// The registered items, one record each, so that a name, its counts and the number of items can
// never disagree. Screens count items from 1, as the item list and the prompt's plan show them.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/data_files.h"

namespace mitoran {

class RegisteredItems {
  public:
    int ItemCount() const { return static_cast<int>(items_.size()); }
    bool hasItem(int i) const { return i >= 1 && i <= ItemCount(); }

    // Item i's fields. An index that is not an item (0, or one left over from before an edit)
    // reads as an empty name and zero counts rather than past the end.
    const std::string& ItemNames(int i) const;
    std::int16_t ItemInstructed(int i) const;
    std::int32_t ItemTarget(int i) const;

    // Every item in order; item i is entry i - 1.
    const std::vector<ItemRecord>& items() const { return items_; }
    std::vector<std::string> itemNames() const;
    // The names with an empty entry 0, as the procedures that take item-indexed names expect.
    std::vector<std::string> itemNamesFrom1() const;

    void setItems(std::vector<ItemRecord> items) { items_ = std::move(items); }
    // Replaces item i; an index that is not an item changes nothing.
    void setItem(int i, ItemRecord item);

  private:
    std::vector<ItemRecord> items_;
};

}  // namespace mitoran
