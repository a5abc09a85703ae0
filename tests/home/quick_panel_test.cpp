// The Quick Muscle panel with the scripted clock and timers: the list, the signal, the countdown,
// the saved attempt and the home buttons.
#include "home/quick_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "app/pctm.h"
#include "data/data_files.h"
#include "support/named_child.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"

namespace mitoran {
namespace {

using testing::ScriptedServices;
using testing::TempFolder;

std::string record(const std::string& date, const std::string& time, const std::string& seconds,
                   const std::string& count) {
    return "\"" + date + "\",\"" + time + "\"," + seconds + "," + count + "\r\n";
}

class QuickPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRun();
        PCTM.setItems({{"腕立て"}, {"腹筋"}});
        svc.setNow(2024, 3, 7, 14, 5, 0);
        QObject::connect(&panel, &QuickPanel::challengeRunning, [this](bool running) {
            again.setEnabled(!running);
            graph.setEnabled(!running);
        });
    }

    std::string quickFile(int item) { return quickFileName(PCTM.ItemNames(item)); }
    void writeQuick(int item, const std::string& text) {
        TempFolder::write(quickFile(item), TempFolder::cp932(text));
    }

    template <class T>
    T* child(const char* name) {
        return testing::expectChild<T>(&panel, name);
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    GridView* grid() { return child<GridView>("msgList"); }
    QStringList row(int r) {
        QStringList cells;
        for (int col = 0; col < 4; ++col) cells << grid()->text(r, col);
        return cells;
    }
    int lampShown() {
        int shown = 0;
        for (int k = 1; k <= 3; ++k)
            if (!child<QLabel>(("imgStart_" + std::to_string(k)).c_str())->isHidden()) {
                EXPECT_EQ(shown, 0) << "two lamps at once";
                shown = k;
            }
        return shown;
    }
    bool buttonsEnabled() {
        const bool start = child<QPushButton>("cmdStart2")->isEnabled();
        EXPECT_EQ(again.isEnabled(), start);
        EXPECT_EQ(graph.isEnabled(), start);
        return start;
    }
    // One second passes: both timers tick, the signal first.
    void second() {
        svc.advance(1);
        ASSERT_TRUE(svc.fireTimer("tmrStart"));
        ASSERT_TRUE(svc.fireTimer("tmrBp"));
    }
    int inputBoxes() {
        int n = 0;
        for (const auto& b : svc.boxes) n += b.isInput;
        return n;
    }
    // Start, three signal seconds; the countdown then shows the full length.
    void startAndSignal() {
        QTest::mouseClick(child<QPushButton>("cmdStart2"), Qt::LeftButton);
        for (int i = 0; i < 3; ++i) second();
    }
    // Runs a started challenge to its end.
    void countDownToZero() {
        for (int guard = 0; guard < 1000 && inputBoxes() == 0; ++guard) second();
    }

    TempFolder folder;
    ScriptedServices& svc = testing::installScriptedServices();
    QPushButton again{"again"};
    QPushButton graph{"graph"};
    QuickPanel panel;
};

TEST_F(QuickPanelTest, OpeningWithoutAQuickFileCreatesIt) {
    panel.open();
    EXPECT_EQ(panel.objectName(), "fraQuick");
    EXPECT_TRUE(TempFolder::exists(quickFile(1)));
    EXPECT_EQ(TempFolder::read(quickFile(1)), "");
    EXPECT_EQ(child<QComboBox>("cboNamae")->currentText(), "腕立て");
    EXPECT_EQ(child<QComboBox>("cboSec")->currentText(), "180");
    EXPECT_EQ(text("lblZanTim"), "180");
    EXPECT_EQ(panel.quickSeconds(), 180);
    EXPECT_EQ(grid()->rows(), 1);
    EXPECT_EQ(grid()->text(0, 1), "日付");
    EXPECT_EQ(text("lblQuick_Max"), "0");
    EXPECT_EQ(lampShown(), 0);
    EXPECT_TRUE(svc.boxes.empty());
}

TEST_F(QuickPanelTest, ListsTheAttemptsOfTheLastSecondsAndReopensCleanly) {
    writeQuick(1, record("2024年03月01日", "08時00分00秒", "60", "30") +
                      record("2024年03月02日", "08時00分00秒", "90", "70") +
                      record("2024年03月03日", "19時45分10秒", "60", "41") +
                      record("2024年03月04日", "08時00分00秒", "60", "38"));
    for (int opening = 0; opening < 2; ++opening) {
        panel.open();
        QComboBox* names = child<QComboBox>("cboNamae");
        QComboBox* secs = child<QComboBox>("cboSec");
        ASSERT_EQ(names->count(), 2);
        ASSERT_EQ(secs->count(), 6);
        EXPECT_EQ(secs->itemText(0), "30");
        EXPECT_EQ(secs->itemText(5), "180");
        EXPECT_EQ(secs->currentText(), "60");
        EXPECT_EQ(text("lblZanTim"), "60");
        ASSERT_EQ(grid()->rows(), 4);
        EXPECT_EQ(row(1), QStringList({"1", "24年03月01日  08時00分", "60", "30"}));
        EXPECT_EQ(row(2), QStringList({"2", "24年03月03日  19時45分", "60", "41"}));
        EXPECT_EQ(row(3), QStringList({"3", "24年03月04日  08時00分", "60", "38"}));
        EXPECT_EQ(text("lblQuick_Max"), "41");
    }

    // Choosing other seconds lists those; typing and Enter does the same.
    QComboBox* secs = child<QComboBox>("cboSec");
    secs->setCurrentIndex(secs->findText("90"));
    emit secs->activated(secs->currentIndex());
    EXPECT_EQ(grid()->rows(), 2);
    EXPECT_EQ(text("lblQuick_Max"), "70");
    // Typed key by key into the box, as the user does: "15" must not be completed to "150",
    // and Enter reaches the panel through the combo box.
    secs->setFocus();
    secs->lineEdit()->clear();
    QTest::keyClicks(secs, "15");
    EXPECT_EQ(secs->currentText(), "15");
    EXPECT_EQ(text("lblZanTim"), "15");
    EXPECT_EQ(grid()->rows(), 2);  // typing alone does not reload
    QTest::keyClick(secs, Qt::Key_Return);
    EXPECT_EQ(grid()->rows(), 1);
    EXPECT_EQ(text("lblQuick_Max"), "0");
    EXPECT_EQ(secs->count(), 6);  // Enter adds nothing to the list

    // Another item: its file is created, the seconds stay.
    QComboBox* names = child<QComboBox>("cboNamae");
    names->setCurrentIndex(1);
    emit names->activated(1);
    EXPECT_TRUE(TempFolder::exists(quickFile(2)));
    EXPECT_EQ(secs->currentText(), "15");
    EXPECT_EQ(grid()->rows(), 1);
}

TEST_F(QuickPanelTest, ASixtySecondChallengeFromSignalToSavedAttempt) {
    writeQuick(1, record("2024年03月01日", "08時00分00秒", "60", "30"));
    panel.open();
    ASSERT_EQ(text("lblQuick_Max"), "30");
    ASSERT_TRUE(buttonsEnabled());

    // Ticks before the start do nothing.
    second();
    EXPECT_TRUE(svc.cues.empty());
    EXPECT_EQ(lampShown(), 0);

    QTest::mouseClick(child<QPushButton>("cmdStart2"), Qt::LeftButton);
    EXPECT_FALSE(buttonsEnabled());
    for (int lamp = 1; lamp <= 3; ++lamp) {
        second();
        EXPECT_EQ(lampShown(), lamp);
        EXPECT_EQ(svc.cues.size(), static_cast<std::size_t>(lamp));
        EXPECT_FALSE(buttonsEnabled());
    }
    EXPECT_EQ(text("lblZanTim"), "60");  // the countdown started with the green lamp

    svc.inputAnswers.push_back("35");
    std::size_t cuesAtBox = 0;
    svc.onBox = [&](const auto&) { cuesAtBox = svc.cues.size(); };
    for (int left = 59; left >= 0; --left) {
        const std::size_t cuesBefore = svc.cues.size();
        second();
        if (left > 0) {
            EXPECT_EQ(text("lblZanTim"), QString::number(left));
            EXPECT_FALSE(buttonsEnabled());
            EXPECT_EQ(inputBoxes(), 0) << left;
            EXPECT_EQ(svc.cues.size() - cuesBefore, left <= 5 ? 1u : 0u) << left;
        }
    }
    ASSERT_EQ(inputBoxes(), 1);
    // The count box's own cue sounds as it opens; the saved attempt has one more.
    using enum SoundCue;
    EXPECT_EQ(svc.cues, (std::vector<SoundCue>{Red, Yellow, Green, Countdown, Countdown, Countdown,
                                               Countdown, Countdown, CountBox, Saved}));
    EXPECT_EQ(cuesAtBox, svc.cues.size() - 1);
    EXPECT_EQ(svc.boxes.back().text, "回数を入力してください");
    EXPECT_EQ(svc.boxes.back().title, "回数入力");
    // Asked from a timer tick: the box belongs to the panel's screen, which comes forward.
    EXPECT_EQ(svc.boxes.back().owner, &panel);
    EXPECT_EQ(svc.shownWindows, std::vector<QWidget*>{&panel});

    // 14:05:00 plus one idle second, three signal seconds and sixty of countdown.
    EXPECT_EQ(TempFolder::read(quickFile(1)),
              TempFolder::cp932(record("2024年03月01日", "08時00分00秒", "60", "30") +
                                record("2024年03月07日", "14時06分04秒", "60", "35")));
    ASSERT_EQ(grid()->rows(), 3);
    EXPECT_EQ(row(2), QStringList({"2", "24年03月07日  14時06分", "60", "35"}));
    EXPECT_EQ(text("lblQuick_Max"), "35");
    EXPECT_EQ(text("lblZanTim"), "60");
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_EQ(lampShown(), 3);  // green stays until the next start

    // Later ticks do nothing more.
    const std::size_t cues = svc.cues.size();
    for (int i = 0; i < 3; ++i) second();
    EXPECT_EQ(svc.cues.size(), cues);
    EXPECT_EQ(inputBoxes(), 1);
}

TEST_F(QuickPanelTest, WhatTheCountBoxAnswerSaves) {
    writeQuick(1, record("2024年03月01日", "08時00分00秒", "30", "40"));
    panel.open();
    ASSERT_EQ(child<QComboBox>("cboSec")->currentText(), "30");
    const std::string before = TempFolder::read(quickFile(1));

    // A cancel, an empty answer, 0 and a text without a number save nothing.
    for (const char* answer : {"", "0", "なし"}) {
        if (*answer) svc.inputAnswers.push_back(QString::fromUtf8(answer));
        startAndSignal();
        countDownToZero();
        EXPECT_EQ(TempFolder::read(quickFile(1)), before) << answer;
        EXPECT_EQ(grid()->rows(), 2) << answer;
        EXPECT_EQ(text("lblZanTim"), "30");
        EXPECT_TRUE(buttonsEnabled());
        svc.boxes.clear();
    }

    // A negative count is an attempt too, but never the best.
    svc.inputAnswers.push_back("-5");
    startAndSignal();
    countDownToZero();
    std::string saved = TempFolder::read(quickFile(1));
    EXPECT_EQ(saved.substr(before.size()),
              TempFolder::cp932(record("2024年03月07日", "14時07分12秒", "30", "-5")));
    EXPECT_EQ(grid()->rows(), 3);
    EXPECT_EQ(grid()->text(2, 3), "-5");
    EXPECT_EQ(text("lblQuick_Max"), "40");
    svc.boxes.clear();

    // A fraction is stored with a full stop.
    svc.inputAnswers.push_back("41.5");
    startAndSignal();
    countDownToZero();
    saved = TempFolder::read(quickFile(1));
    EXPECT_NE(saved.find(TempFolder::cp932(",30,41.5\r\n")), std::string::npos);
    EXPECT_EQ(text("lblQuick_Max"), "42");
}

TEST_F(QuickPanelTest, StopEndsTheCountdownOrCancelsTheSignal) {
    panel.open();
    const std::string before = TempFolder::read(quickFile(1));
    startAndSignal();
    second();
    ASSERT_EQ(text("lblZanTim"), "179");
    QTest::mouseClick(child<QPushButton>("cmdStop"), Qt::LeftButton);
    EXPECT_FALSE(buttonsEnabled());  // taken at the next tick
    second();
    EXPECT_EQ(text("lblZanTim"), "180");
    EXPECT_TRUE(buttonsEnabled());
    for (int i = 0; i < 200; ++i) second();
    EXPECT_EQ(inputBoxes(), 0);
    EXPECT_EQ(text("lblZanTim"), "180");
    EXPECT_EQ(TempFolder::read(quickFile(1)), before);

    // During the signal: no further lamp or cue, no countdown, idle again.
    svc.cues.clear();
    QTest::mouseClick(child<QPushButton>("cmdStart2"), Qt::LeftButton);
    second();
    ASSERT_EQ(lampShown(), 1);
    QTest::mouseClick(child<QPushButton>("cmdStop"), Qt::LeftButton);
    second();
    EXPECT_EQ(lampShown(), 0);
    EXPECT_EQ(svc.cues.size(), 1u);
    EXPECT_TRUE(buttonsEnabled());
    for (int i = 0; i < 200; ++i) second();
    EXPECT_EQ(text("lblZanTim"), "180");
    EXPECT_EQ(svc.cues.size(), 1u);
    EXPECT_EQ(inputBoxes(), 0);

    // The next start runs normally.
    QTest::mouseClick(child<QPushButton>("cmdStart2"), Qt::LeftButton);
    second();
    EXPECT_EQ(lampShown(), 1);
}

TEST_F(QuickPanelTest, AfterTheCountOrAStopTheFocusIsBackOnTheStartButton) {
    panel.open();
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    auto* start = child<QPushButton>("cmdStart2");
    auto* stop = child<QPushButton>("cmdStop");
    for (const bool byStop : {false, true}) {
        SCOPED_TRACE(byStop ? "stop" : "count");
        start->setFocus();
        QTest::keyClick(start, Qt::Key_Space);
        ASSERT_FALSE(start->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), stop) << "what the countdown may need";
        for (int i = 0; i < 3; ++i) second();
        if (byStop) {
            QTest::keyClick(stop, Qt::Key_Space);
            second();
        } else {
            svc.inputAnswers = {"20"};
            countDownToZero();
        }
        EXPECT_TRUE(buttonsEnabled());
        EXPECT_EQ(QApplication::focusWidget(), start);
    }
    EXPECT_EQ(TempFolder::read(quickFile(1)),
              TempFolder::cp932(record("2024年03月07日", "14時08分03秒", "180", "20")));
}

TEST_F(QuickPanelTest, ACountdownAcrossMidnightEndsOnTime) {
    svc.setNow(2024, 3, 7, 23, 59, 30);
    writeQuick(1, record("2024年03月01日", "08時00分00秒", "60", "30"));
    panel.open();
    svc.inputAnswers.push_back("20");
    startAndSignal();
    int ticks = 0;
    while (inputBoxes() == 0 && ticks < 200) {
        second();
        ++ticks;
        if (inputBoxes() == 0) {
            EXPECT_EQ(text("lblZanTim"), QString::number(60 - ticks));
        }
    }
    EXPECT_EQ(ticks, 60);
    EXPECT_NE(TempFolder::read(quickFile(1))
                  .find(TempFolder::cp932(record("2024年03月08日", "00時00分33秒", "60", "20"))),
              std::string::npos);
}

TEST_F(QuickPanelTest, ZeroSecondsEndAtTheFirstTick) {
    panel.open();
    QComboBox* secs = child<QComboBox>("cboSec");
    secs->setEditText("0");
    EXPECT_EQ(text("lblZanTim"), "0");
    startAndSignal();  // the countdown timer's tick of the green second already ends it
    EXPECT_EQ(inputBoxes(), 1);
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(QuickPanelTest, SecondsBeyondSixteenBitsAreRefused) {
    panel.open();
    QComboBox* secs = child<QComboBox>("cboSec");
    secs->setEditText("90");
    secs->setEditText("40000");
    ASSERT_EQ(svc.messageBoxes().size(), 1u);
    EXPECT_EQ(svc.messageBoxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(panel.quickSeconds(), 90);
    EXPECT_EQ(secs->currentText(), "90");
    EXPECT_EQ(text("lblZanTim"), "90");
}

TEST_F(QuickPanelTest, TheAttemptKeepsTheSecondsItRanWith) {
    panel.open();
    QComboBox* secs = child<QComboBox>("cboSec");
    secs->setEditText("30");
    QTest::keyClick(secs->lineEdit(), Qt::Key_Return);
    QTest::mouseClick(child<QPushButton>("cmdStart2"), Qt::LeftButton);
    second();
    secs->setEditText("45");  // under the red light the display still follows the seconds
    EXPECT_EQ(text("lblZanTim"), "45");
    secs->setEditText("30");
    for (int i = 0; i < 2; ++i) second();
    second();
    secs->setEditText("90");  // changed while counting down
    EXPECT_EQ(text("lblZanTim"), "29");
    svc.inputAnswers.push_back("12");
    countDownToZero();
    EXPECT_NE(TempFolder::read(quickFile(1)).find(",30,12\r\n"), std::string::npos);
    // The list still shows the 30-second attempts, so the new one joins it.
    ASSERT_EQ(grid()->rows(), 2);
    EXPECT_EQ(grid()->text(1, 2), "30");
    EXPECT_EQ(text("lblZanTim"), "90");
}

TEST_F(QuickPanelTest, AFailedSaveIsToldAndShowsNothingNew) {
    writeQuick(1, record("2024年03月01日", "08時00分00秒", "30", "40"));
    panel.open();
    // The file turns into a folder: the append must fail.
    std::filesystem::remove(quickFile(1));
    std::filesystem::create_directory(quickFile(1));
    svc.inputAnswers.push_back("55");
    startAndSignal();
    countDownToZero();
    ASSERT_EQ(svc.messageBoxes().size(), 1u);
    EXPECT_EQ(svc.messageBoxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(grid()->rows(), 2);
    EXPECT_EQ(text("lblQuick_Max"), "40");
    EXPECT_TRUE(buttonsEnabled());
}

}  // namespace
}  // namespace mitoran
