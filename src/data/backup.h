#pragma once
// The way back from a mistaken clear or delete: before a history file that holds records is
// emptied, deleted or renamed, its bytes are copied into the folder バックアップ.
#include <string>
#include <string_view>
#include <vector>

#include "data/dates.h"
#include "data/file_io.h"

namespace mitoran {

inline constexpr std::string_view kBackupFolder = "バックアップ";
inline constexpr int kBackupsKept = 50;

// Copies `fileName` (a file of the working folder) unchanged to
// バックアップ/<file stem>_<yyyyMMdd_HHmmss>.txt and removes all but the newest `keep` copies of
// that stem. A missing or empty file needs no copy and succeeds. When the copy cannot be
// written the result says why and the caller must not go on destroying the file.
// `spare` names a copy (in the folder) that the pruning must leave alone; `made` receives the
// path of the copy written, empty when none was needed. `copyName`, when given, names the copy
// instead of the file's own name (a name that is not readable text).
IoResult backupBeforeDestroying(std::string_view fileName, const LocalDateTime& now,
                                int keep = kBackupsKept, std::string_view spare = {},
                                std::string* made = nullptr, std::string_view copyName = {});

// One copy in the backup folder.
struct BackupCopy {
    std::string path;  // バックアップ/<stem>_<yyyyMMdd_HHmmss>[_n].txt, to read or restore
    LocalDateTime made;
    int number = 1;  // the n of copies made within one second
};

// The copies of `fileName` (compared ignoring the case of Latin letters, as the file lookup
// does), newest first. A missing or unreadable folder lists none.
std::vector<BackupCopy> listBackups(std::string_view fileName);

// The file names (<stem>.txt) that have copies in the folder, in name order.
std::vector<std::string> backedUpFiles();

// Replaces `fileName` atomically with the bytes of the copy at `copyPath`, after copying the
// current content into the folder (so the restore can be undone in turn). Nothing changes when
// the copy cannot be read or either write fails; `made` receives the path of the new copy.
IoResult restoreBackup(std::string_view copyPath, std::string_view fileName,
                       const LocalDateTime& now, std::string* made = nullptr);

}  // namespace mitoran
