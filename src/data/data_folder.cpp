#include "data/data_folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <set>

#include "data/ascii_case.h"
#include "data/backup.h"
#include "data/cp932.h"
#include "data/message_text.h"

namespace mitoran {
namespace {

bool endsWithTxt(std::string_view name) {
    return name.size() > 4 && equalsIgnoringAsciiCase(name.substr(name.size() - 4), ".txt");
}

// Regular files of the working folder, hidden ones (the lock file among them) left out.
std::vector<std::string> plainFiles() {
    std::vector<std::string> out;
    DIR* d = ::opendir(".");
    if (!d) return out;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.empty() || name[0] == '.') continue;
        struct stat st;
        if (::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode)) out.push_back(name);
    }
    ::closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

std::set<std::string>& toldFiles() {
    static std::set<std::string> told;
    return told;
}

}  // namespace

std::vector<SameNameFiles> filesDifferingInCase() {
    std::map<std::string, std::vector<std::string>> byLower;
    for (const std::string& name : plainFiles())
        if (endsWithTxt(name)) byLower[lowerAscii(name)].push_back(name);
    std::vector<SameNameFiles> out;
    for (auto& [lower, names] : byLower) {
        if (names.size() < 2) continue;
        // Sorted by bytes, the first is the one the lookup takes.
        out.push_back({names.front(), std::vector<std::string>(names.begin() + 1, names.end())});
    }
    return out;
}

std::string sameNameNotice(const std::vector<SameNameFiles>& groups) {
    std::string text =
        "このフォルダには、英字の大文字・小文字だけが違う同じ名前のファイルがあります。\n";
    for (const SameNameFiles& g : groups) {
        text += "\n";
        text += quoted(g.used);
        text += "を使います。";
        for (const std::string& other : g.others) text += quoted(other);
        text += "は読み書きしません。";
    }
    text +=
        "\n\n使わない方のファイルが必要なときは、ミトランを終了してから、"
        "内容を確かめて一つにまとめてください。";
    return text;
}

std::vector<CodedName> cp932NamedFiles() {
    std::vector<CodedName> out;
    for (const std::string& name : plainFiles()) {
        if (validUtf8(name)) continue;  // text already
        const std::string proper = decodeCp932(name);
        if (proper.find("\xEF\xBF\xBD") != std::string::npos || !endsWithTxt(proper)) continue;
        out.push_back({name, proper});
    }
    return out;
}

std::string properNamesQuestion(const std::vector<CodedName>& names) {
    constexpr std::size_t kNamesShown = 10;
    std::string text =
        "このフォルダには、Windowsで作られたZIPファイルから取り出したため、名前が正しく表示"
        "されないデータファイルがあります。\n";
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) {
        text += "\n";
        text += quoted(names[i].proper);
    }
    if (names.size() > kNamesShown)
        text += "\nほか" + std::to_string(names.size() - kNamesShown) + "件";
    text +=
        "\n\nこれらのファイルを正しい名前に変更しますか？\n"
        "（変更する前に、元のファイルをバックアップフォルダにコピーします。"
        "「キャンセル」を選ぶと何も変更しません）";
    return text;
}

IoResult giveProperNames(const std::vector<CodedName>& names, const LocalDateTime& now) {
    std::string failures;
    for (const CodedName& n : names) {
        if (fileExists(n.proper)) {
            failures += "\n";
            failures += quoted(n.proper);
            failures += "：同じ名前のファイルが既にあるため変更しません";
            continue;
        }
        IoResult step = backupBeforeDestroying(n.bytes, now, kBackupsKept, {}, nullptr, n.proper);
        if (step) step = renameFile(n.bytes, n.proper);
        if (!step) {
            failures += "\n";
            failures += quoted(n.proper);
            failures += "：" + step.reason;
        }
    }
    if (failures.empty()) return IoResult::success();
    return IoResult::failure("次のファイルは名前を変更できませんでした。" + failures);
}

std::optional<std::string> unreadableLinesNotice(std::string_view fileName, int skipped,
                                                 const std::vector<int>& lineNumbers) {
    if (skipped <= 0) return std::nullopt;
    const std::string actual = resolveName(fileName);
    if (!toldFiles().insert(actual).second) return std::nullopt;
    std::string lines;
    for (int n : lineNumbers) {
        if (!lines.empty()) lines += "・";
        lines += std::to_string(n) + "行目";
    }
    if (skipped > static_cast<int>(lineNumbers.size()))
        lines += "ほか、全部で" + std::to_string(skipped) + "行";
    return quoted(actual) + "の" + lines +
           "は読み取れなかったため、使っていません。\nファイルはそのまま残しています。";
}

void forgetUnreadableNotices() { toldFiles().clear(); }

}  // namespace mitoran
