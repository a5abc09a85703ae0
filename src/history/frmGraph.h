#pragma once
// The history detail screen: one item's whole history as a summary, a list and a chart in four
// views, opened beside the home screen.
#include <QWidget>
#include <memory>

#include "history/history_detail.h"

namespace Ui {
class frmGraph;
}
class QButtonGroup;

namespace mitoran {

class frmGraph : public QWidget {
    Q_OBJECT
  public:
    explicit frmGraph(QWidget* parent = nullptr);
    ~frmGraph() override;

    void Form_Load();

    // Reads the history of CurrentItem into the shared analysis and fills the summary panel.
    void LoadHistoryDetail();
    void ShowNoData();
    // Shows the item at the scroll bar's position in the selected view.
    void SwitchItem();
    // The item list and the shown item read again, after files changed under an open screen.
    void reloadItems();
    void SetUpHistoryList();
    // Draws the list and the chart of one series.
    void ShowSeriesView(const Series& s);

  public slots:
    void cmdModori_Click();
    void cboKoumoku_Click(int index);
    void hsbData_Change();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void msgList_DblClick();
    // The menu key's (and the right button's) way to the sorts of the list's columns.
    void showSortMenu(const QPoint& pos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void showSummary(const HistorySummary& s);
    void showSelectedView();
    void showModeHelp(const char* line1, const char* line2);
    void fitListToTenRows();

    std::unique_ptr<Ui::frmGraph> ui;
    QButtonGroup* modes_ = nullptr;
};

}  // namespace mitoran
