#include "home/edit_panel.h"

#include <QBoxLayout>
#include <string>

#include "app/pctm.h"
#include "home/history_clearing.h"
#include "home/item_list_editor.h"
#include "home/play_modes_editor.h"
#include "ui_edit_panel.h"

namespace mitoran {

EditPanel::EditPanel(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::EditPanel>()) {
    ui->setupUi(this);  // names this widget fraSettei
    // The two mode boxes are spaced as the column they stand in.
    ui->fraModes->layout()->setSpacing(ui->layoutModes->spacing());

    ItemListEditor* items = ui->fraKoumoku;
    HistoryClearing* histories = ui->fraRireki;
    connect(items, &ItemListEditor::itemAdded, histories, &HistoryClearing::addItem);
    connect(items, &ItemListEditor::itemRenamed, histories, &HistoryClearing::renameItem);
    connect(items, &ItemListEditor::itemDeleted, histories, &HistoryClearing::showFirstItem);
    connect(items, &ItemListEditor::itemsReordered, histories, &HistoryClearing::followReorder);
    connect(items, &ItemListEditor::itemsReloaded, histories, &HistoryClearing::followReload);
    connect(histories, &HistoryClearing::itemAddedBack, items, &ItemListEditor::appendEntry);

    connect(items, &ItemListEditor::itemsChanged, this, &EditPanel::itemsChanged);
    connect(histories, &HistoryClearing::itemsChanged, this, &EditPanel::itemsChanged);
    connect(histories, &HistoryClearing::historyRestored, this, &EditPanel::historyRestored);
}

EditPanel::~EditPanel() = default;

ItemListEditor* EditPanel::itemList() const { return ui->fraKoumoku; }
HistoryClearing* EditPanel::historyClearing() const { return ui->fraRireki; }
PlayModesEditor* EditPanel::playModes() const { return ui->fraModes; }

bool EditPanel::orderUnsaved() const { return ui->fraKoumoku->orderUnsaved(); }

void EditPanel::showStoredInterval() { ui->fraModes->showStoredInterval(); }

void EditPanel::open() {
    ui->fraKoumoku->fillItemList();
    ui->fraRireki->showFirstItem();
    ui->fraModes->showStoredModes();
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

}  // namespace mitoran
