#pragma once
// The home screen's panel fraToday: one item's sets of one day as labels, a grid and a chart.
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TodayPanel;
}

namespace mitoran {

class TodayPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TodayPanel(QWidget* parent = nullptr);
    ~TodayPanel() override;

    // Steps after HideAllPanels of the "本日の実績" button: fill the lists, compute, show, help
    // text. `itemDates[i]` holds item i's distinct date texts in first-appearance order (i from 1).
    void open(const std::vector<std::vector<std::string>>& itemDates);

  public slots:
    void hsbData_Change();
    void cboKoumoku1_Click();
    void cboDate_Click();

  public:
    // Reads the shown item's history and fills the day's figures and the five labels.
    void ComputeDayStatistics();
    void ClearDayStatistics();
    void ShowDayGridAndChart();
    void SetUpDayGrid();

  private:
    void fillDateList(int item);

    std::unique_ptr<Ui::TodayPanel> ui;
    std::vector<std::vector<std::string>> itemDates_;
};

}  // namespace mitoran
