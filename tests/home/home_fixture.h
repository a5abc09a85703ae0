#pragma once
// A working folder with items, histories and settings on disk, the scripted services installed,
// and helpers to open the home screen and reach its controls.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <string>

#include "app/pctm.h"
#include "app/screens.h"
#include "data/data_files.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "home/help_window.h"
#include "session/frmMain.h"
#include "support/named_child.h"
#include "support/screen_reset.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"

namespace mitoran::testing {

inline Date ymd(int y, unsigned m, unsigned d) {
    return Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

class HomeFixture : public ::testing::Test {
  protected:
    const Date today = ymd(2024, 3, 7);
    const Date yesterday = ymd(2024, 3, 6);

    void SetUp() override {
        svc = &installScriptedServices();
        svc->setNow(2024, 3, 7, 12, 0, 0);
        resetRun();
        PCTM.LaunchMode = 0;
        PCTM.CountMode = 0;
        PCTM.LaunchInterval = 15;
        ASSERT_TRUE(writePlaySettings({PCTM.LaunchMode, PCTM.CountMode, PCTM.LaunchInterval}).ok);
        ASSERT_TRUE(writeSettings(0).ok);
        ASSERT_TRUE(rewriteItemList({}).ok);
    }

    void TearDown() override { testing::closeEveryScreen(); }

    static void flushDeletes() { testing::flushDeletes(); }

    // Registers an item in memory and in the item list file.
    void addItem(const std::string& name, std::int32_t target, std::int16_t instructed = 10) {
        std::vector<ItemRecord> items = PCTM.items();
        items.push_back({name, instructed, target});
        PCTM.setItems(items);
        ASSERT_TRUE(rewriteItemList(items).ok);
    }

    static void record(const std::string& name, Date day, std::int16_t count, int hour = 9) {
        ASSERT_TRUE(appendHistory(name, LocalDateTime{day, hour, 0, 0}, count).ok);
    }

    frmSettei* openHome() {
        frmSettei* home = screens::openHomeScreen();
        EXPECT_NE(home, nullptr);
        return home;
    }

    // The home screen anew, as after a round: the old one goes, a fresh one loads.
    frmSettei* reopenHome() {
        screens::closeScreen(screens::homeScreen());
        flushDeletes();
        return openHome();
    }

    template <class T = QWidget>
    static T* child(QWidget* home, const char* name) {
        return testing::expectChild<T>(home, name);
    }

    static GridView* grid(QWidget* home) { return child<GridView>(home, "msgIchiran"); }
    static void click(QWidget* home, const char* button) {
        child<QAbstractButton>(home, button)->click();
    }
    static bool shown(QWidget* home, const char* panel) {
        return child(home, panel)->isVisibleTo(home);
    }

    QStringList boxTitles() const {
        QStringList titles;
        for (const RecordedBox& b : svc->messageBoxes()) titles << b.title;
        return titles;
    }

    TempFolder folder;
    ScriptedServices* svc = nullptr;
};

}  // namespace mitoran::testing
