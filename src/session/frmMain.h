#pragma once
// The training prompt screen: runs one round over the registered items, records each confirmed
// set in the item's history file and shows the current item's statistics beside the prompt.
#include <QWidget>
#include <memory>

class QLabel;

namespace mitoran {
class ServiceTimer;
}

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

    // Waits out of the user's way for `seconds`, then comes up and tells the user by a desktop
    // notification. A prompt the user brought up meanwhile and is working on stays as it is.
    void waitThenComeUp(double seconds);
    // Up now, in front, with the count bar focused; a wait still running is over for the user.
    void comeUp();
    bool isWaiting() const { return waiting_; }

    // Keys this soon after the screen was activated are not the user's answer to it: they were
    // meant for the program that had the keyboard a moment ago.
    static constexpr double kKeyGuardSeconds = 0.8;

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
    bool event(QEvent* event) override;
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
    void launchDelayEnded();
    // Within kKeyGuardSeconds of the last activation.
    bool keysGuarded() const;

    std::unique_ptr<ServiceTimer> launchTimer_;
    bool waiting_ = false;         // put away until the launch delay ends or the user takes it
    double activatedAt_ = -1.0e9;  // monotonic second of the last activation
    double awaySince_ = 0;         // monotonic second the screen was put away
    // Long enough for the window manager to have answered the mapping that puts it away.
    static constexpr double kAwaySettleSeconds = 2.0;

    std::unique_ptr<Ui::frmMain> ui;
    QLabel* plan_[21] = {};
    bool busy_ = false;    // inside cmdNext or cmdNowCut, whose flash lets other events run
    bool closed_ = false;  // the round has ended; the screen is on its way out
};

}  // namespace mitoran
