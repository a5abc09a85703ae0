#include "support/scripted_services.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "data/data_folder.h"
#include "ui/window_watch.h"

namespace mitoran::testing {

struct ScriptedServices::TimerEntry {
    QPointer<QObject> owner;
    bool hadOwner = false;
    QString name;
    bool repeating = false;
    double due = 0;  // single shots: monotonic second at which it runs
    std::uint64_t order = 0;
    std::function<void()> fn;
    bool active = true;

    bool live() const { return active && (!hadOwner || owner); }
};

namespace {

std::uint64_t g_timerOrder = 0;

class ScriptedTimer : public ServiceTimer {
  public:
    explicit ScriptedTimer(std::shared_ptr<ScriptedServices::TimerEntry> e)
        : entry_(std::move(e)) {}
    ~ScriptedTimer() override { entry_->active = false; }
    void stop() override { entry_->active = false; }
    bool isActive() const override { return entry_->live(); }

  private:
    std::shared_ptr<ScriptedServices::TimerEntry> entry_;
};

// Runs `fn` as the handler of an event, the way an event loop runs a timer's callback or a click:
// a deletion it asks for is then one level deeper than the caller, and the caller's loop carries
// it out on its next pass.
void runAsEvent(const std::function<void()>& fn) {
    class Runner : public QObject {
      public:
        explicit Runner(const std::function<void()>& f) : fn_(f) {}
        bool event(QEvent* e) override {
            if (e->type() != QEvent::User) return QObject::event(e);
            fn_();
            return true;
        }

      private:
        const std::function<void()>& fn_;
    } runner(fn);
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&runner, &event);
}

// Moves a local date and time forward by whole seconds, across midnights as often as needed.
void addSeconds(LocalDateTime& t, long long seconds) {
    long long secOfDay = t.hour * 3600LL + t.minute * 60LL + t.second + seconds;
    long long days = secOfDay / 86400;
    secOfDay %= 86400;
    if (secOfDay < 0) {
        secOfDay += 86400;
        --days;
    }
    if (days != 0) t.date = addDays(t.date, static_cast<long>(days));
    t.hour = static_cast<int>(secOfDay / 3600);
    t.minute = static_cast<int>(secOfDay / 60 % 60);
    t.second = static_cast<int>(secOfDay % 60);
}

}  // namespace

std::vector<RecordedBox> ScriptedServices::messageBoxes() const {
    std::vector<RecordedBox> out;
    for (const auto& b : boxes)
        if (!b.isInput) out.push_back(b);
    return out;
}

QStringList ScriptedServices::messageTexts() const {
    QStringList out;
    for (const auto& b : boxes)
        if (!b.isInput) out << b.text;
    return out;
}

void ScriptedServices::moveClocks(double seconds) {
    if (seconds <= 0) return;
    monotonic += seconds;
    clockFraction += seconds;
    double whole = std::floor(clockFraction);
    clockFraction -= whole;
    addSeconds(clock, static_cast<long long>(whole));
}

void ScriptedServices::advance(double seconds) {
    const double target = monotonic + std::max(0.0, seconds);
    for (;;) {
        std::shared_ptr<TimerEntry> next;
        for (const auto& t : timers_) {
            if (t->repeating || !t->live() || t->due > target) continue;
            if (!next || t->due < next->due || (t->due == next->due && t->order < next->order))
                next = t;
        }
        if (!next) break;
        moveClocks(next->due - monotonic);
        next->active = false;
        auto fn = next->fn;  // the callback may destroy the timer that holds it
        fn();
    }
    moveClocks(target - monotonic);
    prune();
}

bool ScriptedServices::fireTimer(const QString& name) {
    std::vector<std::shared_ptr<TimerEntry>> due;
    for (const auto& t : timers_)
        if (t->repeating && t->live() && t->name == name) due.push_back(t);
    if (due.empty()) return false;
    for (const auto& t : due) {
        if (!t->live()) continue;  // stopped by an earlier tick of this round
        auto fn = t->fn;
        fn();
    }
    prune();
    return true;
}

int ScriptedServices::liveTimers(const QString& name) const {
    return static_cast<int>(std::count_if(timers_.begin(), timers_.end(), [&](const auto& t) {
        return t->live() && t->name == name;
    }));
}

int ScriptedServices::pendingSingleShots() const {
    return static_cast<int>(std::count_if(
        timers_.begin(), timers_.end(), [](const auto& t) { return !t->repeating && t->live(); }));
}

double ScriptedServices::nextSingleShotIn() const {
    double best = -1;
    for (const auto& t : timers_)
        if (!t->repeating && t->live() && (best < 0 || t->due - monotonic < best))
            best = std::max(0.0, t->due - monotonic);
    return best;
}

void ScriptedServices::setNow(int year, int month, int day, int hour, int minute, int second) {
    clock.date = Date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                      std::chrono::day{static_cast<unsigned>(day)}};
    clock.hour = hour;
    clock.minute = minute;
    clock.second = second;
    clockFraction = 0;
}

void ScriptedServices::prune() {
    std::erase_if(timers_, [](const auto& t) { return !t->live(); });
}

ScriptedServices::ScriptedServices() { watchWindows(); }

void ScriptedServices::runModalLoop() {
    QCoreApplication::processEvents();
    runAsEvent([this] { advance(0); });
    QCoreApplication::sendPostedEvents();
}

void ScriptedServices::holdOpen(const RecordedBox& box) {
    boxes.push_back(box);
    runModalLoop();
    if (onBox) runAsEvent([&] { onBox(box); });
    runModalLoop();
}

MsgResult ScriptedServices::messageBox(const QString& text, const QString& title, MsgIcon icon,
                                       MsgButtons buttons, QWidget* owner) {
    RecordedBox box{text, title, icon, buttons, false, boxOwner(owner)};
    holdOpen(box);
    if (buttons == MsgButtons::Ok) return MsgResult::Ok;
    if (boxAnswers.empty()) return MsgResult::Ok;
    MsgResult r = boxAnswers.front();
    boxAnswers.pop_front();
    return r;
}

QString ScriptedServices::inputBox(const QString& prompt, const QString& title, QWidget* owner) {
    RecordedBox box{prompt, title,          MsgIcon::Information, MsgButtons::OkCancel,
                    true,   boxOwner(owner)};
    holdOpen(box);
    if (inputAnswers.empty()) return QString();
    QString r = inputAnswers.front();
    inputAnswers.pop_front();
    return r;
}

void ScriptedServices::processEvents() {
    ++processEventsCalls;
    QCoreApplication::processEvents();
}

void ScriptedServices::waitSeconds(double seconds) {
    waits.push_back(seconds);
    if (seconds <= 0) return;
    // The wait is a loop of its own: shots due during it run as its events.
    runAsEvent([&] { advance(seconds); });
    processEvents();
}

std::unique_ptr<ServiceTimer> ScriptedServices::startRepeatingTimer(QObject* owner,
                                                                    const QString& name,
                                                                    int intervalMs,
                                                                    std::function<void()> tick) {
    auto e = std::make_shared<TimerEntry>();
    e->owner = owner;
    e->hadOwner = owner != nullptr;
    e->name = name;
    e->repeating = true;
    e->due = monotonic + intervalMs / 1000.0;
    e->order = ++g_timerOrder;
    e->fn = std::move(tick);
    timers_.push_back(e);
    return std::make_unique<ScriptedTimer>(e);
}

std::unique_ptr<ServiceTimer> ScriptedServices::startSingleShot(QObject* owner, const QString& name,
                                                                double seconds,
                                                                std::function<void()> done) {
    auto e = std::make_shared<TimerEntry>();
    e->owner = owner;
    e->hadOwner = owner != nullptr;
    e->name = name;
    e->repeating = false;
    e->due = monotonic + std::max(0.0, seconds);
    e->order = ++g_timerOrder;
    e->fn = std::move(done);
    timers_.push_back(e);
    return std::make_unique<ScriptedTimer>(e);
}

void ScriptedServices::playCue(SoundCue cue) { cues.push_back(cue); }

LocalDateTime ScriptedServices::now() { return clock; }

double ScriptedServices::monotonicSeconds() { return monotonic; }

float ScriptedServices::random() {
    if (randomDraws.empty()) return 0.0f;
    float r = randomDraws.front();
    randomDraws.pop_front();
    return r;
}

void ScriptedServices::setWindowState(QWidget* window, Qt::WindowState state) {
    windowStates.emplace_back(window, state);
    if (window) window->setWindowState(state);
}

void ScriptedServices::showWindow(QWidget* window) {
    shownWindows.push_back(window);
    if (window) window->show();
}

void ScriptedServices::endProcess(int exitCode) {
    ++endProcessCalls;
    lastExitCode = exitCode;
}

void ScriptedServices::presentWaiting(QWidget* window, const QString& startTime,
                                      std::function<void()> startNow, std::function<void()> quit) {
    waitings.push_back({window, startTime, std::move(startNow), std::move(quit)});
    if (window) window->showMinimized();
}

void ScriptedServices::bringUp(QWidget* window) {
    bringUps.push_back(window);
    if (!window) return;
    window->setWindowState(Qt::WindowNoState);
    window->show();
}

void ScriptedServices::notify(const QString& summary, const QString& body) {
    notifications.append(summary + QLatin1Char('|') + body);
}

ScriptedServices& installScriptedServices() {
    // Fresh services stand for a fresh run: files told of in an earlier test are told again.
    forgetUnreadableNotices();
    auto s = std::make_unique<ScriptedServices>();
    ScriptedServices& ref = *s;
    setServices(std::move(s));
    return ref;
}

}  // namespace mitoran::testing
