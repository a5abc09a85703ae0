#pragma once
// Window services for tests: every box is recorded and answered from a queue, the clock and the
// date are set by the test, random draws are scripted, sound cues recorded, timers fired on demand.
// Boxes and event processing keep Qt's rules where screens depend on them: an open box runs what
// is pending, and a deleteLater() waits for the event loop level it was called at.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "ui/window_services.h"

namespace mitoran::testing {

struct RecordedBox {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::Information;
    MsgButtons buttons = MsgButtons::Ok;
    bool isInput = false;      // an input box: `text` is its prompt
    QWidget* owner = nullptr;  // the window it belongs to, as the program would choose it
};

class ScriptedServices : public WindowServices {
  public:
    ScriptedServices();

    // ---- what the test sets up ----
    // Answers for message boxes with OK and Cancel, in order; with none queued, Ok is answered.
    // Boxes with only OK always answer Ok and take nothing from this queue.
    std::deque<MsgResult> boxAnswers;
    // Answers for input boxes, in order; with none queued, an empty text (a cancel) is answered.
    std::deque<QString> inputAnswers;
    // Random draws in [0, 1), in order; with none queued, 0 is drawn.
    std::deque<float> randomDraws;
    // Called while a box is "open" (after it is recorded, before it answers): lets a test act
    // inside the modal box, as a user's click during it would. Around it the box runs what its
    // modal loop would: posted events, then the single shots due at the current time. These and
    // onBox run as events of that loop: what they hand to deleteLater() is gone before the box
    // answers. The clock stands still while a box is open unless onBox moves it; repeating
    // timers tick only when fired, here as anywhere.
    std::function<void(const RecordedBox&)> onBox;

    // now(); waits and advance() move it forward
    LocalDateTime clock{Date{std::chrono::year{2024}, std::chrono::month{4}, std::chrono::day{1}},
                        12, 0, 0};
    double monotonic = 1000;  // monotonicSeconds()

    // ---- what the test reads ----
    std::vector<RecordedBox> boxes;  // every message box and input box, in order
    std::vector<SoundCue> cues;      // every playCue, in order
    int processEventsCalls = 0;
    std::vector<double> waits;  // seconds of every waitSeconds call
    std::vector<std::pair<QWidget*, Qt::WindowState>> windowStates;
    std::vector<QWidget*> shownWindows;  // every showWindow call, in order
    int endProcessCalls = 0;
    int lastExitCode = 0;
    // Waiting presentations, bring-ups and notifications, in order.
    struct Waiting {
        QWidget* window;
        QString startTime;
        std::function<void()> startNow, quit;
    };
    std::vector<Waiting> waitings;
    std::vector<QWidget*> bringUps;
    QStringList notifications;  // "summary|body"

    // Message boxes only (no input boxes), and their texts.
    std::vector<RecordedBox> messageBoxes() const;
    QStringList messageTexts() const;

    // ---- driving time ----
    // Moves both clocks forward by `seconds` (the date/time rolls over midnight correctly) and
    // runs the single-shot timers that became due, in order.
    void advance(double seconds);
    // Runs one tick of every live repeating timer with this name (created by the code under test).
    // Returns false when no such timer exists.
    bool fireTimer(const QString& name);
    int liveTimers(const QString& name) const;
    // Pending single shots (not yet due, owner alive).
    int pendingSingleShots() const;
    // Seconds until the next pending single shot; < 0 when none.
    double nextSingleShotIn() const;

    // Sets clock to the given date and time.
    void setNow(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

    // ---- WindowServices ----
    MsgResult messageBox(const QString& text, const QString& title, MsgIcon icon,
                         MsgButtons buttons = MsgButtons::Ok, QWidget* owner = nullptr) override;
    QString inputBox(const QString& prompt, const QString& title,
                     QWidget* owner = nullptr) override;
    // Counts, then really processes pending Qt events. As in Qt, a deleteLater() called by a
    // handler is not carried out by an event processing that handler starts; where the test
    // stands for the main loop, flushDeletes() (screen_reset.h) carries it out.
    void processEvents() override;
    void waitSeconds(
        double seconds) override;  // records, advances the clocks, processes events once when > 0
    std::unique_ptr<ServiceTimer> startRepeatingTimer(QObject* owner, const QString& name,
                                                      int intervalMs,
                                                      std::function<void()> tick) override;
    std::unique_ptr<ServiceTimer> startSingleShot(QObject* owner, const QString& name,
                                                  double seconds,
                                                  std::function<void()> done) override;
    void playCue(SoundCue cue) override;
    LocalDateTime now() override;
    double monotonicSeconds() override;
    float random() override;
    void setWindowState(QWidget* window, Qt::WindowState state) override;  // records, then applies
    void showWindow(QWidget* window) override;                             // shows, no activation
    void endProcess(int exitCode) override;                                // records only
    // Record; the window is put away (minimised) or brought up (normal state, shown).
    void presentWaiting(QWidget* window, const QString& startTime, std::function<void()> startNow,
                        std::function<void()> quit) override;
    void bringUp(QWidget* window) override;
    void notify(const QString& summary, const QString& body) override;  // records only

    struct TimerEntry;  // implementation detail
    std::vector<std::shared_ptr<TimerEntry>> timers_;

  private:
    void moveClocks(double seconds);
    void runModalLoop();
    // Records a box and keeps it open as a modal box is: its loop runs, then the test's onBox.
    void holdOpen(const RecordedBox& box);
    void prune();
    double clockFraction = 0;  // the part of a second `clock` has not shown yet
};

// Installs a fresh ScriptedServices as services() and returns it (owned by services()).
ScriptedServices& installScriptedServices();

}  // namespace mitoran::testing
