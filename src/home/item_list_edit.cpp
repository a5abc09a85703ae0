#include "home/item_list_edit.h"

#include "home/item_validation.h"

namespace mitoran {

std::optional<int> dropPosition(int from, int to, int count) {
    if (from < 0 || to < 0 || from >= count || to >= count) return std::nullopt;
    if (to == from || to == from + 1) return std::nullopt;
    // Below the start the target moves up by one once the dragged entry is taken out.
    return to > from ? to - 1 : to;
}

bool moveEntry(std::vector<std::string>& entries, int from, int to) {
    const auto position = dropPosition(from, to, static_cast<int>(entries.size()));
    if (!position) return false;
    std::string moved = std::move(entries[from]);
    entries.erase(entries.begin() + from);
    entries.insert(entries.begin() + *position, std::move(moved));
    return true;
}

int itemForEntry(const std::vector<std::string>& entries, int row,
                 const std::vector<std::string>& itemNames) {
    if (row < 0 || row >= static_cast<int>(entries.size())) return 0;
    const std::string& name = entries[row];
    int occurrence = 0;
    for (int r = 0; r <= row; ++r)
        if (entries[r] == name) ++occurrence;
    int first = 0;
    for (int i = 1; i < static_cast<int>(itemNames.size()); ++i) {
        if (itemNames[i] != name) continue;
        if (first == 0) first = i;
        if (--occurrence == 0) return i;
    }
    // More entries of this name than items: the first such item, as a plain search would find.
    return first;
}

std::vector<ItemRecord> recordsInListOrder(const std::vector<std::string>& entries,
                                           const std::vector<ItemRecord>& items) {
    std::vector<std::string> names{std::string()};
    for (const ItemRecord& item : items) names.push_back(item.name);
    std::vector<ItemRecord> ordered;
    std::vector<bool> taken(names.size(), false);
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        const int i = itemForEntry(entries, row, names);
        // An item is written once even if the list somehow shows its name more often.
        if (i > 0 && !taken[i]) {
            taken[i] = true;
            ordered.push_back(items[i - 1]);
        }
    }
    return ordered;
}

bool nameUsedByOtherItem(const std::vector<std::string>& itemNames, int except,
                         const std::string& name) {
    for (int i = 1; i < static_cast<int>(itemNames.size()); ++i)
        if (i != except && equalsIgnoringAsciiCase(itemNames[i], name)) return true;
    return false;
}

}  // namespace mitoran
