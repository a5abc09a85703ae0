#include "data/backup.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <tuple>
#include <vector>

#include "data/ascii_case.h"

namespace mitoran {
namespace {

namespace fs = std::filesystem;

std::string stemOf(std::string_view fileName) {
    std::string stem(fileName);
    if (stem.size() > 4 && equalsIgnoringAsciiCase(stem.substr(stem.size() - 4), ".txt"))
        stem.resize(stem.size() - 4);
    return stem;
}

bool allDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string stamp(const LocalDateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u_%02d%02d%02d", static_cast<int>(t.date.year()),
                  static_cast<unsigned>(t.date.month()), static_cast<unsigned>(t.date.day()),
                  t.hour, t.minute, t.second);
    return buf;
}

struct CopyName {
    std::string stem;
    LocalDateTime made;
    int number = 1;
};

int digitsValue(std::string_view s) {
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

// Reads <stem>_<yyyyMMdd>_<HHmmss>[_<n>].txt; nothing for any other name.
std::optional<CopyName> parseCopyName(std::string_view name) {
    if (name.size() < 4 || name.substr(name.size() - 4) != ".txt") return std::nullopt;
    name.remove_suffix(4);
    const auto stampAt = [&](std::size_t end) -> std::optional<CopyName> {
        if (end < 17) return std::nullopt;
        const std::string_view s = name.substr(end - 16, 16);  // _yyyyMMdd_HHmmss
        if (s[0] != '_' || !allDigits(s.substr(1, 8)) || s[9] != '_' || !allDigits(s.substr(10)))
            return std::nullopt;
        CopyName copy;
        copy.stem = std::string(name.substr(0, end - 16));
        copy.made.date =
            Date{std::chrono::year{digitsValue(s.substr(1, 4))},
                 std::chrono::month{static_cast<unsigned>(digitsValue(s.substr(5, 2)))},
                 std::chrono::day{static_cast<unsigned>(digitsValue(s.substr(7, 2)))}};
        copy.made.hour = digitsValue(s.substr(10, 2));
        copy.made.minute = digitsValue(s.substr(12, 2));
        copy.made.second = digitsValue(s.substr(14, 2));
        return copy;
    };
    if (auto plain = stampAt(name.size())) return plain;
    const std::size_t sep = name.rfind('_');
    if (sep == std::string_view::npos || sep + 1 == name.size() || name.size() - sep > 7 ||
        !allDigits(name.substr(sep + 1)))
        return std::nullopt;
    auto numbered = stampAt(sep);
    if (numbered) numbered->number = digitsValue(name.substr(sep + 1));
    return numbered;
}

// Every copy in the folder, by its parsed name; stepped with an error code so that a folder that
// fails half-way through cannot throw.
template <class F>
void forEachCopy(F&& onCopy) {
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(std::string(kBackupFolder)), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (auto parsed = parseCopyName(name)) onCopy(name, *parsed);
    }
}

// By the time in the copy's name, then by its same-second number.
bool olderCopy(const BackupCopy& a, const BackupCopy& b) {
    const auto key = [](const BackupCopy& c) {
        return std::tuple(static_cast<int>(c.made.date.year()),
                          static_cast<unsigned>(c.made.date.month()),
                          static_cast<unsigned>(c.made.date.day()), c.made.hour, c.made.minute,
                          c.made.second, c.number, c.path);
    };
    return key(a) < key(b);
}

}  // namespace

IoResult backupBeforeDestroying(std::string_view fileName, const LocalDateTime& now, int keep,
                                std::string_view spare, std::string* made,
                                std::string_view copyName) {
    if (made) made->clear();
    const std::string actual = resolveName(fileName);
    ReadBytes original = readWholeFile(actual);
    if (original.status == ReadStatus::Missing) return IoResult::success();
    if (original.status == ReadStatus::Error)
        return IoResult::failure("バックアップのために読み込めません：" + original.reason);
    if (original.bytes.empty()) return IoResult::success();

    std::error_code ec;
    const fs::path folder{std::string(kBackupFolder)};
    if (!fs::is_directory(folder, ec)) {
        fs::create_directory(folder, ec);
        if (ec)
            return IoResult::failure("バックアップフォルダを作成できません：" +
                                     describeErrno(ec.value()));
    }

    // Two copies of one file within a second (clear, then delete) must not overwrite each other.
    const std::string stem = stemOf(copyName.empty() ? std::string_view(actual) : copyName);
    const std::string base = stem + "_" + stamp(now);
    std::string target = std::string(kBackupFolder) + "/" + base + ".txt";
    for (int n = 2; fs::exists(fs::path(target), ec); ++n)
        target = std::string(kBackupFolder) + "/" + base + "_" + std::to_string(n) + ".txt";

    if (IoResult written = rewriteFile(target, original.bytes); !written)
        return IoResult::failure("バックアップを書き込めません：" + written.reason);
    if (made) *made = target;

    // Keep the newest copies, ordered by their stamp and then by the same-second number.
    std::vector<BackupCopy> copies;
    forEachCopy([&](const std::string& name, const CopyName& parsed) {
        const std::string path = std::string(kBackupFolder) + "/" + name;
        if (parsed.stem == stem && fs::path(path) != fs::path(std::string(spare)))
            copies.push_back({path, parsed.made, parsed.number});
    });
    std::sort(copies.begin(), copies.end(), olderCopy);
    for (std::size_t i = 0; i + static_cast<std::size_t>(keep) < copies.size(); ++i)
        fs::remove(fs::path(copies[i].path), ec);  // an old copy left behind loses nothing
    return IoResult::success();
}

std::vector<BackupCopy> listBackups(std::string_view fileName) {
    const std::string stem = stemOf(fileName);
    std::vector<BackupCopy> copies;
    forEachCopy([&](const std::string& name, const CopyName& parsed) {
        if (equalsIgnoringAsciiCase(parsed.stem, stem))
            copies.push_back({std::string(kBackupFolder) + "/" + name, parsed.made, parsed.number});
    });
    std::sort(copies.begin(), copies.end(),
              [](const BackupCopy& a, const BackupCopy& b) { return olderCopy(b, a); });
    return copies;
}

std::vector<std::string> backedUpFiles() {
    std::set<std::string> files;
    forEachCopy([&](const std::string&, const CopyName& parsed) {
        if (!parsed.stem.empty()) files.insert(parsed.stem + ".txt");
    });
    return {files.begin(), files.end()};
}

IoResult restoreBackup(std::string_view copyPath, std::string_view fileName,
                       const LocalDateTime& now, std::string* made) {
    if (made) made->clear();
    const ReadBytes copy = readWholeFile(copyPath);
    if (copy.status == ReadStatus::Missing)
        return IoResult::failure("バックアップ「" + std::string(copyPath) + "」が見つかりません。");
    if (copy.status == ReadStatus::Error) return IoResult::failure(copy.reason);
    // The copy being restored is spared: were it pruned and the rewrite then failed, its bytes
    // would be gone.
    std::string current;
    if (IoResult kept = backupBeforeDestroying(fileName, now, kBackupsKept, copyPath, &current);
        !kept)
        return kept;
    IoResult written = rewriteFile(fileName, copy.bytes);
    if (!written) {
        // The file is unchanged, so the copy just made only repeats it.
        if (!current.empty()) removeFile(current);
        return written;
    }
    if (made) *made = current;
    return written;
}

}  // namespace mitoran
