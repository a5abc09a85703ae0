#include "ui/chart_view.h"

#include <qcustomplot.h>

#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace mitoran {

namespace {

// A tick step of 1, 2 or 5 times a power of ten that leaves at most `maxLabels` labels on n
// categories, so long histories keep legible category numbers.
double categoryTickStep(int n, int maxLabels = 15) {
    double step = 1;
    for (;;) {
        for (double m : {1.0, 2.0, 5.0})
            if (n / (step * m) <= maxLabels) return step * m;
        step *= 10;
    }
}

// A value range that holds every value and 0, with a little room above the highest.
QCPRange valueRange(const QVector<double>& v) {
    double lo = 0, hi = 0;
    for (double x : v) {
        if (!std::isfinite(x)) continue;
        lo = std::min(lo, x);
        hi = std::max(hi, x);
    }
    if (hi - lo <= 0) return QCPRange(lo, lo + 1);
    const double pad = (hi - lo) * 0.05;
    return QCPRange(lo < 0 ? lo - pad : lo, hi + pad);
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent), plot_(new QCustomPlot(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_);

    plot_->setNoAntialiasingOnDrag(true);
    plot_->setAntialiasedElements(QCP::aeNone);

    // The running total grows far beyond the counts, so it gets the right axis to itself.
    plot_->yAxis2->setVisible(true);
    plot_->yAxis2->setTickLabels(true);

    barsPlot_ = new QCPBars(plot_->xAxis, plot_->yAxis);
    barsPlot_->setAntialiased(false);
    barsPlot_->setAntialiasedFill(false);
    barsPlot_->setWidth(0.8);
    barsPlot_->setPen(QPen(QColor(0x1f, 0x5f, 0xbf)));
    barsPlot_->setBrush(QColor(0x4f, 0x8f, 0xdf));

    linePlot_ = plot_->addGraph(plot_->xAxis, plot_->yAxis2);
    linePlot_->setPen(QPen(QColor(0xd0, 0x20, 0x20), 2));
    linePlot_->setAntialiased(false);

    ticker_ = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker_->setScaleStrategy(QCPAxisTickerFixed::ssNone);
    plot_->xAxis->setTicker(ticker_);
    plot_->xAxis->setSubTicks(false);

    redraw();
}

void ChartView::setCategoryCount(int n) {
    n = std::max(0, n);
    line_.resize(n);
    bars_.resize(n);
}

int ChartView::categoryCount() const { return static_cast<int>(line_.size()); }

void ChartView::setValue(int series, int category, double value) {
    QVector<double>* target = series == 1 ? &line_ : series == 2 ? &bars_ : nullptr;
    if (!target || category < 1 || category > target->size()) return;
    (*target)[category - 1] = value;
}

QVector<double> ChartView::values(int series) const {
    if (series == 1) return line_;
    if (series == 2) return bars_;
    return {};
}

int ChartView::drawnPoints(int series) const {
    if (series == 1) return linePlot_->dataCount();
    if (series == 2) return barsPlot_->dataCount();
    return 0;
}

void ChartView::redraw() {
    const int n = categoryCount();
    QVector<double> keys(n);
    for (int i = 0; i < n; ++i) keys[i] = i + 1;
    linePlot_->setData(keys, line_, true);
    drawBars();

    ticker_->setTickStep(categoryTickStep(n));
    plot_->xAxis->setRange(0.5, std::max(1, n) + 0.5);
    plot_->yAxis->setRange(valueRange(bars_));
    plot_->yAxis2->setRange(valueRange(line_));
    plot_->replot();
}

void ChartView::drawBars() {
    const int n = categoryCount();
    const int pixels = plot_->axisRect()->width() > 0 ? plot_->axisRect()->width() : 1000;
    // Thousands of bars narrower than a pixel cost a rectangle each yet show no more than one
    // bar per pixel column would; so a long history is drawn as one bar per group of
    // neighbouring categories, as high as the group's largest count.
    const int group = n > pixels ? (n + pixels - 1) / pixels : 1;
    barsGroup_ = group;
    if (group == 1) {
        QVector<double> keys(n);
        for (int i = 0; i < n; ++i) keys[i] = i + 1;
        barsPlot_->setWidth(0.8);
        barsPlot_->setData(keys, bars_, true);
        return;
    }
    QVector<double> keys, values;
    keys.reserve(n / group + 1);
    values.reserve(n / group + 1);
    for (int first = 0; first < n; first += group) {
        const int last = std::min(n, first + group);
        double hi = bars_[first], lo = bars_[first];
        for (int i = first + 1; i < last; ++i) {
            hi = std::max(hi, bars_[i]);
            lo = std::min(lo, bars_[i]);
        }
        keys.push_back((first + 1 + last) / 2.0);
        values.push_back(hi >= -lo ? hi : lo);
    }
    barsPlot_->setWidth(group);
    barsPlot_->setData(keys, values, true);
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The groups of a long history follow the width; redraw them once the new size is laid out.
    if (categoryCount() > 0 && barsGroup_ > 1)
        QMetaObject::invokeMethod(
            this,
            [this] {
                drawBars();
                plot_->replot();
            },
            Qt::QueuedConnection);
}

}  // namespace mitoran
