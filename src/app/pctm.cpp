#include "app/pctm.h"

#include <QString>
#include <algorithm>
#include <cmath>

#include "app/screens.h"
#include "data/data_folder.h"
#include "data/item_limit.h"
#include "data/message_text.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "home/help_window.h"
#include "session/frmMain.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"

namespace mitoran {

Pctm PCTM;

namespace {

// Why a required file could not be loaded, naming the file.
template <class T>
std::string loadFailure(std::string_view file, const Loaded<T>& loaded) {
    if (loaded.status == ReadStatus::Missing) return mitoran::quoted(file) + "が見つかりません。";
    std::string why = mitoran::quoted(file) + "を読み込めません。";
    if (!loaded.reason.empty()) why += "（" + loaded.reason + "）";
    return why;
}

}  // namespace

IoResult LoadItemList() {
    Loaded<ItemRecord> loaded = readItemList();
    if (!loaded.ok()) return IoResult::failure(loadFailure(kItemListFile, loaded));
    // The prompt screen has slots for 20 items; more would overrun it, and dropping the rest
    // would lose them at the next rewrite of the list.
    if (loaded.records.size() > static_cast<std::size_t>(kItemLimit))
        return IoResult::failure(mitoran::quoted(kItemListFile) + "の項目が" +
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
        return IoResult::failure(mitoran::quoted(kPlaySettingsFile) + "に有効な設定がありません。");
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
        return IoResult::failure(mitoran::quoted(kSettingsFile) + "に有効な設定がありません。");
    PCTM.HelpTourOn = loaded.records.front().helpTour;
    return IoResult::success();
}

void resetRun() {
    HelpWindow::closeAll();
    screens::closeScreen(screens::historyScreen());
    screens::closeScreen(screens::promptScreen());
    screens::closeScreen(screens::homeScreen());
    PCTM = Pctm{};
    // Kept by the data layer, which has no Qt and so cannot live in the holder.
    forgetUnreadableNotices();
}

void WaitSeconds(float seconds) { services().waitSeconds(seconds); }

void ShowHelpTourMessage() {
    if (PCTM.HelpTourOn == 0) return;
    services().messageBox(qs(PCTM.HelpTourMessage), QStringLiteral("ヘルプツアー"),
                          MsgIcon::Information, MsgButtons::Ok);
}

}  // namespace mitoran
