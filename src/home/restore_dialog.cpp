#include "home/restore_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidgetItem>
#include <algorithm>

#include "data/item_limit.h"
#include "data/records.h"
#include "home/edit_panel_common.h"
#include "home/item_validation.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_restore_dialog.h"

namespace mitoran {

using edit_panel::warn;

namespace {

const QString kTitleError = QStringLiteral("復元エラー");
const QString kDeletedMark = QStringLiteral("（削除済み）");

QTableWidgetItem* cell(const std::string& text, bool right = false) {
    auto* item = new QTableWidgetItem(qs(text));
    if (right) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

RestoreDialog::RestoreDialog(std::vector<std::string> registered, const std::string& chosen,
                             QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::RestoreDialog>()),
      registered_(std::move(registered)) {
    ui->setupUi(this);
    ui->lstBackup->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    // Registered items first, in list order, then the names only copies remember.
    for (const std::string& name : registered_) ui->cboItem->addItem(qs(name), qs(name));
    for (const std::string& name : namesWithOnlyBackups(registered_))
        ui->cboItem->addItem(qs(name) + kDeletedMark, qs(name));
    int start = ui->cboItem->findData(qs(chosen));
    for (int i = 0; start < 0 && i < ui->cboItem->count(); ++i)
        if (equalsIgnoringAsciiCase(utf8(ui->cboItem->itemData(i).toString()), chosen)) start = i;
    ui->cboItem->setCurrentIndex(std::max(start, 0));

    connect(ui->cboItem, &QComboBox::activated, this, &RestoreDialog::cboItem_Click);
    connect(ui->cmdRestore, &QPushButton::clicked, this, &RestoreDialog::cmdRestore_Click);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    listBackups();
}

RestoreDialog::~RestoreDialog() = default;

std::string RestoreDialog::chosenName() const {
    return utf8(ui->cboItem->currentData().toString());
}

bool RestoreDialog::chosenRegistered() const {
    return ui->cboItem->currentIndex() >= 0 &&
           ui->cboItem->currentIndex() < static_cast<int>(registered_.size());
}

void RestoreDialog::cboItem_Click(int) { listBackups(); }

void RestoreDialog::listBackups() {
    const std::string name = chosenName();
    entries_ = name.empty() ? std::vector<BackupEntry>{} : listItemBackups(name);
    QTableWidget* list = ui->lstBackup;
    list->setRowCount(0);
    list->setRowCount(static_cast<int>(entries_.size()));
    for (int row = 0; row < list->rowCount(); ++row) {
        const BackupEntry& e = entries_[static_cast<std::size_t>(row)];
        const HistoryContent& c = e.content;
        list->setItem(row, 0, cell(e.kind == BackupKind::Quick ? "クイックマッスル" : "実績履歴"));
        list->setItem(row, 1, cell(copyTimeText(e.copy)));
        std::string records = c.readable ? std::to_string(c.records) + "件" : "読み込めません";
        if (c.skipped > 0) records += "（読めない行 " + std::to_string(c.skipped) + "）";
        list->setItem(row, 2, cell(records, true));
        list->setItem(row, 3, cell(c.firstDate));
        list->setItem(row, 4, cell(c.lastDate));
        list->setItem(row, 5, cell(c.readable ? formatNumber(c.total) + "回" : "", true));
    }
    if (!entries_.empty()) list->selectRow(0);

    const bool addBack = !name.empty() && !chosenRegistered();
    ui->fraAddBack->setVisible(addBack);
    ui->cmdRestore->setEnabled(!entries_.empty());
    if (entries_.empty())
        ui->lblNote->setText(QStringLiteral("この項目のバックアップはありません。"));
    else if (addBack)
        ui->lblNote->setText(qs("「" + name +
                                "」は登録されていません。復元すると同じ名前の項目として追加し直し"
                                "ます。指定回数と目標回数を入力して下さい。"));
    else
        ui->lblNote->setText(QStringLiteral(
            "復元すると今の内容はバックアップに保存されるので、後から元に戻せます。"));
}

bool RestoreDialog::askedAddBack(ItemRecord& item) {
    if (static_cast<int>(registered_.size()) >= kItemLimit) {
        edit_panel::warnItemLimit();
        return false;
    }
    if (const auto problem = itemNameProblem(item.name, registered_)) {
        warn(qs(*problem), QStringLiteral("項目名エラー"));
        return false;
    }
    const TypedCount instructed = readTypedCount(utf8(ui->txtKaisu->text()), kMaxInstructed);
    const TypedCount target = readTypedCount(utf8(ui->txtMokuhyo->text()), kMaxTarget);
    if (!edit_panel::countsAccepted(instructed, target)) return false;
    item.instructed = static_cast<std::int16_t>(instructed.value);
    item.target = target.value;
    return true;
}

void RestoreDialog::cmdRestore_Click() {
    const int row = ui->lstBackup->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size())) {
        services().messageBox(QStringLiteral("復元するバックアップを選んで下さい"),
                              QStringLiteral("バックアップ未選択"), MsgIcon::Information,
                              MsgButtons::Ok);
        return;
    }
    const BackupEntry entry = entries_[static_cast<std::size_t>(row)];
    if (!entry.content.readable)
        return warn(QStringLiteral("このバックアップは読み込めないため、復元できません。\n") +
                        qs(entry.content.reason),
                    kTitleError);

    ItemRecord item{chosenName(), 0, 0};
    const bool addBack = !chosenRegistered();
    if (addBack && !askedAddBack(item)) return;

    const std::string file = restoredFileName(entry.kind, item.name);
    const HistoryContent current = readHistoryContent(entry.kind, file);
    if (services().messageBox(
            qs(restoreQuestion(item.name, entry, current, addBack ? &item : nullptr)),
            QStringLiteral("復元確認"), MsgIcon::Exclamation,
            MsgButtons::OkCancel) != MsgResult::Ok)
        return;

    std::string made;
    bool leftRestored = false;
    const IoResult done =
        addBack ? restoreDeletedItem(entry, item, services().now(), &made, &leftRestored)
                : restoreItemBackup(entry, item.name, services().now(), &made);
    if (!done) {
        // Only when undoing a half-done add-back failed too does the file differ; the reason says
        // so.
        return warn((leftRestored
                         ? QStringLiteral("項目を追加し直せませんでした。\n")
                         : QStringLiteral("復元できませんでした。ファイルは変更していません。\n")) +
                        qs(done.reason),
                    kTitleError);
    }

    if (addBack) {
        // The item is registered from now on: it moves to the registered part of the list.
        registered_.push_back(item.name);
        const QSignalBlocker block(ui->cboItem);
        const int at = ui->cboItem->currentIndex();
        ui->cboItem->removeItem(at);
        ui->cboItem->insertItem(static_cast<int>(registered_.size()) - 1, qs(item.name),
                                qs(item.name));
        ui->cboItem->setCurrentIndex(static_cast<int>(registered_.size()) - 1);
    }
    emit restored(item, addBack);
    listBackups();
    std::string told = "「" + file + "」をバックアップから復元しました。";
    if (!made.empty()) told += "\n復元前の内容は「" + made + "」に保存しました。";
    services().messageBox(qs(told), QStringLiteral("復元終了"), MsgIcon::Information,
                          MsgButtons::Ok);
}

}  // namespace mitoran
