#include "home/item_files.h"

#include <utility>

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

}  // namespace

ChangeResult storeRenamedItem(const std::vector<ItemRecord>& items, const std::string& oldName,
                              const std::string& newName, bool oldNameShared) {
    if (oldName == newName) {
        IoResult written = rewriteItemList(items);
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
        const Rename moves[] = {{historyFileName(oldName), newHistory},
                                {quickFileName(oldName), newQuick}};
        for (const Rename& move : moves) {
            if (!fileExists(move.from)) continue;
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

    IoResult written = rewriteItemList(items);
    if (!written) {
        std::string reason = written.reason;
        if (createHistory) removeFile(newHistory);
        reason += undoRenames(done);
        return failed(reason);
    }
    return {};
}

IoResult deleteItemHistories(std::string_view name) {
    IoResult history = removeFile(historyFileName(name));
    IoResult quick = removeFile(quickFileName(name));
    if (!history) return history;
    return quick;
}

IoResult clearItemHistory(std::string_view name) { return emptyFile(historyFileName(name)); }

IoResult clearAllHistories(const std::vector<std::string>& names) {
    std::string failures;
    for (const std::string& name : names) {
        for (const std::string& file : {historyFileName(name), quickFileName(name)}) {
            IoResult emptied = emptyFile(file);
            if (!emptied) failures += (failures.empty() ? "" : "\n") + file + "：" + emptied.reason;
        }
    }
    if (!failures.empty()) return IoResult::failure(failures);
    return IoResult::success();
}

}  // namespace mitoran
