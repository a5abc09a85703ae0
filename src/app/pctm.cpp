#include "app/pctm.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "app/screens.h"
#include "data/data_folder.h"
#include "data/file_io.h"
#include "data/item_limit.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "session/frmMain.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"

namespace mitoran {

Pctm PCTM;

namespace {

const QString kProgramTitle = QStringLiteral("ミトラン");

std::string named(std::string_view file) { return "「" + std::string(file) + "」"; }

// Why a required file could not be loaded, naming the file.
template <class T>
std::string loadFailure(std::string_view file, const Loaded<T>& loaded) {
    if (loaded.status == ReadStatus::Missing) return named(file) + "が見つかりません。";
    std::string why = named(file) + "を読み込めません。";
    if (!loaded.reason.empty()) why += "（" + loaded.reason + "）";
    return why;
}

std::string workingFolder() {
    std::error_code ec;
    auto p = std::filesystem::current_path(ec);
    return ec ? std::string("（不明）") : p.string();
}

// Start-up cannot go on without this file: say which one, and where it was looked for.
void reportStartupFailure(const IoResult& r) {
    const std::string text =
        r.reason + "\r\nフォルダ：" + workingFolder() + "\r\n\r\nミトランを起動できません。";
    services().messageBox(qs(text), kProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok);
}

// The work of CheckDataAtStartup; tells apart a failed item list (start-up cannot go on) from a
// history file that could not be created (the round will report its own writes).
IoResult checkData(bool* itemListFailed) {
    *itemListFailed = false;
    IoResult r = LoadItemList();
    if (!r) {
        *itemListFailed = true;
        return r;
    }
    if (PCTM.ItemCount() < 1) return IoResult::success();
    const std::string history = historyFileName(PCTM.ItemNames(1));
    IoResult created = createIfMissing(history);
    if (!created)
        return IoResult::failure(named(history) + "を作成できません。（" + created.reason + "）");
    return IoResult::success();
}

// Before any file is read: data files whose names an unzip left in CP932 are offered their proper
// names, and files under two spellings are told of, once a run.
void checkFolder() {
    if (const std::vector<CodedName> coded = cp932NamedFiles(); !coded.empty()) {
        const MsgResult answer =
            services().messageBox(qs(properNamesQuestion(coded)), kProgramTitle,
                                  MsgIcon::Exclamation, MsgButtons::OkCancel);
        if (answer == MsgResult::Ok) {
            if (IoResult renamed = giveProperNames(coded, services().now()); !renamed)
                services().messageBox(qs(renamed.reason), kProgramTitle, MsgIcon::Exclamation,
                                      MsgButtons::Ok);
        }
    }
    if (const std::vector<SameNameFiles> same = filesDifferingInCase(); !same.empty())
        services().messageBox(qs(sameNameNotice(same)), kProgramTitle, MsgIcon::Information,
                              MsgButtons::Ok);
}

}  // namespace

IoResult LoadItemList() {
    Loaded<ItemRecord> loaded = readItemList();
    if (!loaded.ok()) return IoResult::failure(loadFailure(kItemListFile, loaded));
    // The prompt screen has slots for 20 items; more would overrun it, and dropping the rest
    // would lose them at the next rewrite of the list.
    if (loaded.records.size() > static_cast<std::size_t>(kItemLimit))
        return IoResult::failure(named(kItemListFile) + "の項目が" +
                                 std::to_string(loaded.records.size()) + "件あります。項目は" +
                                 std::to_string(kItemLimit) + "件までです。");

    PCTM.setItems(std::move(loaded.records));
    PCTM.ItemListUnreadable = loaded.skipped;
    PCTM.ItemListUnreadableLines = std::move(loaded.skippedLines);
    return IoResult::success();
}

IoResult LoadPlaySettings() {
    Loaded<PlaySettings> loaded = readPlaySettings();
    if (!loaded.ok()) return IoResult::failure(loadFailure(kPlaySettingsFile, loaded));
    if (loaded.records.empty())
        return IoResult::failure(named(kPlaySettingsFile) + "に有効な設定がありません。");
    const PlaySettings& s = loaded.records.front();
    // A hand-edited value outside what the edit panel can show would make the panel and the
    // real launch disagree: an unknown mode is the first one, the interval a whole 1..60.
    PCTM.LaunchMode = (s.launchMode >= 0 && s.launchMode <= 2) ? s.launchMode : 0;
    PCTM.CountMode = (s.countMode == 0 || s.countMode == 1) ? s.countMode : 0;
    PCTM.LaunchInterval = std::clamp(std::round(s.interval), 1.0f, 60.0f);
    return IoResult::success();
}

IoResult LoadSettings() {
    Loaded<SettingsRecord> loaded = readSettings();
    if (!loaded.ok()) return IoResult::failure(loadFailure(kSettingsFile, loaded));
    if (loaded.records.empty())
        return IoResult::failure(named(kSettingsFile) + "に有効な設定がありません。");
    PCTM.HelpTourOn = loaded.records.front().helpTour;
    return IoResult::success();
}

IoResult CheckDataAtStartup() {
    bool itemListFailed = false;
    return checkData(&itemListFailed);
}

void resetRun() {
    screens::closeScreen(screens::historyScreen());
    screens::closeScreen(screens::promptScreen());
    screens::closeScreen(screens::homeScreen());
    PCTM = Pctm{};
}

void WaitSeconds(float seconds) { services().waitSeconds(seconds); }

void ShowHelpTourMessage() {
    if (PCTM.HelpTourOn == 0) return;
    services().messageBox(qs(PCTM.HelpTourMessage), QStringLiteral("ヘルプツアー"),
                          MsgIcon::Information, MsgButtons::Ok);
}

int Main() {
    services().processEvents();
    checkFolder();

    bool itemListFailed = false;
    IoResult r = checkData(&itemListFailed);
    if (!r) {
        if (itemListFailed) {
            reportStartupFailure(r);
            return 1;
        }
        // Not fatal: the first set recorded creates the file, or reports why it cannot.
        services().messageBox(qs(r.reason), kProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    }
    if (auto notice = unreadableLinesNotice(kItemListFile, PCTM.ItemListUnreadable,
                                            PCTM.ItemListUnreadableLines))
        services().messageBox(
            qs(*notice + "\n項目を変更するときは、" +
               "その前のファイルをバックアップフォルダにコピーしてから書き換えます。"),
            kProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    r = LoadSettings();
    if (!r) {
        reportStartupFailure(r);
        return 1;
    }
    // The prompt screen reads these again, but a missing file must stop the start here.
    r = LoadPlaySettings();
    if (!r) {
        reportStartupFailure(r);
        return 1;
    }

    if (frmMain* prompt = screens::openPromptScreen(Qt::WindowNoState)) {
        services().showWindow(prompt);
    } else if (!screens::homeScreen()) {
        // The prompt screen refused and opened nothing in its place: never run without a window.
        screens::openHomeScreen();
    }
    return 0;
}

}  // namespace mitoran
