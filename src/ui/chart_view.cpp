#include "ui/chart_view.h"

#include <qcustomplot.h>

#include <QPaintEvent>
#include <QResizeEvent>
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

// A plot that draws itself once, when it is about to be painted, for however many changes of
// data and size came before. QCustomPlot on its own draws the whole plot for every change and
// again for every resize, and a window being shown resizes it more than once.
class LazyPlot : public QCustomPlot {
  public:
    explicit LazyPlot(QWidget* parent) : QCustomPlot(parent) {
        // Whoever asked for it (QCustomPlot queues one of its own when it is made), a replot
        // leaves the buffers showing the current data at the current size.
        connect(this, &QCustomPlot::afterReplot, this, [this] { stale_ = false; });
    }

    void markStale() {
        stale_ = true;
        update();
    }
    // Lays out the axes for the current size and ranges without drawing anything.
    void layOut() { updateLayout(); }

  protected:
    void resizeEvent(QResizeEvent*) override {
        // A window being shown may announce the same size more than once.
        if (viewport() == rect()) return;
        setViewport(rect());
        markStale();
    }
    void paintEvent(QPaintEvent* event) override {
        if (stale_) replot(QCustomPlot::rpQueuedRefresh);
        QCustomPlot::paintEvent(event);
    }

  private:
    bool stale_ = true;
};

const QColor kBarEdge(0x1f, 0x5f, 0xbf);
const QColor kBarFill(0x4f, 0x8f, 0xdf);

// Categories per drawn bar when n categories share `pixels` pixel columns.
int barsGroupFor(int n, int pixels) {
    pixels = std::max(1, pixels);
    return n > pixels ? (n + pixels - 1) / pixels : 1;
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    auto* lazy = new LazyPlot(this);
    plot_ = lazy;
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

    linePlot_ = plot_->addGraph(plot_->xAxis, plot_->yAxis2);
    linePlot_->setPen(QPen(QColor(0xd0, 0x20, 0x20), 2));
    linePlot_->setAntialiased(false);

    ticker_ = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker_->setScaleStrategy(QCPAxisTickerFixed::ssNone);
    plot_->xAxis->setTicker(ticker_);
    plot_->xAxis->setSubTicks(false);

    // The bars of a long history are grouped by the plot's width, known for certain only once
    // the axes are laid out for the size the plot is drawn at.
    connect(plot_, &QCustomPlot::afterLayout, this, [this] {
        const int pixels = plot_->axisRect()->width();
        if (pixels > 0 && barsGroupFor(static_cast<int>(keys_.size()), pixels) != barsGroup_)
            drawBars(pixels);
    });

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
    if (keys_.size() != n) {
        const int had = static_cast<int>(std::min<qsizetype>(keys_.size(), n));
        keys_.resize(n);
        for (int i = had; i < n; ++i) keys_[i] = i + 1;
    }
    linePlot_->setData(keys_, line_, true);

    ticker_->setTickStep(categoryTickStep(n));
    plot_->xAxis->setRange(0.5, std::max(1, n) + 0.5);
    plot_->yAxis->setRange(valueRange(bars_));
    plot_->yAxis2->setRange(valueRange(line_));

    // A shown plot knows its width now; a hidden one groups for a typical width until it is
    // laid out at its real size.
    auto* lazy = static_cast<LazyPlot*>(plot_);
    if (plot_->isVisible()) lazy->layOut();
    const int pixels = plot_->axisRect()->width();
    drawBars(pixels > 0 ? pixels : 1000);
    lazy->markStale();
}

void ChartView::drawBars(int pixels) {
    // The categories of the last redraw: values set since then wait for the next one.
    const int n = static_cast<int>(std::min(keys_.size(), bars_.size()));
    // Thousands of bars narrower than a pixel cost a rectangle each yet show no more than one
    // bar per pixel column would; so a long history is drawn as one bar per group of
    // neighbouring categories, as high as the group's largest count.
    const int group = barsGroupFor(n, pixels);
    barsGroup_ = group;
    if (group == 1) {
        barsPlot_->setPen(QPen(kBarEdge));
        barsPlot_->setBrush(kBarFill);
        barsPlot_->setWidth(0.8);
        barsPlot_->setData(keys_.first(n), bars_.first(n), true);
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
    // Bars about a pixel wide would show little but their edge, and outlining each one costs
    // more than filling it: they are filled in the edge colour instead.
    barsPlot_->setPen(Qt::NoPen);
    barsPlot_->setBrush(kBarEdge);
    barsPlot_->setWidth(group);
    barsPlot_->setData(keys, values, true);
}

}  // namespace mitoran
