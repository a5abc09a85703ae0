#include "home/item_validation.h"

#include "data/cp932.h"
#include "data/data_files.h"
#include "data/records.h"

namespace mitoran {

namespace {

// The longest name a directory entry may have on the file systems we run on (NAME_MAX), less
// room for what a safety copy adds to the name (a date and time stamp).
constexpr std::size_t kMaxFileNameBytes = 255;
constexpr std::size_t kTemporaryNameRoom = 32;

constexpr std::string_view kForbiddenChars = "\"/\\:*?<>|";

bool hasControlCharacter(std::string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (b < 0x20 || b == 0x7F) return true;
        // U+0080..U+009F, the second block of control characters, in UTF-8.
        if (b == 0xC2 && i + 1 < name.size()) {
            const auto next = static_cast<unsigned char>(name[i + 1]);
            if (next >= 0x80 && next <= 0x9F) return true;
        }
    }
    return false;
}

}  // namespace

bool isBlankText(std::string_view text) {
    static constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
        } else if (text.substr(i, kIdeographicSpace.size()) == kIdeographicSpace) {
            i += kIdeographicSpace.size();
        } else {
            return false;
        }
    }
    return true;
}

std::string normaliseItemName(std::string_view typed) { return normaliseForCp932(typed); }

std::optional<std::string> itemNameProblem(std::string_view name,
                                           const std::vector<std::string>& otherNames) {
    if (isBlankText(name)) return std::string("項目名を入力して下さい。");
    for (char c : name) {
        if (kForbiddenChars.find(c) != std::string_view::npos)
            return "項目名に「" + std::string(1, c) +
                   "」は使えません。\n（\" / \\ : * ? < > | は項目名に使えない文字です）";
    }
    if (hasControlCharacter(name))
        return std::string("項目名に改行やタブなどの制御文字は使えません。");
    if (name == "." || name == "..") return std::string("「.」と「..」は項目名に使えません。");
    // The item's history would be one of the program's own files, or another item's Quick
    // Muscle record: deleting or recording the item would destroy that file.
    if (isProgramFile(historyFileName(name)))
        return "「" + std::string(name) + "」はミトランが使うファイル「" + historyFileName(name) +
               "」と同じ名前になるため、項目名に使えません。";
    if (name.starts_with(kQuickPrefix))
        return "「" + std::string(kQuickPrefix) +
               "」で始まる名前はクイックマッスルの記録ファイルと重なるため、項目名に使えません。";
    std::string badChar;
    if (!encodeCp932(name, &badChar))
        return "項目名の文字「" + badChar +
               "」はデータファイルに保存できません。\n別の文字に置き換えて下さい。";
    if (quickFileName(name).size() + kTemporaryNameRoom > kMaxFileNameBytes)
        return std::string("項目名が長すぎます。もっと短い名前にして下さい。");
    for (const std::string& other : otherNames) {
        if (other != name && equalsIgnoringAsciiCase(other, name))
            return "項目名「" + std::string(name) + "」は登録済みの「" + other +
                   "」と英字の大文字・小文字だけが違うため使えません。";
    }
    return std::nullopt;
}

TypedCount readTypedCount(std::string_view text, std::int32_t limit) {
    const double value = leadingNumber(text);
    if (value < 1) return {CountCheck::BelowOne, 0};
    if (value > limit) return {CountCheck::AboveLimit, 0};
    // 1 <= value <= limit, so the nearest whole number stays within 1..limit.
    return {CountCheck::Ok, static_cast<std::int32_t>(roundHalfEven(value))};
}

}  // namespace mitoran
