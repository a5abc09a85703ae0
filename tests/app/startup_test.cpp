#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/pctm.h"
#include "app/screens.h"
#include "support/screen_reset.h"
#include "support/screen_texts.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"

namespace mitoran {
namespace {

using testing::ScriptedServices;
using testing::TempFolder;

std::set<std::string> filesInFolder() {
    std::set<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator("."))
        out.insert(e.path().filename().string());
    return out;
}

class Startup : public ::testing::Test {
  protected:
    void SetUp() override { resetRun(); }
    void TearDown() override { resetRun(); }

    static void writeItems(std::string_view utf8) {
        TempFolder::write("項目一覧.txt", TempFolder::cp932(utf8));
    }
    static void writeSettings(std::string_view utf8) {
        TempFolder::write("設定.txt", TempFolder::cp932(utf8));
    }
    static void writePlay(std::string_view utf8) {
        TempFolder::write("プレイ設定.txt", TempFolder::cp932(utf8));
    }

    TempFolder folder;
    ScriptedServices& s = testing::installScriptedServices();
};

TEST_F(Startup, EmptyItemListGivesNoItemsAndTouchesNoHistory) {
    writeItems("");
    PCTM.setItems({{"old", 5, 50}});

    ASSERT_TRUE(CheckDataAtStartup());
    EXPECT_EQ(PCTM.ItemCount(), 0);
    EXPECT_TRUE(PCTM.items().empty());
    EXPECT_EQ(filesInFolder(), std::set<std::string>{"項目一覧.txt"});
}

TEST_F(Startup, OnlyTheFirstItemsMissingHistoryIsCreatedAndAnExistingOneIsKept) {
    writeItems("\"腕立て伏せ\",10,500\r\n\"スクワット\",20,1000\r\n\"腹筋\",15,800\r\n");
    ASSERT_TRUE(CheckDataAtStartup());
    EXPECT_EQ(PCTM.ItemCount(), 3);
    EXPECT_EQ(PCTM.items(),
              (std::vector<ItemRecord>{
                  {"腕立て伏せ", 10, 500}, {"スクワット", 20, 1000}, {"腹筋", 15, 800}}));
    EXPECT_TRUE(TempFolder::exists("腕立て伏せ.txt"));
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), "");
    EXPECT_FALSE(TempFolder::exists("スクワット.txt"));
    EXPECT_FALSE(TempFolder::exists("腹筋.txt"));

    const std::string history = TempFolder::cp932("\"2024年03月07日\",\"07時05分09秒\",12\r\n");
    TempFolder::write("腕立て伏せ.txt", history);
    ASSERT_TRUE(CheckDataAtStartup());
    EXPECT_EQ(TempFolder::read("腕立て伏せ.txt"), history);
}

TEST_F(Startup, ItemListFoundWhateverTheCaseOfItsExtension) {
    TempFolder::write("項目一覧.TXT", TempFolder::cp932("\"懸垂\",5,100\r\n"));
    ASSERT_TRUE(LoadItemList());
    EXPECT_EQ(PCTM.ItemCount(), 1);
    EXPECT_EQ(PCTM.ItemNames(1), "懸垂");
}

TEST_F(Startup, FailedLoadersLeaveTheirValuesAndSayWhy) {
    PCTM.setItems({{"keep", 3, 30}});
    PCTM.HelpTourOn = -1;
    PCTM.LaunchMode = 2;
    PCTM.CountMode = 1;
    PCTM.LaunchInterval = 7;

    IoResult r = LoadItemList();
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("項目一覧.txt"), std::string::npos) << r.reason;
    r = LoadSettings();
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("設定.txt"), std::string::npos) << r.reason;
    r = LoadPlaySettings();
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("プレイ設定.txt"), std::string::npos) << r.reason;

    // A settings file without a single usable record is as unusable as a missing one.
    writeSettings("\"ヘルプツアー\",on\r\n");
    writePlay("\r\n");
    EXPECT_FALSE(LoadSettings());
    EXPECT_FALSE(LoadPlaySettings());

    // 21 items would overrun the prompt screen; loading only 20 would lose one at the next save.
    std::string many;
    for (int i = 1; i <= 21; ++i) many += "\"item" + std::to_string(i) + "\",1,1\r\n";
    writeItems(many);
    EXPECT_FALSE(LoadItemList());

    EXPECT_EQ(PCTM.items(), (std::vector<ItemRecord>{{"keep", 3, 30}}));
    EXPECT_EQ(PCTM.ItemCount(), 1);
    EXPECT_EQ(PCTM.HelpTourOn, -1);
    EXPECT_EQ(PCTM.LaunchMode, 2);
    EXPECT_EQ(PCTM.CountMode, 1);
    EXPECT_EQ(PCTM.LaunchInterval, 7.0f);
    EXPECT_TRUE(s.boxes.empty()) << "loaders report to their caller, not to the user";
}

TEST_F(Startup, SettingsSwitchTheHelpTourByTheirSecondField) {
    PCTM.HelpTourMessage = "ようこそ\r\n\r\nミトランへ";
    const std::pair<const char*, int> cases[] = {
        {"\"ヘルプツアー\",-1\r\n", -1}, {"\"ヘルプツアー\",1\r\n", 1}, {"\"なんでも\",0", 0}};
    for (const auto& [file, expected] : cases) {
        s.boxes.clear();
        writeSettings(file);
        ASSERT_TRUE(LoadSettings()) << file;
        EXPECT_EQ(PCTM.HelpTourOn, expected) << file;
        ShowHelpTourMessage();
        if (expected == 0) {
            EXPECT_TRUE(s.boxes.empty()) << "the tour is off: nothing is shown";
        } else {
            ASSERT_EQ(s.boxes.size(), 1u);
            EXPECT_EQ(s.boxes[0].title, texts::kHelpTourTitle);
            EXPECT_EQ(s.boxes[0].text, QStringLiteral("ようこそ\r\n\r\nミトランへ"));
            EXPECT_EQ(s.boxes[0].icon, MsgIcon::Information);
            EXPECT_EQ(s.boxes[0].buttons, MsgButtons::Ok);
        }
    }
    EXPECT_EQ(PCTM.HelpTourMessage, "ようこそ\r\n\r\nミトランへ");
}

TEST_F(Startup, PlaySettingsAreReadInFileOrder) {
    writePlay("1,0,45\r\n");
    ASSERT_TRUE(LoadPlaySettings());
    EXPECT_EQ(PCTM.LaunchMode, 1);
    EXPECT_EQ(PCTM.CountMode, 0);
    EXPECT_EQ(PCTM.LaunchInterval, 45.0f);
}

TEST_F(Startup, AMissingRequiredFileStopsStartUpAndSaysWhichAndWhere) {
    writeItems("\"腕立て伏せ\",10,500\r\n");
    writeSettings("\"ヘルプツアー\",1\r\n");
    const std::string folderPath = std::filesystem::current_path().string();

    EXPECT_NE(Main(), 0);
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    const testing::RecordedBox box = s.messageBoxes()[0];
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_TRUE(box.text.contains(QStringLiteral("プレイ設定.txt"))) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QString::fromStdString(folderPath))) << box.text.toStdString();
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_GE(s.processEventsCalls, 1);

    // Without the item list nothing else is looked at, and no history file appears.
    std::filesystem::remove("項目一覧.txt");
    std::filesystem::remove("腕立て伏せ.txt");
    writePlay("0,0,5\r\n");
    s.boxes.clear();
    EXPECT_NE(Main(), 0);
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_TRUE(s.messageBoxes()[0].text.contains(QStringLiteral("項目一覧.txt")));
    EXPECT_FALSE(TempFolder::exists("腕立て伏せ.txt"));
    EXPECT_EQ(screens::promptScreen(), nullptr);

    writeItems("");
    std::filesystem::remove("設定.txt");
    s.boxes.clear();
    EXPECT_NE(Main(), 0);
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_TRUE(s.messageBoxes()[0].text.contains(QStringLiteral("「設定.txt」")));
    EXPECT_EQ(screens::promptScreen(), nullptr);
}

TEST_F(Startup, HandEditedPlaySettingsComeInAsThePanelCanShowThem) {
    struct Case {
        const char* file;
        int launch, count;
        float interval;
    };
    for (const Case& c :
         {Case{"0,0,90\r\n", 0, 0, 60}, Case{"1,1,2.4\r\n", 1, 1, 2}, Case{"3,2,0\r\n", 0, 0, 1},
          Case{"2,1,-5\r\n", 2, 1, 1}, Case{"-1,0,99999999999\r\n", 0, 0, 60}}) {
        writePlay(c.file);
        ASSERT_TRUE(LoadPlaySettings()) << c.file;
        EXPECT_EQ(PCTM.LaunchMode, c.launch) << c.file;
        EXPECT_EQ(PCTM.CountMode, c.count) << c.file;
        EXPECT_EQ(PCTM.LaunchInterval, c.interval) << c.file;
    }
}

TEST_F(Startup, UnreadableItemLinesAreToldAndTheRestStartsAsUsual) {
    // A quoted comma belongs to the name; a count that is no number or a missing target does not
    // make an item.
    writeItems(
        "\"腕立て伏せ\",10,500\r\n\"スク,ワット\",20,1000\r\n\"腹筋\",x,800\r\n"
        "\"背筋\",15\r\n");
    writeSettings("\"ヘルプツアー\",0\r\n");
    writePlay("0,0,5\r\n");
    EXPECT_EQ(Main(), 0);
    EXPECT_EQ(PCTM.ItemCount(), 2);
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_EQ(s.messageBoxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(
        s.messageBoxes()[0].text.contains(QStringLiteral("「項目一覧.txt」の3行目・4行目は")))
        << s.messageBoxes()[0].text.toStdString();
    EXPECT_NE(screens::promptScreen(), nullptr);
    testing::closeEveryScreen();
}

}  // namespace
}  // namespace mitoran
