#pragma once
// The home screen: the button row, the progress overview and the three other panels, the help
// tour switch, the help window and the start of the next round.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "home/home_figures.h"

class QLabel;

namespace Ui {
class frmSettei;
}

namespace mitoran {

class BarFill;
class BarTrack;

class frmSettei : public QWidget {
    Q_OBJECT
  public:
    explicit frmSettei(QWidget* parent = nullptr);
    ~frmSettei() override;

    void Form_Load();

    void HideAllPanels();
    void SetUpOverviewGrid();
    // Reads every item's history file once and derives the overview totals and the lists of
    // recorded days from that one read.
    void ComputeItemTotals();
    void FillOverview();

    QString HelpFilePath;

    // What the overview shows, for the panels and the tests.
    const ItemTotals& itemTotals() const { return totals_; }
    const ItemDateLists& itemDates() const { return dates_; }
    float itemAchievement(int item) const;
    int barLength(int row) const;  // 0..2700 units of the full bar
    int barColour(int row) const;  // palette index of the coloured bar
    bool barRowShown(int row) const;

  public slots:
    void cmdMain_Click();
    void cmdMaster_Click();
    void cmdToday_Click();
    void cmdQuick_Click();
    void cmdGraph_Click();
    void cmdAgain_Click();
    void cmdHelp_Click();
    void cmdEnd_Click();
    void chkHelp_Click();
    void msgIchiran_DblClick();

  protected:
    // Closing the home screen by its frame ends the program, as the end button does.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void itemsChanged();
    void applyOverviewWidths();
    void reportUnreadable(const std::vector<std::string>& unreadable);
    void setHelpCheck(bool on);

    // Set once this screen has handed over to the prompt screen (it is closing): a load or fill
    // still running under a box or event processing then stops touching the window.
    bool handedOver_ = false;

    std::unique_ptr<Ui::frmSettei> ui;
    ItemTotals totals_;
    ItemDateLists dates_;
    std::vector<float> ItemAchievement;
    // The 20 bar rows, indexed from 1.
    std::vector<QLabel*> lblKoumokuw;
    std::vector<BarTrack*> shpTasseiB;
    std::vector<BarFill*> shpTassei;
    std::vector<QLabel*> lblTassei;
};

}  // namespace mitoran
