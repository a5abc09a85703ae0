#include "home/edit_panel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/pctm.h"
#include "home/history_clearing.h"
#include "home/item_list_editor.h"
#include "home/play_modes_editor.h"
#include "support/named_child.h"
#include "support/screen_texts.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"

namespace mitoran {
namespace {

using testing::ScriptedServices;
using testing::TempFolder;
namespace edit = texts::edit;

const char* const kItems =
    "\"腕立て\",10,100\r\n\"腹筋\",20,200\r\n\"背筋\",30,300\r\n\"Squat\",40,400\r\n\"懸垂\",5,"
    "50\r\n";

class EditPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRun();
        box = &testing::installScriptedServices();
        TempFolder::write("項目一覧.txt", TempFolder::cp932(kItems));
        TempFolder::write("プレイ設定.txt", "0,0,15\r\n");
        TempFolder::write("腕立て.txt",
                          TempFolder::cp932("\"2024年03月07日\",\"07時05分09秒\",12\r\n"
                                            "\"2024年03月08日\",\"21時00分00秒\",8\r\n"));
        TempFolder::write("クイック_腕立て.txt",
                          TempFolder::cp932("\"2024年03月07日\",\"07時10分00秒\",30,25\r\n"));
        reopen();
    }
    void reopen() {
        ASSERT_TRUE(LoadItemList());
        ASSERT_TRUE(LoadPlaySettings());
        panel = std::make_unique<EditPanel>();
        QObject::connect(panel.get(), &EditPanel::itemsChanged, [this] { ++changes; });
        panel->resize(900, 600);
        panel->open();
        box->boxes.clear();
    }
    template <class T>
    T* get(const char* name) {
        return testing::expectChild<T>(panel.get(), name);
    }
    QListWidget* items() { return get<QListWidget>("lstKoumoku"); }
    static QStringList texts(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    QString lastText() const { return box->boxes.empty() ? QString() : box->boxes.back().text; }
    void drag(int from, int to) {
        QWidget* view = items()->viewport();
        const QPoint start = items()->visualItemRect(items()->item(from)).center();
        const QPoint end = to < items()->count()
                               ? items()->visualItemRect(items()->item(to)).center()
                               : QPoint(start.x(), view->height() - 2);
        QTest::mousePress(view, Qt::LeftButton, {}, start);
        QTest::mouseRelease(view, Qt::LeftButton, {}, end);
    }
    void select(int row) { items()->setCurrentRow(row); }
    void setBoxes(const char* name, const char* count, const char* target) {
        get<QLineEdit>("txtKoumoku")->setText(QString::fromUtf8(name));
        get<QLineEdit>("txtKaisu")->setText(QString::fromUtf8(count));
        get<QLineEdit>("txtMokuhyo")->setText(QString::fromUtf8(target));
    }
    static std::string itemFile() { return TempFolder::read("項目一覧.txt"); }
    static int filesInFolder() {
        return static_cast<int>(std::distance(std::filesystem::directory_iterator("."),
                                              std::filesystem::directory_iterator()));
    }

    TempFolder folder;
    ScriptedServices* box = nullptr;
    std::unique_ptr<EditPanel> panel;
    int changes = 0;
};

TEST_F(EditPanelTest, OpeningFillsTheListsAndTheStoredModesWithoutAnyMessage) {
    EXPECT_EQ(panel->objectName(), "fraSettei");
    EXPECT_EQ(texts(items()), QStringList({"腕立て", "腹筋", "背筋", "Squat", "懸垂"}));
    EXPECT_EQ(get<QComboBox>("cboKoumoku")->currentText(), "腕立て");
    EXPECT_EQ(texts(get<QListWidget>("lstRireki")),
              QStringList({"1 _ 2024年03月07日 _ 07時05分09秒 _ 12",
                           "2 _ 2024年03月08日 _ 21時00分00秒 _ 8"}));
    EXPECT_TRUE(get<QRadioButton>("optTim_1")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("optKaisu_1")->isChecked());
    EXPECT_EQ(get<QLabel>("lblJikan")->text(), "15分");
    EXPECT_TRUE(box->boxes.empty());

    get<QComboBox>("cboKoumoku")->activated(1);  // 腹筋 has no history file
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 0);
    EXPECT_EQ(PCTM.CurrentItem, 2);
}

TEST_F(EditPanelTest, AddingAsksAgainUntilBothCountsFitAndAppendsTheExactRecord) {
    const std::string before = itemFile();
    box->inputAnswers = {"新種目", "0", "abc", "1001", "30abc", "0", "2147483648", "500.5"};
    panel->itemList()->cmdNew_Click();
    EXPECT_EQ(box->messageTexts(),
              QStringList({edit::kAtLeastOne, edit::kAtLeastOne, edit::kAtMostThousandNew,
                           edit::kAtLeastOne, edit::kAtMostLargest, edit::added("新種目")}));
    EXPECT_EQ(itemFile(), before + TempFolder::cp932("\"新種目\",30,500\r\n"));
    EXPECT_TRUE(TempFolder::exists("新種目.txt"));
    EXPECT_EQ(PCTM.ItemCount(), 6);
    EXPECT_EQ(items()->item(5)->text(), "新種目");
    EXPECT_EQ(get<QComboBox>("cboKoumoku")->itemText(5), "新種目");
    EXPECT_EQ(changes, 1);

    // 1000 is the largest instructed count; a name already holding a history keeps it.
    TempFolder::write("続き.txt", "x");
    box->inputAnswers = {"続き", "1000", "1"};
    panel->itemList()->cmdNew_Click();
    EXPECT_EQ(itemFile(), before + TempFolder::cp932("\"新種目\",30,500\r\n\"続き\",1000,1\r\n"));
    EXPECT_EQ(TempFolder::read("続き.txt"), "x");
}

TEST_F(EditPanelTest, AddingStopsAtTwentyItemsAndAtACancelAtAnyBox) {
    const std::string before = itemFile();
    for (int answered = 0; answered < 3; ++answered) {
        box->boxes.clear();
        box->inputAnswers.clear();
        const char* answers[] = {"途中", "5", "9"};
        for (int i = 0; i < answered; ++i) box->inputAnswers.push_back(answers[i]);
        panel->itemList()->cmdNew_Click();
        EXPECT_EQ(box->boxes.size(), static_cast<std::size_t>(answered + 2));
        EXPECT_EQ(lastText(), "新規追加をキャンセルします");
    }
    EXPECT_EQ(itemFile(), before);
    EXPECT_FALSE(TempFolder::exists("途中.txt"));
    EXPECT_EQ(changes, 0);

    std::string twenty;
    for (int i = 1; i <= 20; ++i) twenty += "\"項目" + std::to_string(i) + "\",1,1\r\n";
    TempFolder::write("項目一覧.txt", TempFolder::cp932(twenty));
    reopen();
    panel->itemList()->cmdNew_Click();
    ASSERT_EQ(box->boxes.size(), 1u);
    EXPECT_FALSE(box->boxes[0].isInput);
    EXPECT_EQ(box->boxes[0].text, "登録できる項目数は２０項目までです。");
}

TEST_F(EditPanelTest, NamesThatWouldBreakFilesAreRefusedAndNothingIsWritten) {
    const std::string before = itemFile();
    const int files = filesInFolder();
    std::string tooLong;
    for (int i = 0; i < 80; ++i) tooLong += "長";
    for (const std::string bad :
         {"引用\"符", "a/b", "a\\b", "a:b", "a*b", "a?b", "a<b", "a>b", "a|b", "タブ\tあり", ".",
          "..", "絵文字😀", tooLong.c_str(), "squat"}) {
        box->boxes.clear();
        box->inputAnswers = {QString::fromStdString(bad), ""};
        panel->itemList()->cmdNew_Click();
        ASSERT_GE(box->boxes.size(), 2u) << bad;
        EXPECT_EQ(box->boxes[1].title, edit::kNameErrorTitle) << bad;

        box->boxes.clear();
        select(0);
        get<QLineEdit>("txtKoumoku")->setText(QString::fromStdString(bad));
        panel->itemList()->cmdHozon_Click();
        ASSERT_EQ(box->boxes.size(), 1u) << bad;
        EXPECT_EQ(box->boxes[0].title, edit::kNameErrorTitle) << bad;
    }
    EXPECT_EQ(itemFile(), before);
    EXPECT_EQ(filesInFolder(), files);
    EXPECT_EQ(changes, 0);
}

TEST_F(EditPanelTest, ChangingRefusesBadCountsAndStoresRoundedOnes) {
    const std::string before = itemFile();
    select(0);
    setBoxes("腕立て", "1001", "100");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(lastText(), edit::kAtMostThousandUpdate);
    setBoxes("腕立て", "10", "2147483648");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(lastText(), edit::kAtMostLargest);
    EXPECT_EQ(itemFile(), before);
    EXPECT_EQ(PCTM.ItemInstructed(1), 10);
    EXPECT_EQ(changes, 0);

    setBoxes("腕立て", "2.5", "100.5");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(lastText(), edit::updated("腕立て"));
    EXPECT_EQ(itemFile().substr(0, TempFolder::cp932("\"腕立て\",2,100\r\n").size()),
              TempFolder::cp932("\"腕立て\",2,100\r\n"));
    EXPECT_EQ(get<QLineEdit>("txtKaisu")->text(), "2");
    EXPECT_EQ(changes, 1);

    items()->setCurrentRow(-1);
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(lastText(), "先に項目を選んで下さい");
}

TEST_F(EditPanelTest, RenamingMovesBothHistoriesButNeverOntoAnExistingOne) {
    const std::string history = TempFolder::read("腕立て.txt");
    select(0);
    setBoxes("腕立て伏せ", "10", "100");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(lastText(), edit::updated("腕立て伏せ"));
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), history);
    EXPECT_TRUE(TempFolder::exists("クイック_腕立て伏せ.txt"));
    EXPECT_FALSE(TempFolder::exists("腕立て.txt"));
    EXPECT_FALSE(TempFolder::exists("クイック_腕立て.txt"));
    EXPECT_EQ(items()->item(0)->text(), "腕立て伏せ");
    EXPECT_EQ(get<QComboBox>("cboKoumoku")->currentText(), "腕立て伏せ");
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 2);

    // 腹筋 onto a history left behind by an earlier item: refused, nothing moves.
    TempFolder::write("昔の種目.txt", "old");
    const std::string before = itemFile();
    select(1);
    setBoxes("昔の種目", "20", "200");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(box->boxes.back().title, "項目名変更不可");
    EXPECT_EQ(itemFile(), before);
    EXPECT_EQ(TempFolder::read("昔の種目.txt"), "old");
    EXPECT_EQ(items()->item(1)->text(), "腹筋");
    EXPECT_EQ(PCTM.ItemNames(2), "腹筋");
}

TEST_F(EditPanelTest, AFailedListRewriteRenamesTheHistoriesBack) {
    const std::string history = TempFolder::read("腕立て.txt");
    // A folder in the place of the list file makes its rewrite fail.
    std::filesystem::remove("項目一覧.txt");
    std::filesystem::create_directory("項目一覧.txt");
    select(0);
    setBoxes("別名", "10", "100");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(box->boxes.back().title, edit::kSaveErrorTitle);
    EXPECT_EQ(TempFolder::read("腕立て.txt"), history);
    EXPECT_TRUE(TempFolder::exists("クイック_腕立て.txt"));
    EXPECT_FALSE(TempFolder::exists("別名.txt"));
    EXPECT_EQ(PCTM.ItemNames(1), "腕立て");
    EXPECT_EQ(items()->item(0)->text(), "腕立て");
    EXPECT_EQ(changes, 0);
}

TEST_F(EditPanelTest, DeletingKeepsSharedHistoriesAndRemovesTheLastOnes) {
    TempFolder::write("項目一覧.txt", TempFolder::cp932("\"腕立て\",1,1\r\n\"腹筋\",2,2\r\n"
                                                        "\"腕立て\",3,3\r\n"));
    reopen();
    select(2);
    EXPECT_EQ(get<QLineEdit>("txtKaisu")->text(), "3");
    box->boxAnswers = {MsgResult::Cancel};
    panel->itemList()->cmdDel_Click();
    EXPECT_EQ(PCTM.ItemCount(), 3);

    select(2);
    panel->itemList()->cmdDel_Click();
    EXPECT_EQ(box->boxes.back().text, edit::askDelete("腕立て"));
    EXPECT_EQ(itemFile(), TempFolder::cp932("\"腕立て\",1,1\r\n\"腹筋\",2,2\r\n"));
    EXPECT_TRUE(TempFolder::exists("腕立て.txt"));
    EXPECT_TRUE(TempFolder::exists("クイック_腕立て.txt"));
    EXPECT_TRUE(get<QLineEdit>("txtKoumoku")->text().isEmpty());
    EXPECT_TRUE(get<QLineEdit>("txtKaisu")->text().isEmpty());
    EXPECT_TRUE(get<QLineEdit>("txtMokuhyo")->text().isEmpty());

    select(0);
    panel->itemList()->cmdDel_Click();
    EXPECT_FALSE(TempFolder::exists("腕立て.txt"));
    EXPECT_FALSE(TempFolder::exists("クイック_腕立て.txt"));
    EXPECT_EQ(texts(items()), QStringList({"腹筋"}));
    EXPECT_EQ(changes, 2);

    select(0);
    panel->itemList()->cmdDel_Click();
    EXPECT_EQ(items()->count(), 0);
    EXPECT_EQ(get<QComboBox>("cboKoumoku")->count(), 0);
    EXPECT_TRUE(get<QComboBox>("cboKoumoku")->currentText().isEmpty());
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 0);
}

TEST_F(EditPanelTest, DraggingPlacesTheEntryBeforeTheOneReleasedOn) {
    QPushButton* sort = get<QPushButton>("cmdSort");
    const QColor face = sort->palette().color(QPalette::Button);
    drag(1, 2);
    EXPECT_EQ(texts(items()), QStringList({"腕立て", "腹筋", "背筋", "Squat", "懸垂"}));
    EXPECT_FALSE(panel->orderUnsaved());

    drag(1, 4);
    EXPECT_EQ(texts(items()), QStringList({"腕立て", "背筋", "Squat", "腹筋", "懸垂"}));
    EXPECT_EQ(sort->palette().color(QPalette::Button), QColor(255, 224, 192));
    EXPECT_EQ(get<QLineEdit>("txtKoumoku")->text(), "腹筋");
    EXPECT_EQ(get<QLineEdit>("txtKaisu")->text(), "20");

    drag(4, 0);
    EXPECT_EQ(texts(items()), QStringList({"懸垂", "腕立て", "背筋", "Squat", "腹筋"}));
    drag(0, 5);  // released below the last entry: as if on the last
    EXPECT_EQ(texts(items()), QStringList({"腕立て", "背筋", "Squat", "懸垂", "腹筋"}));

    // Unsaved: a selection and a change act on the item the entry names.
    const std::string unsorted = itemFile();
    select(1);
    EXPECT_EQ(get<QLineEdit>("txtKaisu")->text(), "30");
    setBoxes("背筋", "33", "300");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(PCTM.ItemNames(3), "背筋");
    EXPECT_EQ(PCTM.ItemInstructed(3), 33);
    EXPECT_EQ(PCTM.ItemInstructed(2), 20);
    EXPECT_NE(itemFile(), unsorted);

    panel->itemList()->cmdSort_Click();
    EXPECT_EQ(lastText(), edit::kOrderSaved);
    EXPECT_EQ(itemFile(),
              TempFolder::cp932("\"腕立て\",10,100\r\n\"背筋\",33,300\r\n"
                                "\"Squat\",40,400\r\n\"懸垂\",5,50\r\n\"腹筋\",20,200\r\n"));
    EXPECT_EQ(sort->palette().color(QPalette::Button), face);
    EXPECT_EQ(PCTM.ItemNames(5), "腹筋");
    select(4);
    EXPECT_EQ(get<QLineEdit>("txtMokuhyo")->text(), "200");
    EXPECT_EQ(get<QComboBox>("cboKoumoku")->itemText(4), "腹筋");
}

TEST_F(EditPanelTest, AltArrowsMoveTheSelectedEntryAsADragWouldAndSaveNothing) {
    // Each key is compared with the drag that gives the same order, on a fresh panel; the key
    // moves the selected entry, which stays selected.
    struct Case {
        int row;
        int key;   // with Alt
        int from;  // the drag; -1: none
        int to;
    };
    const Case cases[] = {
        {1, Qt::Key_Up, 1, 0},   {1, Qt::Key_Down, 2, 1},   {3, Qt::Key_Down, 4, 3},
        {0, Qt::Key_Up, -1, -1}, {4, Qt::Key_Down, -1, -1},
    };
    const std::string file = itemFile();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << c.row << " key " << c.key);
        reopen();
        if (c.from >= 0) drag(c.from, c.to);
        const QStringList order = texts(items());
        const bool unsaved = panel->orderUnsaved();

        reopen();
        select(c.row);
        const QString moved = items()->item(c.row)->text();
        QTest::keyClick(items(), Qt::Key(c.key), Qt::AltModifier);
        EXPECT_EQ(texts(items()), order);
        EXPECT_EQ(panel->orderUnsaved(), unsaved);
        EXPECT_EQ(
            get<QPushButton>("cmdSort")->palette().color(QPalette::Button) == QColor(255, 224, 192),
            unsaved);
        if (unsaved) {
            EXPECT_EQ(get<QLineEdit>("txtKoumoku")->text(), moved);
        }
        EXPECT_EQ(itemFile(), file);
        EXPECT_TRUE(box->boxes.empty());
    }
    EXPECT_EQ(changes, 0);
}

TEST_F(EditPanelTest, TabEntersEachOptionGroupOnItsCheckedOption) {
    panel->show();
    const auto tabStop = [this](const char* name) {
        return (get<QRadioButton>(name)->focusPolicy() & Qt::TabFocus) != 0;
    };
    const std::vector<std::pair<const char*, bool>> stored = {
        {"optTim_0", false}, {"optTim_1", true}, {"optKaisu_0", false}, {"optKaisu_1", true}};
    for (const auto& [name, expected] : stored) EXPECT_EQ(tabStop(name), expected) << name;

    get<QRadioButton>("optTim_2")->click();
    get<QRadioButton>("optKaisu_0")->click();
    const std::vector<std::pair<const char*, bool>> chosen = {
        {"optTim_1", false}, {"optTim_2", true}, {"optKaisu_0", true}, {"optKaisu_1", false}};
    for (const auto& [name, expected] : chosen) EXPECT_EQ(tabStop(name), expected) << name;
}

// The panel is built from three parts; Tab still goes through them as the eye reads the panel.
TEST_F(EditPanelTest, TabFollowsTheItemsThenTheModesThenTheHistories) {
    QStringList order;
    for (QWidget* w = panel->nextInFocusChain(); w != panel.get(); w = w->nextInFocusChain())
        if (panel->isAncestorOf(w) && !w->objectName().isEmpty() &&
            (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
    EXPECT_EQ(order,
              QStringList({"lstKoumoku", "txtKoumoku", "txtKaisu", "txtMokuhyo", "cmdNew",
                           "cmdHozon", "cmdDel", "cmdSort", "optTim_1", "hsbTime", "optKaisu_1",
                           "cboKoumoku", "cmdClear", "cmdAllClear", "cmdRestore", "lstRireki"}));
}

TEST_F(EditPanelTest, ClearingEmptiesTheChosenHistoriesOnly) {
    QComboBox* combo = get<QComboBox>("cboKoumoku");
    combo->setEditText("存在しない");
    panel->historyClearing()->cmdClear_Click();
    EXPECT_EQ(box->boxes.size(), 1u);
    EXPECT_FALSE(TempFolder::exists("存在しない.txt"));

    combo->setEditText("腕立て");
    panel->historyClearing()->cmdClear_Click();
    EXPECT_EQ(box->messageTexts(),
              QStringList({"存在しない という項目は登録されていません", edit::askClear("腕立て"),
                           edit::cleared("腕立て")}));
    EXPECT_EQ(TempFolder::read("腕立て.txt"), "");
    EXPECT_FALSE(TempFolder::read("クイック_腕立て.txt").empty());
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 0);
    EXPECT_EQ(changes, 1);

    panel->historyClearing()->cmdAllClear_Click();
    EXPECT_EQ(lastText(), edit::kClearedAll);
    for (const char* name : {"腕立て", "腹筋", "背筋", "Squat", "懸垂"}) {
        EXPECT_TRUE(TempFolder::exists(std::string(name) + ".txt")) << name;
        EXPECT_EQ(TempFolder::read(std::string(name) + ".txt"), "");
        EXPECT_EQ(TempFolder::read(std::string("クイック_") + name + ".txt"), "");
    }
    EXPECT_EQ(changes, 2);
}

TEST_F(EditPanelTest, ModeChoicesWriteTheFileBeforeTheirMessage) {
    std::vector<std::string> fileDuringBox;
    box->onBox = [&](const testing::RecordedBox&) {
        fileDuringBox.push_back(TempFolder::read("プレイ設定.txt"));
    };
    get<QRadioButton>("optTim_0")->click();
    get<QRadioButton>("optKaisu_0")->click();
    get<QRadioButton>("optTim_2")->click();
    EXPECT_EQ(box->messageTexts(),
              QStringList({edit::kLaunchRandom, edit::kCountRandom, edit::kLaunchDirect}));
    EXPECT_EQ(box->boxes[0].title, "設定保存終了");
    EXPECT_EQ(fileDuringBox, (std::vector<std::string>{"1,0,15\r\n", "1,1,15\r\n", "2,1,15\r\n"}));

    QScrollBar* bar = get<QScrollBar>("hsbTime");
    bar->setValue(30);
    EXPECT_EQ(get<QLabel>("lblJikan")->text(), "30分");
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(TempFolder::read("プレイ設定.txt"), "2,1,15\r\n");
    EXPECT_EQ(PCTM.LaunchInterval, 15);
    QTest::keyClick(bar, Qt::Key_Left);
    QTest::keyClick(bar, Qt::Key_Return);
    EXPECT_EQ(lastText(), edit::launchInterval(30));
    EXPECT_EQ(fileDuringBox.back(), "2,1,30\r\n");
    EXPECT_EQ(PCTM.LaunchInterval, 30);

    // Hidden, the panel ignores its controls.
    box->boxes.clear();
    panel->hide();
    panel->playModes()->optTim_Click(1);
    EXPECT_TRUE(box->boxes.empty());
    EXPECT_EQ(PCTM.LaunchMode, 2);
}

TEST_F(EditPanelTest, AFailedModeWriteIsToldAndMemoryFollowsTheFile) {
    std::filesystem::remove("プレイ設定.txt");
    std::filesystem::create_directory("プレイ設定.txt");
    get<QRadioButton>("optTim_2")->click();
    ASSERT_EQ(box->boxes.size(), 1u);
    EXPECT_EQ(box->boxes[0].title, edit::kSaveErrorTitle);
    EXPECT_EQ(PCTM.LaunchMode, 0);
    EXPECT_TRUE(get<QRadioButton>("optTim_1")->isChecked());
}

TEST_F(EditPanelTest, TheHistoryListStaysWithTheComboItemWhenAnotherScreenMovesCurrentItem) {
    ASSERT_EQ(get<QListWidget>("lstRireki")->count(), 2);  // 腕立て, listed on opening
    PCTM.CurrentItem = 3;  // the history screen moved on to 背筋, which has no sets
    select(2);
    setBoxes("背筋", "31", "300");
    panel->itemList()->cmdHozon_Click();
    EXPECT_EQ(lastText(), edit::updated("背筋"));
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 2);
    EXPECT_TRUE(get<QListWidget>("lstRireki")->item(0)->text().contains("07時05分09秒"));

    // A clear-all that cannot take its copies leaves the files, and the list shows them still.
    PCTM.CurrentItem = 3;
    TempFolder::write("バックアップ", "not a folder");
    panel->historyClearing()->cmdAllClear_Click();
    EXPECT_EQ(get<QListWidget>("lstRireki")->count(), 2);
}

}  // namespace
}  // namespace mitoran
