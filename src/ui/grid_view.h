#pragma once
// A grid of text cells whose row 0 is a header row that stays on top when the grid scrolls or
// sorts. Rows are numbered as the screens number them: 0 is the header, 1..rows()-1 the data.
#include <QString>
#include <QTableView>
#include <initializer_list>
#include <memory>

namespace mitoran {

class GridModel;

class GridView : public QTableView {
    Q_OBJECT
  public:
    explicit GridView(QWidget* parent = nullptr);
    ~GridView() override;

    void setColumnCount(int cols);  // part of each grid's design, set once
    int columnCount() const;

    void clear();                  // every cell text (header included) becomes empty
    void setFontSize(int points);  // the data cells
    void setHeaderFontSize(int points);
    void setRows(int rows);  // header included: 1 leaves the header row only
    int rows() const;
    void setColumnWidthTwips(int col, int twips);
    void setColumnCentred(int col);
    // The heading row of columns 0, 1, …: each column's text and width in twips, centred.
    struct Heading {
        const char* text;  // UTF-8
        int twips;
    };
    void setHeadings(std::initializer_list<Heading> headings);
    void setFixedColumns(int cols);  // columns that stay in view when scrolling sideways

    void setText(int row, int col, const QString& text);
    QString text(int row, int col) const;

    // Scrolls so that `row` is the first visible data row, or as far as the grid can scroll.
    void setFirstVisibleRow(int row);
    int firstVisibleRow() const;

    // Reorders rows 1.. as whole rows by the numeric value of column `col`; the header stays.
    void sortRows(int col, bool descending);

    // The cell under the pointer at the last double click (row in screen numbering), or the cell
    // acted on by a key or a menu instead.
    int currentRow() const;
    int currentCol() const;

    // What a double click on cell (row, col) does, for the keyboard and for menus: Enter or Space
    // on the grid's current cell comes here too.
    void activateCell(int row, int col);

  signals:
    void dblClick();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void noteCellAt(const QModelIndex& index);
    void updateRowHeight();
    void applyFixedColumns();
    void updateFrozenGeometry();
    void syncFrozenScroll();

    std::unique_ptr<GridModel> model_;
    QTableView* frozen_ = nullptr;  // the fixed columns, laid over the left edge
    int fixedColumns_ = 0;
    int currentRow_ = 0;
    int currentCol_ = 0;
};

}  // namespace mitoran
