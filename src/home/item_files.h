#pragma once
// The file steps of item editing that touch more than one file. Each destructive step is a
// function of its own, so that a safety copy can be taken right before it.
#include <string>
#include <string_view>
#include <vector>

#include "data/data_files.h"
#include "data/file_io.h"

namespace mitoran {

enum class ChangeOutcome { Stored, NameTaken, Failed };

struct ChangeResult {
    ChangeOutcome outcome = ChangeOutcome::Stored;
    std::string reason;  // Japanese, when not Stored
};

// Stores `items` as the item list after one item was renamed from `oldName` to `newName`.
// When no other item uses the old name (`oldNameShared` false) the item's two history files go
// with it; otherwise the old files stay with the other item and the renamed item starts an empty
// history. A history file of the new name that already exists refuses the change (NameTaken), so
// no history is silently merged. A failed step undoes the earlier ones: renamed files are renamed
// back when the item list cannot be rewritten. With equal names only the list is rewritten.
ChangeResult storeRenamedItem(const std::vector<ItemRecord>& items, const std::string& oldName,
                              const std::string& newName, bool oldNameShared);

// Deletes the item history file and the quick history file of `name`; missing files are fine.
IoResult deleteItemHistories(std::string_view name);

// Empties (creating when missing) the item history file of `name`; the quick history stays.
IoResult clearItemHistory(std::string_view name);

// Empties both history files of every name; goes on after a failure and reports all of them.
IoResult clearAllHistories(const std::vector<std::string>& names);

}  // namespace mitoran
