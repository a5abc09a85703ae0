// The today panel on real history files: figures, grid, chart and the three selectors.
#include "home/today_panel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>

#include "app/pctm.h"
#include "data/data_files.h"
#include "support/named_child.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/chart_view.h"
#include "ui/grid_view.h"

namespace mitoran {
namespace {

using testing::ScriptedServices;
using testing::TempFolder;

// An item's history text: one set per count, all on `date`.
std::string sets(const std::string& date, std::initializer_list<int> counts) {
    std::string out;
    int minute = 10;
    for (int c : counts) {
        out += "\"" + date + "\",\"07時" + std::to_string(minute) + "分00秒\"," +
               std::to_string(c) + "\r\n";
        ++minute;
    }
    return out;
}

class TodayPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRun();
        PCTM.setItems({{"腕立て"}, {"腹筋"}, {"スクワット"}});
        svc.setNow(2024, 3, 7, 21, 30);
    }

    void writeHistory(int item, const std::string& text) {
        TempFolder::write(historyFileName(PCTM.ItemNames(item)), TempFolder::cp932(text));
    }

    // The home screen's per-item date lists (index 0 empty).
    std::vector<std::vector<std::string>> dates(
        std::initializer_list<std::vector<std::string>> perItem) {
        std::vector<std::vector<std::string>> out{{}};
        out.insert(out.end(), perItem);
        return out;
    }

    void openPanel(const std::vector<std::vector<std::string>>& itemDates) {
        panel.resize(720, 420);
        panel.show();
        panel.open(itemDates);
    }

    template <class T>
    T* child(const char* name) {
        return testing::expectChild<T>(&panel, name);
    }
    QString label(const char* name) { return child<QLabel>(name)->text(); }
    QStringList figures() {
        return {label("lblSet"), label("lblTotal"), label("lblSetMax"), label("lblSetMin"),
                label("lblSetAvg")};
    }
    // A day without sets: zeros, a bare header and an empty chart.
    void expectEmptyDay() {
        EXPECT_EQ(figures(), (QStringList{"0", "0", "0", "0", "0"}));
        EXPECT_EQ(child<GridView>("msgList1")->rows(), 1);
        EXPECT_EQ(child<ChartView>("MSChart1")->categoryCount(), 0);
    }
    QStringList dateList() {
        QStringList out;
        QComboBox* c = child<QComboBox>("cboDate");
        for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
    void chooseItem(int index) {
        QComboBox* c = child<QComboBox>("cboKoumoku1");
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    void chooseDate(const QString& text) {
        QComboBox* c = child<QComboBox>("cboDate");
        const int i = c->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }

    TempFolder folder;
    ScriptedServices& svc = testing::installScriptedServices();
    TodayPanel panel;
};

TEST_F(TodayPanelTest, ShowsTheSetsOfTodayAsFiguresGridAndChart) {
    writeHistory(1, sets("2024年03月06日", {40, 41}) + sets("2024年03月07日", {10, 15, 5}));
    openPanel(dates({{"2024年03月06日", "2024年03月07日"}, {}, {}}));

    EXPECT_EQ(panel.objectName(), "fraToday");
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(child<QComboBox>("cboDate")->currentText(), "2024年03月07日");
    EXPECT_EQ(dateList(), (QStringList{"2024年03月06日", "2024年03月07日"}));
    EXPECT_EQ(child<QComboBox>("cboKoumoku1")->currentText(), "腕立て");
    EXPECT_EQ(child<QScrollBar>("hsbData")->maximum(), 3);
    EXPECT_EQ(figures(), (QStringList{"3", "30", "15", "5", "10.00"}));

    GridView* grid = child<GridView>("msgList1");
    ASSERT_EQ(grid->rows(), 4);
    EXPECT_EQ(grid->text(0, 0), "№");
    EXPECT_EQ(grid->text(0, 3), "累計");
    const char* expected[3][4] = {{"1", "2024年03月07日", "10", "10"},
                                  {"2", "2024年03月07日", "15", "25"},
                                  {"3", "2024年03月07日", "5", "30"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(grid->text(r + 1, c), QString::fromUtf8(expected[r][c])) << r << "," << c;

    ChartView* chart = child<ChartView>("MSChart1");
    EXPECT_EQ(chart->values(1), (QVector<double>{10, 25, 30}));
    EXPECT_EQ(chart->values(2), (QVector<double>{10, 15, 5}));

    EXPECT_EQ(PCTM.CurrentItem, 1);
    EXPECT_EQ(PCTM.Analysis.SetTotal, 3);
    EXPECT_EQ(PCTM.Analysis.GrandTotal, 30);

    // Another recorded day from the list.
    chooseDate("2024年03月06日");
    EXPECT_EQ(figures(), (QStringList{"2", "81", "41", "40", "40.50"}));
    EXPECT_EQ(chart->values(2), (QVector<double>{40, 41}));
    EXPECT_TRUE(svc.boxes.empty());
}

TEST_F(TodayPanelTest, ZeroSetsBigSetsAndDaysWithoutSets) {
    writeHistory(1, sets("2024年03月05日", {0}) + sets("2024年03月06日", {30001, 32000}));
    openPanel(dates({{"2024年03月05日", "2024年03月06日"}, {}, {}}));

    // Nothing today.
    expectEmptyDay();

    chooseDate("2024年03月05日");
    EXPECT_EQ(figures(), (QStringList{"1", "0", "0", "0", "0.00"}));

    chooseDate("2024年03月06日");
    EXPECT_EQ(label("lblSetMin"), "30000");
    EXPECT_EQ(label("lblSetMax"), "32000");
    EXPECT_EQ(label("lblTotal"), "62001");
}

TEST_F(TodayPanelTest, ScrollsToTheLastSetFromSixSets) {
    writeHistory(
        1, sets("2024年03月06日", {1, 2, 3, 4, 5}) + sets("2024年03月07日", {1, 2, 3, 4, 5, 6}));
    // A grid with room for a few rows only, so that scrolling shows.
    GridView* grid = child<GridView>("msgList1");
    grid->setMinimumHeight(0);
    grid->setFixedHeight(100);
    openPanel(dates({{"2024年03月06日", "2024年03月07日"}, {}, {}}));
    ASSERT_EQ(grid->rows(), 7);
    EXPECT_GT(grid->firstVisibleRow(), 1);

    chooseDate("2024年03月06日");
    ASSERT_EQ(grid->rows(), 6);
    EXPECT_EQ(grid->firstVisibleRow(), 1);
}

TEST_F(TodayPanelTest, ChangingTheItemKeepsTheDay) {
    writeHistory(1, sets("2024年03月07日", {10, 12}));
    writeHistory(2, sets("2024年03月01日", {20}) + sets("2024年03月02日", {21, 22}));
    openPanel(dates({{"2024年03月07日"}, {"2024年03月01日", "2024年03月02日"}, {}}));
    ASSERT_EQ(label("lblSet"), "2");

    chooseItem(1);
    EXPECT_EQ(child<QScrollBar>("hsbData")->value(), 2);
    EXPECT_EQ(PCTM.CurrentItem, 2);
    EXPECT_EQ(child<QComboBox>("cboDate")->currentText(), "2024年03月07日");
    EXPECT_EQ(dateList(), (QStringList{"2024年03月01日", "2024年03月02日"}));
    expectEmptyDay();

    chooseDate("2024年03月02日");
    EXPECT_EQ(figures(), (QStringList{"2", "43", "22", "21", "21.50"}));

    // A typed day is used at the next change of item; one that is no date shows the empty day.
    child<QComboBox>("cboDate")->setEditText("2024年03月01日");
    chooseItem(0);
    chooseItem(1);
    EXPECT_EQ(figures(), (QStringList{"1", "20", "20", "20", "20.00"}));
    child<QComboBox>("cboDate")->setEditText("きのう");
    chooseItem(0);
    EXPECT_EQ(figures(), (QStringList{"0", "0", "0", "0", "0"}));
    EXPECT_TRUE(svc.boxes.empty());
}

TEST_F(TodayPanelTest, ScrollBarAndItemComboFollowEachOther) {
    writeHistory(3, sets("2024年03月07日", {7}));
    const auto itemDates = dates({{}, {"2024年02月01日"}, {"2024年03月07日"}});
    openPanel(itemDates);
    QScrollBar* bar = child<QScrollBar>("hsbData");
    QComboBox* items = child<QComboBox>("cboKoumoku1");
    ASSERT_EQ(items->count(), 3);

    bar->setValue(3);
    EXPECT_EQ(items->currentText(), "スクワット");
    EXPECT_EQ(label("lblTotal"), "7");
    EXPECT_EQ(dateList(), QStringList{"2024年03月07日"});

    chooseItem(1);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(items->currentText(), "腹筋");

    // Reopening keeps the position and lists the days of the item shown; the day is today again.
    child<QComboBox>("cboDate")->setEditText("2024年02月01日");
    panel.hide();
    svc.setNow(2024, 3, 8);
    panel.open(itemDates);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(items->currentText(), "腹筋");
    EXPECT_EQ(dateList(), QStringList{"2024年02月01日"});
    EXPECT_EQ(child<QComboBox>("cboDate")->currentText(), "2024年03月08日");

    // Fewer items than the kept position: the last item is shown.
    PCTM.setItems({{"腕立て"}});
    writeHistory(1, sets("2024年03月08日", {3, 4}));
    panel.open(itemDates);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(items->currentText(), "腕立て");
    EXPECT_EQ(label("lblTotal"), "7");
}

}  // namespace
}  // namespace mitoran
