#pragma once
// The five kinds of data file: item list, item history, settings, play settings, quick history.
// Readers never change a file; a record that does not parse is skipped and counted.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/dates.h"
#include "data/file_io.h"
#include "data/short_text.h"

namespace mitoran {

inline constexpr std::string_view kItemListFile = "項目一覧.txt";
inline constexpr std::string_view kSettingsFile = "設定.txt";
inline constexpr std::string_view kPlaySettingsFile = "プレイ設定.txt";
inline constexpr std::string_view kSettingsLabel = "ヘルプツアー";
inline constexpr std::string_view kQuickPrefix = "クイック_";

std::string historyFileName(std::string_view itemName);  // name + ".txt"
std::string quickFileName(std::string_view itemName);    // "クイック_" + name + ".txt"

// True when `fileName` names the item list, settings or play settings file (Latin letters in any
// case, as the lookup finds them). An item of a hand-edited list may carry such a name; its
// history is then empty and never written, emptied, renamed or deleted, so the file survives.
bool isProgramFile(std::string_view fileName);

struct ItemRecord {
    std::string name;
    std::int16_t instructed = 0;
    std::int32_t target = 0;

    bool operator==(const ItemRecord&) const = default;
};

struct HistoryRecord {
    ShortText date;  // date text exactly as stored
    Date day;        // that text as a calendar date (records whose date does not parse are skipped)
    std::string time;  // time text as stored
    std::int16_t count = 0;
    std::string countText;  // the count field as stored
};

struct SettingsRecord {
    std::string label;
    std::int16_t helpTour = 0;  // 0 off, anything else on
};

struct PlaySettings {
    std::int16_t launchMode = 0;  // 0 fixed, 1 random, 2 direct
    std::int16_t countMode = 0;   // 0 instructed, 1 random
    float interval = 0;           // minutes
};

struct QuickRecord {
    std::string date;
    std::string time;
    std::string seconds;  // fields as stored, read as texts
    std::string count;
};

template <class T>
struct Loaded {
    ReadStatus status = ReadStatus::Ok;
    std::vector<T> records;
    int skipped = 0;                // records that did not parse
    std::vector<int> skippedLines;  // line numbers of the first few of them, counted from 1
    int lines = 0;                  // lines read so far, blank ones included
    std::string reason;             // Japanese, when status is Error
    bool ok() const { return status == ReadStatus::Ok; }
};

// How many skipped lines a Loaded keeps the numbers of.
inline constexpr std::size_t kSkippedLinesNamed = 3;

// Parsers over decoded text, shared by the file readers, the tests and the fuzzers.
// A record is skipped (and counted) when a quote is left open, when it has more or fewer fields
// than its format (empty fields at the end of a line do not count), when a number field does not
// begin with a number or its value does not fit the receiving width after rounding, or, in a
// history, when its date is not a real calendar date. Quick history fields are kept as texts and
// only the field count is checked.
Loaded<ItemRecord> parseItemList(std::string_view text);
Loaded<HistoryRecord> parseHistory(std::string_view text);
Loaded<SettingsRecord> parseSettings(std::string_view text);
Loaded<PlaySettings> parsePlaySettings(std::string_view text);
Loaded<QuickRecord> parseQuickHistory(std::string_view text);

// Readers: a missing file gives status Missing and no records.
Loaded<ItemRecord> readItemList();
Loaded<HistoryRecord> readHistory(std::string_view itemName);
Loaded<SettingsRecord> readSettings();  // at most the first record matters
Loaded<PlaySettings> readPlaySettings();
Loaded<QuickRecord> readQuickHistory(std::string_view itemName);

// Writers. Text that cannot be encoded in CP932 is refused with a reason, nothing is written.
// An append keeps the encoding of the file it extends (a file saved as UTF-8 by an editor gets
// a UTF-8 record), so no file ends up holding two encodings. A rewrite always writes CP932; when
// the file it replaces is UTF-8, that file is first copied unchanged into the backup folder,
// and a copy that cannot be made stops the rewrite.
IoResult appendItem(const ItemRecord& item);
IoResult rewriteItemList(const std::vector<ItemRecord>& items);
IoResult appendHistory(std::string_view itemName, const LocalDateTime& when, std::int16_t count);
IoResult writeSettings(std::int16_t helpTour);  // writes 1 or 0
IoResult writePlaySettings(const PlaySettings& settings);
IoResult appendQuick(std::string_view itemName, const LocalDateTime& when, std::int16_t seconds,
                     double count);

// The exact bytes a writer puts on disk for one record (CP932, CR LF).
std::string encodeHistoryRecord(const LocalDateTime& when, std::int16_t count);

}  // namespace mitoran
