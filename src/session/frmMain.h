#pragma once
// The training prompt screen: runs one round over the registered items, records each confirmed
// set in the item's history file and shows the current item's statistics beside the prompt.
#include <QWidget>
#include <memory>

class QLabel;

namespace Ui {
class frmMain;
}

namespace mitoran {

class frmMain : public QWidget {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Starts a fresh round. Returns false when there is no item: the user has been told, the
    // home screen is open and this screen is closing.
    bool Form_Load();

    // The two flash colour counters live for the whole run; tests start each from 0.
    static void resetFlashCounters();

  public slots:
    void hsbKaisu_Change(int value);
    void hsbKaisu_Scroll(int value);
    // Enter confirms like cmdNext; returns whether the key was taken.
    bool hsbKaisu_KeyPress(int key);
    void ShowPromptItem();
    void AnalyseItemHistory();
    void cmdNext_Click();
    void cmdNowCut_Click();
    void cmdCut_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool advance(int& flashCounter);
    void flash(int colourIndex);
    void setBackground(const QColor& colour);
    void setPlanColour(int position, int colourIndex);
    QLabel* planLabel(int position) const;
    void endRound();
    // Static: it runs after the round ended, when the screen may already be gone.
    static void showStepHelp(int position);

    std::unique_ptr<Ui::frmMain> ui;
    QLabel* plan_[21] = {};
    bool busy_ = false;    // inside cmdNext or cmdNowCut, whose flash lets other events run
    bool closed_ = false;  // the round has ended; the screen is on its way out

    static int nextFlashColour_;
    static int nowCutFlashColour_;
};

}  // namespace mitoran
