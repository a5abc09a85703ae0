#include "ui/grid_view.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "data/records.h"
#include "ui/qt_text.h"

namespace mitoran {

// Cell texts of the data rows (model rows 0.. = grid rows 1..) and of the header row, which the
// view shows as its horizontal header. Changes to texts are announced once per batch: the screens
// write tens of thousands of cells in a row, and one notification per cell would be slow.
class GridModel : public QAbstractTableModel {
  public:
    struct Cell {
        QString text;
        mutable double key = std::numeric_limits<double>::quiet_NaN();  // numeric value, cached
    };

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : cols_;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= cols_) return {};
        if (role == Qt::DisplayRole)
            return rows_[static_cast<std::size_t>(index.row())]
                        [static_cast<std::size_t>(index.column())]
                            .text;
        if (role == Qt::TextAlignmentRole) return alignment(index.column());
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= cols_) return {};
        if (role == Qt::DisplayRole) return header_[static_cast<std::size_t>(section)];
        if (role == Qt::TextAlignmentRole) return alignment(section);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void setColumns(int cols) {
        cols = std::max(0, cols);
        if (cols == cols_) return;
        beginResetModel();
        cols_ = cols;
        header_.resize(static_cast<std::size_t>(cols));
        centred_.resize(static_cast<std::size_t>(cols), false);
        for (auto& r : rows_) r.resize(static_cast<std::size_t>(cols));
        endResetModel();
    }

    void clearTexts() {
        beginResetModel();
        dirty_ = false;
        for (auto& h : header_) h.clear();
        for (auto& r : rows_)
            for (auto& c : r) c = Cell{};
        endResetModel();
    }

    void setDataRows(int n) {
        n = std::max(0, n);
        const int old = rowCount();
        if (n < old) {
            beginRemoveRows({}, n, old - 1);
            rows_.resize(static_cast<std::size_t>(n));
            endRemoveRows();
        } else if (n > old) {
            beginInsertRows({}, old, n - 1);
            rows_.resize(static_cast<std::size_t>(n),
                         std::vector<Cell>(static_cast<std::size_t>(cols_)));
            endInsertRows();
        }
    }

    // `row` in grid numbering (0 the header).
    bool setText(int row, int col, const QString& text) {
        if (col < 0 || col >= cols_ || row < 0 || row > rowCount()) return false;
        if (row == 0) {
            header_[static_cast<std::size_t>(col)] = text;
        } else {
            Cell& c = rows_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)];
            c.text = text;
            c.key = std::numeric_limits<double>::quiet_NaN();
        }
        markDirty();
        return true;
    }

    QString text(int row, int col) const {
        if (col < 0 || col >= cols_ || row < 0 || row > rowCount()) return {};
        if (row == 0) return header_[static_cast<std::size_t>(col)];
        return rows_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)].text;
    }

    void setCentred(int col) {
        if (col < 0 || col >= cols_) return;
        centred_[static_cast<std::size_t>(col)] = true;
        markDirty();
    }

    void sortBy(int col, bool descending) {
        if (col < 0 || col >= cols_ || rows_.size() < 2) return;
        flush();
        std::vector<double> keys(rows_.size());
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            const Cell& c = rows_[i][static_cast<std::size_t>(col)];
            if (std::isnan(c.key)) c.key = leadingNumber(utf8(c.text));
            keys[i] = c.key;
        }
        std::vector<std::size_t> order(rows_.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        if (descending)
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return keys[b] < keys[a]; });
        else
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<std::vector<Cell>> sorted;
        sorted.reserve(rows_.size());
        for (std::size_t i : order) sorted.push_back(std::move(rows_[i]));
        rows_ = std::move(sorted);
        // A selected cell would now show another row's text; drop the selection instead.
        const QModelIndexList persistent = persistentIndexList();
        changePersistentIndexList(persistent, QModelIndexList(persistent.size()));
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    // Announces the texts written since the last announcement.
    void flush() {
        if (!dirty_) return;
        dirty_ = false;
        if (cols_ > 0) {
            emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
            if (!rows_.empty())
                emit dataChanged(index(0, 0), index(rowCount() - 1, cols_ - 1),
                                 {Qt::DisplayRole, Qt::TextAlignmentRole});
        }
    }

  private:
    QVariant alignment(int col) const {
        const bool centred = col >= 0 && col < cols_ && centred_[static_cast<std::size_t>(col)];
        return QVariant::fromValue(centred ? Qt::Alignment(Qt::AlignCenter)
                                           : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }

    void markDirty() {
        if (dirty_) return;
        dirty_ = true;
        QMetaObject::invokeMethod(
            this, [this] { flush(); }, Qt::QueuedConnection);
    }

    int cols_ = 0;
    std::vector<QString> header_;
    std::vector<bool> centred_;
    std::vector<std::vector<Cell>> rows_;
    bool dirty_ = false;
};

GridView::GridView(QWidget* parent) : QTableView(parent), model_(std::make_unique<GridModel>()) {
    setModel(model_.get());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int section) {
        if (section >= 0) activateCell(0, section);
    });
    updateRowHeight();
}

GridView::~GridView() {
    // The views must let go of the model before it is destroyed.
    if (frozen_) frozen_->setModel(nullptr);
    setModel(nullptr);
}

void GridView::setColumnCount(int cols) {
    model_->setColumns(cols);
    applyFixedColumns();
}

int GridView::columnCount() const { return model_->columnCount(); }

void GridView::clear() { model_->clearTexts(); }

void GridView::setFontSize(int points) {
    QFont f = font();
    if (points > 0) f.setPointSize(points);
    setFont(f);
    if (frozen_) frozen_->setFont(f);
    updateRowHeight();
}

void GridView::setHeaderFontSize(int points) {
    QFont f = horizontalHeader()->font();
    if (points > 0) f.setPointSize(points);
    horizontalHeader()->setFont(f);
    if (frozen_) frozen_->horizontalHeader()->setFont(f);
    updateFrozenGeometry();
}

void GridView::setRows(int rows) { model_->setDataRows(std::max(1, rows) - 1); }

int GridView::rows() const { return model_->rowCount() + 1; }

void GridView::setColumnWidthTwips(int col, int twips) {
    if (col < 0 || col >= columnCount()) return;
    const double px = twips / 15.0 * logicalDpiX() / 96.0;
    const int w = std::max(1, static_cast<int>(std::lround(px)));
    setColumnWidth(col, w);
    if (frozen_) frozen_->setColumnWidth(col, w);
    updateFrozenGeometry();
}

void GridView::setColumnCentred(int col) { model_->setCentred(col); }

void GridView::setHeadings(std::initializer_list<Heading> headings) {
    int col = 0;
    for (const Heading& h : headings) {
        setColumnWidthTwips(col, h.twips);
        setText(0, col, QString::fromUtf8(h.text));
        setColumnCentred(col);
        ++col;
    }
}

void GridView::setFixedColumns(int cols) {
    fixedColumns_ = std::max(0, cols);
    applyFixedColumns();
}

void GridView::setText(int row, int col, const QString& text) { model_->setText(row, col, text); }

QString GridView::text(int row, int col) const { return model_->text(row, col); }

void GridView::setFirstVisibleRow(int row) {
    model_->flush();
    if (model_->rowCount() == 0) return;
    // The scroll range follows the rows only once the pending layout has been done.
    executeDelayedItemsLayout();
    updateGeometries();
    const int modelRow = std::clamp(row - 1, 0, model_->rowCount() - 1);
    scrollTo(model_->index(modelRow, 0), QAbstractItemView::PositionAtTop);
}

int GridView::firstVisibleRow() const {
    const int r = rowAt(0);
    return r < 0 ? 0 : r + 1;
}

void GridView::sortRows(int col, bool descending) { model_->sortBy(col, descending); }

int GridView::currentRow() const { return currentRow_; }

int GridView::currentCol() const { return currentCol_; }

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    noteCellAt(indexAt(event->position().toPoint()));
}

void GridView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        currentIndex().isValid()) {
        noteCellAt(currentIndex());
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::noteCellAt(const QModelIndex& index) {
    // A double click beside the cells names no cell; the screens act on a cell, so say nothing.
    if (!index.isValid()) return;
    activateCell(index.row() + 1, index.column());
}

void GridView::activateCell(int row, int col) {
    currentRow_ = row;
    currentCol_ = col;
    emit dblClick();
}

void GridView::updateRowHeight() {
    const int h = fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(h);
    if (frozen_) {
        frozen_->verticalHeader()->setMinimumSectionSize(1);
        frozen_->verticalHeader()->setDefaultSectionSize(h);
    }
}

void GridView::applyFixedColumns() {
    const int cols = columnCount();
    if (fixedColumns_ <= 0 || fixedColumns_ >= cols) {
        if (frozen_) frozen_->hide();
        return;
    }
    if (!frozen_) {
        // A second view over the same model and selection, laid over the left edge, shows the
        // fixed columns while the grid underneath scrolls sideways.
        frozen_ = new QTableView(this);
        frozen_->setModel(model_.get());
        frozen_->setSelectionModel(selectionModel());
        frozen_->setFocusPolicy(Qt::NoFocus);
        // Only the grid scrolls to a new current cell; the fixed columns follow the grid.
        frozen_->setAutoScroll(false);
        frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        frozen_->setSelectionMode(selectionMode());
        frozen_->setWordWrap(false);
        frozen_->setCornerButtonEnabled(false);
        frozen_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        frozen_->verticalHeader()->hide();
        frozen_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        frozen_->horizontalHeader()->setMinimumSectionSize(1);
        frozen_->horizontalHeader()->setHighlightSections(false);
        frozen_->horizontalHeader()->setSectionsClickable(false);
        frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setFrameShape(QFrame::NoFrame);
        frozen_->setFont(font());
        frozen_->horizontalHeader()->setFont(horizontalHeader()->font());
        frozen_->viewport()->installEventFilter(this);
        viewport()->stackUnder(frozen_);
        // The grid leads. The fixed columns lay out their rows on their own, later than the grid
        // when the grid is filled and scrolled while hidden; until then their scroll range is
        // short and a position handed over is cut to it, so it is handed over again whenever
        // either range changes. The fixed columns lead only for a wheel turned over them, and
        // only while both can scroll alike, so a short range never pulls the grid back.
        QScrollBar* own = verticalScrollBar();
        QScrollBar* fixed = frozen_->verticalScrollBar();
        connect(own, &QAbstractSlider::valueChanged, this, &GridView::syncFrozenScroll);
        connect(own, &QAbstractSlider::rangeChanged, this, &GridView::syncFrozenScroll);
        connect(fixed, &QAbstractSlider::rangeChanged, this, &GridView::syncFrozenScroll);
        connect(fixed, &QAbstractSlider::valueChanged, this, [own, fixed](int value) {
            if (fixed->maximum() == own->maximum()) own->setValue(value);
        });
        connect(frozen_->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
                [this](int section) {
                    if (section >= 0) activateCell(0, section);
                });
        updateRowHeight();
    }
    for (int c = 0; c < cols; ++c) {
        frozen_->setColumnHidden(c, c >= fixedColumns_);
        frozen_->setColumnWidth(c, columnWidth(c));
    }
    frozen_->show();
    updateFrozenGeometry();
}

void GridView::syncFrozenScroll() {
    if (frozen_) frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void GridView::updateFrozenGeometry() {
    if (!frozen_ || frozen_->isHidden()) return;
    int w = 0;
    for (int c = 0; c < fixedColumns_; ++c) w += columnWidth(c);
    frozen_->setGeometry(frameWidth(), frameWidth(), w,
                         viewport()->height() + horizontalHeader()->height());
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    updateFrozenGeometry();
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
    if (frozen_ && watched == frozen_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        auto* me = static_cast<QMouseEvent*>(event);
        noteCellAt(frozen_->indexAt(me->position().toPoint()));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace mitoran
