// The edit panel keeps a copy of every history file with records before it empties, deletes or
// renames it, and stops when that copy cannot be written.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <map>
#include <memory>

#include "app/pctm.h"
#include "home/edit_panel.h"
#include "home/history_clearing.h"
#include "home/item_list_editor.h"
#include "home/restore_dialog.h"
#include "support/named_child.h"
#include "support/screen_texts.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"

namespace mitoran {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedServices;
using testing::TempFolder;
namespace edit = texts::edit;

using Files = std::map<std::string, std::string>;

// Every file under the working folder (paths relative to it) with its bytes.
Files filesOnDisk() { return TempFolder::allFiles(); }

Files backups() {
    Files copies;
    for (const auto& [path, bytes] : filesOnDisk())
        if (path.rfind("バックアップ/", 0) == 0)
            copies[path.substr(std::string("バックアップ/").size())] = bytes;
    return copies;
}

class EditPanelBackupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRun();
        svc = &testing::installScriptedServices();
        svc->setNow(2026, 12, 7, 19, 30, 0);
        TempFolder::write("項目一覧.txt",
                          TempFolder::cp932("\"腕立て伏せ\",10,100\r\n\"腹筋\",20,200\r\n"
                                            "\"背筋\",30,300\r\n"));
        TempFolder::write("プレイ設定.txt", "0,0,15\r\n");
        // Bytes as they come: a torn last line and no final line break must be copied as they are.
        pushUps = TempFolder::cp932(
            "\"2026年12月06日\",\"07時05分09秒\",12\r\n"
            "\"2026年12月07日\",\"19時00分00秒\",8\r\n\"2026年12");
        quickPushUps = TempFolder::cp932("\"2026年12月01日\",\"07時10分00秒\",30,25\r\n");
        sitUps = TempFolder::cp932("\"2026年12月05日\",\"08時00分00秒\",20\r\n");
        TempFolder::write("腕立て伏せ.txt", pushUps);
        TempFolder::write("クイック_腕立て伏せ.txt", quickPushUps);
        TempFolder::write("腹筋.txt", sitUps);
        TempFolder::write("背筋.txt", "");  // no records: nothing to keep

        ASSERT_TRUE(LoadItemList());
        ASSERT_TRUE(LoadPlaySettings());
        panel = std::make_unique<EditPanel>();
        panel->open();
        svc->boxes.clear();
    }

    template <class T>
    T* get(const char* name) {
        return testing::expectChild<T>(panel.get(), name);
    }
    void select(int row) { get<QListWidget>("lstKoumoku")->setCurrentRow(row); }
    void chooseForClear(const char* name) {
        get<QComboBox>("cboKoumoku")->setEditText(QString::fromUtf8(name));
    }
    void rename(int row, const char* newName) {
        select(row);
        get<QLineEdit>("txtKoumoku")->setText(QString::fromUtf8(newName));
        panel->itemList()->cmdHozon_Click();
    }
    // The plain file バックアップ takes the folder's place, so no copy can be written.
    static void blockBackups() { TempFolder::write("バックアップ", "not a folder"); }
    void expectStoppedByBackup(const Files& before, const char* file) {
        EXPECT_EQ(filesOnDisk(), before) << "nothing may change without its copy";
        ASSERT_FALSE(svc->messageBoxes().empty());
        const testing::RecordedBox told = svc->messageBoxes().back();
        EXPECT_EQ(told.title, edit::kSaveErrorTitle);
        EXPECT_TRUE(told.text.contains(QString::fromUtf8(file))) << told.text.toStdString();
        EXPECT_TRUE(told.text.contains("バックアップ")) << told.text.toStdString();
        EXPECT_TRUE(told.text.contains(QString::fromStdString(describeErrno(EEXIST))))
            << told.text.toStdString();
    }

    // The restore dialog of the panel, opened afresh (an earlier one is gone).
    RestoreDialog* openRestore() {
        qDeleteAll(panel->findChildren<RestoreDialog*>());
        panel->historyClearing()->cmdRestore_Click();
        auto* dialog = panel->findChild<RestoreDialog*>();
        EXPECT_TRUE(dialog && dialog->isVisible());
        return dialog;
    }
    template <class T>
    static T* in(RestoreDialog* dialog, const char* name) {
        return testing::expectChild<T>(dialog, name);
    }
    static QStringList rows(RestoreDialog* dialog) {
        auto* list = in<QTableWidget>(dialog, "lstBackup");
        QStringList out;
        for (int r = 0; r < list->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c) cells << list->item(r, c)->text();
            out << cells.join("|");
        }
        return out;
    }
    static void restoreRow(RestoreDialog* dialog, int row) {
        in<QTableWidget>(dialog, "lstBackup")->selectRow(row);
        in<QPushButton>(dialog, "cmdRestore")->click();
    }

    TempFolder folder;
    ScriptedServices* svc = nullptr;
    std::unique_ptr<EditPanel> panel;
    std::string pushUps, quickPushUps, sitUps;
};

TEST_F(EditPanelBackupTest, ClearingOneItemCopiesItsHistoryOnlyAndAsksAsBefore) {
    chooseForClear("腕立て伏せ");
    panel->historyClearing()->cmdClear_Click();
    EXPECT_EQ(svc->messageTexts(),
              QStringList({edit::askClear("腕立て伏せ"), edit::cleared("腕立て伏せ")}));
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), "");
    EXPECT_EQ(backups(), (Files{{"腕立て伏せ_20261207_193000.txt", pushUps}}));

    // A second clear of the now empty file has nothing to keep.
    svc->advance(5);
    panel->historyClearing()->cmdClear_Click();
    EXPECT_EQ(backups().size(), 1u);
}

TEST_F(EditPanelBackupTest, ClearingAllCopiesEveryFileWithRecordsBeforeEmptyingAny) {
    panel->historyClearing()->cmdAllClear_Click();
    EXPECT_EQ(svc->messageTexts(), QStringList({edit::kAskClearAll, edit::kClearedAll}));
    EXPECT_EQ(backups(), (Files{{"腕立て伏せ_20261207_193000.txt", pushUps},
                                {"クイック_腕立て伏せ_20261207_193000.txt", quickPushUps},
                                {"腹筋_20261207_193000.txt", sitUps}}));
    for (const char* file : {"腕立て伏せ.txt", "クイック_腕立て伏せ.txt", "腹筋.txt", "背筋.txt"})
        EXPECT_EQ(TempFolder::read(file), "") << file;
}

TEST_F(EditPanelBackupTest, DeletingCopiesBothFilesAndKeepsSharedOnesWithoutCopy) {
    select(0);
    panel->itemList()->cmdDel_Click();
    EXPECT_EQ(svc->messageTexts(), QStringList({edit::askDelete("腕立て伏せ")}));
    EXPECT_FALSE(TempFolder::exists("腕立て伏せ.txt"));
    EXPECT_FALSE(TempFolder::exists("クイック_腕立て伏せ.txt"));
    EXPECT_EQ(backups(), (Files{{"腕立て伏せ_20261207_193000.txt", pushUps},
                                {"クイック_腕立て伏せ_20261207_193000.txt", quickPushUps}}));

    // Two items of one name: deleting one destroys nothing, so nothing is copied.
    TempFolder::write("項目一覧.txt", TempFolder::cp932("\"腹筋\",20,200\r\n\"腹筋\",5,5\r\n"));
    ASSERT_TRUE(LoadItemList());
    panel->open();
    select(1);
    panel->itemList()->cmdDel_Click();
    EXPECT_EQ(TempFolder::read("腹筋.txt"), sitUps);
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(EditPanelBackupTest, RenamingCopiesTheFilesUnderTheirOldNames) {
    rename(0, "腕立て");
    EXPECT_EQ(svc->messageTexts(), QStringList({edit::updated("腕立て")}));
    EXPECT_EQ(TempFolder::read("腕立て.txt"), pushUps);
    EXPECT_EQ(backups(), (Files{{"腕立て伏せ_20261207_193000.txt", pushUps},
                                {"クイック_腕立て伏せ_20261207_193000.txt", quickPushUps}}));

    // Changing only the counts renames nothing and copies nothing.
    svc->advance(60);
    select(0);
    get<QLineEdit>("txtKaisu")->setText("11");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(EditPanelBackupTest, ACopyThatCannotBeWrittenStopsEveryDestructiveStep) {
    blockBackups();
    const Files before = filesOnDisk();

    chooseForClear("腕立て伏せ");
    panel->historyClearing()->cmdClear_Click();
    expectStoppedByBackup(before, "腕立て伏せ.txt");
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 2);

    svc->boxes.clear();
    panel->historyClearing()->cmdAllClear_Click();
    expectStoppedByBackup(before, "腕立て伏せ.txt");
    EXPECT_EQ(svc->messageTexts().front(), edit::kAskClearAll);

    svc->boxes.clear();
    select(1);
    panel->itemList()->cmdDel_Click();
    expectStoppedByBackup(before, "腹筋.txt");
    EXPECT_EQ(svc->messageTexts().front(), edit::askDelete("腹筋"));
    EXPECT_EQ(PCTM.ItemCount(), 3);
    EXPECT_EQ(get<QListWidget>("lstKoumoku")->count(), 3);

    svc->boxes.clear();
    rename(0, "腕立て");
    expectStoppedByBackup(before, "腕立て伏せ.txt");
    EXPECT_EQ(PCTM.ItemNames(1), "腕立て伏せ");
    EXPECT_EQ(get<QListWidget>("lstKoumoku")->item(0)->text(), "腕立て伏せ");
}

TEST_F(EditPanelBackupTest, ClearingAllEmptiesNothingWhenALaterCopyFails) {
    // The last item's quick file cannot be read, so it cannot be copied: the files before it,
    // already copied, must not be emptied either.
    fs::create_directory("クイック_背筋.txt");
    panel->historyClearing()->cmdAllClear_Click();
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), pushUps);
    EXPECT_EQ(TempFolder::read("クイック_腕立て伏せ.txt"), quickPushUps);
    EXPECT_EQ(TempFolder::read("腹筋.txt"), sitUps);
    ASSERT_FALSE(svc->messageBoxes().empty());
    EXPECT_EQ(svc->messageBoxes().back().title, edit::kSaveErrorTitle);
    EXPECT_TRUE(svc->messageBoxes().back().text.contains("クイック_背筋.txt"));
}

TEST_F(EditPanelBackupTest, AnItemListWithUnreadableLinesIsCopiedBeforeItsFirstRewrite) {
    // A hand-edited line without its target is not an item, and a rewrite would drop it.
    const std::string list = TempFolder::cp932(
        "\"腕立て伏せ\",10,100\r\n\"スクワット\",30\r\n\"腹筋\",20,200\r\n\"背筋\",30,300\r\n");
    TempFolder::write("項目一覧.txt", list);
    ASSERT_TRUE(LoadItemList());
    EXPECT_EQ(PCTM.ItemListUnreadable, 1);
    panel->open();

    blockBackups();
    panel->itemList()->cmdSort_Click();
    EXPECT_EQ(TempFolder::read("項目一覧.txt"), list) << "no rewrite without the copy";
    ASSERT_FALSE(svc->messageBoxes().empty());
    EXPECT_TRUE(svc->messageBoxes().back().text.contains("項目一覧.txt"));

    fs::remove("バックアップ");
    svc->boxes.clear();
    panel->itemList()->cmdSort_Click();
    EXPECT_EQ(TempFolder::read("バックアップ/項目一覧_20261207_193000.txt"), list);
    EXPECT_EQ(readItemList().records.size(), 3u);
    // The list now reads whole, so the next rewrite needs no copy.
    svc->setNow(2026, 12, 7, 19, 31, 0);
    panel->itemList()->cmdSort_Click();
    EXPECT_FALSE(TempFolder::exists("バックアップ/項目一覧_20261207_193100.txt"));
}

// ---- restoring a copy ----

TEST_F(EditPanelBackupTest, RestoringAfterAClearGivesBackTheExactBytesAndCanBeUndone) {
    chooseForClear("腕立て伏せ");
    panel->historyClearing()->cmdClear_Click();
    svc->setNow(2026, 12, 7, 19, 45, 0);
    svc->boxes.clear();

    RestoreDialog* dialog = openRestore();
    EXPECT_EQ(in<QComboBox>(dialog, "cboItem")->currentText(), "腕立て伏せ");
    EXPECT_EQ(rows(dialog), QStringList({"実績履歴|2026年12月07日 19時30分00秒|2件（読めない行 1）|"
                                         "2026年12月06日|2026年12月07日|20回"}));
    EXPECT_FALSE(in<QWidget>(dialog, "fraAddBack")->isVisibleTo(dialog));
    restoreRow(dialog, 0);
    EXPECT_EQ(svc->messageTexts(),
              QStringList({"「腕立て伏せ.txt」を 2026年12月07日 19時30分00秒 のバックアップ（記録 "
                           "2件、合計 20回）の内容に戻します。\n\n今のファイルは空か、ありません。"
                           "そのまま置き換えます。\n\nよろしいですか？",
                           "「腕立て伏せ.txt」をバックアップから復元しました。"}));
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), pushUps);
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 2);

    // Restoring over content copies that content first, so the restore itself can be undone.
    ASSERT_TRUE(appendHistory("腕立て伏せ", svc->now(), 5).ok);
    const std::string extended = TempFolder::read("腕立て伏せ.txt");
    svc->setNow(2026, 12, 7, 20, 0, 0);
    svc->boxes.clear();
    restoreRow(dialog, 0);
    EXPECT_EQ(
        svc->messageTexts().front(),
        "「腕立て伏せ.txt」を 2026年12月07日 19時30分00秒 のバックアップ（記録 2件、合計 "
        "20回）の内容に戻します。\n\n今の内容（記録 3件、合計 25回）はバックアップフォルダに"
        "保存してから置き換えます。それを復元すれば、今の内容に戻せます。\n\nよろしいですか？");
    EXPECT_EQ(svc->messageTexts().back(),
              "「腕立て伏せ.txt」をバックアップから復元しました。\n復元前の内容は「バックアップ/"
              "腕立て伏せ_20261207_200000.txt」に保存しました。");
    EXPECT_EQ(backups()["腕立て伏せ_20261207_200000.txt"], extended);
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), pushUps);
    ASSERT_EQ(rows(dialog).size(), 2);
    EXPECT_TRUE(rows(dialog).front().startsWith(
        "実績履歴|2026年12月07日 20時00分00秒|3件（読めない行 1）|"));
    restoreRow(dialog, 0);
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), extended);

    // Cancelling the question changes nothing.
    svc->boxAnswers = {MsgResult::Cancel};
    const Files before = filesOnDisk();
    restoreRow(dialog, 1);
    EXPECT_EQ(filesOnDisk(), before);
}

TEST_F(EditPanelBackupTest, ADeletedItemComesBackWithItsHistories) {
    select(0);
    panel->itemList()->cmdDel_Click();
    ASSERT_EQ(PCTM.ItemCount(), 2);
    svc->boxes.clear();

    RestoreDialog* dialog = openRestore();
    auto* items = in<QComboBox>(dialog, "cboItem");
    EXPECT_EQ(items->currentText(), "腹筋");
    const int deleted = items->findText("腕立て伏せ（削除済み）");
    ASSERT_EQ(deleted, 2);
    items->setCurrentIndex(deleted);
    dialog->cboItem_Click(deleted);
    EXPECT_EQ(rows(dialog),
              QStringList({"実績履歴|2026年12月07日 19時30分00秒|2件（読めない行 1）|"
                           "2026年12月06日|2026年12月07日|20回",
                           "クイックマッスル|2026年12月07日 19時30分00秒|1件|2026年12月01日|"
                           "2026年12月01日|25回"}));
    EXPECT_TRUE(in<QWidget>(dialog, "fraAddBack")->isVisibleTo(dialog));

    // What 新規 refuses is refused here too, before anything is asked or written.
    const struct {
        const char *instructed, *target, *title;
    } refused[] = {{"0", "100", "下限値制限"},
                   {"10", "", "下限値制限"},
                   {"1001", "100", "上限値制限"},
                   {"10", "2147483648", "上限値制限"}};
    const Files before = filesOnDisk();
    for (const auto& r : refused) {
        svc->boxes.clear();
        in<QLineEdit>(dialog, "txtKaisu")->setText(r.instructed);
        in<QLineEdit>(dialog, "txtMokuhyo")->setText(r.target);
        restoreRow(dialog, 0);
        ASSERT_EQ(svc->messageBoxes().size(), 1u) << r.instructed << " " << r.target;
        EXPECT_EQ(svc->messageBoxes().front().title, r.title);
        EXPECT_EQ(filesOnDisk(), before);
    }

    svc->boxes.clear();
    in<QLineEdit>(dialog, "txtKaisu")->setText("12");
    in<QLineEdit>(dialog, "txtMokuhyo")->setText("600");
    restoreRow(dialog, 0);
    EXPECT_EQ(svc->messageTexts().front(),
              "「腕立て伏せ」を指定回数 12、目標回数 600 の項目として追加し直し、「腕立て伏せ.txt」"
              "を 2026年12月07日 19時30分00秒 のバックアップ（記録 2件、合計 20回）の内容に戻しま"
              "す。\n\n今のファイルは空か、ありません。そのまま置き換えます。\n\nよろしいですか？");
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), pushUps);
    const Loaded<ItemRecord> list = readItemList();
    ASSERT_EQ(list.records.size(), 3u);
    EXPECT_EQ(list.records[2].name, "腕立て伏せ");
    EXPECT_EQ(list.records[2].instructed, 12);
    EXPECT_EQ(list.records[2].target, 600);
    EXPECT_EQ(PCTM.ItemCount(), 3);
    EXPECT_EQ(get<QListWidget>("lstKoumoku")->item(2)->text(), "腕立て伏せ");
    EXPECT_EQ(get<QComboBox>("cboKoumoku")->currentText(), "腕立て伏せ");
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 2);

    // Now registered: its quick history comes back without adding it again.
    EXPECT_EQ(items->currentText(), "腕立て伏せ");
    EXPECT_FALSE(in<QWidget>(dialog, "fraAddBack")->isVisibleTo(dialog));
    restoreRow(dialog, 1);
    EXPECT_EQ(TempFolder::read("クイック_腕立て伏せ.txt"), quickPushUps);
    EXPECT_EQ(readItemList().records.size(), 3u);
}

TEST_F(EditPanelBackupTest, ACopyThatCannotBeReadOrAFullListRestoresNothing) {
    fs::create_directory("バックアップ");
    fs::create_directory("バックアップ/腹筋_20261201_080000.txt");  // listed, but unreadable
    TempFolder::write("バックアップ/ヨガ_20261201_080000.txt", sitUps);
    const Files before = filesOnDisk();

    chooseForClear("腹筋");
    RestoreDialog* dialog = openRestore();
    ASSERT_EQ(rows(dialog).size(), 1);
    EXPECT_TRUE(rows(dialog).front().contains("読み込めません"));
    restoreRow(dialog, 0);
    EXPECT_EQ(svc->messageBoxes().back().title, "復元エラー");

    // Twenty items leave no room for one added back.
    std::vector<ItemRecord> twenty;
    for (int i = 0; i < 20; ++i) twenty.push_back({"項目" + std::to_string(i), 1, 1});
    PCTM.setItems(twenty);
    chooseForClear("ヨガ");
    dialog = openRestore();
    EXPECT_EQ(in<QComboBox>(dialog, "cboItem")->currentText(), "ヨガ（削除済み）");
    in<QLineEdit>(dialog, "txtKaisu")->setText("10");
    in<QLineEdit>(dialog, "txtMokuhyo")->setText("100");
    svc->boxes.clear();
    restoreRow(dialog, 0);
    EXPECT_EQ(svc->messageTexts(), QStringList({"登録できる項目数は２０項目までです。"}));
    EXPECT_EQ(filesOnDisk(), before);
}

}  // namespace
}  // namespace mitoran
