#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/qt_window_services.h"

namespace mitoran {
namespace {

// Acts on the modal box as soon as it is up, as a user would.
void whenBoxOpens(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(box);
        }
    });
    poll->start(10);
}

QPushButton* buttonWithText(QWidget* box, const QString& text) {
    for (auto* b : box->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

TEST(QtWindowServices, WaitOfZeroOrLessProcessesNoEvents) {
    QtWindowServices s;
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    s.waitSeconds(0);
    s.waitSeconds(-1);
    EXPECT_FALSE(ran);
    s.processEvents();
    EXPECT_TRUE(ran);
}

TEST(QtWindowServices, WaitOfATenthProcessesEventsAndTakesATenth) {
    QtWindowServices s;
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    QElapsedTimer t;
    t.start();
    s.waitSeconds(0.1);
    const qint64 ms = t.elapsed();
    EXPECT_TRUE(ran);
    EXPECT_GE(ms, 99);
    EXPECT_LT(ms, 1000);
}

TEST(QtWindowServices, TimersRunUntilStoppedOrTheirOwnerIsGone) {
    QtWindowServices s;
    auto owner = std::make_unique<QObject>();
    int ticks = 0, shots = 0, orphanShots = 0;
    auto repeating = s.startRepeatingTimer(owner.get(), "tmrStart", 20, [&] { ++ticks; });
    auto shot = s.startSingleShot(owner.get(), "launch", 0.05, [&] { ++shots; });
    auto doomedOwner = std::make_unique<QObject>();
    auto orphan = s.startSingleShot(doomedOwner.get(), "launch", 0.05, [&] { ++orphanShots; });
    doomedOwner.reset();
    EXPECT_FALSE(orphan->isActive());
    EXPECT_TRUE(shot->isActive());

    s.waitSeconds(0.3);
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(shots, 1);
    EXPECT_FALSE(shot->isActive());
    EXPECT_EQ(orphanShots, 0);

    repeating.reset();
    const int before = ticks;
    s.waitSeconds(0.1);
    EXPECT_EQ(ticks, before);

    // Destroying the owner takes its timers with it; the handles outlive it safely.
    auto again = s.startRepeatingTimer(owner.get(), "tmrBp", 20, [&] { ++ticks; });
    owner.reset();
    EXPECT_FALSE(again->isActive());
    s.waitSeconds(0.1);
    EXPECT_EQ(ticks, before);
}

TEST(QtWindowServices, MessageBoxAnswersOkOnlyForTheOkButton) {
    QtWindowServices s;
    whenBoxOpens([](QWidget* box) {
        EXPECT_NE(buttonWithText(box, QStringLiteral("キャンセル")), nullptr);
        box->close();  // the frame's close control
    });
    EXPECT_EQ(s.messageBox("本当に削除しますか？\r\n元に戻せません。", "確認", MsgIcon::Exclamation,
                           MsgButtons::OkCancel),
              MsgResult::Cancel);

    whenBoxOpens([](QWidget* box) {
        auto* mb = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(mb, nullptr);
        EXPECT_EQ(mb->text(), QStringLiteral("本当に削除しますか？\n元に戻せません。"));
        EXPECT_EQ(mb->icon(), QMessageBox::Warning);
        QPushButton* ok = buttonWithText(box, QStringLiteral("OK"));
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
    EXPECT_EQ(s.messageBox("本当に削除しますか？\r\n元に戻せません。", "確認", MsgIcon::Exclamation,
                           MsgButtons::OkCancel),
              MsgResult::Ok);

    whenBoxOpens([](QWidget* box) {
        QPushButton* cancel = buttonWithText(box, QStringLiteral("キャンセル"));
        ASSERT_NE(cancel, nullptr);
        cancel->click();
    });
    EXPECT_EQ(s.messageBox("x", "y", MsgIcon::Information, MsgButtons::OkCancel),
              MsgResult::Cancel);
}

TEST(QtWindowServices, InputBoxGivesTheTextOrNothingWhenCancelled) {
    QtWindowServices s;
    whenBoxOpens([](QWidget* box) {
        auto* edit = box->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setText(QStringLiteral("腹筋"));
        QPushButton* ok = buttonWithText(box, QStringLiteral("OK"));
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
    EXPECT_EQ(s.inputBox("項目名", "新規"), QStringLiteral("腹筋"));

    whenBoxOpens([](QWidget* box) {
        box->findChild<QLineEdit*>()->setText(QStringLiteral("typed, then cancelled"));
        box->close();
    });
    EXPECT_EQ(s.inputBox("項目名", "新規"), QString());
}

TEST(QtWindowServices, TheFocusGoesBackToWhereItWasAfterEachBox) {
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    second->move(0, 40);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QtWindowServices s;
    const std::pair<QWidget*, std::function<void()>> cases[] = {
        {second, [&] { s.messageBox("x", "y", MsgIcon::Information, MsgButtons::Ok); }},
        {first, [&] { s.inputBox("x", "y"); }},
    };
    for (const auto& [user, openBox] : cases) {
        user->setFocus();
        whenBoxOpens([](QWidget* box) { box->close(); });
        openBox();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(QApplication::focusWidget(), user);
    }
}

TEST(QtWindowServices, BoxesBelongToTheirOwnerAndOpenCentredOnIt) {
    QtWindowServices s;
    QWidget owner, other;
    owner.setGeometry(40, 60, 500, 400);
    owner.show();
    other.show();  // in front, and perhaps active: the box still goes with its owner
    const std::vector<std::pair<const char*, std::function<void()>>> boxes = {
        {"message", [&] { s.messageBox("x", "y", MsgIcon::Information, MsgButtons::Ok, &owner); }},
        {"input", [&] { s.inputBox("x", "y", &owner); }},
    };
    for (const auto& [kind, open] : boxes) {
        QPoint centre;
        QWidget* parent = nullptr;
        whenBoxOpens([&](QWidget* box) {
            parent = box->parentWidget();
            centre = box->geometry().center();
            box->close();
        });
        open();
        EXPECT_EQ(parent, &owner) << kind;
        EXPECT_LE((centre - owner.geometry().center()).manhattanLength(), 4) << kind;
    }
}

TEST(QtWindowServices, RandomDrawsStayInTheUnitInterval) {
    QtWindowServices s;
    float lo = 1, hi = 0;
    for (int i = 0; i < 2000; ++i) {
        const float r = s.random();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    EXPECT_LT(lo, 0.1f);
    EXPECT_GT(hi, 0.9f);
}

TEST(QtWindowServices, AWaitingWindowIsPutAwayAndBroughtUpWithItsTitleBack) {
    QtWindowServices s;
    QWidget w;
    w.setWindowTitle(QStringLiteral("ミトラン"));
    // Asked of a window never shown, the state is only noted: nothing flashes up.
    s.setWindowState(&w, Qt::WindowMinimized);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());

    s.presentWaiting(&w, QStringLiteral("19:35"), nullptr, nullptr);  // no tray here
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("19:35 にトレーニングを開始します - ミトラン"));

    for (int i = 0; i < 2; ++i) {  // brought up twice: the title is not lost the second time
        s.bringUp(&w);
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.isMinimized());
        EXPECT_EQ(w.windowTitle(), QStringLiteral("ミトラン"));
    }
}

}  // namespace
}  // namespace mitoran
