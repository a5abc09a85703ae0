// The fixed first column is a second view laid over the grid; whatever scrolls the grid, and
// whenever it happens, both must show the same rows side by side.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "app/pctm.h"
#include "app/screens.h"
#include "data/data_files.h"
#include "history/frmGraph.h"
#include "support/scripted_services.h"
#include "support/temp_folder.h"
#include "ui/grid_view.h"

namespace mitoran {
namespace {

void fillNumbered(GridView& g, int dataRows) {
    g.clear();
    g.setRows(1);
    g.setText(0, 0, QStringLiteral("№"));
    g.setText(0, 1, QStringLiteral("日付"));
    g.setRows(dataRows + 1);
    for (int r = 1; r <= dataRows; ++r) {
        g.setText(r, 0, QString::number(r));
        g.setText(r, 1, QStringLiteral("d%1").arg(r));
    }
}

// The data row (screen numbering) shown at the top of a view.
int topRow(const QTableView& v) { return v.rowAt(0) + 1; }

class FrozenColumn : public ::testing::Test {
  protected:
    void SetUp() override {
        g.setColumnCount(4);
        g.setFixedColumns(1);
        g.setFontSize(10);
        // Sized like the history list: the header and nine data rows, fixed before it is shown.
        g.setFixedSize(320, g.horizontalHeader()->sizeHint().height() +
                                9 * g.verticalHeader()->defaultSectionSize() + 2 * g.frameWidth());
        frozen = g.findChild<QTableView*>();
        ASSERT_NE(frozen, nullptr);
    }
    void show() {
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        QCoreApplication::processEvents();
    }
    void expectInStep(const char* when) {
        EXPECT_EQ(frozen->verticalScrollBar()->value(), g.verticalScrollBar()->value()) << when;
        EXPECT_EQ(topRow(*frozen), g.firstVisibleRow()) << when;
        const int top = g.firstVisibleRow();
        EXPECT_EQ(frozen->model()->data(frozen->model()->index(top - 1, 0)).toString(),
                  g.text(top, 0))
            << when;
    }
    GridView g;
    QTableView* frozen = nullptr;
};

TEST_F(FrozenColumn, ScrolledToTheEndBeforeShowingFollowsOnceShown) {
    // The history screen fills and scrolls the list before its window first appears, then
    // refills it for other views while shown; both orders must line up.
    for (int rows : {54, 32767}) {
        fillNumbered(g, rows);
        g.setFirstVisibleRow(g.rows() - 1);
    }
    show();
    EXPECT_GT(g.firstVisibleRow(), 32767 - 9);
    expectInStep("after the first show");

    fillNumbered(g, 54);
    g.setFirstVisibleRow(g.rows() - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(g.firstVisibleRow(), 54 - 9 + 1);
    expectInStep("after a shorter refill while shown");

    g.setFirstVisibleRow(1);
    QCoreApplication::processEvents();
    expectInStep("back at the top");
}

TEST_F(FrozenColumn, AShorterFixedColumnNeverPullsTheGridBack) {
    // Hidden, the fixed column has not yet learnt how far it can scroll; the grid must stay where
    // it was sent and not be dragged back to what the column could reach.
    fillNumbered(g, 200);
    g.setFirstVisibleRow(150);
    EXPECT_EQ(g.firstVisibleRow(), 150);
    show();
    EXPECT_EQ(g.firstVisibleRow(), 150);
    expectInStep("after show");
}

TEST_F(FrozenColumn, TheWheelOverTheFixedColumnScrollsBoth) {
    fillNumbered(g, 200);
    show();
    const QPoint at = frozen->viewport()->rect().center();
    QWheelEvent wheel(at, frozen->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(frozen->viewport(), &wheel);
    QCoreApplication::processEvents();
    EXPECT_GT(g.firstVisibleRow(), 1);
    expectInStep("after the wheel");
}

// The history screen fills and scrolls its list in Form_Load, before the window first appears.
TEST(FrozenColumnOnTheHistoryScreen, NumbersBesideTheLastRowsWhenTheScreenOpens) {
    testing::TempFolder folder;
    testing::installScriptedServices().setNow(2024, 3, 20);
    resetRun();
    PCTM.setItems({{"腕立て", 10, 1000}});
    PCTM.CurrentItem = 1;
    Date day{std::chrono::year{2024}, std::chrono::month{1}, std::chrono::day{1}};
    for (int i = 0; i < 54; ++i, day = addDays(day, 1))
        ASSERT_TRUE(appendHistory("腕立て", LocalDateTime{day, 7, 0, 0}, 10).ok);

    frmGraph* screen = screens::openHistoryScreen();
    ASSERT_NE(screen, nullptr);
    QCoreApplication::processEvents();
    auto* list = screen->findChild<GridView*>(QStringLiteral("msgList"));
    ASSERT_NE(list, nullptr);
    auto* numbers = list->findChild<QTableView*>();
    ASSERT_NE(numbers, nullptr);
    const int top = list->firstVisibleRow();
    EXPECT_GT(top, 40) << "the list opens at its end";
    EXPECT_EQ(topRow(*numbers), top);
    EXPECT_EQ(numbers->model()->data(numbers->model()->index(top - 1, 0)).toString(),
              QString::number(top));

    screens::closeScreen(screen);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    resetRun();
}

}  // namespace
}  // namespace mitoran
