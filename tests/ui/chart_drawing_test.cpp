// When the chart draws: once per fill or resize, at the size it is shown at, and never with the
// bars of an earlier width.
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QApplication>
#include <QTest>

#include "ui/chart_view.h"

namespace mitoran {
namespace {

class ChartDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        QObject::connect(c.plot(), &QCustomPlot::afterReplot, [this] { ++replots; });
    }
    void fill(int n, double peakAt) {
        c.setCategoryCount(n);
        double total = 0;
        for (int i = 1; i <= n; ++i) {
            const double count = i == peakAt ? 500 : 1 + i % 7;
            total += count;
            c.setValue(1, i, total);
            c.setValue(2, i, count);
        }
        c.redraw();
    }
    double highestBar() const {
        auto* bars = qobject_cast<QCPBars*>(c.plot()->plottable(0));
        double highest = 0;
        for (auto it = bars->data()->constBegin(); it != bars->data()->constEnd(); ++it)
            highest = std::max(highest, it->value);
        return highest;
    }
    int axisWidth() const { return c.plot()->axisRect()->width(); }

    ChartView c;
    int replots = 0;
};

TEST_F(ChartDrawing, FilledWhileHiddenIsDrawnOnceWhenShownAtItsRealWidth) {
    c.resize(800, 400);
    fill(32767, 20000);
    fill(32767, 30000);  // a second view before the window appears
    EXPECT_EQ(replots, 0) << "nothing is drawn that nobody sees";
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, 1);
    ASSERT_GT(axisWidth(), 100);
    EXPECT_LE(c.drawnPoints(2), axisWidth()) << "no more bars than pixel columns";
    EXPECT_GE(c.drawnPoints(2), axisWidth() / 2);
    EXPECT_EQ(highestBar(), 500) << "the peak of the last fill survives the grouping";
    EXPECT_EQ(c.drawnPoints(1), 32767);
}

TEST_F(ChartDrawing, AResizeOrARefillWhileShownDrawsAgain) {
    c.resize(800, 400);
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    fill(32767, 100);
    QCoreApplication::processEvents();
    const int wide = axisWidth();
    const int drawn = replots;
    EXPECT_GE(drawn, 1);

    c.resize(400, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, drawn + 1);
    ASSERT_LT(axisWidth(), wide);
    EXPECT_LE(c.drawnPoints(2), axisWidth()) << "the bars follow the narrower plot";
    EXPECT_EQ(highestBar(), 500);

    // A short history after a long one: one bar per category again, and the line redrawn.
    fill(12, 5);
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, drawn + 2);
    EXPECT_EQ(c.drawnPoints(2), 12);
    EXPECT_EQ(c.drawnPoints(1), 12);
    EXPECT_EQ(highestBar(), 500);
}

}  // namespace
}  // namespace mitoran
