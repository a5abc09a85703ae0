// The home screen with its files on disk: the overview, the load sequence, the help tour switch,
// the panel buttons, the help window and the end of the program.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <array>
#include <filesystem>
#include <optional>

#include "home/edit_panel.h"
#include "home/restore_dialog.h"
#include "home_fixture.h"
#include "support/screen_texts.h"

namespace mitoran::testing {
namespace {

const QString kGoalTitle = QStringLiteral("目標回数達成！");

QString goalText(const QString& name) {
    return name + QStringLiteral(
                      " が目標回数を達成しました！\r\n\r\nさらなる飛躍を目指して次の目標を設定しま"
                      "しょう！");
}

// The switch as the settings file holds it; -99 when the file has no record.
int storedHelpTour() {
    const Loaded<SettingsRecord> s = readSettings();
    return s.ok() && !s.records.empty() ? s.records.front().helpTour : -99;
}

QString rowText(GridView* g, int row) {
    QStringList cells;
    for (int col = 0; col < 7; ++col) cells << g->text(row, col);
    return cells.join('|');
}

using HomeOverview = HomeFixture;

TEST_F(HomeOverview, FiguresBarsAndColoursOfEachBand) {
    addItem("腕立て", 100);
    addItem("腹筋", 100);
    addItem("スクワット", 100);
    addItem("背筋", 100);
    addItem("懸垂", 0);  // a target from a hand-edited file
    record("腕立て", yesterday, 45);
    record("腹筋", yesterday, 60);
    record("腹筋", today, 40);
    record("スクワット", yesterday, 101);
    record("懸垂", today, 8);

    frmSettei* home = openHome();
    GridView* g = grid(home);
    ASSERT_EQ(g->rows(), 6);
    EXPECT_EQ(rowText(g, 0),
              "トレーニング名|目標回数|実施回数|達成率|本日回数|実施ｾｯﾄ数|本日ｾｯﾄ数");
    // Per item: its row of the list, and its bar's length (of 2700) and colour. Past the target
    // the fresh bar stays aqua; without a target the colour is left as it was.
    struct Band {
        const char* row;
        int length;
        std::optional<int> colour;
    };
    const Band bands[] = {{"腕立て|100|45|45.0%|0|1|0", 1215, 14},
                          {"腹筋|100|100|100.0%|40|2|1", 2700, 9},
                          {"スクワット|100|101|101.0%|0|1|0", 2700, 11},
                          {"背筋|100|0|0.0%|0|0|0", 0, 12},
                          {"懸垂|0|8|-|8|1|1", 0, std::nullopt}};
    for (int r = 1; r <= 5; ++r) {
        const Band& band = bands[r - 1];
        SCOPED_TRACE(band.row);
        EXPECT_EQ(rowText(g, r), band.row);
        EXPECT_EQ(home->barLength(r), band.length);
        if (band.colour) {
            EXPECT_EQ(home->barColour(r), *band.colour);
        }
    }
    EXPECT_EQ(child<QLabel>(home, "lblTassei_1")->text(), "45.0%");
    EXPECT_EQ(child<QLabel>(home, "lblTassei_5")->text(), "-");
    EXPECT_EQ(child<QLabel>(home, "lblKoumokuw_3")->text(), "スクワット");
    for (int r = 1; r <= 20; ++r) EXPECT_EQ(home->barRowShown(r), r <= 5) << r;
    EXPECT_EQ(child<QLabel>(home, "lblTassei_6")->text(), "0%");

    // The painted bar is its share of the white track, whatever the track's width.
    QCoreApplication::processEvents();
    for (int r : {1, 2}) {
        auto* track = child<QFrame>(home, ("shpTasseiB_" + std::to_string(r)).c_str());
        QWidget* fill = child(home, ("shpTassei_" + std::to_string(r)).c_str());
        EXPECT_EQ(fill->width(), track->contentsRect().width() * home->barLength(r) / 2700) << r;
        EXPECT_EQ(fill->x(), track->contentsRect().x());
    }

    // Only the item past its target, once; exactly 100 % is no reason.
    ASSERT_EQ(svc->messageBoxes().size(), 1u);
    EXPECT_EQ(svc->messageBoxes()[0].text, goalText("スクワット"));
    EXPECT_EQ(svc->messageBoxes()[0].title, kGoalTitle);
    EXPECT_EQ(svc->messageBoxes()[0].icon, MsgIcon::Information);

    // Every load says it again.
    home = reopenHome();
    ASSERT_EQ(svc->messageBoxes().size(), 2u);
    EXPECT_EQ(svc->messageBoxes()[1].text, goalText("スクワット"));
    EXPECT_EQ(home->barColour(3), 11);
}

TEST_F(HomeOverview, TheGoalMessageComesOverAPaintedScreenInItemOrder) {
    addItem("腕立て", 10);
    addItem("腹筋", 10);
    record("腕立て", today, 11);
    record("腹筋", today, 12);
    std::vector<bool> homeVisible;
    svc->onBox = [&](const RecordedBox&) {
        homeVisible.push_back(screens::homeScreen() && screens::homeScreen()->isVisible());
    };
    openHome();
    EXPECT_EQ(svc->messageTexts(), (QStringList{goalText("腕立て"), goalText("腹筋")}));
    EXPECT_EQ(homeVisible, (std::vector<bool>{true, true}));
}

TEST_F(HomeOverview, YesterdaysSetsCountInTheTotalsOnlyAndTheDayListsFollowTheFile) {
    addItem("腕立て", 1000);
    record("腕立て", ymd(2024, 3, 6), 10, 8);
    record("腕立て", ymd(2024, 3, 6), 12, 9);
    record("腕立て", ymd(2024, 3, 1), 7);
    record("腕立て", ymd(2024, 3, 6), 3, 20);
    record("腕立て", today, 5);
    record("腕立て", today, 6, 10);

    frmSettei* home = openHome();
    EXPECT_EQ(rowText(grid(home), 1), "腕立て|1000|43|4.3%|11|6|2");
    EXPECT_EQ(home->itemDates().ItemDates[1],
              (std::vector<std::string>{"2024年03月06日", "2024年03月01日", "2024年03月07日"}));
    EXPECT_EQ(home->itemDates().ItemDateCount[1], 3);
}

TEST_F(HomeOverview, ItemsAfterAnEmptyNameAreNeitherCountedNorShown) {
    addItem("腕立て", 100);
    addItem("", 100);
    addItem("腹筋", 10);
    record("腕立て", today, 20);
    record("腹筋", today, 50);  // far past its target, yet never looked at

    frmSettei* home = openHome();
    GridView* g = grid(home);
    EXPECT_EQ(g->rows(), 4);
    EXPECT_EQ(rowText(g, 1), "腕立て|100|20|20.0%|20|1|1");
    EXPECT_EQ(rowText(g, 3), "||||||");
    EXPECT_TRUE(home->barRowShown(1));
    EXPECT_FALSE(home->barRowShown(2));
    EXPECT_FALSE(home->barRowShown(3));
    EXPECT_EQ(home->itemTotals().ItemTotalCount[3], 0);
    EXPECT_TRUE(home->itemDates().ItemDates[3].empty());
    EXPECT_TRUE(svc->messageBoxes().empty());
}

TEST_F(HomeOverview, TheEleventhBarOpensTheRightHandColumn) {
    for (int i = 1; i <= 11; ++i) addItem("種目" + std::to_string(i), 100);
    frmSettei* home = openHome();
    QWidget* first = child(home, "shpTasseiB_1");
    QWidget* tenth = child(home, "shpTasseiB_10");
    QWidget* eleventh = child(home, "shpTasseiB_11");
    QCoreApplication::processEvents();  // the layout follows the rows shown
    const QPoint p1 = first->mapTo(home, QPoint());
    const QPoint p10 = tenth->mapTo(home, QPoint());
    const QPoint p11 = eleventh->mapTo(home, QPoint());
    EXPECT_EQ(p11.y(), p1.y());
    EXPECT_GT(p11.x(), p1.x());
    EXPECT_GT(p10.y(), p1.y());
    EXPECT_TRUE(home->barRowShown(11));
    EXPECT_FALSE(home->barRowShown(12));
}

TEST_F(HomeOverview, AnEditRefillsTheOverviewAndRepeatsTheGoalMessage) {
    addItem("腕立て", 10);
    addItem("腹筋", 100);
    record("腕立て", today, 11);
    frmSettei* home = openHome();
    ASSERT_EQ(svc->messageBoxes().size(), 1u);

    record("腹筋", today, 30);
    emit child<EditPanel>(home, "fraSettei")->itemsChanged();
    EXPECT_EQ(rowText(grid(home), 2), "腹筋|100|30|30.0%|30|1|1");
    EXPECT_EQ(home->barLength(2), 810);
    EXPECT_EQ(home->barColour(2), 12);
    EXPECT_EQ(svc->messageTexts(), (QStringList{goalText("腕立て"), goalText("腕立て")}));

    // Cleared elsewhere: the row drops to zero and the day list follows.
    ASSERT_TRUE(emptyFile(historyFileName("腕立て")).ok);
    emit child<EditPanel>(home, "fraSettei")->itemsChanged();
    EXPECT_EQ(rowText(grid(home), 1), "腕立て|10|0|0.0%|0|0|0");
    EXPECT_TRUE(home->itemDates().ItemDates[1].empty());
    EXPECT_EQ(svc->messageBoxes().size(), 2u);
}

TEST_F(HomeOverview, AnUnreadableHistoryIsToldAndTheOverviewStillLoads) {
    addItem("腕立て", 100);
    addItem("腹筋", 100);
    record("腹筋", today, 30);
    std::filesystem::create_directory(historyFileName("腕立て"));
    frmSettei* home = openHome();
    ASSERT_EQ(svc->messageBoxes().size(), 1u);
    EXPECT_EQ(svc->messageBoxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(svc->messageBoxes()[0].text.contains("腕立て"));
    EXPECT_EQ(rowText(grid(home), 1), "腕立て|100|0|0.0%|0|0|0");
    EXPECT_EQ(rowText(grid(home), 2), "腹筋|100|30|30.0%|30|1|1");
}

using HomeLoad = HomeFixture;

TEST_F(HomeLoad, HelpTextOnlyWithTheTourOn) {
    addItem("腕立て", 100);
    openHome();
    EXPECT_TRUE(svc->messageBoxes().empty());

    PCTM.HelpTourOn = 1;
    reopenHome();
    ASSERT_EQ(svc->messageBoxes().size(), 1u);
    const RecordedBox box = svc->messageBoxes()[0];
    EXPECT_EQ(box.title, texts::kHelpTourTitle);
    EXPECT_EQ(box.icon, MsgIcon::Information);
    EXPECT_EQ(
        box.text,
        "一通りのトレーニングをこなしますとこの画面になります。\r\n"
        "ここから再度トレーニングを開始することができますし、各種機能が利用できます。\r\n"
        "\r\n"
        "各種項目の「目標回数」「実施した回数のトータル」「目標に対する達成率」などをリスト表示して"
        "ます。\r\n"
        "バーグラフとパーセンテージは、各トレーニング項目の目標に対する進度です。\r\n"
        "\r\n"
        "それでは機能説明をしますので 『本日実績』 ボタンを押してみて下さい。\r\n"
        "\r\n"
        "※なお、開始（次のスタンバイ）を押すともう一度最初からトレーニングを再開できます。\r\n"
        "（ランダムモードの時はタスクバーに一旦隠れてスタンバイ状態）\r\n"
        "\r\n"
        "※リストの任意の行をダブルクリックするとそのトレーニングのみを支援します。\r\n");
}

TEST_F(HomeLoad, PaintedBeforeReadingAndTheOverviewShown) {
    addItem("腕立て", 100);
    frmSettei* home = openHome();
    EXPECT_GE(svc->processEventsCalls, 1);
    EXPECT_TRUE(home->isVisible());
    EXPECT_EQ(home->windowTitle(), texts::kWindowTitle);
    EXPECT_EQ(home->HelpFilePath, "ZovHelp.chm");
    EXPECT_EQ(PCTM.HomeLoading, 0);
    EXPECT_TRUE(shown(home, "fraMain"));
    for (const char* panel : {"fraSettei", "fraToday", "fraQuick"})
        EXPECT_FALSE(shown(home, panel));
}

TEST_F(HomeLoad, SettingTheSwitchWhileLoadingWritesNothing) {
    addItem("腕立て", 100);
    // A label of the user's own and an on value other than 1: both must survive a load.
    TempFolder::write(kSettingsFile, TempFolder::cp932("\"ツアー\",-1\r\n"));
    const std::string before = TempFolder::read(kSettingsFile);
    PCTM.HelpTourOn = -1;
    frmSettei* home = openHome();
    EXPECT_TRUE(child<QCheckBox>(home, "chkHelp")->isChecked());
    EXPECT_EQ(TempFolder::read(kSettingsFile), before);
    EXPECT_FALSE(boxTitles().contains("ヘルプツアーＯＮ"));
    EXPECT_FALSE(boxTitles().contains("ヘルプツアーＯＦＦ"));
    EXPECT_EQ(PCTM.HelpTourOn, -1);
}

TEST_F(HomeLoad, TogglingTheSwitchConfirmsAndWritesOneOrZero) {
    addItem("腕立て", 100);
    PCTM.HelpTourOn = 1;
    ASSERT_TRUE(writeSettings(1).ok);
    frmSettei* home = openHome();
    svc->boxes.clear();
    auto* chk = child<QCheckBox>(home, "chkHelp");
    EXPECT_EQ(chk->toolTip(), "ヘルプツアーのＯｎ／Ｏｆｆです");

    chk->click();
    ASSERT_EQ(svc->messageBoxes().size(), 1u);
    EXPECT_EQ(svc->messageBoxes()[0].text, "ヘルプツアー機能をオフにします。");
    EXPECT_EQ(svc->messageBoxes()[0].title, "ヘルプツアーＯＦＦ");
    EXPECT_EQ(svc->messageBoxes()[0].icon, MsgIcon::Information);
    EXPECT_EQ(PCTM.HelpTourOn, 0);
    EXPECT_EQ(storedHelpTour(), 0);

    chk->click();
    ASSERT_EQ(svc->messageBoxes().size(), 2u);
    EXPECT_EQ(svc->messageBoxes()[1].text, "ヘルプツアー機能をオンにします。");
    EXPECT_EQ(svc->messageBoxes()[1].title, "ヘルプツアーＯＮ");
    EXPECT_EQ(PCTM.HelpTourOn, 1);
    EXPECT_EQ(storedHelpTour(), 1);
}

TEST_F(HomeLoad, AFailedSettingsWriteIsToldAndTheSwitchKeepsWhatIsOnDisk) {
    addItem("腕立て", 100);
    frmSettei* home = openHome();
    auto* chk = child<QCheckBox>(home, "chkHelp");
    ASSERT_FALSE(chk->isChecked());
    // The settings file cannot be replaced while a folder stands in its place.
    std::filesystem::remove(kSettingsFile);
    std::filesystem::create_directory(std::string(kSettingsFile));

    chk->click();
    EXPECT_EQ(PCTM.HelpTourOn, 0);
    EXPECT_FALSE(chk->isChecked());
    ASSERT_EQ(svc->messageBoxes().size(), 2u);
    EXPECT_EQ(svc->messageBoxes()[1].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(svc->messageBoxes()[1].text.contains("設定.txt"));

    // Once the file can be written again the switch works as before.
    std::filesystem::remove(std::string(kSettingsFile));
    ASSERT_TRUE(writeSettings(0).ok);
    chk->click();
    EXPECT_EQ(PCTM.HelpTourOn, 1);
    EXPECT_TRUE(chk->isChecked());
}

using HomeButtons = HomeFixture;

TEST_F(HomeButtons, CaptionsAndToolTips) {
    addItem("腕立て", 100);
    frmSettei* home = openHome();
    const std::vector<std::array<const char*, 3>> buttons = {
        {"cmdMain", "実施一覧", "メイン画面を表示します"},
        {"cmdMaster", "編集", "各種データを編集します"},
        {"cmdToday", "本日の実績", "本日分のトレーニング実績を表示します"},
        {"cmdQuick", "クイックマッスル", "クイックマッスルモードになります"},
        {"cmdGraph", "全履歴", "これまでの全トレーニング履歴を表示します"},
        {"cmdAgain", "開始 （次のスタンバイ）", "トレーニングを開始します"},
        {"cmdHelp", "ヘルプ", "ヘルプファイルを開きます"},
        {"cmdEnd", "終了", "プログラムを終了します"},
    };
    for (const auto& [name, caption, tip] : buttons) {
        auto* b = child<QAbstractButton>(home, name);
        EXPECT_EQ(b->text(), QString::fromUtf8(caption)) << name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(tip)) << name;
    }
    auto* chk = child<QCheckBox>(home, "chkHelp");
    EXPECT_TRUE(chk->text().isEmpty());
    EXPECT_FALSE(chk->icon().isNull());
}

TEST_F(HomeButtons, PanelsSwitchAndTheOverviewIsNotRecomputedByItsButton) {
    addItem("腕立て", 100);
    record("腕立て", today, 10);
    frmSettei* home = openHome();
    record("腕立て", today, 10);  // not seen until the next load

    // Each button shows its panel in place of the one shown before.
    const struct {
        const char *button, *panel;
    } steps[] = {{"cmdMain", "fraMain"},
                 {"cmdToday", "fraToday"},
                 {"cmdQuick", "fraQuick"},
                 {"cmdMaster", "fraSettei"},
                 {"cmdMain", "fraMain"}};
    const char* before = nullptr;
    for (const auto& [button, panel] : steps) {
        click(home, button);
        EXPECT_TRUE(shown(home, panel)) << button;
        if (before) {
            EXPECT_FALSE(shown(home, before)) << button;
        }
        before = panel;
    }
    EXPECT_EQ(grid(home)->text(1, 2), "10");

    home = reopenHome();
    EXPECT_EQ(grid(home)->text(1, 2), "20");
}

TEST_F(HomeButtons, OpeningTheEditPanelSavesNothingAndSaysNothing) {
    addItem("腕立て", 100);
    frmSettei* home = openHome();
    const std::string play = TempFolder::read(kPlaySettingsFile);
    click(home, "cmdMaster");
    EXPECT_TRUE(shown(home, "fraSettei"));
    EXPECT_FALSE(boxTitles().contains("設定保存終了"));
    EXPECT_EQ(TempFolder::read(kPlaySettingsFile), play);
}

TEST_F(HomeButtons, TheHistoryScreenAlwaysOpensOnTheFirstItem) {
    addItem("腕立て", 100);
    addItem("腹筋", 100);
    frmSettei* home = openHome();
    PCTM.CurrentItem = 2;
    click(home, "cmdGraph");
    EXPECT_EQ(PCTM.CurrentItem, 1);
    EXPECT_NE(screens::historyScreen(), nullptr);
    EXPECT_EQ(screens::homeScreen(), home) << "the home screen stays open behind it";

    // Already open on the second item, it comes back on the first.
    auto* items = screens::historyScreen()->findChild<QComboBox*>("cboKoumoku");
    ASSERT_NE(items, nullptr);
    screens::historyScreen()->cboKoumoku_Click(1);
    EXPECT_EQ(items->currentIndex(), 1);
    click(home, "cmdGraph");
    EXPECT_EQ(items->currentIndex(), 0);
    EXPECT_EQ(PCTM.CurrentItem, 1);
}

TEST_F(HomeButtons, EveryScrollBarRisesWithRightAndUpAndStoresNothing) {
    for (const char* name : {"腕立て", "腹筋", "背筋"}) addItem(name, 100);
    frmSettei* home = openHome();
    click(home, "cmdToday");
    click(home, "cmdMaster");
    click(home, "cmdGraph");
    ASSERT_NE(screens::historyScreen(), nullptr);
    const auto files = TempFolder::allFiles();
    const std::pair<QWidget*, const char*> bars[] = {
        {home, "hsbTime"},
        {home->findChild<QWidget*>("fraToday"), "hsbData"},
        {screens::historyScreen(), "hsbData"}};
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_Right, 1}, {Qt::Key_Left, -1}, {Qt::Key_Up, 1}, {Qt::Key_Down, -1}};
    for (const auto& [screen, name] : bars) {
        auto* bar = child<QScrollBar>(screen, name);
        SCOPED_TRACE(bar->window()->objectName().toStdString() + " " + name);
        EXPECT_TRUE((bar->focusPolicy() & Qt::TabFocus) != 0);
        bar->setValue(2);
        for (const auto& [key, step] : keys) {
            const int before = bar->value();
            QTest::keyClick(bar, key);
            EXPECT_EQ(bar->value(), before + step) << key;
        }
    }
    EXPECT_EQ(TempFolder::allFiles(), files);
    EXPECT_EQ(PCTM.LaunchInterval, 15);
}

TEST_F(HomeButtons, WithoutItemsTheEditPanelOpensAndTheOtherPanelsStayShut) {
    frmSettei* home = openHome();
    EXPECT_TRUE(home->isVisible());
    EXPECT_TRUE(shown(home, "fraSettei"));
    EXPECT_EQ(grid(home)->rows(), 1);
    for (int r = 1; r <= 20; ++r) EXPECT_FALSE(home->barRowShown(r));

    click(home, "cmdToday");
    click(home, "cmdQuick");
    click(home, "cmdGraph");
    EXPECT_TRUE(shown(home, "fraSettei"));
    EXPECT_EQ(screens::historyScreen(), nullptr);
    click(home, "cmdMain");
    EXPECT_TRUE(shown(home, "fraMain"));

    // The switch works here too.
    child<QCheckBox>(home, "chkHelp")->click();
    EXPECT_EQ(PCTM.HelpTourOn, 1);
    EXPECT_EQ(storedHelpTour(), 1);

    // A double click on the empty grid starts nothing.
    emit grid(home)->dblClick();
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_EQ(PCTM.SingleItemMode, 0);
}

TEST_F(HomeButtons, HelpWindowOpensOnceAndTheEndClosesItAndEndsTheProgram) {
    addItem("腕立て", 100);
    frmSettei* home = openHome();
    EXPECT_EQ(HelpWindow::documentFor(home->HelpFilePath), ":/help/ZovHelp.html");
    click(home, "cmdHelp");
    click(home, "cmdHelp");
    EXPECT_EQ(HelpWindow::openCount(), 1);
    auto* help = home->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isWindow());
    if (QFile::exists(HelpWindow::documentFor(home->HelpFilePath))) {
        EXPECT_EQ(help->source(), QUrl("qrc:/help/ZovHelp.html"));
        // The document's pictures are found from where the viewer shows it.
        EXPECT_TRUE(
            help->loadResource(QTextDocument::ImageResource, QUrl("images/prompt.png")).isValid());
    }
    EXPECT_FALSE(help->toPlainText().isEmpty());

    click(home, "cmdEnd");
    EXPECT_EQ(svc->endProcessCalls, 1);
    EXPECT_EQ(svc->lastExitCode, 0);
    EXPECT_EQ(HelpWindow::openCount(), 0);
}

// A picture the document names but the program does not carry shows as a broken box.
TEST(HelpDocument, EveryPictureItShowsIsInTheProgram) {
    QFile document(QStringLiteral(":/help/ZovHelp.html"));
    ASSERT_TRUE(document.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(document.readAll());
    static const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\""));
    int pictures = 0;
    for (const QRegularExpressionMatch& m : image.globalMatch(html)) {
        const QString path = QStringLiteral(":/help/") + m.captured(1);
        EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
        ++pictures;
    }
    EXPECT_GE(pictures, 8);  // the icon and one for every screen and panel
}

TEST_F(HomeButtons, ClosingTheWindowEndsTheProgramLikeTheEndButton) {
    addItem("腕立て", 100);
    frmSettei* home = openHome();
    click(home, "cmdHelp");
    home->close();
    EXPECT_EQ(svc->endProcessCalls, 1);
    EXPECT_EQ(HelpWindow::openCount(), 0);
}

// A history put back from its copy shows at once in the overview and in an open history screen.
TEST_F(HomeButtons, ARestoredHistoryShowsInTheOverviewAndTheOpenHistoryScreen) {
    addItem("腕立て伏せ", 1000);
    addItem("腹筋", 1000);
    record("腕立て伏せ", today, 12);
    record("腕立て伏せ", yesterday, 8);
    frmSettei* home = openHome();
    click(home, "cmdMaster");
    click(home, "cmdClear");
    click(home, "cmdGraph");
    auto* total = child<QLabel>(screens::historyScreen(), "lblTotal");
    ASSERT_EQ(grid(home)->text(1, 2), "0");
    ASSERT_EQ(total->text(), "0");

    click(home, "cmdRestore");
    auto* dialog = home->findChild<RestoreDialog*>();
    ASSERT_NE(dialog, nullptr);
    child<QPushButton>(dialog, "cmdRestore")->click();
    EXPECT_EQ(grid(home)->text(1, 2), "20");
    EXPECT_EQ(grid(home)->text(1, 4), "12");
    EXPECT_EQ(total->text(), "20");
}

}  // namespace
}  // namespace mitoran::testing
