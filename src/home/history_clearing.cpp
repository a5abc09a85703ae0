#include "home/history_clearing.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <utility>

#include "app/pctm.h"
#include "home/edit_panel_common.h"
#include "home/item_files.h"
#include "home/item_validation.h"
#include "home/restore_dialog.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_history_clearing.h"

namespace mitoran {

using namespace edit_panel;

HistoryClearing::HistoryClearing(QWidget* parent)
    : QGroupBox(parent), ui(std::make_unique<Ui::HistoryClearing>()) {
    ui->setupUi(this);  // names this box fraRireki
    // A typed name stays as typed: completing it to another item would clear the wrong history.
    ui->cboKoumoku->setCompleter(nullptr);
    ui->cboKoumoku->lineEdit()->setAccessibleName(QStringLiteral("履歴を表示する項目"));

    connect(ui->cboKoumoku, &QComboBox::activated, this, [this](int index) {
        if (!filling_) cboKoumoku_Click(index);
    });
    connect(ui->cmdClear, &QPushButton::clicked, this, &HistoryClearing::cmdClear_Click);
    connect(ui->cmdAllClear, &QPushButton::clicked, this, &HistoryClearing::cmdAllClear_Click);
    connect(ui->cmdRestore, &QPushButton::clicked, this, &HistoryClearing::cmdRestore_Click);
}

HistoryClearing::~HistoryClearing() = default;

void HistoryClearing::showFirstItem() {
    fillItemCombo();
    ui->lstRireki->clear();
    if (PCTM.ItemCount() >= 1) {
        PCTM.CurrentItem = 1;
        const QSignalBlocker block(ui->cboKoumoku);
        ui->cboKoumoku->setCurrentIndex(0);
        ui->cboKoumoku->setEditText(qs(PCTM.ItemNames(1)));
        ShowItemHistoryList();
    } else {
        ui->cboKoumoku->setEditText(QString());
    }
}

void HistoryClearing::fillItemCombo() {
    filling_ = true;
    const QSignalBlocker block(ui->cboKoumoku);
    ui->cboKoumoku->clear();
    for (int i = 1; i <= PCTM.ItemCount(); ++i) ui->cboKoumoku->addItem(qs(PCTM.ItemNames(i)));
    filling_ = false;
}

void HistoryClearing::addItem(const QString& name) {
    const QSignalBlocker block(ui->cboKoumoku);
    const QString comboText = ui->cboKoumoku->currentText();
    ui->cboKoumoku->addItem(name);
    ui->cboKoumoku->setEditText(comboText);
}

void HistoryClearing::renameItem(int item, const QString& oldName, const QString& newName) {
    {
        const QSignalBlocker block(ui->cboKoumoku);
        const bool listed =
            ui->cboKoumoku->currentIndex() == item - 1 && ui->cboKoumoku->currentText() == oldName;
        ui->cboKoumoku->setItemText(item - 1, newName);
        if (listed) ui->cboKoumoku->setEditText(newName);
    }
    // The history screen may have moved CurrentItem on; the list belongs to the combo's item.
    if (ui->cboKoumoku->currentIndex() == item - 1) cboKoumoku_Click(item - 1);
}

void HistoryClearing::followReorder() {
    const QString comboText = ui->cboKoumoku->currentText();
    fillItemCombo();
    const QSignalBlocker block(ui->cboKoumoku);
    const int listed = ui->cboKoumoku->findText(comboText, Qt::MatchExactly);
    if (listed >= 0) {
        ui->cboKoumoku->setCurrentIndex(listed);
        PCTM.CurrentItem = static_cast<std::int16_t>(listed + 1);
    }
    ui->cboKoumoku->setEditText(comboText);
}

void HistoryClearing::followReload() {
    fillItemCombo();
    PCTM.CurrentItem = PCTM.ItemCount() >= 1 ? 1 : 0;
    ui->cboKoumoku->setEditText(PCTM.ItemCount() >= 1 ? qs(PCTM.ItemNames(1)) : QString());
    ShowItemHistoryList();
}

void HistoryClearing::ShowItemHistoryList() {
    ui->lstRireki->clear();
    const int k = PCTM.CurrentItem;
    if (!PCTM.hasItem(k)) return;
    const Loaded<HistoryRecord> history = readHistory(PCTM.ItemNames(k));
    if (history.status == ReadStatus::Error) {
        warn(qs("「" + PCTM.ItemNames(k) + "」の履歴を読み込めませんでした。\n" + history.reason),
             QStringLiteral("読み込みエラー"));
        return;
    }
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(history.records.size()));
    int number = 0;
    for (const HistoryRecord& record : history.records)
        lines << QString::number(++number) + QStringLiteral(" _ ") + qs(record.date) +
                     QStringLiteral(" _ ") + qs(record.time) + QStringLiteral(" _ ") +
                     qs(record.countText);
    ui->lstRireki->addItems(lines);
}

void HistoryClearing::cboKoumoku_Click(int index) {
    if (index < 0 || index >= PCTM.ItemCount()) return;
    PCTM.CurrentItem = static_cast<std::int16_t>(index + 1);
    ShowItemHistoryList();
}

void HistoryClearing::cmdClear_Click() {
    const std::string typed = utf8(ui->cboKoumoku->currentText());
    if (isBlankText(typed)) return inform(kNoSelection, kTitleNoSelection);
    // A typed name must be a registered item: clearing anything else would leave a stray file.
    int item = 0;
    for (int i = 1; i <= PCTM.ItemCount() && item == 0; ++i)
        if (PCTM.ItemNames(i) == typed) item = i;
    for (int i = 1; i <= PCTM.ItemCount() && item == 0; ++i)
        if (equalsIgnoringAsciiCase(PCTM.ItemNames(i), typed)) item = i;
    if (item == 0)
        return inform(qs(typed) + QStringLiteral(" という項目は登録されていません"),
                      kTitleNoSelection);

    const std::string name = PCTM.ItemNames(item);
    if (!confirm(qs(name) + QStringLiteral("の履歴データをクリアします。よろしいですか？"),
                 QStringLiteral("クリア確認")))
        return;
    const IoResult cleared = clearItemHistory(name, services().now());
    if (!cleared)
        return tellWriteFailure(qs("「" + name + "」の履歴データをクリアできませんでした。"),
                                cleared.reason);
    PCTM.CurrentItem = static_cast<std::int16_t>(item);
    ShowItemHistoryList();
    emit itemsChanged();
    inform(qs(name) + QStringLiteral(" の履歴データをクリアしました"),
           QStringLiteral("クリア終了"));
}

void HistoryClearing::cmdAllClear_Click() {
    if (!confirm(QStringLiteral("全ての履歴データをクリアします。よろしいですか？"),
                 QStringLiteral("クリア確認")))
        return;
    const std::vector<std::string> names = PCTM.itemNames();
    const IoResult cleared = clearAllHistories(names, services().now());
    // What is left on disk after a failure, for the item the combo names (the history screen
    // may have moved CurrentItem to another); without one, nothing is listed.
    ui->lstRireki->clear();
    cboKoumoku_Click(ui->cboKoumoku->currentIndex());
    emit itemsChanged();
    if (!cleared)
        return tellWriteFailure(QStringLiteral("履歴データをクリアできませんでした。"),
                                cleared.reason);
    inform(QStringLiteral("全ての履歴データをクリアしました"), QStringLiteral("クリア終了"));
}

void HistoryClearing::cmdRestore_Click() {
    std::vector<std::string> names = PCTM.itemNames();
    // Window-modal but not a nested loop: the panel's handler returns at once.
    auto* dialog = new RestoreDialog(std::move(names), utf8(ui->cboKoumoku->currentText()), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &RestoreDialog::restored, this, &HistoryClearing::showRestored);
    dialog->open();
}

void HistoryClearing::showRestored(const ItemRecord& item, bool addedBack) {
    if (addedBack) {
        emit itemAddedBack(qs(item.name));
        {
            const QSignalBlocker block(ui->cboKoumoku);
            ui->cboKoumoku->addItem(qs(item.name));
        }
        std::vector<ItemRecord> written = PCTM.items();
        written.push_back(item);
        reloadItemsOrAssume(written);
    }
    // The history list shows the restored item.
    int n = 0;
    for (int i = 1; i <= PCTM.ItemCount() && n == 0; ++i)
        if (equalsIgnoringAsciiCase(PCTM.ItemNames(i), item.name)) n = i;
    if (n > 0) {
        const QSignalBlocker block(ui->cboKoumoku);
        ui->cboKoumoku->setCurrentIndex(n - 1);
        ui->cboKoumoku->setEditText(qs(PCTM.ItemNames(n)));
        cboKoumoku_Click(n - 1);
    }
    emit itemsChanged();
    emit historyRestored();
}

}  // namespace mitoran
