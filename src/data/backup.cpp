#include "data/backup.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace mitoran {
namespace {

namespace fs = std::filesystem;

std::string stemOf(std::string_view fileName) {
    std::string stem(fileName);
    if (stem.size() > 4) {
        std::string ext = stem.substr(stem.size() - 4);
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".txt") stem.resize(stem.size() - 4);
    }
    return stem;
}

bool allDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// True when `name` is a copy of `stem` made here: <stem>_<8 digits>_<6 digits>[_<n>].txt.
bool isBackupOf(std::string_view name, std::string_view stem) {
    if (name.size() <= stem.size() + 1 || name.substr(0, stem.size()) != stem ||
        name[stem.size()] != '_')
        return false;
    std::string_view rest = name.substr(stem.size() + 1);
    if (rest.size() < 4 || rest.substr(rest.size() - 4) != ".txt") return false;
    rest.remove_suffix(4);
    if (rest.size() < 15 || !allDigits(rest.substr(0, 8)) || rest[8] != '_' ||
        !allDigits(rest.substr(9, 6)))
        return false;
    rest.remove_prefix(15);
    return rest.empty() || (rest[0] == '_' && allDigits(rest.substr(1)));
}

std::string stamp(const LocalDateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u_%02d%02d%02d", static_cast<int>(t.date.year()),
                  static_cast<unsigned>(t.date.month()), static_cast<unsigned>(t.date.day()),
                  t.hour, t.minute, t.second);
    return buf;
}

}  // namespace

IoResult backupBeforeDestroying(std::string_view fileName, const LocalDateTime& now, int keep,
                                std::string_view copyName) {
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

    // Keep the newest copies, ordered by their stamp and then by the same-second number.
    struct Copy {
        std::string stamp;
        long number;
        std::string name;
    };
    std::vector<Copy> copies;
    // Stepped with an error code: a folder that fails half-way through must not throw.
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!isBackupOf(name, stem)) continue;
        const std::string rest = name.substr(stem.size() + 1, name.size() - stem.size() - 5);
        const long number = rest.size() > 15 ? std::strtol(rest.c_str() + 16, nullptr, 10) : 1;
        copies.push_back({rest.substr(0, 15), number, name});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.number < b.number;
    });
    for (std::size_t i = 0; i + static_cast<std::size_t>(keep) < copies.size(); ++i)
        fs::remove(folder / copies[i].name, ec);  // an old copy left behind loses nothing
    return IoResult::success();
}

}  // namespace mitoran
