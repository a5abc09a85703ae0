#pragma once
// Raw file access in the working folder. Every data file goes through here: names are looked up
// ignoring the case of Latin letters, rewrites are atomic, appends are one write each.
#include <string>
#include <string_view>

namespace mitoran {

// Success, or why not, in Japanese words fit for a message box.
struct IoResult {
    bool ok = true;
    std::string reason;
    explicit operator bool() const { return ok; }
    static IoResult success() { return {}; }
    static IoResult failure(std::string why) { return {false, std::move(why)}; }
};

enum class ReadStatus { Ok, Missing, Error };

struct ReadBytes {
    ReadStatus status = ReadStatus::Ok;
    std::string bytes;
    std::string reason;  // Japanese, when status is Error
};

// The name of the existing file in the working folder that equals `name` when the case of Latin
// letters is ignored (項目一覧.TXT finds 項目一覧.txt); `name` itself when none exists. When
// several exist the one first in byte order is the answer for every spelling.
std::string resolveName(std::string_view name);

ReadBytes readWholeFile(std::string_view name);

// Replaces the whole content atomically (temporary file, sync, rename): a crash leaves the old
// content or the new, never a mix. The existing file's spelling of the name is kept.
IoResult rewriteFile(std::string_view name, std::string_view bytes);

// Appends `bytes` in one write, preceded by CR LF when the file does not end with a line break;
// creates the file when missing; flushes and syncs before returning.
IoResult appendToFile(std::string_view name, std::string_view bytes);

// Creates an empty file when none exists; an existing file keeps its content.
IoResult createIfMissing(std::string_view name);

// Empties the file (creating it when missing), atomically.
IoResult emptyFile(std::string_view name);

// Deletes the file; a missing file is not an error.
IoResult removeFile(std::string_view name);

// Renames a file; fails when the target already exists.
IoResult renameFile(std::string_view from, std::string_view to);

bool fileExists(std::string_view name);

// The Japanese reason for an errno value, for messages.
std::string describeErrno(int err);

}  // namespace mitoran
