// The edit panel keeps a copy of every history file with records before it empties, deletes or
// renames it, and stops when that copy cannot be written.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <filesystem>
#include <map>
#include <memory>

#include "app/pctm.h"
#include "home/edit_panel.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"

namespace mitoran {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedServices;
using testing::TempFolder;

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
        PCTM = Pctm{};
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
        T* child = panel->findChild<T*>(name);
        EXPECT_TRUE(child) << name;
        return child;
    }
    void select(int row) { get<QListWidget>("lstKoumoku")->setCurrentRow(row); }
    void chooseForClear(const char* name) {
        get<QComboBox>("cboKoumoku")->setEditText(QString::fromUtf8(name));
    }
    void rename(int row, const char* newName) {
        select(row);
        get<QLineEdit>("txtKoumoku")->setText(QString::fromUtf8(newName));
        panel->cmdHozon_Click();
    }
    // The plain file バックアップ takes the folder's place, so no copy can be written.
    static void blockBackups() { TempFolder::write("バックアップ", "not a folder"); }
    void expectStoppedByBackup(const Files& before, const char* file) {
        EXPECT_EQ(filesOnDisk(), before) << "nothing may change without its copy";
        ASSERT_FALSE(svc->messageBoxes().empty());
        const testing::RecordedBox told = svc->messageBoxes().back();
        EXPECT_EQ(told.title, "保存エラー");
        EXPECT_TRUE(told.text.contains(QString::fromUtf8(file))) << told.text.toStdString();
        EXPECT_TRUE(told.text.contains("バックアップ")) << told.text.toStdString();
        EXPECT_TRUE(told.text.contains(QString::fromStdString(describeErrno(EEXIST))))
            << told.text.toStdString();
    }

    TempFolder folder;
    ScriptedServices* svc = nullptr;
    std::unique_ptr<EditPanel> panel;
    std::string pushUps, quickPushUps, sitUps;
};

TEST_F(EditPanelBackupTest, ClearingOneItemCopiesItsHistoryOnlyAndAsksAsBefore) {
    chooseForClear("腕立て伏せ");
    panel->cmdClear_Click();
    EXPECT_EQ(svc->messageTexts(),
              QStringList({"腕立て伏せの履歴データをクリアします。よろしいですか？",
                           "腕立て伏せ の履歴データをクリアしました"}));
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), "");
    EXPECT_EQ(backups(), (Files{{"腕立て伏せ_20261207_193000.txt", pushUps}}));

    // A second clear of the now empty file has nothing to keep.
    svc->advance(5);
    panel->cmdClear_Click();
    EXPECT_EQ(backups().size(), 1u);
}

TEST_F(EditPanelBackupTest, ClearingAllCopiesEveryFileWithRecordsBeforeEmptyingAny) {
    panel->cmdAllClear_Click();
    EXPECT_EQ(svc->messageTexts(), QStringList({"全ての履歴データをクリアします。よろしいですか？",
                                                "全ての履歴データをクリアしました"}));
    EXPECT_EQ(backups(), (Files{{"腕立て伏せ_20261207_193000.txt", pushUps},
                                {"クイック_腕立て伏せ_20261207_193000.txt", quickPushUps},
                                {"腹筋_20261207_193000.txt", sitUps}}));
    for (const char* file : {"腕立て伏せ.txt", "クイック_腕立て伏せ.txt", "腹筋.txt", "背筋.txt"})
        EXPECT_EQ(TempFolder::read(file), "") << file;
}

TEST_F(EditPanelBackupTest, DeletingCopiesBothFilesAndKeepsSharedOnesWithoutCopy) {
    select(0);
    panel->cmdDel_Click();
    EXPECT_EQ(svc->messageTexts(), QStringList({"腕立て伏せを削除します。よろしいですか？"}));
    EXPECT_FALSE(TempFolder::exists("腕立て伏せ.txt"));
    EXPECT_FALSE(TempFolder::exists("クイック_腕立て伏せ.txt"));
    EXPECT_EQ(backups(), (Files{{"腕立て伏せ_20261207_193000.txt", pushUps},
                                {"クイック_腕立て伏せ_20261207_193000.txt", quickPushUps}}));

    // Two items of one name: deleting one destroys nothing, so nothing is copied.
    TempFolder::write("項目一覧.txt", TempFolder::cp932("\"腹筋\",20,200\r\n\"腹筋\",5,5\r\n"));
    ASSERT_TRUE(LoadItemList());
    panel->open();
    select(1);
    panel->cmdDel_Click();
    EXPECT_EQ(TempFolder::read("腹筋.txt"), sitUps);
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(EditPanelBackupTest, RenamingCopiesTheFilesUnderTheirOldNames) {
    rename(0, "腕立て");
    EXPECT_EQ(svc->messageTexts(), QStringList({"腕立て の設定を更新しました"}));
    EXPECT_EQ(TempFolder::read("腕立て.txt"), pushUps);
    EXPECT_EQ(backups(), (Files{{"腕立て伏せ_20261207_193000.txt", pushUps},
                                {"クイック_腕立て伏せ_20261207_193000.txt", quickPushUps}}));

    // Changing only the counts renames nothing and copies nothing.
    svc->advance(60);
    select(0);
    get<QLineEdit>("txtKaisu")->setText("11");
    panel->cmdHozon_Click();
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(EditPanelBackupTest, ACopyThatCannotBeWrittenStopsEveryDestructiveStep) {
    blockBackups();
    const Files before = filesOnDisk();

    chooseForClear("腕立て伏せ");
    panel->cmdClear_Click();
    expectStoppedByBackup(before, "腕立て伏せ.txt");
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 2);

    svc->boxes.clear();
    panel->cmdAllClear_Click();
    expectStoppedByBackup(before, "腕立て伏せ.txt");
    EXPECT_EQ(svc->messageTexts().front(), "全ての履歴データをクリアします。よろしいですか？");

    svc->boxes.clear();
    select(1);
    panel->cmdDel_Click();
    expectStoppedByBackup(before, "腹筋.txt");
    EXPECT_EQ(svc->messageTexts().front(), "腹筋を削除します。よろしいですか？");
    EXPECT_EQ(PCTM.ItemCount, 3);
    EXPECT_EQ(get<QListWidget>("lstKoumoku")->count(), 3);

    svc->boxes.clear();
    rename(0, "腕立て");
    expectStoppedByBackup(before, "腕立て伏せ.txt");
    EXPECT_EQ(PCTM.ItemNames[1], "腕立て伏せ");
    EXPECT_EQ(get<QListWidget>("lstKoumoku")->item(0)->text(), "腕立て伏せ");
}

TEST_F(EditPanelBackupTest, ClearingAllEmptiesNothingWhenALaterCopyFails) {
    // The last item's quick file cannot be read, so it cannot be copied: the files before it,
    // already copied, must not be emptied either.
    fs::create_directory("クイック_背筋.txt");
    panel->cmdAllClear_Click();
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), pushUps);
    EXPECT_EQ(TempFolder::read("クイック_腕立て伏せ.txt"), quickPushUps);
    EXPECT_EQ(TempFolder::read("腹筋.txt"), sitUps);
    ASSERT_FALSE(svc->messageBoxes().empty());
    EXPECT_EQ(svc->messageBoxes().back().title, "保存エラー");
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
    panel->cmdSort_Click();
    EXPECT_EQ(TempFolder::read("項目一覧.txt"), list) << "no rewrite without the copy";
    ASSERT_FALSE(svc->messageBoxes().empty());
    EXPECT_TRUE(svc->messageBoxes().back().text.contains("項目一覧.txt"));

    fs::remove("バックアップ");
    svc->boxes.clear();
    panel->cmdSort_Click();
    EXPECT_EQ(TempFolder::read("バックアップ/項目一覧_20261207_193000.txt"), list);
    EXPECT_EQ(readItemList().records.size(), 3u);
    // The list now reads whole, so the next rewrite needs no copy.
    svc->setNow(2026, 12, 7, 19, 31, 0);
    panel->cmdSort_Click();
    EXPECT_FALSE(TempFolder::exists("バックアップ/項目一覧_20261207_193100.txt"));
}

}  // namespace
}  // namespace mitoran
