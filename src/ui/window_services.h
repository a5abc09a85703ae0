#pragma once
// The narrow layer between the screens and the window system: boxes, events, timers, clock,
// random numbers, window states. The program uses QtWindowServices; the tests a scripted one.
#include <qnamespace.h>

#include <QString>
#include <functional>
#include <memory>

#include "data/dates.h"
#include "data/sound_cues.h"

class QObject;
class QWidget;

namespace mitoran {

enum class MsgIcon { Information, Exclamation };
enum class MsgButtons { Ok, OkCancel };
enum class MsgResult { Ok, Cancel };

// A repeating or single-shot timer owned by a screen; destroying it stops it.
class ServiceTimer {
  public:
    virtual ~ServiceTimer() = default;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class WindowServices {
  public:
    virtual ~WindowServices() = default;

    // Boxes belong to boxOwner(owner) (window_watch.h): transient for it and centred on it. A
    // caller that may not be the active window (a timer tick) names its own.
    // Modal; any way of closing other than the OK button answers Cancel.
    virtual MsgResult messageBox(const QString& text, const QString& title, MsgIcon icon,
                                 MsgButtons buttons = MsgButtons::Ok, QWidget* owner = nullptr) = 0;
    // Modal; the typed text, or an empty text when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             QWidget* owner = nullptr) = 0;

    virtual void processEvents() = 0;
    // Waits in the event loop without spinning; n <= 0 returns at once without processing events.
    virtual void waitSeconds(double seconds) = 0;

    // `name` identifies the timer to scripted tests ("tmrStart", "tmrBp").
    virtual std::unique_ptr<ServiceTimer> startRepeatingTimer(QObject* owner, const QString& name,
                                                              int intervalMs,
                                                              std::function<void()> tick) = 0;
    // Runs `done` once after `seconds` on a monotonic clock, unless `owner` is destroyed first.
    virtual std::unique_ptr<ServiceTimer> startSingleShot(QObject* owner, const QString& name,
                                                          double seconds,
                                                          std::function<void()> done) = 0;

    // A short sound at the desktop's volume; the system bell where there is no sound system.
    virtual void playCue(SoundCue cue) = 0;
    // Gets the cues ready ahead of the first one; called away from any screen's opening.
    virtual void prepareCues() {}
    virtual LocalDateTime now() = 0;        // local date and time of day
    virtual double monotonicSeconds() = 0;  // never jumps, not tied to midnight
    virtual float random() = 0;             // [0, 1), reseeded from the clock before each draw

    virtual void setWindowState(QWidget* window, Qt::WindowState state) = 0;
    virtual void showWindow(QWidget* window) = 0;  // modeless, raised and activated
    virtual void endProcess(int exitCode) = 0;     // at once, no closing handlers

    // Puts `window` out of the user's way until a round starts at `startTime` ("HH:MM"): hidden
    // behind a tray icon where a tray exists, else iconified with the time in its title.
    // `startNow` and `quit` answer the tray menu.
    virtual void presentWaiting(QWidget* window, const QString& startTime,
                                std::function<void()> startNow, std::function<void()> quit) = 0;
    // Mapped in normal state, raised and activated, its waiting presentation gone. Where a
    // compositor keeps a window down, a new mapping still shows.
    virtual void bringUp(QWidget* window) = 0;
    // A desktop notification: it reaches the user where a window cannot come forward itself.
    virtual void notify(const QString& summary, const QString& body) = 0;
};

// The services in use; the program installs the Qt ones in main(), tests install scripted ones.
WindowServices& services();
void setServices(std::unique_ptr<WindowServices> s);

}  // namespace mitoran
