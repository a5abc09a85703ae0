#include "app/startup.h"

#include <QString>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/pctm.h"
#include "app/screens.h"
#include "data/data_folder.h"
#include "data/file_io.h"
#include "data/message_text.h"
#include "session/frmMain.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"

namespace mitoran {
namespace {

const QString kProgramTitle = QStringLiteral("ミトラン");

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
        return IoResult::failure(mitoran::quoted(history) + "を作成できません。（" +
                                 created.reason + "）");
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

IoResult CheckDataAtStartup() {
    bool itemListFailed = false;
    return checkData(&itemListFailed);
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
