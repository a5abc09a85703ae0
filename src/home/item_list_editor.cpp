#include "home/item_list_editor.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <algorithm>

#include "app/pctm.h"
#include "data/item_limit.h"
#include "home/edit_panel_common.h"
#include "home/item_files.h"
#include "home/item_list_edit.h"
#include "home/item_validation.h"
#include "ui/qt_text.h"
#include "ui/window_services.h"
#include "ui_item_list_editor.h"

namespace mitoran {

using namespace edit_panel;

namespace {

const QColor kUnsavedOrderColour(255, 224, 192);

}  // namespace

ItemListEditor::ItemListEditor(QWidget* parent)
    : QGroupBox(parent), ui(std::make_unique<Ui::ItemListEditor>()) {
    ui->setupUi(this);  // names this box fraKoumoku
    connect(ui->lstKoumoku, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_) lstKoumoku_Click();
    });
    // Reordering follows the press and release positions rather than Qt's drag and drop, so an
    // entry can only land before another one.
    ui->lstKoumoku->viewport()->installEventFilter(this);
    ui->lstKoumoku->installEventFilter(this);

    connect(ui->cmdNew, &QPushButton::clicked, this, &ItemListEditor::cmdNew_Click);
    connect(ui->cmdHozon, &QPushButton::clicked, this, &ItemListEditor::cmdHozon_Click);
    connect(ui->cmdDel, &QPushButton::clicked, this, &ItemListEditor::cmdDel_Click);
    connect(ui->cmdSort, &QPushButton::clicked, this, &ItemListEditor::cmdSort_Click);
}

ItemListEditor::~ItemListEditor() = default;

void ItemListEditor::fillItemList() {
    filling_ = true;
    ui->lstKoumoku->clear();
    for (int i = 1; i <= PCTM.ItemCount(); ++i) ui->lstKoumoku->addItem(qs(PCTM.ItemNames(i)));
    filling_ = false;
    setOrderUnsaved(false);
}

void ItemListEditor::appendEntry(const QString& name) { ui->lstKoumoku->addItem(name); }

void ItemListEditor::setOrderUnsaved(bool unsaved) {
    orderUnsaved_ = unsaved;
    paintSortButton(unsaved);
}

void ItemListEditor::paintSortButton(bool unsaved) {
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

std::vector<std::string> ItemListEditor::listEntries() const {
    std::vector<std::string> entries;
    for (int row = 0; row < ui->lstKoumoku->count(); ++row)
        entries.push_back(utf8(ui->lstKoumoku->item(row)->text()));
    return entries;
}

int ItemListEditor::selectedItem() const {
    return itemForEntry(listEntries(), ui->lstKoumoku->currentRow(), PCTM.itemNamesFrom1());
}

void ItemListEditor::lstKoumoku_Click() {
    const int n = selectedItem();
    if (n == 0) return;
    ui->txtKoumoku->setText(qs(PCTM.ItemNames(n)));
    ui->txtKaisu->setText(QString::number(PCTM.ItemInstructed(n)));
    ui->txtMokuhyo->setText(QString::number(PCTM.ItemTarget(n)));
}

int ItemListEditor::rowUnderPointer(const QPoint& viewportPos, bool nearest) const {
    QListWidget* list = ui->lstKoumoku;
    if (QListWidgetItem* item = list->itemAt(viewportPos)) return list->row(item);
    if (!nearest || list->count() == 0) return -1;
    // Released beside the entries: a list box keeps the entry nearest to the pointer selected.
    const QPoint inside(std::clamp(viewportPos.x(), 0, list->viewport()->width() - 1),
                        std::clamp(viewportPos.y(), 0, list->viewport()->height() - 1));
    if (QListWidgetItem* item = list->itemAt(inside)) return list->row(item);
    return list->count() - 1;  // below the last entry
}

bool ItemListEditor::eventFilter(QObject* watched, QEvent* event) {
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
    }
    return QGroupBox::eventFilter(watched, event);
}

void ItemListEditor::lstKoumoku_MouseDown(int row) {
    DragFromIndex = row;
    DragItemText = row >= 0 ? ui->lstKoumoku->item(row)->text() : QString();
}

void ItemListEditor::lstKoumoku_MouseUp(int row) {
    QListWidget* list = ui->lstKoumoku;
    const int from = DragFromIndex;
    DragFromIndex = -1;
    const auto position = dropPosition(from, row, list->count());
    if (!position || list->item(from)->text() != DragItemText) return;
    moveEntry(from, *position);
}

void ItemListEditor::lstKoumoku_MoveByKey(int step) {
    const int from = ui->lstKoumoku->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= ui->lstKoumoku->count()) return;
    moveEntry(from, to);
}

void ItemListEditor::moveEntry(int from, int to) {
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

void ItemListEditor::cancelNew() {
    warn(QStringLiteral("新規追加をキャンセルします"), QStringLiteral("キャンセル"));
}

ItemListEditor::Answer ItemListEditor::askName(std::string& name) {
    for (;;) {
        const std::string typed = utf8(services().inputBox(QStringLiteral("項目名は何ですか？"),
                                                           QStringLiteral("項目名入力")));
        if (isBlankText(typed)) return Answer::Cancelled;
        name = normaliseItemName(typed);
        const std::vector<std::string> others = PCTM.itemNames();
        const auto problem = itemNameProblem(name, others);
        if (!problem) return Answer::Given;
        warn(qs(*problem), QStringLiteral("項目名エラー"));
    }
}

ItemListEditor::Answer ItemListEditor::askCount(const QString& prompt, const QString& title,
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

void ItemListEditor::reloadAfterFailedWrite() {
    // What the file holds wins; the screen only changes when memory had drifted from it.
    const std::vector<ItemRecord> before = PCTM.items();
    if (!LoadItemList()) return;
    const std::vector<ItemRecord> after = PCTM.items();
    const bool same = std::equal(before.begin(), before.end(), after.begin(), after.end(),
                                 [](const ItemRecord& a, const ItemRecord& b) {
                                     return a.name == b.name && a.instructed == b.instructed &&
                                            a.target == b.target;
                                 });
    if (same) return;
    fillItemList();
    ui->txtKoumoku->clear();
    ui->txtKaisu->clear();
    ui->txtMokuhyo->clear();
    emit itemsReloaded();
    emit itemsChanged();
}

void ItemListEditor::cmdNew_Click() {
    if (ui->lstKoumoku->count() >= kItemLimit || PCTM.ItemCount() >= kItemLimit) {
        warnItemLimit();
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
    emit itemAdded(qs(name));
    std::vector<ItemRecord> written = PCTM.items();
    written.push_back(record);
    reloadItemsOrAssume(written);
    emit itemsChanged();

    if (!created)
        tellWriteFailure(qs("履歴ファイル「" + historyFileName(name) +
                            "」を作成できませんでした（最初の記録の時に作成します）。"),
                         created.reason);
    inform(qs(PCTM.ItemNames(PCTM.ItemCount())) + QStringLiteral(" の設定を新規登録しました"),
           QStringLiteral("新規登録終了"));
}

void ItemListEditor::cmdHozon_Click() {
    const int row = ui->lstKoumoku->currentRow();
    const int n = selectedItem();
    const std::string newName = normaliseItemName(utf8(ui->txtKoumoku->text()));
    if (row < 0 || n == 0 || isBlankText(newName)) {
        inform(kNoSelection, kTitleNoSelection);
        return;
    }
    const TypedCount instructed = readTypedCount(utf8(ui->txtKaisu->text()), kMaxInstructed);
    const TypedCount target = readTypedCount(utf8(ui->txtMokuhyo->text()), kMaxTarget);
    if (!countsAccepted(instructed, target)) return;

    const std::string oldName = PCTM.ItemNames(n);
    if (newName != oldName) {
        std::vector<std::string> others;
        for (int i = 1; i <= PCTM.ItemCount(); ++i)
            if (i != n) others.push_back(PCTM.ItemNames(i));
        if (const auto problem = itemNameProblem(newName, others))
            return warn(qs(*problem), QStringLiteral("項目名エラー"));
    }

    std::vector<ItemRecord> items = PCTM.items();
    items[n - 1] = {newName, static_cast<std::int16_t>(instructed.value), target.value};
    const ChangeResult stored =
        storeRenamedItem(items, oldName, newName,
                         nameUsedByOtherItem(PCTM.itemNamesFrom1(), n, oldName), services().now());
    if (stored.outcome == ChangeOutcome::NameTaken)
        return warn(qs(stored.reason), QStringLiteral("項目名変更不可"));
    if (stored.outcome == ChangeOutcome::Failed) {
        tellWriteFailure(QStringLiteral("項目の変更を保存できませんでした。"), stored.reason);
        reloadAfterFailedWrite();
        return;
    }

    PCTM.setItem(n, items[n - 1]);
    ui->lstKoumoku->item(row)->setText(qs(newName));
    // The boxes show what was stored: the whole numbers and the name as written.
    ui->txtKoumoku->setText(qs(newName));
    ui->txtKaisu->setText(QString::number(PCTM.ItemInstructed(n)));
    ui->txtMokuhyo->setText(QString::number(PCTM.ItemTarget(n)));
    emit itemRenamed(n, qs(oldName), qs(newName));
    emit itemsChanged();
    inform(ui->txtKoumoku->text() + QStringLiteral(" の設定を更新しました"),
           QStringLiteral("設定更新終了"));
}

void ItemListEditor::cmdDel_Click() {
    const int row = ui->lstKoumoku->currentRow();
    const int n = selectedItem();
    if (row < 0 || n == 0 || isBlankText(utf8(ui->txtKoumoku->text()))) {
        inform(kNoSelection, kTitleNoSelection);
        return;
    }
    const std::string name = PCTM.ItemNames(n);
    if (!confirm(qs(name) + QStringLiteral("を削除します。よろしいですか？"),
                 QStringLiteral("クリア確認")))
        return;

    std::vector<ItemRecord> items = PCTM.items();
    const bool deleteFiles = !nameUsedByOtherItem(PCTM.itemNamesFrom1(), n, name);
    items.erase(items.begin() + (n - 1));
    const ChangeResult deleted = deleteItem(items, name, deleteFiles, services().now());
    if (deleted.outcome != ChangeOutcome::Stored) {
        tellWriteFailure(qs("「" + name + "」を削除できませんでした。"), deleted.reason);
        reloadAfterFailedWrite();
        return;
    }
    reloadItemsOrAssume(items);

    fillItemList();
    emit itemDeleted();
    ui->txtKoumoku->clear();
    ui->txtKaisu->clear();
    ui->txtMokuhyo->clear();
    emit itemsChanged();
    if (!deleted.reason.empty())
        tellWriteFailure(qs("「" + name + "」の履歴ファイルを削除できませんでした。"),
                         deleted.reason);
}

void ItemListEditor::cmdSort_Click() {
    const std::vector<ItemRecord> ordered = recordsInListOrder(listEntries(), PCTM.items());
    const IoResult written = saveItemList(ordered, services().now());
    if (!written) {
        tellWriteFailure(QStringLiteral("並び替えた順番を保存できませんでした。"), written.reason);
        reloadAfterFailedWrite();
        return;
    }
    const int row = ui->lstKoumoku->currentRow();
    reloadItemsOrAssume(ordered);

    fillItemList();
    filling_ = true;
    ui->lstKoumoku->setCurrentRow(row < ui->lstKoumoku->count() ? row : -1);
    filling_ = false;
    emit itemsReordered();
    emit itemsChanged();
    // The button keeps its colour until the user has read that the order is stored.
    paintSortButton(true);
    inform(QStringLiteral("並び替えた順番でトレーニング情報を保存しました。"),
           QStringLiteral("並び替え完了"));
    paintSortButton(false);
}

}  // namespace mitoran
