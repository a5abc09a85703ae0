#include "ui/grid_view.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace mitoran {
namespace {

QStringList rowTexts(const GridView& g, int row) {
    QStringList out;
    for (int c = 0; c < g.columnCount(); ++c) out << g.text(row, c);
    return out;
}

// A history-list-like grid: №, a label, the key, and a text that must travel with its row.
void fill(GridView& g, const QStringList& keys) {
    g.setColumnCount(4);
    g.clear();
    g.setRows(static_cast<int>(keys.size()) + 1);
    g.setText(0, 0, QStringLiteral("№"));
    g.setText(0, 1, QStringLiteral("日付"));
    g.setText(0, 2, QStringLiteral("回数"));
    g.setText(0, 3, QStringLiteral("累計"));
    for (int i = 0; i < keys.size(); ++i) {
        g.setText(i + 1, 0, QString::number(i + 1));
        g.setText(i + 1, 1, QStringLiteral("d%1").arg(i + 1));
        g.setText(i + 1, 2, keys[i]);
        g.setText(i + 1, 3, QStringLiteral("t%1").arg(i + 1));
    }
}

QStringList column(const GridView& g, int col) {
    QStringList out;
    for (int r = 1; r < g.rows(); ++r) out << g.text(r, col);
    return out;
}

TEST(GridView, SortsWholeRowsNumericallyBelowTheHeaderAndKeepsTiesInOrder) {
    GridView g;
    fill(g, {"10", "9", "100", "9", "-3", "", "12.5", "abc"});

    g.sortRows(2, false);
    EXPECT_EQ(rowTexts(g, 0), (QStringList{"№", "日付", "回数", "累計"}));
    // Numbers, not texts: 9 before 10 before 100; no number counts as 0; equal keys keep order.
    EXPECT_EQ(column(g, 2), (QStringList{"-3", "", "abc", "9", "9", "10", "12.5", "100"}));
    EXPECT_EQ(column(g, 0), (QStringList{"5", "6", "8", "2", "4", "1", "7", "3"}));
    for (int r = 1; r < g.rows(); ++r) {
        const QString n = g.text(r, 0);
        EXPECT_EQ(g.text(r, 1), "d" + n);
        EXPECT_EQ(g.text(r, 3), "t" + n);
    }

    g.sortRows(2, true);
    EXPECT_EQ(column(g, 2), (QStringList{"100", "12.5", "10", "9", "9", "", "abc", "-3"}));
    EXPECT_EQ(column(g, 0), (QStringList{"3", "7", "1", "2", "4", "6", "8", "5"}));
    EXPECT_EQ(g.text(0, 2), QStringLiteral("回数"));

    // A text changed after a sort is sorted by its new value, not a remembered one.
    g.setText(1, 2, QStringLiteral("1"));
    g.sortRows(2, false);
    EXPECT_EQ(g.text(g.rows() - 1, 2), QStringLiteral("12.5"));
}

TEST(GridView, RowsAfterAClearAreExactlyTheDataRowsAsked) {
    GridView g;
    fill(g, {"1", "2", "3", "4", "5"});
    g.clear();
    EXPECT_EQ(g.rows(), 6);
    EXPECT_EQ(rowTexts(g, 0), (QStringList{"", "", "", ""}));
    EXPECT_EQ(rowTexts(g, 5), (QStringList{"", "", "", ""}));

    g.setRows(3 + 1);
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(g.model()->rowCount(), 3);

    g.setText(3, 1, QStringLiteral("x"));
    g.setRows(2);
    g.setRows(4);
    EXPECT_EQ(g.text(3, 1), QString()) << "a row that disappeared must come back empty";

    g.setRows(1);
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(g.model()->rowCount(), 0);
    g.setText(1, 0, QStringLiteral("lost"));  // beyond the rows: ignored, no crash
    g.setText(0, 9, QStringLiteral("lost"));
    EXPECT_EQ(g.text(1, 0), QString());
    g.sortRows(2, true);  // header only: nothing to sort
    EXPECT_EQ(g.rows(), 1);
}

TEST(GridView, TextsWrittenInABatchAreAnnouncedOnce) {
    GridView g;
    g.setColumnCount(4);
    g.setRows(2001);
    QCoreApplication::processEvents();
    QSignalSpy spy(g.model(), &QAbstractItemModel::dataChanged);
    for (int r = 1; r <= 2000; ++r)
        for (int c = 0; c < 4; ++c) g.setText(r, c, QString::number(r * 4 + c));
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(g.model()->data(g.model()->index(1999, 3)).toString(), QString::number(8003));
}

class ShownGrid : public ::testing::Test {
  protected:
    void SetUp() override {
        g.setColumnCount(4);
        g.setRows(101);
        for (int r = 1; r <= 100; ++r)
            for (int c = 0; c < 4; ++c) g.setText(r, c, QStringLiteral("%1-%2").arg(r).arg(c));
        g.setFontSize(10);
        g.resize(300, g.horizontalHeader()->sizeHint().height() +
                          10 * g.verticalHeader()->defaultSectionSize() + 2 * g.frameWidth() + 20);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    }
    GridView g;
};

TEST_F(ShownGrid, FirstVisibleRowScrollsToTheRowOrAsFarAsPossible) {
    EXPECT_EQ(g.firstVisibleRow(), 1);
    g.setFirstVisibleRow(40);
    EXPECT_EQ(g.firstVisibleRow(), 40);

    g.setFirstVisibleRow(100);
    const QRect last = g.visualRect(g.model()->index(99, 0));
    EXPECT_TRUE(g.viewport()->rect().contains(last)) << "the last row must be in view";
    EXPECT_GT(g.firstVisibleRow(), 80);
    EXPECT_LT(g.firstVisibleRow(), 100) << "the grid cannot scroll the last row to the top";

    g.setFirstVisibleRow(1);
    EXPECT_EQ(g.firstVisibleRow(), 1);
}

TEST_F(ShownGrid, DoubleClickNamesTheCellUnderThePointer) {
    QSignalSpy spy(&g, &GridView::dblClick);
    g.setFirstVisibleRow(30);
    const QRect cell = g.visualRect(g.model()->index(31, 2));  // grid row 32
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(g.currentRow(), 32);
    EXPECT_EQ(g.currentCol(), 2);

    // A column kept in view while scrolling sideways answers double clicks as well.
    g.setFixedColumns(1);
    g.setColumnWidthTwips(1, 6000);
    g.setColumnWidthTwips(2, 6000);
    g.horizontalScrollBar()->setValue(g.horizontalScrollBar()->maximum());
    auto* fixed = g.findChild<QTableView*>();
    ASSERT_NE(fixed, nullptr);
    ASSERT_TRUE(fixed->isVisible());
    const QRect first = fixed->visualRect(g.model()->index(30, 0));
    QTest::mouseDClick(fixed->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(g.currentRow(), 31);
    EXPECT_EQ(g.currentCol(), 0);
}

}  // namespace
}  // namespace mitoran
