// The scripted services stand in for the window system in every screen test; these check the
// rules the screen tests lean on.
#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <functional>

namespace mitoran::testing {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;

TEST(ScriptedServices, ClocksRollOverMidnightAndKeepFractions) {
    ScriptedServices& s = installScriptedServices();
    s.setNow(2024, 12, 31, 23, 59, 30);
    const double m0 = s.monotonicSeconds();
    s.advance(45);
    LocalDateTime t = s.now();
    EXPECT_EQ(t.date, Date(year{2025}, month{1}, day{1}));
    EXPECT_EQ(t.hour * 3600 + t.minute * 60 + t.second, 15);
    s.advance(0.6);
    s.advance(0.6);
    EXPECT_EQ(s.now().second, 16);
    s.advance(2 * 86400.0);
    EXPECT_EQ(s.now().date, Date(year{2025}, month{1}, day{3}));
    EXPECT_DOUBLE_EQ(s.monotonicSeconds() - m0, 45 + 1.2 + 2 * 86400.0);
}

TEST(ScriptedServices, SingleShotsRunInDueOrderAndNeverForAGoneOwner) {
    ScriptedServices& s = installScriptedServices();
    std::vector<int> order;
    auto owner = std::make_unique<QObject>();
    auto gone = std::make_unique<QObject>();
    auto a = s.startSingleShot(owner.get(), "a", 30, [&] { order.push_back(30); });
    auto b = s.startSingleShot(owner.get(), "b", 10, [&] {
        order.push_back(10);
        EXPECT_DOUBLE_EQ(s.nextSingleShotIn(), 20) << "time stands at the shot's due moment";
    });
    auto c = s.startSingleShot(gone.get(), "c", 5, [&] { order.push_back(5); });
    auto rep = s.startRepeatingTimer(owner.get(), "tmrStart", 1000, [&] { order.push_back(-1); });
    gone.reset();
    EXPECT_EQ(s.pendingSingleShots(), 2);
    EXPECT_DOUBLE_EQ(s.nextSingleShotIn(), 10);

    s.advance(29);
    EXPECT_EQ(order, (std::vector<int>{10}));
    s.advance(100);
    EXPECT_EQ(order, (std::vector<int>{10, 30})) << "repeating timers tick only when fired";
    EXPECT_EQ(s.pendingSingleShots(), 0);
    EXPECT_LT(s.nextSingleShotIn(), 0);

    EXPECT_TRUE(s.fireTimer("tmrStart"));
    EXPECT_EQ(order.back(), -1);
    EXPECT_EQ(s.liveTimers("tmrStart"), 1);
    rep.reset();
    EXPECT_FALSE(s.fireTimer("tmrStart"));
    EXPECT_EQ(s.liveTimers("tmrStart"), 0);
}

TEST(ScriptedServices, WaitsMoveTheClockAndProcessEventsOnlyWhenPositive) {
    ScriptedServices& s = installScriptedServices();
    s.setNow(2024, 5, 1, 8, 0, 0);
    int shots = 0;
    auto owner = std::make_unique<QObject>();
    QPointer<QObject> closedByShot = new QObject;
    auto shot = s.startSingleShot(owner.get(), "launch", 60, [&] {
        ++shots;
        closedByShot->deleteLater();
    });
    s.waitSeconds(0);
    EXPECT_EQ(s.processEventsCalls, 0);
    s.waitSeconds(61);
    EXPECT_EQ(s.processEventsCalls, 1);
    EXPECT_EQ(shots, 1);
    EXPECT_TRUE(closedByShot.isNull()) << "the wait's own loop carried out the shot's deletion";
    EXPECT_EQ(s.now().minute, 1);
    EXPECT_EQ(s.waits, (std::vector<double>{0, 61}));

    QPointer<QObject> later = new QObject;
    later->deleteLater();
    bool queued = false;
    QMetaObject::invokeMethod(
        qApp, [&] { queued = true; }, Qt::QueuedConnection);
    s.processEvents();
    EXPECT_TRUE(queued);
    EXPECT_FALSE(later.isNull()) << "kept until control is back at the level that asked, as in Qt";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(later.isNull());
}

TEST(ScriptedServices, AnOpenBoxRunsWhatItsModalLoopWould) {
    const std::pair<const char*, std::function<void(ScriptedServices&)>> boxes[] = {
        {"message box", [](ScriptedServices& s) { s.messageBox("m", "t", MsgIcon::Information); }},
        {"input box", [](ScriptedServices& s) { s.inputBox("p", "t"); }},
    };
    for (const auto& [kind, open] : boxes) {
        ScriptedServices& s = installScriptedServices();
        QStringList seen;
        auto owner = std::make_unique<QObject>();
        QPointer<QObject> closedByCaller = new QObject, closedByShot = new QObject,
                          closedInBox = new QObject;
        auto due = s.startSingleShot(owner.get(), "due", 0, [&] {
            seen << "due shot";
            closedByShot->deleteLater();
        });
        auto later = s.startSingleShot(owner.get(), "later", 5, [&] { seen << "later shot"; });
        auto tick = s.startRepeatingTimer(owner.get(), "tmrStart", 1000, [&] { seen << "tick"; });
        QMetaObject::invokeMethod(
            qApp, [&] { seen << "posted"; }, Qt::QueuedConnection);
        closedByCaller->deleteLater();
        s.onBox = [&](const RecordedBox&) {
            seen << (closedByShot ? "box, shot's deletion pending" : "box");
            closedInBox->deleteLater();
            s.advance(5);
        };
        open(s);
        EXPECT_EQ(seen, (QStringList{"posted", "due shot", "box", "later shot"})) << kind;
        EXPECT_TRUE(closedInBox.isNull()) << kind << ": gone before the box answers";
        EXPECT_FALSE(closedByCaller.isNull()) << kind << ": the caller's handler is still running";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST(ScriptedServices, BoxesAreRecordedAndAnsweredFromTheirQueues) {
    ScriptedServices& s = installScriptedServices();
    s.boxAnswers = {MsgResult::Cancel};
    s.inputAnswers = {QStringLiteral("腹筋")};
    EXPECT_EQ(s.messageBox("only ok", "t", MsgIcon::Information, MsgButtons::Ok), MsgResult::Ok);
    EXPECT_EQ(s.boxAnswers.size(), 1u) << "an OK-only box takes no answer";
    EXPECT_EQ(s.messageBox("sure?", "t", MsgIcon::Exclamation, MsgButtons::OkCancel),
              MsgResult::Cancel);
    EXPECT_EQ(s.messageBox("again?", "t", MsgIcon::Exclamation, MsgButtons::OkCancel),
              MsgResult::Ok);
    EXPECT_EQ(s.inputBox("名前", "新規"), QStringLiteral("腹筋"));
    EXPECT_EQ(s.inputBox("名前", "新規"), QString());
    EXPECT_EQ(s.messageTexts(), (QStringList{"only ok", "sure?", "again?"}));
    EXPECT_EQ(s.boxes.size(), 5u);
    EXPECT_TRUE(s.boxes[3].isInput);
}

}  // namespace
}  // namespace mitoran::testing
