#include "home/edit_panel_common.h"

#include "app/pctm.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"

namespace mitoran::edit_panel {

const QString kTitleSaveError = QStringLiteral("保存エラー");
const QString kNoSelection = QStringLiteral("先に項目を選んで下さい");
const QString kTitleNoSelection = QStringLiteral("項目未選定");
const QString kBelowOne = QStringLiteral("必ず１以上を入力して下さい");
const QString kTitleBelowOne = QStringLiteral("下限値制限");
const QString kTitleAboveLimit = QStringLiteral("上限値制限");
const QString kTargetAboveLimit = QStringLiteral("必ず２１４７４８３６４７以下を入力して下さい");

void inform(const QString& text, const QString& title) {
    services().messageBox(text, title, MsgIcon::Information, MsgButtons::Ok);
}
void warn(const QString& text, const QString& title) {
    services().messageBox(text, title, MsgIcon::Exclamation, MsgButtons::Ok);
}
bool confirm(const QString& text, const QString& title) {
    return services().messageBox(text, title, MsgIcon::Exclamation, MsgButtons::OkCancel) ==
           MsgResult::Ok;
}

void tellWriteFailure(const QString& what, const std::string& reason) {
    warn(what + QStringLiteral("\n") + qs(reason), kTitleSaveError);
}

void warnItemLimit() {
    warn(QStringLiteral("登録できる項目数は２０項目までです。"), QStringLiteral("項目数上限制約"));
}

bool countsAccepted(const TypedCount& instructed, const TypedCount& target) {
    if (instructed.check == CountCheck::BelowOne) {
        warn(kBelowOne, kTitleBelowOne);
        return false;
    }
    if (instructed.check == CountCheck::AboveLimit) {
        warn(QStringLiteral("必ず１０００以下を入力して下さい"), kTitleAboveLimit);
        return false;
    }
    if (target.check == CountCheck::BelowOne) {
        warn(kBelowOne, kTitleBelowOne);
        return false;
    }
    if (target.check == CountCheck::AboveLimit) {
        warn(kTargetAboveLimit, kTitleAboveLimit);
        return false;
    }
    return true;
}

void reloadItemsOrAssume(const std::vector<ItemRecord>& written) {
    if (!LoadItemList()) PCTM.setItems(written);
}

}  // namespace mitoran::edit_panel
