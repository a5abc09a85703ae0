#include "app/registered_items.h"

namespace mitoran {

const std::string& RegisteredItems::ItemNames(int i) const {
    static const std::string none;
    return hasItem(i) ? items_[i - 1].name : none;
}

std::int16_t RegisteredItems::ItemInstructed(int i) const {
    return hasItem(i) ? items_[i - 1].instructed : 0;
}

std::int32_t RegisteredItems::ItemTarget(int i) const {
    return hasItem(i) ? items_[i - 1].target : 0;
}

std::vector<std::string> RegisteredItems::itemNames() const {
    std::vector<std::string> names;
    names.reserve(items_.size());
    for (const ItemRecord& item : items_) names.push_back(item.name);
    return names;
}

std::vector<std::string> RegisteredItems::itemNamesFrom1() const {
    std::vector<std::string> names = itemNames();
    names.insert(names.begin(), std::string());
    return names;
}

void RegisteredItems::setItem(int i, ItemRecord item) {
    if (hasItem(i)) items_[i - 1] = std::move(item);
}

}  // namespace mitoran
