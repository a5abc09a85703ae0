// The history detail screen driven as a user would: opened from the registry, switched, sorted
// by double clicks and left with Esc.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "app/pctm.h"
#include "app/screens.h"
#include "data/data_files.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "support/history_records.h"
#include "support/named_child.h"
#include "support/screen_texts.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/chart_view.h"
#include "ui/grid_view.h"

using namespace mitoran;
using mitoran::testing::ScriptedServices;
using mitoran::testing::TempFolder;
using mitoran::testing::ymd;
using namespace mitoran::texts::history;

namespace {

class HistoryScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        services_ = &mitoran::testing::installScriptedServices();
        services_->setNow(2024, 3, 20);
        resetRun();
    }

    void TearDown() override {
        if (auto* g = screens::historyScreen()) screens::closeScreen(g);
        if (auto* h = screens::homeScreen()) screens::closeScreen(h);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetRun();
    }

    // Registers items in memory and on disk, each with an empty history file.
    void setItems(const std::vector<std::string>& names) {
        std::vector<ItemRecord> items;
        for (const auto& n : names) {
            items.push_back({n, 10, 1000});
            ASSERT_TRUE(createIfMissing(historyFileName(n)).ok);
        }
        PCTM.setItems(items);
        ASSERT_TRUE(rewriteItemList(items).ok);
    }

    void addSet(const std::string& item, int y, int m, int d, int count, int hour = 12) {
        ASSERT_TRUE(appendHistory(item, LocalDateTime{ymd(y, m, d), hour, 0, 0},
                                  static_cast<std::int16_t>(count))
                        .ok);
    }

    frmGraph* open() {
        PCTM.CurrentItem = 1;
        return screens::openHistoryScreen();
    }

    struct Set {
        int y, m, d, count, hour = 12;
    };
    // The screen opened on one registered item with these sets.
    frmGraph* openOnOneItem(const std::string& item, std::initializer_list<Set> sets) {
        setItems({item});
        for (const Set& s : sets) addSet(item, s.y, s.m, s.d, s.count, s.hour);
        return open();
    }

    template <class T>
    T* child(const char* name) {
        return mitoran::testing::expectChild<T>(screens::historyScreen(), name);
    }
    QString label(const char* name) {
        auto* l = child<QLabel>(name);
        return l ? l->text() : QString();
    }
    void expectLabels(std::initializer_list<std::pair<const char*, const char*>> expected) {
        for (const auto& [name, text] : expected) EXPECT_EQ(label(name), text) << name;
    }
    // The summary figures in the order the screen shows them, after the first and last date.
    static constexpr const char* kFigures[] = {
        "lblDate_Sa", "lblJisshibi", "lblMiJisshibi", "lblSet",    "lblTotal", "lblSetMax",
        "lblSetMin",  "lblSetAvg",   "lblDayMax",     "lblDayMin", "lblDayAvg"};
    void expectSummary(const char* first, const char* last, const QStringList& figures) {
        EXPECT_EQ(label("lblStDate"), first);
        EXPECT_EQ(label("lblEdDate"), last);
        ASSERT_EQ(figures.size(), static_cast<qsizetype>(std::size(kFigures)));
        for (std::size_t i = 0; i < std::size(kFigures); ++i)
            EXPECT_EQ(label(kFigures[i]), figures[static_cast<qsizetype>(i)]) << kFigures[i];
    }
    GridView* list() { return child<GridView>("msgList"); }
    ChartView* chart() { return child<ChartView>("MSChart1"); }

    // Texts of one column, data rows only.
    QStringList column(int col) {
        QStringList out;
        GridView* g = list();
        for (int r = 1; r < g->rows(); ++r) out << g->text(r, col);
        return out;
    }
    QStringList row(int r) {
        QStringList out;
        for (int c = 0; c < 4; ++c) out << list()->text(r, c);
        return out;
    }
    static QVector<double> doubles(std::initializer_list<double> v) { return QVector<double>(v); }

    void clickMode(const char* name) {
        auto* b = child<QPushButton>(name);
        ASSERT_NE(b, nullptr);
        b->click();
    }

    // A double click on a visible data cell, as the mouse does it.
    void doubleClickCell(int gridRow, int col) {
        GridView* g = list();
        g->setFirstVisibleRow(gridRow);
        QCoreApplication::processEvents();
        const QRect cell = g->visualRect(g->model()->index(gridRow - 1, col));
        ASSERT_TRUE(cell.isValid()) << "row " << gridRow << " col " << col;
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // A double click on a column of the first data row, and the order the caption then names.
    void expectDoubleClickSorts(int col, const QString& caption) {
        doubleClickCell(1, col);
        EXPECT_EQ(label("lblSort"), caption) << "column " << col;
    }

    void switchWithCombo(int index) {
        auto* cbo = child<QComboBox>("cboKoumoku");
        ASSERT_NE(cbo, nullptr);
        cbo->setCurrentIndex(index);
        emit cbo->activated(index);
    }

    TempFolder folder_;
    ScriptedServices* services_ = nullptr;
};

// ---------------------------------------------------------------- summary panel

TEST_F(HistoryScreenTest, OneRecordGivesOneDayAndAveragesEqualToTheCount) {
    ASSERT_NE(openOnOneItem("腕立て", {{2024, 3, 5, 12}}), nullptr);

    expectSummary("2024/03/05", "2024/03/05",
                  {"1", "1", "0", "1", "12", "12", "12", "12.00", "12", "12", "12.00"});
    EXPECT_EQ(screens::historyScreen()->windowTitle(), "筋トレ実績詳細");
}

TEST_F(HistoryScreenTest, SpanCountsDaysWithoutSetsAndGroupsSetsOfOneDay) {
    ASSERT_NE(openOnOneItem("腹筋", {{2024, 3, 1, 7, 8}, {2024, 3, 1, 5, 9}, {2024, 3, 3, 15}}),
              nullptr);

    expectSummary("2024/03/01", "2024/03/03",
                  {"3", "2", "1", "3", "27", "15", "5", "9.00", "15", "12", "13.50"});

    const HistoryAnalysis& a = PCTM.Analysis;
    ASSERT_EQ(a.DoneDaySeries.length(), 2);
    EXPECT_EQ(a.DoneDaySeries.Count[1], 12);
    ASSERT_EQ(a.SetCountSeries.length(), 2);
    EXPECT_EQ(a.SetCountSeries.Count[1], 2);
    ASSERT_EQ(a.AllDaySeries.length(), 3);
    EXPECT_EQ(a.AllDaySeries.DateText[2], "2024年03月02日");
    EXPECT_EQ(a.AllDaySeries.Count[2], 0);
    EXPECT_EQ(a.AllDaySeries.Total[2], 12);
}

TEST_F(HistoryScreenTest, LargeCountsKeepTheMinimumMarkerAndNeverWrap) {
    ASSERT_NE(openOnOneItem("スクワット",
                            {{2024, 3, 1, 30001}, {2024, 3, 2, 32767}, {2024, 3, 2, 32767}}),
              nullptr);

    // The smallest-value searches start at 30000, so no count above it is ever the minimum.
    // A day of two full sets exceeds 16 bits and must not wrap to a negative number.
    expectLabels({{"lblSetMin", "30000"},
                  {"lblDayMin", "30000"},
                  {"lblSetMax", "32767"},
                  {"lblDayMax", "65534"},
                  {"lblTotal", "95535"},
                  {"lblDayAvg", "47767.50"}});

    clickMode("Option2");
    EXPECT_EQ(row(2), QStringList({"2", "24年03月02日", "65534", "95535"}));
}

TEST_F(HistoryScreenTest, LoadLeavesTodaysTotalOfAnEarlierAnalysisAlone) {
    setItems({"腕立て"});
    addSet("腕立て", 2024, 3, 20, 9);  // dated today
    PCTM.Analysis.TodayTotal = 42;
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(PCTM.Analysis.GrandTotal, 9);
    EXPECT_EQ(PCTM.Analysis.TodayTotal, 42);
}

TEST_F(HistoryScreenTest, SwitchingToAnItemWithoutSetsClearsEverythingOfThePreviousItem) {
    setItems({"腕立て", "腹筋"});
    for (int d = 1; d <= 12; ++d) addSet("腕立て", 2024, 2, d, d);
    ASSERT_NE(open(), nullptr);
    for (const char* mode : {"Option1", "Option2", "Option3", "Option4"}) {
        SCOPED_TRACE(mode);
        clickMode(mode);
        switchWithCombo(1);
        auto* hsb = child<QScrollBar>("hsbData");
        EXPECT_EQ(hsb->value(), 2);
        EXPECT_EQ(PCTM.CurrentItem, 2);
        expectSummary("データなし", "データなし", QStringList(std::size(kFigures), "0"));
        EXPECT_EQ(list()->rows(), 1);
        EXPECT_EQ(list()->text(0, 1), "日付");
        EXPECT_EQ(chart()->categoryCount(), 0);
        EXPECT_TRUE(chart()->values(1).isEmpty());
        EXPECT_EQ(PCTM.Analysis.SetSeries.length(), 0);
        EXPECT_EQ(PCTM.Analysis.AllDaySeries.length(), 0);

        // Back with the scroll bar: the combo follows and the same view is drawn again.
        hsb->setValue(1);
        EXPECT_EQ(child<QComboBox>("cboKoumoku")->currentText(), "腕立て");
        EXPECT_EQ(label("lblTotal"), "78");
        EXPECT_EQ(list()->rows(), 13);
        EXPECT_TRUE(child<QPushButton>(mode)->isChecked());
    }
}

TEST_F(HistoryScreenTest, DraggingTheThumbSwitchesOnlyWhenReleased) {
    setItems({"腕立て", "腹筋"});
    addSet("腕立て", 2024, 3, 1, 10);
    addSet("腹筋", 2024, 3, 1, 20);
    ASSERT_NE(open(), nullptr);
    auto* hsb = child<QScrollBar>("hsbData");
    ASSERT_NE(hsb, nullptr);
    EXPECT_EQ(hsb->minimum(), 1);
    EXPECT_EQ(hsb->maximum(), 2);

    hsb->setSliderDown(true);
    hsb->setSliderPosition(2);
    EXPECT_EQ(PCTM.CurrentItem, 1);
    EXPECT_EQ(label("lblTotal"), "10");
    hsb->setSliderDown(false);
    EXPECT_EQ(PCTM.CurrentItem, 2);
    EXPECT_EQ(label("lblTotal"), "20");
    EXPECT_EQ(child<QComboBox>("cboKoumoku")->currentText(), "腹筋");
}

TEST_F(HistoryScreenTest, HelpTourExplainsTheScreenOnOpeningAndModesButNotItemSwitches) {
    setItems({"腕立て", "腹筋"});
    addSet("腕立て", 2024, 3, 1, 10);
    PCTM.HelpTourOn = 1;
    ASSERT_NE(open(), nullptr);
    ASSERT_EQ(services_->messageBoxes().size(), 1u);
    EXPECT_EQ(services_->messageBoxes()[0].title, texts::kHelpTourTitle);
    EXPECT_EQ(services_->messageBoxes()[0].text,
              "これはトレーニング開始日から現在までの状況を参照できる機能です。\r\n\r\n"
              "開始日や経過日数、セット数や回数など様々な情報を表示しています。\r\n"
              "また各セットの回数を棒グラフで、累計を線グラフで表示します。\r\n\r\n"
              "表示されているリストとグラフはボタンで切り替えることができます。\r\n"
              "リストの任意の列でダブルクリックすると昇順と降順に並び替えて表示することが可能で"
              "す。\r\n\r\n"
              "下段にあるスクロールバーかコンボＢＯＸで表示するトレーニングの項目を切り替えることが"
              "できます。\r\n\r\n"
              "メイン画面に戻るにはＥＳＣキーを押すか、右上の×ボタンを押してください。\r\n\r\n");
    // The box comes only after the window is up.
    EXPECT_GE(services_->processEventsCalls, 1);

    clickMode("Option3");
    ASSERT_EQ(services_->messageBoxes().size(), 2u);
    EXPECT_EQ(services_->messageBoxes()[1].text,
              "「日ごとデータ（全日）ボタン」を押すと、日付毎にまとめたデータとして表示されます。"
              "\r\n\r\nなお、実施しなかった日も含めて全てのデータを表示します。\r\n");
    switchWithCombo(1);
    child<QScrollBar>("hsbData")->setValue(1);
    clickMode("Option1");
    EXPECT_EQ(services_->messageBoxes().size(), 2u);

    PCTM.HelpTourOn = 0;
    clickMode("Option2");
    EXPECT_EQ(services_->messageBoxes().size(), 2u);
}

TEST_F(HistoryScreenTest, RecordsOutOfDateOrderDoNotBreakAnyView) {
    ASSERT_NE(openOnOneItem("腕立て", {{2024, 3, 5, 10}, {2024, 3, 1, 11}, {2024, 3, 5, 12}}),
              nullptr);
    expectLabels({{"lblSet", "3"}, {"lblTotal", "33"}});
    EXPECT_FALSE(label("lblMiJisshibi").startsWith('-'));
    for (const char* mode : {"Option1", "Option2", "Option3", "Option4"}) {
        clickMode(mode);
        EXPECT_EQ(chart()->categoryCount(), list()->rows() - 1) << mode;
    }
    expectDoubleClickSorts(2, kByCountDown);
}

TEST_F(HistoryScreenTest, UnreadableRecordsAreToldAndLeftOutOfTheFiguresAndTheFile) {
    setItems({"腕立て"});
    addSet("腕立て", 2024, 3, 1, 10);
    const std::string broken =
        TempFolder::read("腕立て.txt") + TempFolder::cp932(
                                             "\"2024年02月30日\",\"12時00分00秒\",5\r\n"
                                             "\"2024年03月02日\",\"12時00分00秒\",abc\r\n");
    TempFolder::write("腕立て.txt", broken);
    addSet("腕立て", 2024, 3, 3, 20);
    const std::string before = TempFolder::read("腕立て.txt");
    ASSERT_NE(open(), nullptr);
    expectLabels({{"lblSet", "2"}, {"lblTotal", "30"}});
    ASSERT_EQ(services_->messageBoxes().size(), 1u);
    EXPECT_EQ(services_->messageBoxes()[0].text,
              "「腕立て.txt」の2行目・3行目は読み取れなかったため、使っていません。\n"
              "ファイルはそのまま残しています。");
    EXPECT_EQ(TempFolder::read("腕立て.txt"), before);
}

// ---------------------------------------------------------------- views

TEST_F(HistoryScreenTest, EachModeShowsItsSeriesInTheListAndTheChart) {
    ASSERT_NE(openOnOneItem("腕立て", {{2024, 3, 1, 10, 8}, {2024, 3, 1, 12, 9}, {2024, 3, 3, 15}}),
              nullptr);

    // Opening selects the per-set view. On the days of all dates a day without sets counts 0,
    // and the running total stays where the day before left it.
    struct View {
        const char *mode, *caption;
        const char* rows;         // №|date|count|running total; ...
        const char *line, *bars;  // the chart's running totals and counts
    };
    const View views[] = {
        {"Option1", "１セットデータ",
         "1|24年03月01日|10|10;2|24年03月01日|12|22;3|24年03月03日|15|37", "10,22,37", "10,12,15"},
        {"Option2", "日ごとデータ （実施）", "1|24年03月01日|22|22;2|24年03月03日|15|37", "22,37",
         "22,15"},
        {"Option3", "日ごとデータ （全日）",
         "1|24年03月01日|22|22;2|24年03月02日|0|22;3|24年03月03日|15|37", "22,22,37", "22,0,15"},
        {"Option4", "セット数データ", "1|24年03月01日|2|2;2|24年03月03日|1|3", "2,3", "2,1"}};
    const auto joined = [](const QVector<double>& values) {
        QStringList out;
        for (double v : values) out << QString::number(v);
        return out.join(',').toStdString();
    };
    EXPECT_EQ(row(0), QStringList({"№", "日付", "回数", "累計"}));
    for (const View& v : views) {
        SCOPED_TRACE(v.mode);
        if (v.mode != std::string("Option1")) clickMode(v.mode);
        EXPECT_EQ(child<QPushButton>(v.mode)->text(), v.caption);
        for (const char* other : {"Option1", "Option2", "Option3", "Option4"})
            EXPECT_EQ(child<QPushButton>(other)->isChecked(), other == std::string(v.mode))
                << other;
        QStringList rows;
        for (int r = 1; r < list()->rows(); ++r) rows << row(r).join('|');
        EXPECT_EQ(rows.join(';').toStdString(), v.rows);
        EXPECT_EQ(joined(chart()->values(1)), v.line);
        EXPECT_EQ(joined(chart()->values(2)), v.bars);
        EXPECT_EQ(label("lblSort"), kByDateUp);
    }
}

TEST_F(HistoryScreenTest, TenDataRowsScrollToTheEndAndNineDoNot) {
    setItems({"九日", "十日"});
    for (int d = 1; d <= 9; ++d) addSet("九日", 2024, 3, d, d);
    for (int d = 1; d <= 10; ++d) addSet("十日", 2024, 3, d, d);
    ASSERT_NE(open(), nullptr);
    QCoreApplication::processEvents();
    ASSERT_EQ(list()->rows(), 10);
    EXPECT_EQ(list()->firstVisibleRow(), 1);

    switchWithCombo(1);
    QCoreApplication::processEvents();
    ASSERT_EQ(list()->rows(), 11);
    EXPECT_GT(list()->firstVisibleRow(), 1);
    QScrollBar* bar = list()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

// ---------------------------------------------------------------- sorting

TEST_F(HistoryScreenTest, CountColumnSortsDescendingFirstThenAscendingAndRowsKeepTheirNumber) {
    ASSERT_NE(openOnOneItem("腕立て", {{2024, 3, 1, 12}, {2024, 3, 2, 30}, {2024, 3, 3, 7}}),
              nullptr);

    doubleClickCell(2, kColCount);
    EXPECT_EQ(label("lblSort"), kByCountDown);
    EXPECT_EQ(column(kColCount), QStringList({"30", "12", "7"}));
    EXPECT_EQ(row(1), QStringList({"2", "24年03月02日", "30", "42"}));
    EXPECT_EQ(column(kColNumber), QStringList({"2", "1", "3"}));

    expectDoubleClickSorts(kColCount, kByCountUp);
    EXPECT_EQ(column(kColCount), QStringList({"7", "12", "30"}));
    EXPECT_EQ(row(1), QStringList({"3", "24年03月03日", "7", "49"}));
    // The chart keeps date order.
    EXPECT_EQ(chart()->values(2), doubles({12, 30, 7}));
}

TEST_F(HistoryScreenTest, DateAndRunningTotalShareOneToggle) {
    ASSERT_NE(openOnOneItem("腕立て", {{2024, 3, 1, 12}, {2024, 3, 2, 30}, {2024, 3, 4, 7}}),
              nullptr);

    expectDoubleClickSorts(kColDate, kByDateDown);
    EXPECT_EQ(column(kColDate), QStringList({"24年03月04日", "24年03月02日", "24年03月01日"}));

    expectDoubleClickSorts(kColTotal, kByTotalUp);
    EXPECT_EQ(column(kColTotal), QStringList({"12", "42", "49"}));

    expectDoubleClickSorts(kColDate, kByDateDown);
    EXPECT_EQ(PCTM.ListSort.CountSortDescending, 0);
}

TEST_F(HistoryScreenTest, NumberColumnSortsNothingButScrollsBackToTheTop) {
    setItems({"腕立て"});
    for (int d = 1; d <= 20; ++d) addSet("腕立て", 2024, 3, d, 40 - d);
    ASSERT_NE(open(), nullptr);
    const QStringList before = column(kColCount);

    doubleClickCell(15, kColNumber);
    EXPECT_EQ(column(kColCount), before);
    EXPECT_EQ(label("lblSort"), kByDateUp);
    EXPECT_EQ(list()->firstVisibleRow(), 1);
    EXPECT_EQ(PCTM.ListSort.CountSortDescending, 0);
    EXPECT_EQ(PCTM.ListSort.TotalSortDescending, 0);

    // Any sort also shows the first data row again.
    doubleClickCell(15, kColCount);
    EXPECT_EQ(list()->firstVisibleRow(), 1);
    EXPECT_EQ(list()->text(1, kColCount), "39");
}

TEST_F(HistoryScreenTest, TogglesSurviveModeItemAndReopening) {
    setItems({"腕立て", "腹筋"});
    addSet("腕立て", 2024, 3, 1, 12);
    addSet("腕立て", 2024, 3, 2, 30);
    addSet("腹筋", 2024, 3, 1, 5);
    addSet("腹筋", 2024, 3, 3, 8);
    ASSERT_NE(open(), nullptr);

    expectDoubleClickSorts(kColCount, kByCountDown);

    // A new view starts in date order, but the toggle goes on from where it was.
    clickMode("Option2");
    EXPECT_EQ(label("lblSort"), kByDateUp);
    EXPECT_EQ(column(kColNumber), QStringList({"1", "2"}));
    expectDoubleClickSorts(kColCount, kByCountUp);

    expectDoubleClickSorts(kColTotal, kByTotalDown);
    switchWithCombo(1);
    EXPECT_EQ(label("lblSort"), kByDateUp);
    EXPECT_EQ(column(kColCount), QStringList({"5", "8"}));
    expectDoubleClickSorts(kColDate, kByDateUp);
    expectDoubleClickSorts(kColCount, kByCountDown);

    child<QPushButton>("cmdModori")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(screens::historyScreen(), nullptr);
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(child<QPushButton>("Option1")->isChecked());
    EXPECT_EQ(child<QScrollBar>("hsbData")->value(), 1);
    EXPECT_EQ(label("lblSort"), kByDateUp);
    expectDoubleClickSorts(kColCount, kByCountUp);
    expectDoubleClickSorts(kColDate, kByDateDown);
}

TEST_F(HistoryScreenTest, KeysAndTheSortMenuSortAsTheDoubleClickDoes) {
    setItems({"腕立て"});
    for (int d = 1; d <= 12; ++d) addSet("腕立て", 2024, 3, d, (d * 7) % 13);
    const auto files = TempFolder::allFiles();
    enum Way { DoubleClick, Return, Space, Menu };
    // Per sort: the label, the count column, the toggles and the first row in view.
    const auto runAll = [this](Way way) {
        QStringList seen;
        PCTM.ListSort = SortToggles{};
        EXPECT_NE(open(), nullptr);
        GridView* g = list();
        for (int col : {kColCount, kColCount, kColDate, kColTotal, kColNumber}) {
            const int row = 11;
            if (way == DoubleClick) {
                doubleClickCell(row, col);
            } else {
                g->setFirstVisibleRow(row);
                g->setCurrentIndex(g->model()->index(row - 1, col));
                // "№" sorts nothing and is not in the menu; its Enter still scrolls to the top.
                if (way == Menu && col != kColNumber) {
                    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                            g->mapToGlobal(QPoint(1, 1)));
                    QApplication::sendEvent(g, &event);
                    auto* menu = screens::historyScreen()->findChild<QMenu*>("sortMenu");
                    if (!menu) {
                        ADD_FAILURE() << "no menu";
                        return seen;
                    }
                    EXPECT_EQ(menu->actions().size(), 3);
                    menu->actions().at(col - kColDate)->trigger();
                    menu->close();
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                } else {
                    QTest::keyClick(g, way == Space ? Qt::Key_Space : Qt::Key_Return);
                }
            }
            seen << label("lblSort") + ":" + column(kColCount).join(",") + ":" +
                        QString::number(PCTM.ListSort.CountSortDescending) +
                        QString::number(PCTM.ListSort.TotalSortDescending) + ":" +
                        QString::number(g->firstVisibleRow());
        }
        screens::closeScreen(screens::historyScreen());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return seen;
    };
    const QStringList byMouse = runAll(DoubleClick);
    ASSERT_EQ(byMouse.size(), 5);
    EXPECT_TRUE(byMouse[0].startsWith(kByCountDown)) << byMouse[0].toStdString();
    for (Way way : {Return, Space, Menu}) EXPECT_EQ(runAll(way), byMouse) << way;
    EXPECT_EQ(TempFolder::allFiles(), files);
}

// ---------------------------------------------------------------- leaving

TEST_F(HistoryScreenTest, EscClosesFromTheListAndTheComboAndLeavesTheHomeScreenOpen) {
    setItems({"腕立て"});
    addSet("腕立て", 2024, 3, 1, 12);
    ASSERT_NE(screens::openHomeScreen(), nullptr);
    QWidget* home = screens::homeScreen();

    for (const char* focus : {"msgList", "cboKoumoku"}) {
        SCOPED_TRACE(focus);
        ASSERT_NE(open(), nullptr);
        auto* target = child<QWidget>(focus);
        ASSERT_NE(target, nullptr);
        // Other keys are the controls' own.
        QTest::keyClick(target, Qt::Key_Down);
        EXPECT_NE(screens::historyScreen(), nullptr);
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_EQ(screens::historyScreen(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(screens::homeScreen(), home);
        EXPECT_TRUE(home->isVisible());
    }
}

TEST_F(HistoryScreenTest, BackButtonAndWindowFrameCloseTheScreen) {
    setItems({"腕立て"});
    ASSERT_NE(open(), nullptr);
    child<QPushButton>("cmdModori")->click();
    EXPECT_EQ(screens::historyScreen(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QPointer<frmGraph> g = open();
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(g->isVisible());
    g->close();
    EXPECT_EQ(screens::historyScreen(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(g.isNull());
}

}  // namespace
