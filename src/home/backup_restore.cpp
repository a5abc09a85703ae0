#include "home/backup_restore.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "data/cp932.h"
#include "data/data_files.h"
#include "data/records.h"
#include "home/item_validation.h"

namespace mitoran {

namespace {

template <class Record, class DateOf, class CountOf>
void summarise(const Loaded<Record>& loaded, HistoryContent& out, DateOf dateOf, CountOf countOf) {
    out.records = static_cast<int>(loaded.records.size());
    out.skipped = loaded.skipped;
    if (loaded.records.empty()) return;
    out.firstDate = dateOf(loaded.records.front());
    out.lastDate = dateOf(loaded.records.back());
    for (const Record& r : loaded.records) out.total += countOf(r);
}

}  // namespace

std::string restoredFileName(BackupKind kind, std::string_view name) {
    return kind == BackupKind::Quick ? quickFileName(name) : historyFileName(name);
}

HistoryContent readHistoryContent(BackupKind kind, std::string_view path) {
    HistoryContent content;
    const ReadBytes raw = readWholeFile(path);
    if (raw.status == ReadStatus::Missing) return content;
    content.exists = true;
    if (raw.status == ReadStatus::Error) {
        content.readable = false;
        content.reason = raw.reason;
        return content;
    }
    content.bytes = raw.bytes.size();
    const std::string text = decodeDataFile(raw.bytes);
    if (kind == BackupKind::Quick)
        summarise(
            parseQuickHistory(text), content, [](const QuickRecord& r) { return r.date; },
            [](const QuickRecord& r) { return leadingNumber(r.count); });
    else
        summarise(
            parseHistory(text), content,
            [](const HistoryRecord& r) { return std::string(r.date.view()); },
            [](const HistoryRecord& r) { return static_cast<double>(r.count); });
    return content;
}

std::vector<BackupEntry> listItemBackups(std::string_view name) {
    std::vector<BackupEntry> entries;
    for (BackupKind kind : {BackupKind::History, BackupKind::Quick})
        for (BackupCopy& copy : listBackups(restoredFileName(kind, name)))
            entries.push_back({kind, std::move(copy), {}});
    // Newest first across both files; at equal times the item history comes first.
    std::stable_sort(
        entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
            const auto key = [](const BackupEntry& e) {
                const LocalDateTime& t = e.copy.made;
                return std::tuple(
                    static_cast<int>(t.date.year()), static_cast<unsigned>(t.date.month()),
                    static_cast<unsigned>(t.date.day()), t.hour, t.minute, t.second, e.copy.number);
            };
            return key(a) > key(b);
        });
    for (BackupEntry& entry : entries)
        entry.content = readHistoryContent(entry.kind, entry.copy.path);
    return entries;
}

std::vector<std::string> namesWithOnlyBackups(const std::vector<std::string>& registered) {
    std::set<std::string> names;
    for (const std::string& file : backedUpFiles()) {
        std::string stem = file.substr(0, file.size() - 4);
        if (stem.rfind(kQuickPrefix, 0) == 0) stem.erase(0, kQuickPrefix.size());
        if (stem.empty() || equalsIgnoringAsciiCase(stem + ".txt", kItemListFile)) continue;
        const bool listed =
            std::any_of(registered.begin(), registered.end(),
                        [&](const std::string& r) { return equalsIgnoringAsciiCase(r, stem); });
        if (!listed) names.insert(std::move(stem));
    }
    return {names.begin(), names.end()};
}

std::string copyTimeText(const BackupCopy& copy) {
    return formatStoredDate(copy.made.date) + " " +
           formatStoredTime(copy.made.hour, copy.made.minute, copy.made.second);
}

std::string contentText(const HistoryContent& content) {
    if (content.records == 0) return "記録なし";
    return "記録 " + std::to_string(content.records) + "件、合計 " + formatNumber(content.total) +
           "回";
}

std::string restoreQuestion(std::string_view name, const BackupEntry& entry,
                            const HistoryContent& current, const ItemRecord* addedBack) {
    std::string text;
    if (addedBack)
        text += "「" + std::string(name) + "」を指定回数 " + std::to_string(addedBack->instructed) +
                "、目標回数 " + std::to_string(addedBack->target) + " の項目として追加し直し、";
    text += "「" + restoredFileName(entry.kind, name) + "」を " + copyTimeText(entry.copy) +
            " のバックアップ（" + contentText(entry.content) + "）の内容に戻します。\n\n";
    if (current.bytes > 0)
        text += "今の内容（" + contentText(current) +
                "）はバックアップフォルダに保存してから置き換えます。" +
                "それを復元すれば、今の内容に戻せます。";
    else
        text += "今のファイルは空か、ありません。そのまま置き換えます。";
    return text + "\n\nよろしいですか？";
}

IoResult restoreItemBackup(const BackupEntry& entry, std::string_view name,
                           const LocalDateTime& now, std::string* made) {
    return restoreBackup(entry.copy.path, restoredFileName(entry.kind, name), now, made);
}

IoResult restoreDeletedItem(const BackupEntry& entry, const ItemRecord& item,
                            const LocalDateTime& now, std::string* made, bool* leftRestored) {
    if (leftRestored) *leftRestored = false;
    const std::string file = restoredFileName(entry.kind, item.name);
    const ReadBytes before = readWholeFile(file);
    if (before.status == ReadStatus::Error) return IoResult::failure(before.reason);
    std::string copy;
    if (IoResult restored = restoreBackup(entry.copy.path, file, now, &copy); !restored)
        return restored;
    if (IoResult added = appendItem(item); !added) {
        const IoResult back = before.status == ReadStatus::Missing
                                  ? removeFile(file)
                                  : rewriteFile(file, before.bytes);
        if (back && !copy.empty()) removeFile(copy);  // it only repeats the file again
        if (!back) {
            if (made) *made = copy;
            if (leftRestored) *leftRestored = true;
            return IoResult::failure(added.reason + "\n「" + file + "」は復元したままです：" +
                                     back.reason);
        }
        return added;
    }
    // Every item has its history file from the start, as a new item does.
    createIfMissing(historyFileName(item.name));
    if (made) *made = copy;
    return IoResult::success();
}

}  // namespace mitoran
