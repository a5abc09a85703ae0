#pragma once

// The words the screens show, written once for every test that checks them word for word, so
// that a reworded message is changed here and nowhere else. One namespace per screen.

#include <QString>

namespace mitoran::texts {

inline const QString kWindowTitle = QStringLiteral("ミトラン");
// Every screen's explanations while the help tour is on.
inline const QString kHelpTourTitle = QStringLiteral("ヘルプツアー");

// The prompt screen: the caption of its confirm button says what the next press does.
namespace prompt {
inline const QString kNext = QStringLiteral("次へ");
inline const QString kLast = QStringLiteral("終わり");  // the last item of a round
inline const QString kSingle = QStringLiteral("終了");  // the one item of its round
}  // namespace prompt

// The edit panel: its item list, history clearing and play modes.
namespace edit {
inline const QString kSaveErrorTitle = QStringLiteral("保存エラー");
inline const QString kNameErrorTitle = QStringLiteral("項目名エラー");
inline const QString kAtLeastOne = QStringLiteral("必ず１以上を入力して下さい");
// The two upper limits differ in the width of their zeros.
inline const QString kAtMostThousandNew = QStringLiteral("必ず１000以下を入力して下さい");
inline const QString kAtMostThousandUpdate = QStringLiteral("必ず１０００以下を入力して下さい");
inline const QString kAtMostLargest =
    QStringLiteral("必ず２１４７４８３６４７以下を入力して下さい");
inline QString added(const QString& item) {
    return item + QStringLiteral(" の設定を新規登録しました");
}
inline QString updated(const QString& item) {
    return item + QStringLiteral(" の設定を更新しました");
}
inline QString askClear(const QString& item) {
    return item + QStringLiteral("の履歴データをクリアします。よろしいですか？");
}
inline QString cleared(const QString& item) {
    return item + QStringLiteral(" の履歴データをクリアしました");
}
inline QString askDelete(const QString& item) {
    return item + QStringLiteral("を削除します。よろしいですか？");
}
inline const QString kOrderSaved =
    QStringLiteral("並び替えた順番でトレーニング情報を保存しました。");
inline const QString kAskClearAll =
    QStringLiteral("全ての履歴データをクリアします。よろしいですか？");
inline const QString kClearedAll = QStringLiteral("全ての履歴データをクリアしました");
inline const QString kLaunchRandom = QStringLiteral("起動指定をランダムモードにしました");
inline const QString kLaunchDirect = QStringLiteral("起動指定をダイレクトモードにしました");
inline const QString kCountRandom = QStringLiteral("回数指定をランダムモードにしました");
inline QString launchInterval(int minutes) {
    return QStringLiteral("起動時間指定を　%1分　にしました").arg(minutes);
}
}  // namespace edit

// The history screen's caption of the list's order.
namespace history {
inline const QString kByDateUp = QStringLiteral("日付 昇順");
inline const QString kByDateDown = QStringLiteral("日付 降順");
inline const QString kByCountUp = QStringLiteral("回数 昇順");
inline const QString kByCountDown = QStringLiteral("回数 降順");
inline const QString kByTotalUp = QStringLiteral("累計 昇順");
inline const QString kByTotalDown = QStringLiteral("累計 降順");
}  // namespace history

}  // namespace mitoran::texts
