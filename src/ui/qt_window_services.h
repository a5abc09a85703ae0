#pragma once
// The window services of the running program, on Qt Widgets.
#include <QElapsedTimer>
#include <random>

#include "ui/window_services.h"

namespace mitoran {

class CuePlayer;

class QtWindowServices : public WindowServices {
  public:
    QtWindowServices();
    ~QtWindowServices() override;

    MsgResult messageBox(const QString& text, const QString& title, MsgIcon icon,
                         MsgButtons buttons = MsgButtons::Ok, QWidget* owner = nullptr) override;
    QString inputBox(const QString& prompt, const QString& title,
                     QWidget* owner = nullptr) override;

    void processEvents() override;
    void waitSeconds(double seconds) override;

    std::unique_ptr<ServiceTimer> startRepeatingTimer(QObject* owner, const QString& name,
                                                      int intervalMs,
                                                      std::function<void()> tick) override;
    std::unique_ptr<ServiceTimer> startSingleShot(QObject* owner, const QString& name,
                                                  double seconds,
                                                  std::function<void()> done) override;

    void playCue(SoundCue cue) override;
    void prepareCues() override;
    LocalDateTime now() override;
    double monotonicSeconds() override;
    float random() override;

    void setWindowState(QWidget* window, Qt::WindowState state) override;
    void showWindow(QWidget* window) override;
    void endProcess(int exitCode) override;

    void presentWaiting(QWidget* window, const QString& startTime, std::function<void()> startNow,
                        std::function<void()> quit) override;
    void bringUp(QWidget* window) override;
    void notify(const QString& summary, const QString& body) override;

  private:
    QElapsedTimer started_;
    std::mt19937 generator_;
    std::unique_ptr<CuePlayer> cues_;
};

}  // namespace mitoran
