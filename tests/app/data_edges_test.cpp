// Data folders as other programs leave them, run through start-up and the real screens: the
// bytes on disk afterwards are compared whole.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>

#include "app/pctm.h"
#include "app/screens.h"
#include "app/startup.h"
#include "home/frmSettei.h"
#include "session/frmMain.h"
#include "support/screen_reset.h"
#include "support/screen_texts.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"

namespace mitoran {
namespace {
namespace edit = texts::edit;

using testing::ScriptedServices;
using testing::TempFolder;
using Files = std::map<std::string, std::string>;

std::string sjis(std::string_view utf8) { return TempFolder::cp932(utf8); }

const std::string kSettings = sjis("\"ヘルプツアー\",0\r\n");
const std::string kPlay = "2,0,5\r\n";
const std::string kSet = "\"2024年03月07日\",\"07時05分09秒\",12\r\n";
// What recording a set at the scripted clock (2024-04-01 12:00:00) appends.
const std::string kRecorded = "\"2024年04月01日\",\"12時00分00秒\",10\r\n";

// A folder with the settings files and the given item list (CP932 unless given as bytes).
Files folderWith(std::string itemListBytes, Files more = {}) {
    Files f{{"項目一覧.txt", std::move(itemListBytes)},
            {"設定.txt", kSettings},
            {"プレイ設定.txt", kPlay}};
    for (auto& [name, bytes] : more) f[name] = bytes;
    return f;
}

// Backup copies carry the time they were made; compared without it.
Files filesOnDisk() {
    static const std::regex stamp("_[0-9]{8}_[0-9]{6}(_[0-9]+)?\\.txt$");
    Files out;
    for (auto& [name, bytes] : TempFolder::allFiles())
        out[std::regex_replace(name, stamp, ".txt")] = bytes;
    return out;
}

class DataEdges : public ::testing::Test {
  public:  // the rows' actions use these
    void SetUp() override { resetRun(); }
    void TearDown() override {
        testing::closeEveryScreen();
        resetRun();
    }

    // One row: a fresh folder and a fresh run.
    void begin(const Files& files) {
        testing::closeEveryScreen();
        resetRun();
        for (const auto& [name, bytes] : filesOnDisk()) std::filesystem::remove_all(name);
        std::filesystem::remove_all("バックアップ");
        for (const auto& [name, bytes] : files) TempFolder::write(name, bytes);
        svc = &testing::installScriptedServices();
    }
    int start() {
        const int rc = Main();
        testing::flushDeletes();
        return rc;
    }
    frmSettei* home() {
        if (frmMain* prompt = screens::promptScreen()) {
            prompt->findChild<QAbstractButton*>("cmdCut")->click();
            testing::flushDeletes();
        }
        return screens::openHomeScreen();
    }
    void click(const char* name) {
        QAbstractButton* b = screens::homeScreen()->findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
        testing::flushDeletes();
    }
    void typeInto(const char* box, const char* text) {
        screens::homeScreen()->findChild<QLineEdit*>(box)->setText(QString::fromUtf8(text));
    }
    void selectItem(int row) {
        screens::homeScreen()->findChild<QListWidget*>("lstKoumoku")->setCurrentRow(row);
    }
    // From the start to 変更 of the item in `row`, with `text` typed into `box`.
    void changeItem(int row, const char* box, const char* text) {
        ASSERT_EQ(start(), 0);
        home();
        click("cmdMaster");
        selectItem(row);
        typeInto(box, text);
        click("cmdHozon");
    }
    void recordSet() {
        ASSERT_NE(screens::promptScreen(), nullptr);
        screens::promptScreen()->cmdNext_Click();
        testing::flushDeletes();
    }
    QString boxes() const { return svc->messageTexts().join(QStringLiteral("\n---\n")); }
    int boxesHolding(const QString& text) const {
        int n = 0;
        for (const QString& t : svc->messageTexts()) n += t.contains(text) ? 1 : 0;
        return n;
    }

    struct Row {
        const char* what;
        Files before;
        std::function<void(DataEdges&)> act;
        Files after;   // the whole folder afterwards, byte for byte
        QString told;  // a text some message box holds, exactly once
    };
    void run(const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            begin(row.before);
            row.act(*this);
            EXPECT_EQ(filesOnDisk(), row.after);
            if (!row.told.isEmpty()) {
                EXPECT_EQ(boxesHolding(row.told), 1) << boxes().toStdString();
            }
        }
    }

    TempFolder folder;
    ScriptedServices* svc = nullptr;
};

// New items named like the program's own files are refused; an item list edited by hand to
// hold one never costs the program its file.
TEST_F(DataEdges, NamesOfTheProgramsOwnFiles) {
    const std::string list = sjis("\"腕立て\",10,100\r\n");
    const Files plain = folderWith(list, {{"腕立て.txt", ""}});
    auto typedAtNew = [](const char* name) {
        return [name](DataEdges& t) {
            ASSERT_EQ(t.start(), 0);
            t.home();
            t.click("cmdMaster");
            t.svc->inputAnswers = {QString::fromUtf8(name)};
            t.click("cmdNew");
        };
    };
    const auto refused = [](const char* name, const char* file) {
        return QStringLiteral(
                   "「%1」はミトランが使うファイル「%2」と同じ名前になるため、項目名に使えません。")
            .arg(QString::fromUtf8(name), QString::fromUtf8(file));
    };
    const Files withSettingsItem =
        folderWith(sjis("\"設定\",10,100\r\n\"腕立て\",10,100\r\n"), {{"クイック_設定.txt", ""}});
    Files afterDelete = withSettingsItem;
    afterDelete["項目一覧.txt"] = list;
    afterDelete.erase("クイック_設定.txt");
    const Files withListItem = folderWith(sjis("\"項目一覧\",10,100\r\n"));

    run({
        {"新規 設定", plain, typedAtNew("設定"), plain, refused("設定", "設定.txt")},
        {"新規 項目一覧", plain, typedAtNew("項目一覧"), plain,
         refused("項目一覧", "項目一覧.txt")},
        {"新規 プレイ設定", plain, typedAtNew("プレイ設定"), plain,
         refused("プレイ設定", "プレイ設定.txt")},
        {"新規 クイック_腕立て", plain, typedAtNew("クイック_腕立て"), plain,
         QStringLiteral("「クイック_」で始まる名前はクイックマッスルの記録ファイルと重なるため")},
        {"変更 to 設定", plain, [](DataEdges& t) { t.changeItem(0, "txtKoumoku", "設定"); }, plain,
         refused("設定", "設定.txt")},
        {"削除 of a hand-made item 設定",
         withSettingsItem,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             t.home();
             t.click("cmdMaster");
             t.selectItem(0);
             t.click("cmdDel");
         },
         afterDelete,
         {}},
        {"a set for a hand-made item 項目一覧", withListItem,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             t.recordSet();
         },
         withListItem,
         QStringLiteral(
             "はミトランが使うファイルのため、「項目一覧」の記録は書き込みませんでした")},
    });
}

// Two spellings of one file: every reader and writer takes the capital one, start-up names both.
TEST_F(DataEdges, TwoSpellingsOfOneFile) {
    const std::string firstRun = sjis("\"腕立て\",10,100\r\n");
    const std::string copied = sjis("\"懸垂\",5,50\r\n");
    Files lists = folderWith(firstRun, {{"項目一覧.TXT", copied}, {"腕立て.txt", ""}});
    const QString told =
        QStringLiteral("「項目一覧.TXT」を使います。「項目一覧.txt」は読み書きしません。");

    Files added = lists;
    added["項目一覧.TXT"] = copied + sjis("\"背筋\",20,200\r\n");
    added["懸垂.txt"] = "";
    added["背筋.txt"] = "";
    Files reordered = lists;
    reordered["項目一覧.TXT"] = sjis("\"背筋\",20,200\r\n\"懸垂\",5,50\r\n");
    reordered["懸垂.txt"] = "";
    const Files histories = folderWith(copied, {{"懸垂.TXT", sjis(kSet)}, {"懸垂.txt", ""}});
    Files recorded = histories;
    recorded["懸垂.TXT"] = sjis(kSet + kRecorded.substr(0, kRecorded.size() - 4) + "5\r\n");

    run({
        {"新規 lands in the file that is read", lists,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             EXPECT_EQ(PCTM.itemNames(), (std::vector<std::string>{"懸垂"}));
             t.home();
             t.click("cmdMaster");
             t.svc->inputAnswers = {"背筋", "20", "200"};
             t.click("cmdNew");
             EXPECT_EQ(t.boxesHolding(edit::added("背筋")), 1);
         },
         added, told},
        {"並び替え too",
         [&] {
             Files f = lists;
             f["項目一覧.TXT"] = copied + sjis("\"背筋\",20,200\r\n");
             return f;
         }(),
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             t.home();
             t.click("cmdMaster");
             auto* list = screens::homeScreen()->findChild<QListWidget*>("lstKoumoku");
             list->insertItem(0, list->takeItem(1));
             t.click("cmdSort");
         },
         reordered, told},
        {"a set lands in the history that is counted", histories,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             t.recordSet();
         },
         recorded, QStringLiteral("「懸垂.TXT」を使います。「懸垂.txt」は読み書きしません。")},
    });
}

// Files an editor saved as UTF-8 without a byte-order mark: read as UTF-8, appended in UTF-8,
// rewritten as CP932 after an unchanged copy.
TEST_F(DataEdges, FilesSavedAsUtf8) {
    const std::string utf8List = "\"腕立て\",10,100\r\n\"背筋\",20,200\r\n";
    const std::string utf8History = kSet;
    const Files utf8 = folderWith(utf8List, {{"腕立て.txt", utf8History}});
    Files recorded = utf8;
    recorded["腕立て.txt"] = utf8History + kRecorded;
    recorded["背筋.txt"] = "";  // the round moved on to it
    Files changed = utf8;
    changed["項目一覧.txt"] = sjis("\"腕立て\",10,100\r\n\"背筋\",30,200\r\n");
    changed["バックアップ/項目一覧.txt"] = utf8List;
    const std::string utf8Settings = "\"ヘルプツアー\",0\r\n";
    Files settings =
        folderWith(sjis("\"腕立て\",10,100\r\n"), {{"設定.txt", utf8Settings}, {"腕立て.txt", ""}});
    Files toggled = settings;
    toggled["設定.txt"] = sjis("\"ヘルプツアー\",1\r\n");
    toggled["バックアップ/設定.txt"] = utf8Settings;

    run({
        {"read as UTF-8, a set appended in UTF-8",
         utf8,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             EXPECT_EQ(PCTM.itemNames(), (std::vector<std::string>{"腕立て", "背筋"}));
             t.recordSet();
             EXPECT_EQ(PCTM.Analysis.SetTotal, 0) << "背筋 has no sets";
         },
         recorded,
         {}},
        {"the item list rewritten as CP932 after a copy",
         utf8,
         [](DataEdges& t) { t.changeItem(1, "txtKaisu", "30"); },
         changed,
         {}},
        {"the settings too",
         settings,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             t.home()->findChild<QCheckBox*>("chkHelp")->click();
         },
         toggled,
         {}},
    });
}

// A folder unpacked from a zip made on Japanese Windows: names are CP932 bytes.
TEST_F(DataEdges, FileNamesInCp932) {
    const std::string list = sjis("\"腕立て\",10,100\r\n");
    const Files coded{{sjis("項目一覧.txt"), list},      {sjis("設定.txt"), kSettings},
                      {sjis("プレイ設定.txt"), kPlay},   {sjis("腕立て.txt"), sjis(kSet)},
                      {sjis("クイック_腕立て.txt"), ""}, {".mitoran.lock", "1"}};
    Files renamed = folderWith(
        list, {{"腕立て.txt", sjis(kSet)}, {"クイック_腕立て.txt", ""}, {".mitoran.lock", "1"}});
    for (const char* f : {"項目一覧.txt", "設定.txt", "プレイ設定.txt", "腕立て.txt"})
        renamed[std::string("バックアップ/") + f] = renamed[f];
    const QString offer = QStringLiteral("これらのファイルを正しい名前に変更しますか？");
    Files taken = coded;
    taken["設定.txt"] = kSettings;
    Files takenAfter = renamed;
    takenAfter[sjis("設定.txt")] = kSettings;
    takenAfter.erase("バックアップ/設定.txt");

    run({
        {"accepted", coded,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             EXPECT_EQ(PCTM.itemNames(), (std::vector<std::string>{"腕立て"}));
             EXPECT_EQ(t.svc->messageBoxes().at(0).buttons, MsgButtons::OkCancel);
         },
         renamed, offer},
        {"declined: nothing changes", coded,
         [](DataEdges& t) {
             t.svc->boxAnswers = {MsgResult::Cancel};
             EXPECT_NE(t.start(), 0) << "no item list under its name";
         },
         coded, offer},
        {"a proper name already taken keeps its file", taken,
         [](DataEdges& t) { ASSERT_EQ(t.start(), 0); }, takenAfter,
         QStringLiteral("「設定.txt」：同じ名前のファイルが既にあるため変更しません")},
    });
}

// Lines that cannot be read are told once per file and run, where the file is first read.
TEST_F(DataEdges, UnreadableLinesToldOnceWithTheirNumbers) {
    const std::string bad = "壊れた行\r\n";
    const Files listLines =
        folderWith(sjis("\"腕立て\",10,100\r\n" + bad + "\r\n" + bad), {{"腕立て.txt", ""}});
    const Files historyLines = folderWith(
        sjis("\"腕立て\",10,100\r\n"), {{"腕立て.txt", sjis(bad + kSet + bad + bad + bad + bad)}});
    const Files homeLines = folderWith(sjis("\"腕立て\",10,100\r\n\"背筋\",10,100\r\n"),
                                       {{"腕立て.txt", ""}, {"背筋.txt", sjis(kSet + bad)}});
    const Files quickLines = folderWith(sjis("\"腕立て\",10,100\r\n"),
                                        {{"腕立て.txt", ""}, {"クイック_腕立て.txt", sjis(bad)}});
    // Spreadsheets end a row with an empty field; such lines are records.
    const Files trailing =
        folderWith(sjis("\"腕立て\",10,100,\r\n"),
                   {{"腕立て.txt", sjis("\"2024年03月07日\",\"07時05分09秒\",12,\r\n")}});
    auto startAndOpen = [](std::vector<const char*> buttons) {
        return [buttons](DataEdges& t) {
            ASSERT_EQ(t.start(), 0);
            t.home();
            for (const char* b : buttons) t.click(b);
        };
    };

    run({
        {"start-up, item list", listLines, startAndOpen({}), listLines,
         QStringLiteral("「項目一覧.txt」の2行目・4行目は読み取れなかったため、使っていません。")},
        {"prompt, analysed twice", historyLines,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             screens::promptScreen()->AnalyseItemHistory();
             t.home();
             t.click("cmdToday");
             t.click("cmdGraph");
         },
         historyLines,
         QStringLiteral("「腕立て.txt」の1行目・3行目・4行目ほか、全部で5行は読み取れなかった")},
        {"home, then today and history screen stay quiet", homeLines,
         startAndOpen({"cmdToday", "cmdGraph"}), homeLines,
         QStringLiteral("「背筋.txt」の2行目は")},
        {"quick panel", quickLines, startAndOpen({"cmdQuick"}), quickLines,
         QStringLiteral("「クイック_腕立て.txt」の1行目は")},
        {"a trailing empty field",
         trailing,
         [](DataEdges& t) {
             ASSERT_EQ(t.start(), 0);
             EXPECT_EQ(PCTM.itemNames(), (std::vector<std::string>{"腕立て"}));
             EXPECT_EQ(PCTM.Analysis.SetTotal, 1);
             EXPECT_FALSE(t.boxes().contains(QStringLiteral("読み取れなかった")))
                 << t.boxes().toStdString();
         },
         trailing,
         {}},
    });
}

}  // namespace
}  // namespace mitoran
