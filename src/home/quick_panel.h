#pragma once
// The home screen's panel fraQuick: the timed Quick Muscle challenge. Its two one-second timers
// belong to the panel and so tick for as long as the home screen exists, whichever panel shows.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "data/data_files.h"
#include "home/quick_history.h"

class QLabel;

namespace Ui {
class QuickPanel;
}

namespace mitoran {

class ServiceTimer;

class QuickPanel : public QWidget {
    Q_OBJECT
  public:
    explicit QuickPanel(QWidget* parent = nullptr);
    ~QuickPanel() override;

    // Steps after HideAllPanels of the "クイックマッスル" button.
    void open();

    const QuickChallenge& challenge() const { return challenge_; }
    std::int16_t quickSeconds() const { return QuickSeconds; }

  signals:
    // From the start button until the attempt is saved or given up (true), and when it is over
    // (false): the home screen decides which of its buttons must wait for it.
    void challengeRunning(bool running);

  public slots:
    void cboNamae_Click();
    void cboSec_Change(const QString& text);
    void cboSec_Click();
    void cboSec_KeyPress(int keyAscii);
    void cmdStart2_Click();
    void cmdStop_Click();
    void tmrStart_Timer();
    void tmrBp_Timer();

  public:
    void PresetQuickSeconds();
    void SetUpQuickGrid();
    void LoadQuickHistory();
    void DisableHomeButtons();
    void EnableHomeButtons();

    // From the start button until the attempt is saved or given up.
    bool busy() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The item's quick history; a missing file is created empty. Failures are told once per
    // user action.
    Loaded<QuickRecord> readQuickFile(const std::string& itemName);
    void tell(const std::string& text);
    void showLamp(int lamp);  // 0: the light with no lamp lit
    void endChallenge();
    bool countingDown() const;
    std::int64_t clockSeconds() const;

    std::unique_ptr<Ui::QuickPanel> ui;
    QLabel* imgStart[4] = {};  // 1..3
    std::unique_ptr<ServiceTimer> tmrStart;
    std::unique_ptr<ServiceTimer> tmrBp;

    QuickChallenge challenge_;
    std::int16_t QuickSeconds = 0;
    bool asking_ = false;  // the count input box is open
    bool restoringSeconds_ = false;
    bool failureShown_ = false;
    // The attempt counting down is stored under the item and seconds it was started with, even
    // when the combo boxes change meanwhile.
    std::string runName_;
    // What the grid lists, so a saved attempt is only added to a list it belongs to.
    std::string listedName_;
    double listedSeconds_ = 0;
};

}  // namespace mitoran
