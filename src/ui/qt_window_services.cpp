#include "ui/qt_window_services.h"

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

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

MsgResult QtWindowServices::messageBox(const QString& text, const QString& title, MsgIcon icon,
                                       MsgButtons buttons, QWidget* owner) {
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

void QtWindowServices::beep() { QApplication::beep(); }

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
    if (state == Qt::WindowMinimized && !window->isVisible())
        window->showMinimized();  // waits on the task bar, out of the user's way
    else
        window->setWindowState(state);
}

void QtWindowServices::showWindow(QWidget* window) {
    if (!window) return;
    window->show();
    window->raise();
    window->activateWindow();
}

void QtWindowServices::endProcess(int exitCode) {
    // At once: no window's closing code runs, and no handler after this one. Every data write
    // has already been synced by the data layer.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

}  // namespace mitoran
