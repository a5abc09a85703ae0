#pragma once
// The file steps of item editing that touch more than one file. A history file that holds records
// is copied into the backup folder before any of these steps empties, deletes or renames it; a
// copy that cannot be written stops the step before anything changes.
#include <string>
#include <string_view>
#include <vector>

#include "data/data_files.h"
#include "data/dates.h"
#include "data/file_io.h"

namespace mitoran {

enum class ChangeOutcome { Stored, NameTaken, Failed };

// Rewrites the item list with `items`. Lines of the file the reader could not take are not among
// them, so when the file holds any it is first copied as it stands into the backup folder; a copy
// that cannot be written stops the rewrite.
IoResult saveItemList(const std::vector<ItemRecord>& items, const LocalDateTime& now);

struct ChangeResult {
    ChangeOutcome outcome = ChangeOutcome::Stored;
    std::string reason;  // Japanese: why not Stored, or what went wrong after storing
};

// Stores `items` as the item list after one item was renamed from `oldName` to `newName`.
// When no other item uses the old name (`oldNameShared` false) the item's two history files go
// with it, after their copies are taken; otherwise the old files stay with the other item and the
// renamed item starts an empty history. A history file of the new name that already exists
// refuses the change (NameTaken), so no history is silently merged. A failed step undoes the
// earlier ones: renamed files are renamed back when the item list cannot be rewritten. With equal
// names only the list is rewritten.
ChangeResult storeRenamedItem(const std::vector<ItemRecord>& items, const std::string& oldName,
                              const std::string& newName, bool oldNameShared,
                              const LocalDateTime& now);

// Stores `remaining` as the item list after the item `name` was taken out of it, and deletes the
// item history file and the quick history file of that name when `deleteFiles` (no remaining
// item uses them; missing files are fine). Failed: nothing changed (a copy or the list could not
// be written). Stored with a reason: the list is stored but a file could not be deleted.
ChangeResult deleteItem(const std::vector<ItemRecord>& remaining, std::string_view name,
                        bool deleteFiles, const LocalDateTime& now);

// Empties (creating when missing) the item history file of `name`, after copying it; the quick
// history stays.
IoResult clearItemHistory(std::string_view name, const LocalDateTime& now);

// Empties both history files of every name. Every copy is taken first and nothing is emptied
// when one fails; after that it goes on past a failure and reports all of them.
IoResult clearAllHistories(const std::vector<std::string>& names, const LocalDateTime& now);

}  // namespace mitoran
