#include "data/data_files.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>

#include "data/ascii_case.h"
#include "data/backup.h"
#include "data/cp932.h"
#include "data/message_text.h"
#include "data/records.h"

namespace mitoran {
namespace {

using Fields = std::vector<std::string_view>;

// A number field must begin with a number; text after it is ignored, as in typed numbers.
std::optional<double> numberField(std::string_view field) {
    bool found = false;
    const double value = leadingNumber(field, &found);
    if (!found) return std::nullopt;
    return value;
}

// What the program writes, a plain whole number of up to nine digits, without the general
// reading: it is the field of every history record.
std::optional<long> plainWholeNumber(std::string_view field) {
    std::size_t i = 0;
    const bool negative = !field.empty() && field[0] == '-';
    if (negative) i = 1;
    if (field.size() <= i || field.size() - i > 9) return std::nullopt;
    long value = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

template <class Int>
std::optional<Int> intField(std::string_view field) {
    if (const auto plain = plainWholeNumber(field)) {
        if (*plain < std::numeric_limits<Int>::min() || *plain > std::numeric_limits<Int>::max())
            return std::nullopt;
        return static_cast<Int>(*plain);
    }
    const auto v = numberField(field);
    if (!v) return std::nullopt;
    if constexpr (sizeof(Int) == 2)
        return toInt16(*v);
    else
        return toInt32(*v);
}

std::optional<std::int16_t> int16Field(std::string_view field) {
    return intField<std::int16_t>(field);
}
std::optional<std::int32_t> int32Field(std::string_view field) {
    return intField<std::int32_t>(field);
}

// Room for the records of a text or file of `size` bytes: no record the program writes is shorter
// than 34 bytes. Only a guess (the vector still grows when it is short), but one that spares a
// pass over the bytes and cannot balloon, as a count of line breaks would for a file of blank
// lines.
std::size_t recordsToReserve(std::size_t size) { return size / 34 + 1; }

// Turns into a text where one is initialised, so a record's texts are built in place instead of
// being built and then moved.
struct TextOf {
    std::string_view text;
    template <class Text>
    operator Text() const {
        return Text(text);
    }
};

// The same for a whole history record, built straight inside the vector by emplace_back.
struct HistoryRecordOf {
    std::string_view date;
    Date day;
    std::string_view time;
    std::int16_t count;
    std::string_view countText;
    operator HistoryRecord() const {
        return HistoryRecord{TextOf{date}, day, TextOf{time}, count, TextOf{countText}};
    }
};

template <class T>
void noteSkipped(Loaded<T>& out, int lineNumber) {
    ++out.skipped;
    if (out.skippedLines.size() < kSkippedLinesNamed) out.skippedLines.push_back(lineNumber);
}

// Every format has a fixed number of fields. A line with more is not taken apart by guessing:
// an unquoted name holding a comma would otherwise turn into a different item.
template <class T, class Make>
void parseRecordsInto(std::string_view text, std::size_t fieldCount, Make make, Loaded<T>& out) {
    RecordSplitter splitter;
    forEachNumberedLine(text, out.lines, [&](std::string_view line, int number) {
        if (!splitter.split(line) || !hasFieldCount(splitter.fields(), fieldCount)) {
            noteSkipped(out, number);
            return;
        }
        T& record = out.records.emplace_back();
        if (!make(splitter.fields(), record)) {
            out.records.pop_back();
            noteSkipped(out, number);
        }
    });
}

// Parses whole decoded text with one of the *Into parsers below.
template <class T, class Into>
Loaded<T> parseWhole(std::string_view text, Into into) {
    Loaded<T> out;
    out.records.reserve(recordsToReserve(text.size()));
    into(text, out);
    return out;
}

// Reads a file and parses it piece by piece: each piece of the bytes is decoded and parsed while
// it is still in the cache, and the decoded text never exists whole. Pieces end at a line
// break; byte 0x0A is never part of a two-byte CP932 character, so no character is cut.
template <class T, class Into>
Loaded<T> readAndParse(std::string_view name, Into into) {
    Loaded<T> out;
    ReadBytes raw = readWholeFile(name);
    if (raw.status != ReadStatus::Ok) {
        out.status = raw.status;
        out.reason = std::move(raw.reason);
        return out;
    }
    std::string_view bytes = raw.bytes;
    const DataEncoding encoding = detectDataEncoding(bytes);
    if (encoding == DataEncoding::Utf8Marked) bytes.remove_prefix(3);
    out.records.reserve(recordsToReserve(bytes.size()));
    constexpr std::size_t kPiece = 32 * 1024;
    std::string text;
    while (!bytes.empty()) {
        std::size_t end = bytes.size();
        if (end > kPiece) {
            const std::size_t lf = bytes.find('\n', kPiece);
            if (lf != std::string_view::npos) end = lf + 1;
        }
        if (encoding == DataEncoding::Utf8)
            text.assign(bytes.substr(0, end));  // valid UTF-8 throughout, checked above
        else
            decodeDataFilePart(bytes.substr(0, end), encoding == DataEncoding::Utf8Marked, text);
        into(text, out);
        bytes.remove_prefix(end);
    }
    return out;
}

// Checks a text field: a double quote or a line break would end the field or the record early.
std::optional<IoResult> refuseText(std::string_view text) {
    if (text.find('"') != std::string_view::npos)
        return IoResult::failure("「\"」（二重引用符）はデータファイルに保存できません");
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return IoResult::failure("改行はデータファイルに保存できません");
    return std::nullopt;
}

// The item name is the stem of a file in the working folder.
std::optional<IoResult> refuseFileStem(std::string_view name) {
    if (name.find('/') != std::string_view::npos)
        return IoResult::failure(joinTexts(
            {"「/」はファイル名に使えないため、", quoted(name), "のファイルを作れません"}));
    if (name.find('\0') != std::string_view::npos)
        return IoResult::failure("ファイル名に使えない文字が含まれています");
    return std::nullopt;
}

// Encodes a record; `refusal` receives the reason when a character has no CP932 form.
std::optional<std::string> encodeRecord(std::string_view line, IoResult& refusal) {
    std::string bad;
    auto bytes = encodeCp932(line, &bad);
    if (!bytes) {
        refusal = IoResult::failure(joinTexts(
            {bad.empty() ? std::string("ある文字") : quoted(bad),
             "はShift_JIS（CP932）で保存できない文字です。別の文字に置き換えてください"}));
    }
    return bytes;
}

std::string itemLine(const ItemRecord& item) {
    return formatRecord(
        {TextField{item.name}, std::int64_t{item.instructed}, std::int64_t{item.target}});
}

std::string stampFields(const LocalDateTime& when) {
    return joinTexts({"\"", formatStoredDate(when.date), "\",\"",
                      formatStoredTime(when.hour, when.minute, when.second), "\""});
}

LocalDateTime localNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    using namespace std::chrono;
    return {Date{year{tm.tm_year + 1900}, month{static_cast<unsigned>(tm.tm_mon + 1)},
                 day{static_cast<unsigned>(tm.tm_mday)}},
            tm.tm_hour, tm.tm_min, tm.tm_sec};
}

DataEncoding encodingOnDisk(std::string_view name) {
    const ReadBytes existing = readWholeFile(name);
    if (existing.status != ReadStatus::Ok) return DataEncoding::Cp932;
    return detectDataEncoding(existing.bytes);
}

// Appends one record in the encoding of the file: `utf8Line` as it is to a UTF-8 file, its CP932
// bytes to any other. The file is read whole to tell; every reader of it does that anyway.
IoResult appendRecord(std::string_view name, std::string_view utf8Line) {
    if (encodingOnDisk(name) != DataEncoding::Cp932) return appendToFile(name, utf8Line);
    IoResult refusal;
    const auto bytes = encodeRecord(utf8Line, refusal);
    if (!bytes) return refusal;
    return appendToFile(name, *bytes);
}

// Rewrites with CP932 bytes, keeping an unchanged copy of a UTF-8 file it replaces.
IoResult rewriteAsCp932(std::string_view name, std::string_view bytes) {
    if (encodingOnDisk(name) != DataEncoding::Cp932) {
        if (IoResult copied = backupBeforeDestroying(name, localNow()); !copied)
            return IoResult::failure(joinTexts(
                {quoted(resolveName(name)), "はUTF-8で保存されているため、Shift_JISで書き直す前に",
                 "バックアップを作ろうとしましたが、作れなかったので変更していません。\n",
                 copied.reason}));
    }
    return rewriteFile(name, bytes);
}

std::string floatText(float value) {
    if (value == 0) return "0";
    char buf[64];
    // The shortest text that reads back as the same float: 2.5, not 2.5000000000.
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

}  // namespace

std::string historyFileName(std::string_view itemName) { return std::string(itemName) + ".txt"; }

bool isProgramFile(std::string_view fileName) {
    const std::string name = lowerAscii(fileName);
    return name == kItemListFile || name == kSettingsFile || name == kPlaySettingsFile;
}

std::string quickFileName(std::string_view itemName) {
    return joinTexts({kQuickPrefix, itemName, ".txt"});
}

namespace {

bool fillItem(const Fields& f, ItemRecord& r) {
    const auto instructed = int16Field(f[1]);
    const auto target = int32Field(f[2]);
    if (!instructed || !target) return false;
    r.name = std::string(f[0]);
    r.instructed = *instructed;
    r.target = *target;
    return true;
}

bool fillHistoryRecord(const Fields& f, HistoryRecord& r) {
    const auto day = parseDate(f[0]);
    if (!day) return false;
    const auto count = int16Field(f[2]);
    if (!count) return false;
    r.date.assign(f[0]);
    r.day = *day;
    r.time.assign(f[1]);
    r.count = *count;
    r.countText.assign(f[2]);
    return true;
}

// A history holds up to tens of thousands of records, nearly all exactly as the program writes
// them: "yyyy年mm月dd日","hh時nn分ss秒",count. Such a line is read at fixed offsets straight into
// a new record; anything else, and any line this turns down, goes through the general rules,
// which have the final word.
bool addWrittenHistoryRecord(std::string_view line, std::vector<HistoryRecord>& records) {
    constexpr std::size_t kDateLen = 17, kTimeLen = 15;
    constexpr std::size_t kTimeAt = 1 + kDateLen + 3, kCountAt = kTimeAt + kTimeLen + 2;
    if (line.size() <= kCountAt || line[0] != '"' || line[kTimeAt - 3] != '"' ||
        line[kTimeAt - 2] != ',' || line[kTimeAt - 1] != '"' || line[kCountAt - 2] != '"' ||
        line[kCountAt - 1] != ',')
        return false;
    const std::string_view time = line.substr(kTimeAt, kTimeLen);
    for (char c : time)
        if (c == '"') return false;
    const std::string_view countText = line.substr(kCountAt);
    const auto count = plainWholeNumber(countText);
    if (!count || *count < INT16_MIN || *count > INT16_MAX) return false;
    const std::string_view date = line.substr(1, kDateLen);
    const auto day = parseDate(date);
    if (!day) return false;
    records.emplace_back(
        HistoryRecordOf{date, *day, time, static_cast<std::int16_t>(*count), countText});
    return true;
}

void historyInto(std::string_view text, Loaded<HistoryRecord>& out) {
    RecordSplitter splitter;
    forEachNumberedLine(text, out.lines, [&](std::string_view line, int number) {
        if (addWrittenHistoryRecord(line, out.records)) return;
        HistoryRecord& record = out.records.emplace_back();
        if (!splitter.split(line) || !hasFieldCount(splitter.fields(), 3) ||
            !fillHistoryRecord(splitter.fields(), record)) {
            out.records.pop_back();
            noteSkipped(out, number);
        }
    });
}

bool fillSettings(const Fields& f, SettingsRecord& r) {
    const auto on = int16Field(f[1]);
    if (!on) return false;
    r.label = std::string(f[0]);
    r.helpTour = *on;
    return true;
}

bool fillPlaySettings(const Fields& f, PlaySettings& r) {
    const auto launch = int16Field(f[0]);
    const auto count = int16Field(f[1]);
    const auto interval = numberField(f[2]);
    if (!launch || !count || !interval || !(std::fabs(*interval) <= FLT_MAX)) return false;
    r.launchMode = *launch;
    r.countMode = *count;
    r.interval = static_cast<float>(*interval);
    return true;
}

// Quick Muscle fields are kept as stored; the panel shows them as they are.
bool fillQuickRecord(const Fields& f, QuickRecord& r) {
    r.date = std::string(f[0]);
    r.time = std::string(f[1]);
    r.seconds = std::string(f[2]);
    r.count = std::string(f[3]);
    return true;
}

// The parsers of the formats whose every line goes through the general rules.
template <class T, std::size_t FieldCount, bool (*Fill)(const Fields&, T&)>
void recordsInto(std::string_view text, Loaded<T>& out) {
    parseRecordsInto(text, FieldCount, Fill, out);
}
constexpr auto itemListInto = recordsInto<ItemRecord, 3, fillItem>;
constexpr auto settingsInto = recordsInto<SettingsRecord, 2, fillSettings>;
constexpr auto playSettingsInto = recordsInto<PlaySettings, 3, fillPlaySettings>;
constexpr auto quickHistoryInto = recordsInto<QuickRecord, 4, fillQuickRecord>;

}  // namespace

Loaded<ItemRecord> parseItemList(std::string_view text) {
    return parseWhole<ItemRecord>(text, itemListInto);
}
Loaded<HistoryRecord> parseHistory(std::string_view text) {
    return parseWhole<HistoryRecord>(text, historyInto);
}
Loaded<SettingsRecord> parseSettings(std::string_view text) {
    return parseWhole<SettingsRecord>(text, settingsInto);
}
Loaded<PlaySettings> parsePlaySettings(std::string_view text) {
    return parseWhole<PlaySettings>(text, playSettingsInto);
}
Loaded<QuickRecord> parseQuickHistory(std::string_view text) {
    return parseWhole<QuickRecord>(text, quickHistoryInto);
}

Loaded<ItemRecord> readItemList() {
    // Opened as the upper-case spelling on purpose: the lookup finds the file in any case.
    return readAndParse<ItemRecord>("項目一覧.TXT", itemListInto);
}
Loaded<HistoryRecord> readHistory(std::string_view itemName) {
    if (isProgramFile(historyFileName(itemName))) return {};
    return readAndParse<HistoryRecord>(historyFileName(itemName), historyInto);
}
Loaded<SettingsRecord> readSettings() {
    return readAndParse<SettingsRecord>(kSettingsFile, settingsInto);
}
Loaded<PlaySettings> readPlaySettings() {
    return readAndParse<PlaySettings>(kPlaySettingsFile, playSettingsInto);
}
Loaded<QuickRecord> readQuickHistory(std::string_view itemName) {
    return readAndParse<QuickRecord>(quickFileName(itemName), quickHistoryInto);
}

IoResult appendItem(const ItemRecord& item) {
    if (auto refused = refuseText(item.name)) return *refused;
    IoResult refusal;
    // Refused here even for a UTF-8 list: the next rewrite of the list must be able to store it.
    if (!encodeRecord(itemLine(item), refusal)) return refusal;
    return appendRecord(kItemListFile, itemLine(item));
}

IoResult rewriteItemList(const std::vector<ItemRecord>& items) {
    std::string text;
    for (const ItemRecord& item : items) {
        if (auto refused = refuseText(item.name)) return *refused;
        text += itemLine(item);
    }
    IoResult refusal;
    const auto bytes = encodeRecord(text, refusal);
    if (!bytes) return refusal;
    return rewriteAsCp932(kItemListFile, *bytes);
}

std::string encodeHistoryRecord(const LocalDateTime& when, std::int16_t count) {
    // Digits and the date kanji always have a CP932 form.
    const std::string line = stampFields(when) + "," + std::to_string(count) + "\r\n";
    return encodeCp932(line).value_or(std::string());
}

IoResult appendHistory(std::string_view itemName, const LocalDateTime& when, std::int16_t count) {
    if (auto refused = refuseFileStem(itemName)) return *refused;
    const std::string file = historyFileName(itemName);
    if (isProgramFile(file))
        return IoResult::failure(
            joinTexts({quoted(file), "はミトランが使うファイルのため、「", itemName,
                       "」の記録は書き込みませんでした。項目名を変更してください。"}));
    if (encodingOnDisk(file) != DataEncoding::Cp932)
        return appendToFile(file, stampFields(when) + "," + std::to_string(count) + "\r\n");
    const std::string record = encodeHistoryRecord(when, count);
    // Only a converter that does not work at all gives nothing here; the set is then not saved.
    if (record.empty())
        return IoResult::failure("記録をShift_JISに変換できなかったため、保存できませんでした。");
    return appendToFile(file, record);
}

IoResult writeSettings(std::int16_t helpTour) {
    const std::string line =
        formatRecord({TextField{std::string(kSettingsLabel)}, std::int64_t{helpTour != 0 ? 1 : 0}});
    IoResult refusal;
    const auto bytes = encodeRecord(line, refusal);
    if (!bytes) return refusal;
    return rewriteAsCp932(kSettingsFile, *bytes);
}

IoResult writePlaySettings(const PlaySettings& settings) {
    if (!std::isfinite(settings.interval))
        return IoResult::failure("間隔の値が正しくないため保存できません");
    const std::string line = std::to_string(settings.launchMode) + "," +
                             std::to_string(settings.countMode) + "," +
                             floatText(settings.interval) + "\r\n";
    return rewriteAsCp932(kPlaySettingsFile, line);
}

IoResult appendQuick(std::string_view itemName, const LocalDateTime& when, std::int16_t seconds,
                     double count) {
    if (auto refused = refuseFileStem(itemName)) return *refused;
    if (!std::isfinite(count)) return IoResult::failure("回数の値が正しくないため保存できません");
    const std::string line =
        stampFields(when) + "," + std::to_string(seconds) + "," + formatNumber(count) + "\r\n";
    return appendRecord(quickFileName(itemName), line);
}

}  // namespace mitoran
