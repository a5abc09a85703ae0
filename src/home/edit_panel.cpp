#include "home/edit_panel.h"

#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "app/pctm.h"
#include "data/records.h"
#include "home/item_files.h"
#include "home/item_list_edit.h"
#include "home/item_validation.h"
#include "home/restore_dialog.h"
#include "ui/keyboard.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_edit_panel.h"

namespace mitoran {

namespace {

constexpr int kMaxItems = 20;
constexpr int kKeyEnter = 13;
const QColor kUnsavedOrderColour(255, 224, 192);

const QString kTitleSaveError = QStringLiteral("保存エラー");
const QString kTitleDone = QStringLiteral("設定保存終了");
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

// The number of items the shared arrays really hold, whatever ItemCount claims.
int itemCount() {
    const int held = static_cast<int>(std::min({PCTM.ItemNames.size(), PCTM.ItemInstructed.size(),
                                                PCTM.ItemTarget.size()})) -
                     1;
    return std::clamp<int>(PCTM.ItemCount, 0, std::max(held, 0));
}

void setItemArrays(const std::vector<ItemRecord>& items) {
    PCTM.ItemNames.assign(1, std::string());
    PCTM.ItemInstructed.assign(1, 0);
    PCTM.ItemTarget.assign(1, 0);
    for (const ItemRecord& item : items) {
        PCTM.ItemNames.push_back(item.name);
        PCTM.ItemInstructed.push_back(item.instructed);
        PCTM.ItemTarget.push_back(item.target);
    }
    PCTM.ItemCount = static_cast<std::int16_t>(items.size());
}

// After a successful write the arrays must follow the file; when the file cannot be read back,
// what was just written is what it holds.
void reloadItemsOrAssume(const std::vector<ItemRecord>& written) {
    if (!LoadItemList()) setItemArrays(written);
}

PlaySettings currentPlaySettings() {
    return {PCTM.LaunchMode, PCTM.CountMode, PCTM.LaunchInterval};
}

}  // namespace

EditPanel::EditPanel(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::EditPanel>()) {
    ui->setupUi(this);  // names this widget fraSettei
    // A typed name stays as typed: completing it to another item would clear the wrong history.
    ui->cboKoumoku->setCompleter(nullptr);
    ui->cboKoumoku->lineEdit()->setAccessibleName(QStringLiteral("履歴を表示する項目"));

    auto* timGroup = new QButtonGroup(this);
    timGroup->addButton(ui->optTim_0, 0);
    timGroup->addButton(ui->optTim_1, 1);
    timGroup->addButton(ui->optTim_2, 2);
    connect(timGroup, &QButtonGroup::idClicked, this, &EditPanel::optTim_Click);
    tabToCheckedButton(timGroup);
    auto* kaisuGroup = new QButtonGroup(this);
    kaisuGroup->addButton(ui->optKaisu_0, 0);
    kaisuGroup->addButton(ui->optKaisu_1, 1);
    connect(kaisuGroup, &QButtonGroup::idClicked, this, &EditPanel::optKaisu_Click);
    tabToCheckedButton(kaisuGroup);

    connect(ui->lstKoumoku, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_) lstKoumoku_Click();
    });
    // Reordering follows the press and release positions rather than Qt's drag and drop, so an
    // entry can only land before another one.
    ui->lstKoumoku->viewport()->installEventFilter(this);
    ui->lstKoumoku->installEventFilter(this);
    ui->hsbTime->installEventFilter(this);

    connect(ui->cmdNew, &QPushButton::clicked, this, &EditPanel::cmdNew_Click);
    connect(ui->cmdHozon, &QPushButton::clicked, this, &EditPanel::cmdHozon_Click);
    connect(ui->cmdDel, &QPushButton::clicked, this, &EditPanel::cmdDel_Click);
    connect(ui->cmdSort, &QPushButton::clicked, this, &EditPanel::cmdSort_Click);
    connect(ui->cboKoumoku, &QComboBox::activated, this, [this](int index) {
        if (!filling_) cboKoumoku_Click(index);
    });
    connect(ui->cmdClear, &QPushButton::clicked, this, &EditPanel::cmdClear_Click);
    connect(ui->cmdAllClear, &QPushButton::clicked, this, &EditPanel::cmdAllClear_Click);
    connect(ui->cmdRestore, &QPushButton::clicked, this, &EditPanel::cmdRestore_Click);
    connect(ui->hsbTime, &QScrollBar::valueChanged, this, &EditPanel::hsbTime_Change);
}

EditPanel::~EditPanel() = default;

// ---- opening ----

void EditPanel::open() {
    fillItemLists();
    ui->lstRireki->clear();
    if (itemCount() >= 1) {
        PCTM.CurrentItem = 1;
        const QSignalBlocker block(ui->cboKoumoku);
        ui->cboKoumoku->setCurrentIndex(0);
        ui->cboKoumoku->setEditText(qs(PCTM.ItemNames[1]));
        ShowItemHistoryList();
    } else {
        ui->cboKoumoku->setEditText(QString());
    }
    showStoredModes();
    setVisible(true);

    // clang-format off
    const char* const lines[] = {
        "ここではトレーニングの項目の編集や各種操作モードの設定などが行えます。",
        "トレーニング起動モードで、タイミング起動にするか起動即表示にするかなどを指定します。",
        "トレーニング回数指定モードで、指定回数そのまま表示にするか、ランダム表示にするかを指定します。",
        "トレーニング履歴初期化にて過去の実績履歴データを消去します。",
        "登録状況確認枠にてトレーニングの新規登録や削除、並び替えや指定数、目標数の変更が行えます。",
        "サンプルデータで一通りのことがわかったらここでご自身のデータに作り変えましょう。",
    };
    // clang-format on
    std::string message;
    for (const char* line : lines) message += std::string(line) + "\r\n\r\n";
    PCTM.HelpTourMessage = message;
    ShowHelpTourMessage();
}

void EditPanel::fillItemLists() {
    filling_ = true;
    ui->lstKoumoku->clear();
    for (int i = 1; i <= itemCount(); ++i) ui->lstKoumoku->addItem(qs(PCTM.ItemNames[i]));
    filling_ = false;
    fillItemCombo();
    setOrderUnsaved(false);
}

// The combo box always lists the items in the order of the shared arrays, so that its
// positions are item indexes.
void EditPanel::fillItemCombo() {
    filling_ = true;
    const QSignalBlocker block(ui->cboKoumoku);
    ui->cboKoumoku->clear();
    for (int i = 1; i <= itemCount(); ++i) ui->cboKoumoku->addItem(qs(PCTM.ItemNames[i]));
    filling_ = false;
}

void EditPanel::setOrderUnsaved(bool unsaved) {
    orderUnsaved_ = unsaved;
    paintSortButton(unsaved);
}

void EditPanel::paintSortButton(bool unsaved) {
    if (unsaved) {
        QPalette palette = ui->cmdSort->palette();
        palette.setColor(QPalette::Button, kUnsavedOrderColour);
        ui->cmdSort->setPalette(palette);
        ui->cmdSort->setAutoFillBackground(true);
    } else {
        // An empty palette inherits again: the system's button face.
        ui->cmdSort->setPalette(QPalette());
        ui->cmdSort->setAutoFillBackground(false);
    }
}

void EditPanel::showStoredModes() {
    filling_ = true;
    (PCTM.CountMode == 1 ? ui->optKaisu_0 : ui->optKaisu_1)->setChecked(true);
    if (PCTM.LaunchMode == 1)
        ui->optTim_0->setChecked(true);
    else if (PCTM.LaunchMode == 0)
        ui->optTim_1->setChecked(true);
    else
        ui->optTim_2->setChecked(true);
    showStoredInterval();
    filling_ = false;
}

void EditPanel::showStoredInterval() {
    const double stored = PCTM.LaunchInterval;
    const int minutes =
        std::isfinite(stored) ? static_cast<int>(std::clamp(roundHalfEven(stored), 1.0, 60.0)) : 60;
    ui->hsbTime->setValue(minutes);
}

// ---- the item list ----

std::vector<ItemRecord> EditPanel::registeredItems() const {
    std::vector<ItemRecord> items;
    for (int i = 1; i <= itemCount(); ++i)
        items.push_back({PCTM.ItemNames[i], PCTM.ItemInstructed[i], PCTM.ItemTarget[i]});
    return items;
}

std::vector<std::string> EditPanel::listEntries() const {
    std::vector<std::string> entries;
    for (int row = 0; row < ui->lstKoumoku->count(); ++row)
        entries.push_back(utf8(ui->lstKoumoku->item(row)->text()));
    return entries;
}

int EditPanel::selectedItem() const {
    const int n = itemForEntry(listEntries(), ui->lstKoumoku->currentRow(), PCTM.ItemNames);
    return n <= itemCount() ? n : 0;
}

void EditPanel::lstKoumoku_Click() {
    const int n = selectedItem();
    if (n == 0) return;
    ui->txtKoumoku->setText(qs(PCTM.ItemNames[n]));
    ui->txtKaisu->setText(QString::number(PCTM.ItemInstructed[n]));
    ui->txtMokuhyo->setText(QString::number(PCTM.ItemTarget[n]));
}

int EditPanel::rowUnderPointer(const QPoint& viewportPos, bool nearest) const {
    QListWidget* list = ui->lstKoumoku;
    if (QListWidgetItem* item = list->itemAt(viewportPos)) return list->row(item);
    if (!nearest || list->count() == 0) return -1;
    // Released beside the entries: a list box keeps the entry nearest to the pointer selected.
    const QPoint inside(std::clamp(viewportPos.x(), 0, list->viewport()->width() - 1),
                        std::clamp(viewportPos.y(), 0, list->viewport()->height() - 1));
    if (QListWidgetItem* item = list->itemAt(inside)) return list->row(item);
    return list->count() - 1;  // below the last entry
}

bool EditPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->lstKoumoku->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QPoint pos = mouse->position().toPoint();
                if (event->type() == QEvent::MouseButtonPress)
                    lstKoumoku_MouseDown(rowUnderPointer(pos, false));
                else
                    lstKoumoku_MouseUp(rowUnderPointer(pos, true));
            }
        }
    } else if (watched == ui->lstKoumoku && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier &&
            (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            lstKoumoku_MoveByKey(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    } else if (watched == ui->hsbTime && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            hsbTime_KeyPress(kKeyEnter);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EditPanel::lstKoumoku_MouseDown(int row) {
    DragFromIndex = row;
    DragItemText = row >= 0 ? ui->lstKoumoku->item(row)->text() : QString();
}

void EditPanel::lstKoumoku_MouseUp(int row) {
    QListWidget* list = ui->lstKoumoku;
    const int from = DragFromIndex;
    DragFromIndex = -1;
    const auto position = dropPosition(from, row, list->count());
    if (!position || list->item(from)->text() != DragItemText) return;
    moveEntry(from, *position);
}

void EditPanel::lstKoumoku_MoveByKey(int step) {
    const int from = ui->lstKoumoku->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= ui->lstKoumoku->count()) return;
    moveEntry(from, to);
}

void EditPanel::moveEntry(int from, int to) {
    QListWidget* list = ui->lstKoumoku;
    filling_ = true;
    QListWidgetItem* moved = list->takeItem(from);
    list->insertItem(to, moved);
    list->setCurrentRow(to);
    filling_ = false;
    setOrderUnsaved(true);
    lstKoumoku_Click();
}

// ---- adding, changing, deleting, reordering ----

void EditPanel::cancelNew() {
    warn(QStringLiteral("新規追加をキャンセルします"), QStringLiteral("キャンセル"));
}

void EditPanel::tellWriteFailure(const QString& what, const std::string& reason) {
    warn(what + QStringLiteral("\n") + qs(reason), kTitleSaveError);
}

EditPanel::Answer EditPanel::askName(std::string& name) {
    for (;;) {
        const std::string typed = utf8(services().inputBox(QStringLiteral("項目名は何ですか？"),
                                                           QStringLiteral("項目名入力")));
        if (isBlankText(typed)) return Answer::Cancelled;
        name = normaliseItemName(typed);
        std::vector<std::string> others(PCTM.ItemNames.begin() + 1,
                                        PCTM.ItemNames.begin() + 1 + itemCount());
        const auto problem = itemNameProblem(name, others);
        if (!problem) return Answer::Given;
        warn(qs(*problem), QStringLiteral("項目名エラー"));
    }
}

EditPanel::Answer EditPanel::askCount(const QString& prompt, const QString& title,
                                      std::int32_t limit, const QString& aboveLimitText,
                                      std::int32_t& value) {
    for (;;) {
        const QString typed = services().inputBox(prompt, title);
        if (typed.isEmpty()) return Answer::Cancelled;
        const TypedCount count = readTypedCount(utf8(typed), limit);
        if (count.check == CountCheck::Ok) {
            value = count.value;
            return Answer::Given;
        }
        if (count.check == CountCheck::BelowOne)
            warn(kBelowOne, kTitleBelowOne);
        else
            warn(aboveLimitText, kTitleAboveLimit);
    }
}

void EditPanel::reloadAfterFailedWrite() {
    // What the file holds wins; the screen only changes when memory had drifted from it.
    const std::vector<ItemRecord> before = registeredItems();
    if (!LoadItemList()) return;
    const std::vector<ItemRecord> after = registeredItems();
    const bool same = std::equal(before.begin(), before.end(), after.begin(), after.end(),
                                 [](const ItemRecord& a, const ItemRecord& b) {
                                     return a.name == b.name && a.instructed == b.instructed &&
                                            a.target == b.target;
                                 });
    if (same) return;
    fillItemLists();
    ui->txtKoumoku->clear();
    ui->txtKaisu->clear();
    ui->txtMokuhyo->clear();
    PCTM.CurrentItem = itemCount() >= 1 ? 1 : 0;
    ui->cboKoumoku->setEditText(itemCount() >= 1 ? qs(PCTM.ItemNames[1]) : QString());
    ShowItemHistoryList();
    emit itemsChanged();
}

void EditPanel::cmdNew_Click() {
    if (ui->lstKoumoku->count() >= kMaxItems || itemCount() >= kMaxItems) {
        warn(QStringLiteral("登録できる項目数は２０項目までです。"),
             QStringLiteral("項目数上限制約"));
        return;
    }
    std::string name;
    std::int32_t instructed = 0;
    std::int32_t target = 0;
    if (askName(name) == Answer::Cancelled) return cancelNew();
    if (askCount(QStringLiteral("指示数をいくつにしますか？（半角文字で入力）"),
                 QStringLiteral("指示数入力"), kMaxInstructed,
                 QStringLiteral("必ず１000以下を入力して下さい"), instructed) == Answer::Cancelled)
        return cancelNew();
    if (askCount(QStringLiteral("目標数をいくつにしますか？（半角文字で入力）"),
                 QStringLiteral("目標数入力"), kMaxTarget, kTargetAboveLimit,
                 target) == Answer::Cancelled)
        return cancelNew();

    const ItemRecord record{name, static_cast<std::int16_t>(instructed), target};
    const IoResult appended = appendItem(record);
    if (!appended) {
        tellWriteFailure(QStringLiteral("項目一覧ファイルに新しい項目を書き込めませんでした。"),
                         appended.reason);
        reloadAfterFailedWrite();
        return;
    }
    // An existing history of this name is continued, never emptied.
    const IoResult created = createIfMissing(historyFileName(name));

    ui->lstKoumoku->addItem(qs(name));
    {
        const QSignalBlocker block(ui->cboKoumoku);
        const QString comboText = ui->cboKoumoku->currentText();
        ui->cboKoumoku->addItem(qs(name));
        ui->cboKoumoku->setEditText(comboText);
    }
    std::vector<ItemRecord> written = registeredItems();
    written.push_back(record);
    reloadItemsOrAssume(written);
    emit itemsChanged();

    if (!created)
        tellWriteFailure(qs("履歴ファイル「" + historyFileName(name) +
                            "」を作成できませんでした（最初の記録の時に作成します）。"),
                         created.reason);
    inform(qs(PCTM.ItemNames[itemCount()]) + QStringLiteral(" の設定を新規登録しました"),
           QStringLiteral("新規登録終了"));
}

void EditPanel::cmdHozon_Click() {
    const int row = ui->lstKoumoku->currentRow();
    const int n = selectedItem();
    const std::string newName = normaliseItemName(utf8(ui->txtKoumoku->text()));
    if (row < 0 || n == 0 || isBlankText(newName)) {
        inform(kNoSelection, kTitleNoSelection);
        return;
    }
    const TypedCount instructed = readTypedCount(utf8(ui->txtKaisu->text()), kMaxInstructed);
    if (instructed.check == CountCheck::BelowOne) return warn(kBelowOne, kTitleBelowOne);
    if (instructed.check == CountCheck::AboveLimit)
        return warn(QStringLiteral("必ず１０００以下を入力して下さい"), kTitleAboveLimit);
    const TypedCount target = readTypedCount(utf8(ui->txtMokuhyo->text()), kMaxTarget);
    if (target.check == CountCheck::BelowOne) return warn(kBelowOne, kTitleBelowOne);
    if (target.check == CountCheck::AboveLimit) return warn(kTargetAboveLimit, kTitleAboveLimit);

    const std::string oldName = PCTM.ItemNames[n];
    if (newName != oldName) {
        std::vector<std::string> others;
        for (int i = 1; i <= itemCount(); ++i)
            if (i != n) others.push_back(PCTM.ItemNames[i]);
        if (const auto problem = itemNameProblem(newName, others))
            return warn(qs(*problem), QStringLiteral("項目名エラー"));
    }

    std::vector<ItemRecord> items = registeredItems();
    items[n - 1] = {newName, static_cast<std::int16_t>(instructed.value), target.value};
    const ChangeResult stored = storeRenamedItem(
        items, oldName, newName, nameUsedByOtherItem(PCTM.ItemNames, n, oldName), services().now());
    if (stored.outcome == ChangeOutcome::NameTaken)
        return warn(qs(stored.reason), QStringLiteral("項目名変更不可"));
    if (stored.outcome == ChangeOutcome::Failed) {
        tellWriteFailure(QStringLiteral("項目の変更を保存できませんでした。"), stored.reason);
        reloadAfterFailedWrite();
        return;
    }

    PCTM.ItemNames[n] = newName;
    PCTM.ItemInstructed[n] = items[n - 1].instructed;
    PCTM.ItemTarget[n] = items[n - 1].target;
    ui->lstKoumoku->item(row)->setText(qs(newName));
    {
        const QSignalBlocker block(ui->cboKoumoku);
        const bool listed =
            ui->cboKoumoku->currentIndex() == n - 1 && ui->cboKoumoku->currentText() == qs(oldName);
        ui->cboKoumoku->setItemText(n - 1, qs(newName));
        if (listed) ui->cboKoumoku->setEditText(qs(newName));
    }
    // The boxes show what was stored: the whole numbers and the name as written.
    ui->txtKoumoku->setText(qs(newName));
    ui->txtKaisu->setText(QString::number(PCTM.ItemInstructed[n]));
    ui->txtMokuhyo->setText(QString::number(PCTM.ItemTarget[n]));
    // The history screen may have moved CurrentItem on; the list belongs to the combo's item.
    if (ui->cboKoumoku->currentIndex() == n - 1) cboKoumoku_Click(n - 1);
    emit itemsChanged();
    inform(ui->txtKoumoku->text() + QStringLiteral(" の設定を更新しました"),
           QStringLiteral("設定更新終了"));
}

void EditPanel::cmdDel_Click() {
    const int row = ui->lstKoumoku->currentRow();
    const int n = selectedItem();
    if (row < 0 || n == 0 || isBlankText(utf8(ui->txtKoumoku->text()))) {
        inform(kNoSelection, kTitleNoSelection);
        return;
    }
    const std::string name = PCTM.ItemNames[n];
    if (!confirm(qs(name) + QStringLiteral("を削除します。よろしいですか？"),
                 QStringLiteral("クリア確認")))
        return;

    std::vector<ItemRecord> items = registeredItems();
    const bool deleteFiles = !nameUsedByOtherItem(PCTM.ItemNames, n, name);
    items.erase(items.begin() + (n - 1));
    const ChangeResult deleted = deleteItem(items, name, deleteFiles, services().now());
    if (deleted.outcome != ChangeOutcome::Stored) {
        tellWriteFailure(qs("「" + name + "」を削除できませんでした。"), deleted.reason);
        reloadAfterFailedWrite();
        return;
    }
    reloadItemsOrAssume(items);

    fillItemLists();
    ui->lstRireki->clear();
    if (itemCount() >= 1) {
        const QSignalBlocker block(ui->cboKoumoku);
        ui->cboKoumoku->setCurrentIndex(0);
        ui->cboKoumoku->setEditText(qs(PCTM.ItemNames[1]));
        PCTM.CurrentItem = 1;
        ShowItemHistoryList();
    } else {
        ui->cboKoumoku->setEditText(QString());
    }
    ui->txtKoumoku->clear();
    ui->txtKaisu->clear();
    ui->txtMokuhyo->clear();
    emit itemsChanged();
    if (!deleted.reason.empty())
        tellWriteFailure(qs("「" + name + "」の履歴ファイルを削除できませんでした。"),
                         deleted.reason);
}

void EditPanel::cmdSort_Click() {
    const std::vector<ItemRecord> ordered = recordsInListOrder(listEntries(), registeredItems());
    const IoResult written = saveItemList(ordered, services().now());
    if (!written) {
        tellWriteFailure(QStringLiteral("並び替えた順番を保存できませんでした。"), written.reason);
        reloadAfterFailedWrite();
        return;
    }
    const int row = ui->lstKoumoku->currentRow();
    const QString comboText = ui->cboKoumoku->currentText();
    reloadItemsOrAssume(ordered);

    fillItemLists();
    filling_ = true;
    ui->lstKoumoku->setCurrentRow(row < ui->lstKoumoku->count() ? row : -1);
    filling_ = false;
    {
        const QSignalBlocker block(ui->cboKoumoku);
        const int listed = ui->cboKoumoku->findText(comboText, Qt::MatchExactly);
        if (listed >= 0) {
            ui->cboKoumoku->setCurrentIndex(listed);
            PCTM.CurrentItem = static_cast<std::int16_t>(listed + 1);
        }
        ui->cboKoumoku->setEditText(comboText);
    }
    emit itemsChanged();
    // The button keeps its colour until the user has read that the order is stored.
    paintSortButton(true);
    inform(QStringLiteral("並び替えた順番でトレーニング情報を保存しました。"),
           QStringLiteral("並び替え完了"));
    paintSortButton(false);
}

// ---- histories ----

void EditPanel::ShowItemHistoryList() {
    ui->lstRireki->clear();
    const int k = PCTM.CurrentItem;
    if (k < 1 || k > itemCount()) return;
    const Loaded<HistoryRecord> history = readHistory(PCTM.ItemNames[k]);
    if (history.status == ReadStatus::Error) {
        warn(qs("「" + PCTM.ItemNames[k] + "」の履歴を読み込めませんでした。\n" + history.reason),
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

void EditPanel::cboKoumoku_Click(int index) {
    if (index < 0 || index >= itemCount()) return;
    PCTM.CurrentItem = static_cast<std::int16_t>(index + 1);
    ShowItemHistoryList();
}

void EditPanel::cmdClear_Click() {
    const std::string typed = utf8(ui->cboKoumoku->currentText());
    if (isBlankText(typed)) return inform(kNoSelection, kTitleNoSelection);
    // A typed name must be a registered item: clearing anything else would leave a stray file.
    int item = 0;
    for (int i = 1; i <= itemCount() && item == 0; ++i)
        if (PCTM.ItemNames[i] == typed) item = i;
    for (int i = 1; i <= itemCount() && item == 0; ++i)
        if (equalsIgnoringAsciiCase(PCTM.ItemNames[i], typed)) item = i;
    if (item == 0)
        return inform(qs(typed) + QStringLiteral(" という項目は登録されていません"),
                      kTitleNoSelection);

    const std::string name = PCTM.ItemNames[item];
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

void EditPanel::cmdAllClear_Click() {
    if (!confirm(QStringLiteral("全ての履歴データをクリアします。よろしいですか？"),
                 QStringLiteral("クリア確認")))
        return;
    const std::vector<std::string> names(PCTM.ItemNames.begin() + 1,
                                         PCTM.ItemNames.begin() + 1 + itemCount());
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

void EditPanel::cmdRestore_Click() {
    std::vector<std::string> names(PCTM.ItemNames.begin() + 1,
                                   PCTM.ItemNames.begin() + 1 + itemCount());
    // Window-modal but not a nested loop: the panel's handler returns at once.
    auto* dialog = new RestoreDialog(std::move(names), utf8(ui->cboKoumoku->currentText()), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &RestoreDialog::restored, this, &EditPanel::showRestored);
    dialog->open();
}

void EditPanel::showRestored(const ItemRecord& item, bool addedBack) {
    if (addedBack) {
        ui->lstKoumoku->addItem(qs(item.name));
        {
            const QSignalBlocker block(ui->cboKoumoku);
            ui->cboKoumoku->addItem(qs(item.name));
        }
        std::vector<ItemRecord> written = registeredItems();
        written.push_back(item);
        reloadItemsOrAssume(written);
    }
    // The history list shows the restored item.
    int n = 0;
    for (int i = 1; i <= itemCount() && n == 0; ++i)
        if (equalsIgnoringAsciiCase(PCTM.ItemNames[i], item.name)) n = i;
    if (n > 0) {
        const QSignalBlocker block(ui->cboKoumoku);
        ui->cboKoumoku->setCurrentIndex(n - 1);
        ui->cboKoumoku->setEditText(qs(PCTM.ItemNames[n]));
        cboKoumoku_Click(n - 1);
    }
    emit itemsChanged();
    emit historyRestored();
}

// ---- launch and count modes ----

IoResult EditPanel::SavePlaySettings() { return writePlaySettings(currentPlaySettings()); }

bool EditPanel::playSettingsAllowClicks() const { return isVisible() && !filling_; }

void EditPanel::storePlaySettings(const PlaySettings& before, const QString& doneMessage) {
    const IoResult saved = SavePlaySettings();
    if (saved) return inform(doneMessage, kTitleDone);
    // The rewrite is all or nothing, so the file still holds the earlier values: memory and the
    // controls go back to them (read back when possible, remembered otherwise).
    PCTM.LaunchMode = before.launchMode;
    PCTM.CountMode = before.countMode;
    PCTM.LaunchInterval = before.interval;
    LoadPlaySettings();
    showStoredModes();
    warn(QStringLiteral("プレイ設定を保存できませんでした。設定は元のままです。\n") +
             qs(saved.reason),
         kTitleSaveError);
}

void EditPanel::optTim_Click(int index) {
    if (!playSettingsAllowClicks() || index < 0 || index > 2) return;
    const PlaySettings before = currentPlaySettings();
    QRadioButton* const buttons[] = {ui->optTim_0, ui->optTim_1, ui->optTim_2};
    buttons[index]->setChecked(true);
    static const std::int16_t modes[] = {1, 0, 2};
    static const char* const texts[] = {"起動指定をランダムモードにしました",
                                        "起動指定を固定モードにしました",
                                        "起動指定をダイレクトモードにしました"};
    PCTM.LaunchMode = modes[index];
    storePlaySettings(before, QString::fromUtf8(texts[index]));
}

void EditPanel::optKaisu_Click(int index) {
    if (!playSettingsAllowClicks() || index < 0 || index > 1) return;
    const PlaySettings before = currentPlaySettings();
    (index == 0 ? ui->optKaisu_0 : ui->optKaisu_1)->setChecked(true);
    PCTM.CountMode = index == 0 ? 1 : 0;
    storePlaySettings(before, index == 0 ? QStringLiteral("回数指定をランダムモードにしました")
                                         : QStringLiteral("回数指定を固定モードにしました"));
}

void EditPanel::hsbTime_Change(int value) {
    ui->lblJikan->setText(QString::number(value) + QStringLiteral("分"));
}

void EditPanel::hsbTime_KeyPress(int keyAscii) {
    if (keyAscii != kKeyEnter || !playSettingsAllowClicks()) return;
    const int value = ui->hsbTime->value();
    const PlaySettings before = currentPlaySettings();
    PCTM.LaunchInterval = static_cast<float>(value);
    storePlaySettings(before, QStringLiteral("起動時間指定を　") + QString::number(value) +
                                  QStringLiteral("分　にしました"));
}

}  // namespace mitoran
