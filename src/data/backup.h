#pragma once
// The way back from a mistaken clear or delete: before a history file that holds records is
// emptied, deleted or renamed, its bytes are copied into the folder バックアップ.
#include <string>
#include <string_view>

#include "data/dates.h"
#include "data/file_io.h"

namespace mitoran {

inline constexpr std::string_view kBackupFolder = "バックアップ";
inline constexpr int kBackupsKept = 50;

// Copies `fileName` (a file of the working folder) unchanged to
// バックアップ/<file stem>_<yyyyMMdd_HHmmss>.txt and removes all but the newest `keep` copies of
// that stem. A missing or empty file needs no copy and succeeds. When the copy cannot be
// written the result says why and the caller must not go on destroying the file.
// `copyName`, when given, names the copy instead of the file's own name (a name that is not
// readable text).
IoResult backupBeforeDestroying(std::string_view fileName, const LocalDateTime& now,
                                int keep = kBackupsKept, std::string_view copyName = {});

}  // namespace mitoran
