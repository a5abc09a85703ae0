// Starting the next round from the home screen in the three launch modes, and a single-item
// round from the overview, with the real prompt screen and the scripted clock.
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <map>

#include "home_fixture.h"
#include "session/frmMain.h"

namespace mitoran::testing {
namespace {

class HomeLaunch : public HomeFixture {
  protected:
    void SetUp() override {
        HomeFixture::SetUp();
        addItem("腕立て", 100);
        addItem("腹筋", 100);
    }

    void setPlay(std::int16_t mode, float interval) {
        PCTM.LaunchMode = mode;
        PCTM.LaunchInterval = interval;
        ASSERT_TRUE(writePlaySettings({mode, PCTM.CountMode, interval}).ok);
    }

    // The last window state the code asked for the prompt screen.
    Qt::WindowState lastPromptState() const {
        for (auto it = svc->windowStates.rbegin(); it != svc->windowStates.rend(); ++it)
            if (it->first == screens::promptScreen()) return it->second;
        return static_cast<Qt::WindowState>(-1);
    }

    // Presses the start button and lets the closed home screen go.
    void start(frmSettei* home) {
        click(home, "cmdAgain");
        flushDeletes();
    }

    // The prompt screen is away while it waits, brought up (and announced) at the delay's end.
    bool waitingAway() const {
        frmMain* p = screens::promptScreen();
        return p && p->isWaiting() && p->isMinimized() && !svc->waitings.empty() &&
               svc->waitings.back().window == p;
    }
    bool broughtUpAndAnnounced() const {
        frmMain* p = screens::promptScreen();
        return p && !p->isWaiting() && !svc->bringUps.empty() && svc->bringUps.back() == p &&
               svc->notifications == QStringList{"ミトラン|トレーニングを開始します。"};
    }

    // The user takes the minimised prompt screen up from the task bar, a while after it went.
    void takeUp(frmMain* prompt, double afterSeconds = 10) {
        svc->advance(afterSeconds);
        prompt->setWindowState(Qt::WindowNoState);
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(prompt, &activate);
    }

    // Ends the prompt screen without a round, as if the round had been cut short elsewhere.
    void dropPrompt() {
        screens::closeScreen(screens::promptScreen());
        flushDeletes();
    }
};

TEST_F(HomeLaunch, DirectModeShowsThePromptAtOnceInNormalState) {
    setPlay(2, 15);
    start(openHome());
    EXPECT_EQ(screens::homeScreen(), nullptr);
    ASSERT_NE(screens::promptScreen(), nullptr);
    EXPECT_TRUE(screens::promptScreen()->isVisible());
    EXPECT_EQ(lastPromptState(), Qt::WindowNoState);
    EXPECT_EQ(svc->pendingSingleShots(), 0);
    EXPECT_EQ(PCTM.RoundRestarted, -1);
}

TEST_F(HomeLaunch, FixedModeWaitsExactlyTheIntervalEvenAcrossMidnight) {
    setPlay(0, 15);
    svc->setNow(2024, 3, 7, 23, 50, 0);
    start(openHome());
    EXPECT_EQ(screens::homeScreen(), nullptr);
    ASSERT_NE(screens::promptScreen(), nullptr);
    EXPECT_TRUE(waitingAway());
    EXPECT_EQ(svc->waitings.back().startTime, "00:05");
    EXPECT_DOUBLE_EQ(svc->nextSingleShotIn(), 900);

    svc->advance(899.5);
    EXPECT_TRUE(waitingAway());
    EXPECT_TRUE(svc->notifications.isEmpty());
    svc->advance(0.5);
    EXPECT_TRUE(broughtUpAndAnnounced());
    EXPECT_TRUE(screens::promptScreen()->isVisible());
    EXPECT_FALSE(screens::promptScreen()->isMinimized());
    EXPECT_EQ(svc->pendingSingleShots(), 0);
    EXPECT_EQ(svc->now().date, ymd(2024, 3, 8));

    svc->waitings.back().quit();  // the tray menu's 終了
    EXPECT_EQ(svc->endProcessCalls, 1);
}

TEST_F(HomeLaunch, RandomModeWaitsWholeMinutesFromOneToTheInterval) {
    setPlay(1, 60);
    svc->randomDraws = {0.0f, 0.5f, 0.99999994f};
    std::vector<double> delays;
    for (int round = 0; round < 3; ++round) {
        start(reopenHome());
        ASSERT_NE(screens::promptScreen(), nullptr);
        EXPECT_TRUE(waitingAway());
        delays.push_back(svc->nextSingleShotIn());
        svc->advance(delays.back());
        EXPECT_TRUE(broughtUpAndAnnounced());
        svc->notifications.clear();
        dropPrompt();
    }
    EXPECT_EQ(delays, (std::vector<double>{60, 1860, 3600}));
}

TEST_F(HomeLaunch, OnlyAnIntervalStoredWithEnterIsTheNextDelay) {
    setPlay(0, 15);
    for (const bool enter : {false, true}) {
        SCOPED_TRACE(enter ? "with Enter" : "moved only");
        frmSettei* home = reopenHome();
        click(home, "cmdMaster");
        auto* hsb = child<QScrollBar>(home, "hsbTime");
        ASSERT_NE(hsb, nullptr);
        EXPECT_EQ(hsb->value(), 15);
        const std::string before = TempFolder::read(kPlaySettingsFile);
        hsb->setValue(30);
        EXPECT_EQ(TempFolder::read(kPlaySettingsFile), before);
        if (enter) {
            hsb->setFocus();
            QTest::keyClick(hsb, Qt::Key_Return);
            EXPECT_EQ(PCTM.LaunchInterval, 30);
        }
        start(home);
        EXPECT_DOUBLE_EQ(svc->nextSingleShotIn(), enter ? 1800 : 900);
        dropPrompt();
    }
}

TEST_F(HomeLaunch, APromptUsedBeforeTheDelayEndsIsStillBroughtUpAtItsEnd) {
    setPlay(0, 5);
    start(openHome());
    frmMain* prompt = screens::promptScreen();
    ASSERT_NE(prompt, nullptr);
    // The user restores it from the task bar, does the first set, and puts it away again.
    takeUp(prompt);
    EXPECT_FALSE(prompt->isWaiting());
    prompt->cmdNext_Click();
    svc->advance(60);
    ASSERT_EQ(screens::promptScreen(), prompt);
    prompt->setWindowState(Qt::WindowMinimized);
    svc->advance(240);
    EXPECT_TRUE(broughtUpAndAnnounced());
    EXPECT_EQ(screens::promptScreen(), prompt);
}

TEST_F(HomeLaunch, TheWindowManagersAnswerToPuttingThePromptAwayIsNoRestore) {
    setPlay(0, 5);
    // Put away at the start, and again a minute on (out of a tray that went away).
    for (const double awayAgainAfter : {0.0, 60.0}) {
        start(reopenHome());
        frmMain* prompt = screens::promptScreen();
        ASSERT_NE(prompt, nullptr);
        svc->bringUps.clear();
        if (awayAgainAfter > 0) {
            svc->advance(awayAgainAfter);
            prompt->hide();
            prompt->showMinimized();
        }
        // Mapped, focused and reported normal for a moment before it is iconified.
        takeUp(prompt, 0.05);
        prompt->setWindowState(Qt::WindowMinimized);
        EXPECT_TRUE(waitingAway()) << awayAgainAfter;
        EXPECT_TRUE(svc->bringUps.empty()) << awayAgainAfter;
        dropPrompt();
    }
}

TEST_F(HomeLaunch, ARoundFinishedEarlyLeavesNothingForTheDelaysEnd) {
    setPlay(0, 5);
    const std::pair<const char*, std::function<void(frmMain*)>> ways[] = {
        {"from the task bar", [this](frmMain* p) { takeUp(p); }},
        {"from the tray menu", [this](frmMain*) { svc->waitings.back().startNow(); }},
        {"by a second start", [](frmMain*) { screens::bringForward(); }},
    };
    for (const auto& [way, takeItUp] : ways) {
        svc->bringUps.clear();
        start(reopenHome());
        frmMain* prompt = screens::promptScreen();
        ASSERT_NE(prompt, nullptr) << way;
        ASSERT_TRUE(waitingAway()) << way;
        takeItUp(prompt);
        EXPECT_FALSE(prompt->isWaiting()) << way;
        EXPECT_FALSE(prompt->isMinimized()) << way;
        EXPECT_EQ(svc->bringUps, std::vector<QWidget*>{prompt}) << way;
        prompt->cmdCut_Click();
        flushDeletes();
        frmSettei* home = screens::homeScreen();
        ASSERT_NE(home, nullptr) << way;

        svc->advance(300);
        EXPECT_EQ(screens::promptScreen(), nullptr) << way;
        EXPECT_EQ(screens::homeScreen(), home) << way;
        EXPECT_EQ(svc->bringUps.size(), 1u) << way;
        EXPECT_TRUE(svc->notifications.isEmpty()) << way;
    }
}

TEST_F(HomeLaunch, APromptClosedDuringTheDelayTakesTheDelayWithIt) {
    setPlay(0, 5);
    start(openHome());
    ASSERT_EQ(svc->pendingSingleShots(), 1);
    dropPrompt();
    EXPECT_EQ(svc->pendingSingleShots(), 0);
    svc->advance(300);
    EXPECT_EQ(screens::promptScreen(), nullptr);
}

TEST_F(HomeLaunch, WithoutItemsTheStartEndsAtOnceWithoutShowingThePromptAgain) {
    setPlay(0, 15);
    // The list emptied behind the home screen's back: the prompt screen refuses when it loads.
    ASSERT_TRUE(rewriteItemList({}).ok);
    start(openHome());
    EXPECT_EQ(svc->pendingSingleShots(), 0);
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_TRUE(svc->messageTexts().contains("先にトレーニング項目を設定してください"));
    ASSERT_NE(screens::homeScreen(), nullptr) << "the refusal brings the home screen back";
    svc->advance(3600);
    EXPECT_EQ(screens::promptScreen(), nullptr);
}

TEST_F(HomeLaunch, ADoubleClickedRowTrainsThatItemAloneAndTheOverviewReturnsRecomputed) {
    setPlay(1, 60);  // no launch delay applies here whatever the mode
    record("腕立て", today, 30);
    frmSettei* home = openHome();
    GridView* g = grid(home);
    ASSERT_EQ(g->text(2, 2), "0");

    const QRect cell = g->visualRect(g->model()->index(1, 0));  // screen row 2: 腹筋
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    flushDeletes();
    EXPECT_EQ(PCTM.SingleItemIndex, 2);
    EXPECT_EQ(screens::homeScreen(), nullptr);
    auto* prompt = screens::promptScreen();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(lastPromptState(), Qt::WindowNoState);
    EXPECT_EQ(svc->pendingSingleShots(), 0);

    prompt->cmdNext_Click();
    flushDeletes();
    EXPECT_EQ(screens::promptScreen(), nullptr);
    home = screens::homeScreen();
    ASSERT_NE(home, nullptr);
    g = grid(home);
    EXPECT_EQ(g->text(1, 2), "30");
    EXPECT_EQ(g->text(2, 2), "10") << "one set of the instructed count";
    EXPECT_EQ(g->text(2, 5), "1");
    EXPECT_EQ(readHistory("腹筋").records.size(), 1u);
    EXPECT_EQ(PCTM.SingleItemMode, 0);
}

TEST_F(HomeLaunch, EnterOrSpaceOnARowStartsWhatItsDoubleClickStarts) {
    setPlay(1, 60);
    struct Way {
        const char* name;
        int key;  // 0: the double click
        Qt::KeyboardModifiers modifiers;
    };
    const Way ways[] = {{"double click", 0, {}},
                        {"Return", Qt::Key_Return, {}},
                        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
                        {"Space", Qt::Key_Space, {}}};
    std::map<std::string, std::string> filesAfterClick;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        PCTM.SingleItemMode = 0;
        frmSettei* home = openHome();
        GridView* g = grid(home);
        const QModelIndex cell = g->model()->index(1, 3);  // screen row 2: 腹筋
        if (way.key == 0) {
            QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(cell).center());
        } else {
            g->setCurrentIndex(cell);
            QTest::keyClick(g, Qt::Key(way.key), way.modifiers);
        }
        flushDeletes();
        EXPECT_EQ(screens::homeScreen(), nullptr);
        ASSERT_NE(screens::promptScreen(), nullptr);
        EXPECT_EQ(PCTM.SingleItemMode, -1);
        EXPECT_EQ(PCTM.SingleItemIndex, 2);
        EXPECT_EQ(lastPromptState(), Qt::WindowNoState);
        EXPECT_EQ(svc->pendingSingleShots(), 0);
        if (way.key == 0)
            filesAfterClick = TempFolder::allFiles();
        else
            EXPECT_EQ(TempFolder::allFiles(), filesAfterClick);
        dropPrompt();
    }

    // Without a current cell there is no row to start.
    frmSettei* home = openHome();
    grid(home)->setCurrentIndex({});
    QTest::keyClick(grid(home), Qt::Key_Return);
    EXPECT_EQ(screens::homeScreen(), home);
    EXPECT_EQ(screens::promptScreen(), nullptr);
}

TEST_F(HomeLaunch, ARunningQuickChallengeIsNotEndedByARoundOrAnEdit) {
    frmSettei* home = openHome();
    click(home, "cmdQuick");
    click(home, "cmdStart2");
    for (const char* button : {"cmdAgain", "cmdGraph", "cmdMaster"})
        EXPECT_FALSE(child<QAbstractButton>(home, button)->isEnabled()) << button;

    click(home, "cmdMain");
    GridView* g = grid(home);
    const QRect cell = g->visualRect(g->model()->index(0, 0));
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    flushDeletes();
    EXPECT_EQ(screens::homeScreen(), home) << "the challenge's screen stays";
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_EQ(PCTM.SingleItemMode, 0);
}

TEST_F(HomeLaunch, AStartDuringTheLoadStopsTheLoadOfTheClosingScreen) {
    setPlay(0, 15);
    PCTM.HelpTourOn = 1;
    PCTM.setItems({{"腕立て", 10, 10}, {"腹筋", 10, 10}});
    ASSERT_TRUE(rewriteItemList({{"腕立て", 10, 10}, {"腹筋", 10, 10}}).ok);
    record("腕立て", today, 11);
    record("腹筋", today, 11);
    // The start button is pressed while the first goal message is up.
    bool pressed = false;
    svc->onBox = [&](const RecordedBox&) {
        if (pressed || !screens::homeScreen()) return;
        pressed = true;
        screens::homeScreen()->cmdAgain_Click();
    };
    frmSettei* home = screens::openHomeScreen();
    svc->onBox = nullptr;
    ASSERT_TRUE(pressed);
    EXPECT_EQ(boxTitles().count("目標回数達成！"), 1) << "the second item's message is not shown";
    for (const QString& text : svc->messageTexts())
        EXPECT_FALSE(text.startsWith("一通りのトレーニング")) << "nor the home screen's help text";
    EXPECT_EQ(home, nullptr);
    EXPECT_EQ(screens::homeScreen(), nullptr);
    ASSERT_NE(screens::promptScreen(), nullptr);
    EXPECT_DOUBLE_EQ(svc->nextSingleShotIn(), 900);
}

TEST_F(HomeLaunch, ADoubleClickOnTheHeaderStartsNothing) {
    frmSettei* home = openHome();
    emit grid(home)->dblClick();  // the header row: current row 0
    EXPECT_EQ(screens::promptScreen(), nullptr);
    EXPECT_EQ(screens::homeScreen(), home);
    EXPECT_EQ(PCTM.SingleItemMode, 0);
}

}  // namespace
}  // namespace mitoran::testing
