#include "ui/qt_window_services.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDateTime>
#include <QEventLoop>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "art/pictures.h"
#include "ui/cue_player.h"
#include "ui/window_watch.h"

namespace mitoran {
namespace {

// Boxes show the CR LF line breaks of the screens' texts as plain line breaks.
QString displayText(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// Arms `timer` so that it fires no later than `leftMs` from now. Short waits need the precise
// timer; a long one may use the cheaper coarse timer as long as it is armed early enough that
// its slack (up to 5 %) cannot make it late; the caller then re-arms for what is left.
void armNoLaterThan(QTimer& timer, qint64 leftMs) {
    constexpr qint64 maxInterval = std::numeric_limits<int>::max() / 2;
    if (leftMs <= 60'000) {
        timer.setTimerType(Qt::PreciseTimer);
        timer.start(static_cast<int>(leftMs));
    } else {
        timer.setTimerType(Qt::CoarseTimer);
        timer.start(static_cast<int>(std::min(leftMs * 9 / 10, maxInterval)));
    }
}

// Whole milliseconds of a delay, a year at most: no longer delay is meant, and the conversion
// must stay defined whatever a hand-edited file asks for.
qint64 delayMs(double seconds) {
    constexpr double kLongestMs = 366.0 * 24 * 3600 * 1000;
    return seconds > 0 ? static_cast<qint64>(std::ceil(std::min(seconds * 1000.0, kLongestMs))) : 0;
}

// A timer that runs its callback once after a delay measured on a monotonic clock; it re-arms
// itself when woken early, so even an hour ends on time. As a child of its owner it dies with it.
class ShotTimer : public QTimer {
  public:
    ShotTimer(QObject* owner, double seconds, std::function<void()> done)
        : QTimer(owner), done_(std::move(done)) {
        setSingleShot(true);
        clock_.start();
        dueMs_ = delayMs(seconds);
        connect(this, &QTimer::timeout, this, [this] { check(); });
        armNoLaterThan(*this, dueMs_);
    }

    bool pending() const { return !fired_ && !cancelled_; }
    void cancel() {
        cancelled_ = true;
        QTimer::stop();
    }

  private:
    void check() {
        if (!pending()) return;
        const qint64 left = dueMs_ - clock_.elapsed();
        if (left > 0) {
            armNoLaterThan(*this, left);
            return;
        }
        fired_ = true;
        auto fn = std::move(done_);
        if (fn) fn();
    }

    QElapsedTimer clock_;
    qint64 dueMs_ = 0;
    std::function<void()> done_;
    bool fired_ = false;
    bool cancelled_ = false;
};

// Gives the focus back after a box to the control that had it, as the user expects on answering.
// Otherwise it is up to the window manager whether the window the box came from is activated
// again, and with it its control.
class FocusReturn {
  public:
    FocusReturn() : widget_(QApplication::focusWidget()) {}
    ~FocusReturn() {
        if (!widget_ || !widget_->isVisible() || !widget_->isEnabled()) return;
        QWidget* window = widget_->window();
        QWidget* active = QApplication::activeWindow();
        if (active && active != window) return;  // the user has gone on to another window
        if (!active) window->activateWindow();
        widget_->setFocus(Qt::OtherFocusReason);
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

  private:
    QPointer<QWidget> widget_;
};

// Centred on its owner where the program last saw it. Qt's own placement asks the window system
// where the owner is, and a box opened while its screen was still being put in place by the
// window manager came up beside the screen.
template <class Box>
class OwnedBox : public Box {
  public:
    using Box::Box;

  protected:
    void showEvent(QShowEvent* event) override {
        Box::showEvent(event);  // a message box takes its size here
        centreOver(this, this->parentWidget());
    }
};

class QtRepeatingTimer : public ServiceTimer {
  public:
    explicit QtRepeatingTimer(QTimer* t) : timer_(t) {}
    ~QtRepeatingTimer() override { release(); }
    void stop() override {
        if (timer_) timer_->stop();
    }
    bool isActive() const override { return timer_ && timer_->isActive(); }

  private:
    void release() {
        if (!timer_) return;
        timer_->stop();
        // Later, not now: this may run inside the timer's own tick.
        timer_->deleteLater();
    }
    QPointer<QTimer> timer_;
};

class QtSingleShot : public ServiceTimer {
  public:
    explicit QtSingleShot(ShotTimer* t) : timer_(t) {}
    ~QtSingleShot() override {
        if (!timer_) return;
        timer_->cancel();
        timer_->deleteLater();
    }
    void stop() override {
        if (timer_) timer_->cancel();
    }
    bool isActive() const override { return timer_ && timer_->pending(); }

  private:
    QPointer<ShotTimer> timer_;
};

}  // namespace

QtWindowServices::QtWindowServices() {
    started_.start();
    watchWindows();
}
QtWindowServices::~QtWindowServices() = default;

MsgResult QtWindowServices::messageBox(const QString& text, const QString& title, MsgIcon icon,
                                       MsgButtons buttons, QWidget* owner) {
    const FocusReturn focus;
    OwnedBox<QMessageBox> box(
        icon == MsgIcon::Exclamation ? QMessageBox::Warning : QMessageBox::Information, title,
        displayText(text), QMessageBox::NoButton, boxOwner(owner));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    if (buttons == MsgButtons::OkCancel) {
        QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
    }
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok ? MsgResult::Ok : MsgResult::Cancel;
}

QString QtWindowServices::inputBox(const QString& prompt, const QString& title, QWidget* owner) {
    const FocusReturn focus;
    OwnedBox<QInputDialog> dlg(boxOwner(owner));
    dlg.setWindowTitle(title);
    dlg.setLabelText(displayText(prompt));
    dlg.setInputMode(QInputDialog::TextInput);
    dlg.setTextValue(QString());
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("キャンセル"));
    dlg.setWindowModality(Qt::ApplicationModal);
    if (dlg.exec() != QDialog::Accepted) return QString();
    return dlg.textValue();
}

void QtWindowServices::processEvents() { QCoreApplication::processEvents(); }

void QtWindowServices::waitSeconds(double seconds) {
    if (!(seconds > 0)) return;
    QElapsedTimer clock;
    clock.start();
    const qint64 totalMs = delayMs(seconds);
    for (;;) {
        const qint64 left = totalMs - clock.elapsed();
        if (left <= 0) return;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        armNoLaterThan(timer, left);
        loop.exec();
        // Any other end of the loop means the application is quitting: stop waiting.
        if (!timedOut) return;
    }
}

std::unique_ptr<ServiceTimer> QtWindowServices::startRepeatingTimer(QObject* owner,
                                                                    const QString& name,
                                                                    int intervalMs,
                                                                    std::function<void()> tick) {
    auto* t = new QTimer(owner);
    t->setObjectName(name);
    t->setTimerType(intervalMs <= 2000 ? Qt::PreciseTimer : Qt::CoarseTimer);
    t->setInterval(std::max(0, intervalMs));
    QObject::connect(t, &QTimer::timeout, t, [fn = std::move(tick)] {
        if (fn) fn();
    });
    t->start();
    return std::make_unique<QtRepeatingTimer>(t);
}

std::unique_ptr<ServiceTimer> QtWindowServices::startSingleShot(QObject* owner, const QString& name,
                                                                double seconds,
                                                                std::function<void()> done) {
    auto* t = new ShotTimer(owner, seconds, std::move(done));
    t->setObjectName(name);
    return std::make_unique<QtSingleShot>(t);
}

void QtWindowServices::playCue(SoundCue cue) {
    prepareCues();
    cues_->play(cue);
}

void QtWindowServices::prepareCues() {
    if (!cues_) cues_ = std::make_unique<CuePlayer>();
}

LocalDateTime QtWindowServices::now() {
    const QDateTime dt = QDateTime::currentDateTime();
    const QDate d = dt.date();
    const QTime t = dt.time();
    LocalDateTime out;
    out.date =
        Date{std::chrono::year{d.year()}, std::chrono::month{static_cast<unsigned>(d.month())},
             std::chrono::day{static_cast<unsigned>(d.day())}};
    out.hour = t.hour();
    out.minute = t.minute();
    out.second = t.second();
    return out;
}

double QtWindowServices::monotonicSeconds() {
    return static_cast<double>(started_.nsecsElapsed()) / 1e9;
}

float QtWindowServices::random() {
    const auto ns = std::chrono::system_clock::now().time_since_epoch().count();
    generator_.seed(static_cast<std::mt19937::result_type>(ns ^ (ns >> 32)));
    // 24 random bits scaled by 2^-24: every value is exactly representable and below 1.
    return static_cast<float>(generator_() >> 8) * (1.0f / 16777216.0f);
}

void QtWindowServices::setWindowState(QWidget* window, Qt::WindowState state) {
    if (!window) return;
    // On a window not yet shown the state is only noted: window managers ignore an iconic state
    // asked for before the first mapping, so the waiting presentation maps and then iconifies.
    window->setWindowState(state);
}

void QtWindowServices::showWindow(QWidget* window) {
    if (!window) return;
    window->show();
    window->raise();
    window->activateWindow();
}

namespace {
constexpr const char* kTrayName = "waitingTray";
constexpr const char* kTitleProperty = "titleBeforeWaiting";
constexpr int kTrayWatchMs = 2000;

QIcon programIcon(const QWidget* window) {
    if (!window->windowIcon().isNull()) return window->windowIcon();
    return pictures::appIcon();
}

// Shows a balloon from a tray icon of its own, for when no notification service answers.
void trayMessage(const QString& summary, const QString& body) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        std::fprintf(stderr, "mitoran: %s\n", qPrintable(body));
        return;
    }
    auto* tray = new QSystemTrayIcon(pictures::appIcon(), qApp);
    tray->show();
    tray->showMessage(summary, body, QSystemTrayIcon::Information, 10'000);
    QTimer::singleShot(15'000, tray, &QObject::deleteLater);
}

// Ends the icon's part in the wait: no later wait or bring-up finds it, its watch stops, and it
// goes after `delayMs`, or at once for 0.
void retireTray(QSystemTrayIcon* tray, int delayMs) {
    tray->setObjectName(QString());
    if (auto* watch = tray->findChild<QTimer*>()) watch->stop();
    const auto remove = [tray] {
        tray->hide();
        tray->deleteLater();
    };
    if (delayMs > 0)
        QTimer::singleShot(delayMs, tray, remove);
    else
        remove();
}

// In the task bar, iconified, with the start time in its title: where there is no tray.
void iconifyWaiting(QWidget* window, const QString& when) {
    if (!window->property(kTitleProperty).isValid())
        window->setProperty(kTitleProperty, window->windowTitle());
    window->setWindowTitle(when + QStringLiteral(" - ") +
                           window->property(kTitleProperty).toString());
    // Mapped first, then iconified: only a mapped window is iconified by the window manager. Not
    // focused on mapping, so a key typed elsewhere in that moment stays where it was typed.
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->setWindowState(Qt::WindowMinimized);
}

}  // namespace

void QtWindowServices::presentWaiting(QWidget* window, const QString& startTime,
                                      std::function<void()> startNow, std::function<void()> quit) {
    if (!window) return;
    const QString when = startTime + QStringLiteral(" にトレーニングを開始します");
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        iconifyWaiting(window, when);
        return;
    }
    window->hide();
    delete window->findChild<QSystemTrayIcon*>(QLatin1String(kTrayName));
    auto* tray = new QSystemTrayIcon(programIcon(window), window);
    tray->setObjectName(QLatin1String(kTrayName));
    tray->setToolTip(when);
    // A menu cannot be the window's child (it would become part of it); it goes with the icon.
    auto* menu = new QMenu;
    QObject::connect(tray, &QObject::destroyed, menu, &QObject::deleteLater);
    QObject::connect(menu->addAction(QStringLiteral("今すぐ開始")), &QAction::triggered, tray,
                     [startNow] {
                         if (startNow) startNow();
                     });
    QObject::connect(menu->addAction(QStringLiteral("終了")), &QAction::triggered, tray, [quit] {
        if (quit) quit();
    });
    tray->setContextMenu(menu);
    QObject::connect(
        tray, &QSystemTrayIcon::activated, tray,
        [startNow](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                if (startNow) startNow();
        });
    // A panel that ends or crashes takes the icon with it, and Qt tells no one: without a look
    // now and then the waiting screen could be reached by no one until its time.
    auto* watch = new QTimer(tray);
    QObject::connect(watch, &QTimer::timeout, tray, [tray, window, when] {
        if (QSystemTrayIcon::isSystemTrayAvailable()) return;
        retireTray(tray, 0);
        iconifyWaiting(window, when);
    });
    watch->start(kTrayWatchMs);
    tray->show();
}

void QtWindowServices::bringUp(QWidget* window) {
    if (!window) return;
    if (auto* tray = window->findChild<QSystemTrayIcon*>(QLatin1String(kTrayName))) {
        // Not at once: this may run in the icon's own click handler, and the second click of a
        // double click must still find the icon. Landing on the panel beneath instead, it is the
        // user's latest click, and the window manager no longer gives the focus to the window
        // mapped for the first one.
        retireTray(tray, QApplication::doubleClickInterval());
    }
    if (const QVariant title = window->property(kTitleProperty); title.isValid()) {
        window->setWindowTitle(title.toString());
        window->setProperty(kTitleProperty, QVariant());
    }
    window->setAttribute(Qt::WA_ShowWithoutActivating, false);
    if (window->isMinimized() || !window->isVisible()) {
        // Compositors may refuse to un-minimise a window on its own request, but every one shows
        // a window mapped anew.
        window->hide();
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
    }
    window->raise();
    window->activateWindow();
}

void QtWindowServices::notify(const QString& summary, const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        trayMessage(summary, body);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName());
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(1));
    call << QStringLiteral("ミトラン") << 0u << QStringLiteral("mitoran") << summary << body
         << QStringList() << hints << -1;
    // Not waited for: a notification service started on demand may take a while, and the prompt
    // is already up.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10'000), qApp);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [summary, body](QDBusPendingCallWatcher* w) {
                         if (w->isError()) trayMessage(summary, body);
                         w->deleteLater();
                     });
}

void QtWindowServices::endProcess(int exitCode) {
    // At once: no window's closing code runs, and no handler after this one. Every data write
    // has already been synced by the data layer.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

}  // namespace mitoran
