#include "ui/chart_view.h"

#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace mitoran {
namespace {

TEST(ChartView, NoCategoriesDrawsNoPoints) {
    ChartView c;
    c.redraw();
    EXPECT_EQ(c.drawnPoints(1), 0);
    EXPECT_EQ(c.drawnPoints(2), 0);

    c.setCategoryCount(3);
    c.setValue(1, 3, 7);
    c.redraw();
    EXPECT_EQ(c.drawnPoints(1), 3);
    EXPECT_EQ(c.drawnPoints(2), 3);

    // Emptying a chart that had points must leave none behind.
    c.setCategoryCount(0);
    c.redraw();
    EXPECT_EQ(c.categoryCount(), 0);
    EXPECT_EQ(c.drawnPoints(1), 0);
    EXPECT_EQ(c.drawnPoints(2), 0);
    EXPECT_TRUE(c.values(1).isEmpty());
}

TEST(ChartView, ValuesGoToTheirSeriesAndCategory) {
    ChartView c;
    c.setCategoryCount(3);
    c.setValue(1, 1, 10);
    c.setValue(1, 2, 25.5);
    c.setValue(2, 2, 4);
    c.setValue(2, 3, 6);
    // Outside the series or categories: ignored, nothing else changes.
    c.setValue(3, 1, 99);
    c.setValue(1, 0, 99);
    c.setValue(2, 4, 99);
    EXPECT_EQ(c.values(1), (QVector<double>{10, 25.5, 0}));
    EXPECT_EQ(c.values(2), (QVector<double>{0, 4, 6}));

    c.setCategoryCount(2);
    c.setCategoryCount(4);
    EXPECT_EQ(c.values(1), (QVector<double>{10, 25.5, 0, 0}));
    EXPECT_EQ(c.values(2), (QVector<double>{0, 4, 0, 0}));

    // Both series fit their axes: the running total far above the counts.
    c.setValue(1, 4, 30000);
    c.redraw();
    EXPECT_GE(c.plot()->yAxis2->range().upper, 30000);
    EXPECT_GE(c.plot()->yAxis->range().upper, 4);
    EXPECT_LT(c.plot()->yAxis->range().upper, 100) << "the counts must not share the totals' scale";
}

TEST(ChartView, ALongHistoryKeepsItsPeaksWhenBarsShareAPixel) {
    ChartView c;
    c.resize(600, 300);
    c.show();
    const int n = 32767;
    c.setCategoryCount(n);
    for (int i = 1; i <= n; ++i) c.setValue(2, i, 1);
    c.setValue(2, 12345, 999);
    c.setValue(2, n, 7);
    c.redraw();
    EXPECT_LE(c.drawnPoints(2), 2 * c.width());
    EXPECT_EQ(c.drawnPoints(1), n) << "the line is drawn from every point";
    auto* bars = qobject_cast<QCPBars*>(c.plot()->plottable(0));
    ASSERT_NE(bars, nullptr);
    double highest = 0, lastKey = 0;
    for (auto it = bars->data()->constBegin(); it != bars->data()->constEnd(); ++it) {
        highest = std::max(highest, it->value);
        lastKey = it->key;
    }
    EXPECT_EQ(highest, 999);
    EXPECT_GT(lastKey, n - c.width()) << "the groups reach the last category";
    EXPECT_EQ(c.values(2)[12344], 999) << "grouping changes the drawing, not the values";
}

TEST(ChartView, CategoryLabelsStayFewOnLongHistories) {
    ChartView c;
    for (int n : {1, 9, 15, 16, 100, 999, 32767}) {
        c.setCategoryCount(n);
        c.redraw();
        auto ticker = c.plot()->xAxis->ticker().dynamicCast<QCPAxisTickerFixed>();
        ASSERT_TRUE(ticker);
        const double step = ticker->tickStep();
        EXPECT_GE(step, 1) << n;
        EXPECT_LE(n / step, 15) << n << " categories, step " << step;
        EXPECT_DOUBLE_EQ(step, std::round(step)) << "categories are whole numbers";
    }
}

}  // namespace
}  // namespace mitoran
