#include "ui/window_watch.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace mitoran {
namespace {

// A window of its own (a screen or the help window), not a box, menu or tip.
QWidget* ownWindow(QObject* o) {
    if (!o->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(o);
    return w->isWindow() && w->windowType() == Qt::Window ? w : nullptr;
}

bool onScreen(const QWidget* w) { return w && w->isVisible() && !w->isMinimized(); }

class WindowWatch : public QObject {
  public:
    QPointer<QWidget> front;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type != QEvent::Show && type != QEvent::WindowActivate) return false;
        QWidget* w = ownWindow(watched);
        if (!w) return false;
        if (type == QEvent::Show && !event->spontaneous()) placeCentred(w);
        front = w;
        return false;
    }

  private:
    // Without a position of its own a window is placed by the window manager, which puts it
    // wherever it finds room: a screen opening while the previous one is still up lands in a
    // corner. A window that was moved keeps its place.
    void placeCentred(QWidget* w) const {
        if (w->testAttribute(Qt::WA_Moved) ||
            (w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            return;
        QScreen* screen = front && front != w ? front->screen() : nullptr;
        if (!screen) screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen) screen = QGuiApplication::primaryScreen();
        if (!screen) return;
        const QRect area = screen->availableGeometry();
        // The frame counts where the window system already knows it; move() places the frame.
        const QMargins frame = w->windowHandle() ? w->windowHandle()->frameMargins() : QMargins();
        QRect r(QPoint(), w->size().grownBy(frame));
        r.moveCenter(area.center());
        // A window larger than the screen keeps its title bar in reach.
        w->move(std::max(r.left(), area.left()), std::max(r.top(), area.top()));
    }
};

WindowWatch* g_watch = nullptr;

}  // namespace

void watchWindows() {
    if (g_watch || !qApp) return;
    g_watch = new WindowWatch;
    g_watch->setParent(qApp);
    qApp->installEventFilter(g_watch);
}

QWidget* frontWindow() {
    return g_watch && onScreen(g_watch->front) ? g_watch->front.data() : nullptr;
}

QWidget* boxOwner(QWidget* asked) {
    if (asked && onScreen(asked->window())) return asked->window();
    if (QWidget* modal = QApplication::activeModalWidget(); onScreen(modal)) return modal;
    if (QWidget* front = frontWindow()) return front;
    if (QWidget* active = QApplication::activeWindow(); onScreen(active)) return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (ownWindow(w) && onScreen(w)) return w;
    return nullptr;
}

void centreOver(QWidget* box, const QWidget* owner) {
    if (!owner) return;
    const QWidget* window = owner->window();
    // Not the frames: while a window is being mapped, the window manager's frame around it may
    // not have its size yet, and Qt's reckoning of the frame is then far off.
    QRect r(QPoint(), box->size());
    r.moveCenter(window->geometry().center());
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        r.moveLeft(std::max(area.left(), std::min(r.left(), area.right() + 1 - r.width())));
        r.moveTop(std::max(area.top(), std::min(r.top(), area.bottom() + 1 - r.height())));
    }
    box->move(r.topLeft());
}

HandOverGuard::HandOverGuard(int guardMs, QObject* parent)
    : QObject(parent),
      guardMs_(guardMs >= 0 ? guardMs : QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
}

bool HandOverGuard::guarding() const { return since_.isValid() && since_.elapsed() < guardMs_; }

void HandOverGuard::startGuard(QWidget* closed) {
    since_.start();
    closed_ = closed;
    // Whatever is down now began on the screen that is going.
    keysDown_.clear();
    buttonsDown_ = Qt::NoButton;
}

bool HandOverGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Hide:
            // A minimised window is hidden by the window system (spontaneously): no hand-over.
            if (QWidget* w = ownWindow(watched); w && !event->spontaneous()) startGuard(w);
            return false;
        case QEvent::Show:
            if (QWidget* w = ownWindow(watched); w && since_.isValid()) {
                if (w == closed_)
                    since_.invalidate();  // the same window is back: nothing was handed over
                else if (guarding())
                    since_.start();
            }
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            if (!watched->isWidgetType()) return false;
            if (guarding()) return true;
            buttonsDown_ |= static_cast<QMouseEvent*>(event)->button();
            return false;
        }
        case QEvent::MouseButtonRelease: {
            if (!watched->isWidgetType()) return false;
            const Qt::MouseButton b = static_cast<QMouseEvent*>(event)->button();
            if (!(buttonsDown_ & b)) return true;  // its press was not ours to act on
            buttonsDown_ &= ~b;
            return false;
        }
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            if (!watched->isWidgetType()) return false;
            auto* key = static_cast<QKeyEvent*>(event);
            // A repeat acts only for a press that did; a fresh press only after the guard.
            const bool drop = key->isAutoRepeat() ? !keysDown_.contains(key->key()) : guarding();
            if (drop) {
                // Not as a shortcut either: the press then comes, and is dropped.
                if (event->type() == QEvent::ShortcutOverride) event->accept();
                return true;
            }
            if (event->type() == QEvent::KeyPress) keysDown_.insert(key->key());
            return false;
        }
        case QEvent::KeyRelease: {
            if (!watched->isWidgetType()) return false;
            auto* key = static_cast<QKeyEvent*>(event);
            if (!keysDown_.contains(key->key())) return true;
            if (!key->isAutoRepeat()) keysDown_.remove(key->key());
            return false;
        }
        default:
            return false;
    }
}

}  // namespace mitoran
