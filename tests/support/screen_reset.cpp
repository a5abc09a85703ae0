#include "support/screen_reset.h"

#include <QCoreApplication>
#include <QEvent>

#include "app/screens.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "home/help_window.h"
#include "session/frmMain.h"

namespace mitoran::testing {

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

void closeEveryScreen() {
    HelpWindow::closeAll();
    screens::closeScreen(screens::historyScreen());
    screens::closeScreen(screens::promptScreen());
    screens::closeScreen(screens::homeScreen());
    flushDeletes();
}

}  // namespace mitoran::testing
