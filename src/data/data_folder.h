#pragma once
// What start-up and the screens tell about the working folder as a whole: files under two
// spellings, file names left in CP932 by an unzip, and lines of a file that could not be read.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/dates.h"
#include "data/file_io.h"

namespace mitoran {

// Data files (names ending in .txt) whose names differ only in the case of Latin letters.
struct SameNameFiles {
    std::string used;                 // the one every reader and writer takes
    std::vector<std::string> others;  // left untouched
};
std::vector<SameNameFiles> filesDifferingInCase();
std::string sameNameNotice(const std::vector<SameNameFiles>& groups);

// A data file whose name is CP932 bytes (a zip made on Japanese Windows unpacks so): the name is
// not UTF-8, reads as CP932 without a bad byte and ends in .txt. Hidden files are not looked at.
struct CodedName {
    std::string bytes;   // the name on disk
    std::string proper;  // that name read as CP932
};
std::vector<CodedName> cp932NamedFiles();
std::string properNamesQuestion(const std::vector<CodedName>& names);

// Gives each file its proper name, after copying it into the backup folder; a file whose proper
// name is taken, or whose copy cannot be made, keeps its name. The result lists those.
IoResult giveProperNames(const std::vector<CodedName>& names, const LocalDateTime& now);

// The message telling that `skipped` lines of `fileName` could not be read, naming the first
// `lineNumbers`; nothing when there are none or the file was told of before in this run.
std::optional<std::string> unreadableLinesNotice(std::string_view fileName, int skipped,
                                                 const std::vector<int>& lineNumbers);

// Forgets which files were told of (a new run, for tests).
void forgetUnreadableNotices();

}  // namespace mitoran
