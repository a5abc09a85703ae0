#pragma once
// What a window manager cannot know about our windows: which screen the user looks at, which
// window a box belongs to, and which input was meant for a window that has just gone away.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>

class QWidget;

namespace mitoran {

// Watches the top-level windows from now on (once; later calls do nothing): each window opens
// centred on the screen of the window in front before it, or of the pointer, unless it has
// placed itself; and the window shown or activated last is remembered as the front window.
void watchWindows();

// The window shown or activated last that is still on screen (not hidden, not minimised).
QWidget* frontWindow();

// The window a box opened for `asked` belongs to: asked's window when it is on screen, else the
// box already open, else the front window (just shown, it may not be active yet), else the active
// window; nullptr when no window of the program is on screen.
QWidget* boxOwner(QWidget* asked);

// Moves `box` so that it is centred over `owner`'s window, within that window's screen.
void centreOver(QWidget* box, const QWidget* owner);

// Keeps input that began on a screen that has just closed from acting on the one that replaced
// it: a double click whose first click closed the screen, or a key still held down.
//
// When a top-level window is closed (hidden by the program, not minimised by the user), mouse
// presses and key presses are dropped for `guardMs` (the double-click interval by default),
// counted again from each window that opens meanwhile, since a slow load holds back the events
// that arrived during it. A key or button that was down at the hand-over, or whose press was
// never ours, acts not at all: its repeats and its release are dropped, so an Enter held down
// cannot confirm anything on the next screen. A window that comes up on its own (the end of a
// launch wait) takes clicks at once.
class HandOverGuard : public QObject {
  public:
    explicit HandOverGuard(int guardMs = -1, QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool guarding() const;
    void startGuard(QWidget* closed);

    int guardMs_;
    QElapsedTimer since_;  // started at the hand-over; invalid when none is under way
    QPointer<QWidget> closed_;
    // Pressed since the last hand-over, the press delivered, not yet released.
    QSet<int> keysDown_;
    Qt::MouseButtons buttonsDown_;
};

}  // namespace mitoran
