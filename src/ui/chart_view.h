#pragma once
// A category chart of two series: series 1 (the running total) as a line on its own axis,
// series 2 (the counts) as bars. Categories are numbered 1..n; 0 categories is an empty chart.
#include <QSharedPointer>
#include <QVector>
#include <QWidget>

class QCustomPlot;
class QCPBars;
class QCPGraph;
class QCPAxisTickerFixed;

namespace mitoran {

class ChartView : public QWidget {
    Q_OBJECT
  public:
    explicit ChartView(QWidget* parent = nullptr);

    void setCategoryCount(int n);  // existing values beyond n disappear, new ones are 0
    int categoryCount() const;
    void setValue(int series, int category, double value);  // series 1 or 2, category 1..n
    QVector<double> values(int series) const;               // for checks: index 0 is category 1

    // Draws what was set; screens call it once after filling.
    void redraw();

    // For checks: the points the last redraw handed to the plot for a series (a long history's
    // bars are drawn in groups of neighbouring categories, one bar per pixel column at most).
    int drawnPoints(int series) const;
    QCustomPlot* plot() const { return plot_; }

  private:
    void drawBars(int pixels);

    QCustomPlot* plot_ = nullptr;
    QCPGraph* linePlot_ = nullptr;
    QCPBars* barsPlot_ = nullptr;
    QSharedPointer<QCPAxisTickerFixed> ticker_;
    int barsGroup_ = 1;     // categories per drawn bar
    QVector<double> keys_;  // 1..n of the last redraw, kept for the next
    QVector<double> line_;
    QVector<double> bars_;
};

}  // namespace mitoran
