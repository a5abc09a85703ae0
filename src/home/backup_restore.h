#pragma once
// Getting an item's history back from the copies the program keeps in the backup folder: what
// each copy holds, as the program's readers see it, and the restore itself.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/backup.h"
#include "data/data_files.h"
#include "data/dates.h"
#include "data/file_io.h"

namespace mitoran {

enum class BackupKind { History, Quick };

// What a history file (a copy or the live one) holds.
struct HistoryContent {
    bool exists = false;
    std::size_t bytes = 0;  // a file with bytes is copied before it is replaced
    bool readable = true;
    std::string reason;  // Japanese, when not readable
    int records = 0;
    int skipped = 0;                  // lines the reader could not take
    std::string firstDate, lastDate;  // date texts as stored; empty without records
    double total = 0;                 // the counts added up
};

struct BackupEntry {
    BackupKind kind = BackupKind::History;
    BackupCopy copy;
    HistoryContent content;
};

// The file of item `name` that a copy of `kind` belongs to.
std::string restoredFileName(BackupKind kind, std::string_view name);

HistoryContent readHistoryContent(BackupKind kind, std::string_view path);

// The copies of both history files of item `name`, newest first.
std::vector<BackupEntry> listItemBackups(std::string_view name);

// Names that have copies in the backup folder but are not among `registered` (items deleted or
// renamed since), in name order.
std::vector<std::string> namesWithOnlyBackups(const std::vector<std::string>& registered);

// "2026年12月07日 19時30分00秒": when the copy was made.
std::string copyTimeText(const BackupCopy& copy);

// "記録 3件、合計 45回", or "記録なし".
std::string contentText(const HistoryContent& content);

// The question asked before a restore: what the file becomes and what happens to its current
// content. `addedBack` is the item added to the list again when it is not registered.
std::string restoreQuestion(std::string_view name, const BackupEntry& entry,
                            const HistoryContent& current, const ItemRecord* addedBack);

// Puts the copy back as the file of item `name`; the current content is copied first (`made`
// receives that copy's path, empty when the file was empty or missing). Nothing changes on failure.
IoResult restoreItemBackup(const BackupEntry& entry, std::string_view name,
                           const LocalDateTime& now, std::string* made = nullptr);

// As restoreItemBackup, then appends `item` to the item list. When the list cannot be written the
// file is put back as it was, so a failure changes nothing; only when putting it back fails too
// is `leftRestored` set (the file then holds the copy's bytes, the list is unchanged).
IoResult restoreDeletedItem(const BackupEntry& entry, const ItemRecord& item,
                            const LocalDateTime& now, std::string* made = nullptr,
                            bool* leftRestored = nullptr);

}  // namespace mitoran
