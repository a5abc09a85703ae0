#include "home/item_files.h"

#include <set>
#include <utility>

#include "data/backup.h"
#include "home/item_validation.h"

namespace mitoran {

namespace {

struct Rename {
    std::string from;
    std::string to;
};

// Undoes renames in reverse order; returns the reasons of those that could not be undone.
std::string undoRenames(const std::vector<Rename>& done) {
    std::string failures;
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        IoResult back = renameFile(it->to, it->from);
        if (!back)
            failures +=
                "\n「" + it->to + "」を「" + it->from + "」に戻せませんでした：" + back.reason;
    }
    return failures;
}

ChangeResult failed(std::string reason) { return {ChangeOutcome::Failed, std::move(reason)}; }

// Copies every file that holds records before a step destroys any of them; stops at the first
// copy that cannot be written, when nothing has been destroyed yet.
IoResult copyBeforeDestroying(const std::vector<std::string>& files, const LocalDateTime& now) {
    std::set<std::string> copied;  // two items of one name must not copy their file twice
    for (const std::string& file : files) {
        if (!copied.insert(resolveName(file)).second) continue;
        IoResult copy = backupBeforeDestroying(file, now);
        if (!copy)
            return IoResult::failure("「" + file +
                                     "」のバックアップを作成できなかったため、中止しました。" +
                                     "ファイルは変更していません。\n" + copy.reason);
    }
    return IoResult::success();
}

// The files an item's history lives in. An item of a hand-edited list named after one of the
// program's own files has no item history file of its own: that file is never touched for it.
std::vector<std::string> bothHistoryFiles(std::string_view name) {
    if (isProgramFile(historyFileName(name))) return {quickFileName(name)};
    return {historyFileName(name), quickFileName(name)};
}

IoResult removeBothHistoryFiles(std::string_view name) {
    IoResult result = IoResult::success();
    for (const std::string& file : bothHistoryFiles(name))
        if (IoResult removed = removeFile(file); !removed && result) result = removed;
    return result;
}

}  // namespace

IoResult saveItemList(const std::vector<ItemRecord>& items, const LocalDateTime& now) {
    if (readItemList().skipped > 0) {
        if (IoResult copied = copyBeforeDestroying({std::string(kItemListFile)}, now); !copied)
            return copied;
    }
    return rewriteItemList(items);
}

ChangeResult storeRenamedItem(const std::vector<ItemRecord>& items, const std::string& oldName,
                              const std::string& newName, bool oldNameShared,
                              const LocalDateTime& now) {
    if (oldName == newName) {
        IoResult written = saveItemList(items, now);
        if (!written) return failed(written.reason);
        return {};
    }

    const std::string newHistory = historyFileName(newName);
    const std::string newQuick = quickFileName(newName);
    // A change in the case of letters only finds the item's own files under the new name.
    const bool sameFiles = equalsIgnoringAsciiCase(oldName, newName);
    if (!sameFiles && (fileExists(newHistory) || fileExists(newQuick)))
        return {ChangeOutcome::NameTaken,
                "「" + newName + "」の履歴データが既にあるため、" + "項目名を変更できません。"};

    std::vector<Rename> done;
    if (!oldNameShared) {
        // The old name disappears from the folder, so a copy is kept under it.
        if (IoResult copied = copyBeforeDestroying(bothHistoryFiles(oldName), now); !copied)
            return failed(copied.reason);
        const Rename moves[] = {{historyFileName(oldName), newHistory},
                                {quickFileName(oldName), newQuick}};
        for (const Rename& move : moves) {
            if (!fileExists(move.from) || isProgramFile(move.from)) continue;
            IoResult renamed = renameFile(move.from, move.to);
            if (!renamed) return failed(renamed.reason + undoRenames(done));
            done.push_back(move);
        }
    }

    // Every item has its history file from the start; a renamed item keeps that true.
    const bool createHistory = !fileExists(newHistory);
    if (createHistory) {
        IoResult created = createIfMissing(newHistory);
        if (!created) return failed(created.reason + undoRenames(done));
    }

    IoResult written = saveItemList(items, now);
    if (!written) {
        std::string reason = written.reason;
        if (createHistory) removeFile(newHistory);
        reason += undoRenames(done);
        return failed(reason);
    }
    return {};
}

ChangeResult deleteItem(const std::vector<ItemRecord>& remaining, std::string_view name,
                        bool deleteFiles, const LocalDateTime& now) {
    // The copies come first: once the list no longer holds the item, stopping would leave it
    // half deleted.
    if (deleteFiles) {
        if (IoResult copied = copyBeforeDestroying(bothHistoryFiles(name), now); !copied)
            return failed(copied.reason);
    }
    if (IoResult written = saveItemList(remaining, now); !written) return failed(written.reason);
    if (!deleteFiles) return {};
    if (IoResult removed = removeBothHistoryFiles(name); !removed)
        return {ChangeOutcome::Stored, removed.reason};
    return {};
}

IoResult clearItemHistory(std::string_view name, const LocalDateTime& now) {
    if (isProgramFile(historyFileName(name)))
        return IoResult::failure("「" + historyFileName(name) +
                                 "」はミトランが使うファイルのため、空にしません。");
    if (IoResult copied = copyBeforeDestroying({historyFileName(name)}, now); !copied)
        return copied;
    return emptyFile(historyFileName(name));
}

IoResult clearAllHistories(const std::vector<std::string>& names, const LocalDateTime& now) {
    std::vector<std::string> files;
    for (const std::string& name : names)
        for (std::string& file : bothHistoryFiles(name)) files.push_back(std::move(file));
    if (IoResult copied = copyBeforeDestroying(files, now); !copied) return copied;

    std::string failures;
    for (const std::string& file : files) {
        IoResult emptied = emptyFile(file);
        if (!emptied) failures += (failures.empty() ? "" : "\n") + file + "：" + emptied.reason;
    }
    if (!failures.empty()) return IoResult::failure(failures);
    return IoResult::success();
}

}  // namespace mitoran
