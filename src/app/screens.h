#pragma once
// Opens and closes the three screens, like the implicitly created form instances they replace:
// each screen is created (and its load handler run) on first use and destroyed when closed.
#include <qnamespace.h>

class QWidget;

namespace mitoran {

class frmMain;
class frmSettei;
class frmGraph;

namespace screens {

// The open prompt screen, or nullptr.
frmMain* promptScreen();
// Creates the prompt screen (running its load handler) unless it is open, then sets its window
// state. Returns nullptr when the load handler refused (no item registered) and closed it.
frmMain* openPromptScreen(Qt::WindowState state);

frmSettei* homeScreen();
frmSettei* openHomeScreen();

frmGraph* historyScreen();
frmGraph* openHistoryScreen();

// Closes a screen; it is destroyed once control returns to the event loop.
void closeScreen(QWidget* screen);

// Brings the open screens up in front of the user, as asked by a second start of the program; a
// prompt screen waiting for its round comes up early, as if the user had taken it up.
void bringForward();

}  // namespace screens
}  // namespace mitoran
