#include "ui/window_watch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <functional>

namespace mitoran {
namespace {

// A window that counts the input reaching it.
struct Target : QWidget {
    int presses = 0, doubleClicks = 0, keys = 0;
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void mouseDoubleClickEvent(QMouseEvent*) override { ++doubleClicks; }
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    int total() const { return presses + doubleClicks + keys; }
};

void sendKey(QWidget* to, QEvent::Type type, bool repeat) {
    QKeyEvent e(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), repeat);
    QApplication::sendEvent(to, &e);
}

class HandOver : public ::testing::Test {
  protected:
    static constexpr int kGuardMs = 250;
    void SetUp() override {
        qApp->installEventFilter(&guard);
        closing.show();
    }
    void TearDown() override { qApp->removeEventFilter(&guard); }
    void afterTheGuard() { QTest::qWait(kGuardMs + 100); }

    HandOverGuard guard{kGuardMs};
    Target closing, next;
};

TEST_F(HandOver, InputRightAfterAScreenChangeIsDroppedAndLaterInputActs) {
    const std::vector<std::pair<const char*, std::function<void(QWidget*)>>> inputs = {
        {"double click", [](QWidget* w) { QTest::mouseDClick(w, Qt::LeftButton); }},
        {"click", [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }},
        {"key", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }},
    };
    for (const auto& [what, act] : inputs) {
        closing.show();
        next.hide();
        afterTheGuard();
        next.presses = next.doubleClicks = next.keys = 0;

        closing.hide();
        next.show();
        act(&next);
        EXPECT_EQ(next.total(), 0) << what << " right after the hand-over";
        afterTheGuard();
        act(&next);
        EXPECT_GT(next.total(), 0) << what << " once the guard is over";
    }
}

TEST_F(HandOver, AKeyHeldAcrossTheChangeActsOnlyWhenPressedAgain) {
    sendKey(&closing, QEvent::KeyPress, false);
    closing.hide();
    next.show();
    afterTheGuard();
    sendKey(&next, QEvent::KeyPress, true);  // auto-repeat of the held Enter
    sendKey(&next, QEvent::KeyRelease, false);
    EXPECT_EQ(next.keys, 0);
    sendKey(&next, QEvent::KeyPress, false);
    EXPECT_EQ(next.keys, 1);
}

TEST_F(HandOver, AWindowThatComesUpWithoutAChangeTakesClicksAtOnce) {
    next.show();  // nothing closed: a launch wait ending, say
    QTest::mouseClick(&next, Qt::LeftButton);
    EXPECT_EQ(next.presses, 1);

    closing.hide();
    closing.show();  // the same window back: nothing handed over
    QTest::mouseClick(&closing, Qt::LeftButton);
    EXPECT_EQ(closing.presses, 1);
}

TEST(WindowWatch, AWindowOpensCentredUnlessItPlacedItself) {
    watchWindows();
    QWidget free, placed;
    free.resize(300, 200);
    free.show();
    const QRect area = free.screen()->availableGeometry();
    EXPECT_LE((free.frameGeometry().center() - area.center()).manhattanLength(), 1);
    placed.resize(300, 200);
    placed.move(10, 20);
    placed.show();
    EXPECT_EQ(placed.pos(), QPoint(10, 20));
}

TEST(WindowWatch, ABoxBelongsToTheAskingWindowWhileItIsOnScreenElseTheFrontOne) {
    watchWindows();
    QWidget asking, front;
    auto* label = new QLabel(&asking);
    asking.show();
    front.show();
    EXPECT_EQ(boxOwner(label), &asking);
    EXPECT_EQ(boxOwner(&front), &front);
    asking.showMinimized();
    EXPECT_EQ(boxOwner(label), &front);
    asking.hide();
    EXPECT_EQ(boxOwner(label), &front);
    EXPECT_EQ(boxOwner(nullptr), &front);
}

}  // namespace
}  // namespace mitoran
