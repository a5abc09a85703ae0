#include "app/screens.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "app/pctm.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "session/frmMain.h"
#include "ui/window_services.h"

namespace mitoran::screens {

frmMain* promptScreen() { return PCTM.Screens.Prompt.data(); }
frmSettei* homeScreen() { return PCTM.Screens.Home.data(); }
frmGraph* historyScreen() { return PCTM.Screens.History.data(); }

frmMain* openPromptScreen(Qt::WindowState state) {
    if (!PCTM.Screens.Prompt) {
        auto* form = new frmMain;
        PCTM.Screens.Prompt = form;
        // The state is set before loading, so a minimised launch never flashes up in front.
        services().setWindowState(form, state);
        if (!form->Form_Load()) return nullptr;
        return PCTM.Screens.Prompt.data();
    }
    services().setWindowState(PCTM.Screens.Prompt, state);
    return PCTM.Screens.Prompt.data();
}

frmSettei* openHomeScreen() {
    if (!PCTM.Screens.Home) {
        auto* form = new frmSettei;
        PCTM.Screens.Home = form;
        form->Form_Load();
    }
    if (PCTM.Screens.Home) services().showWindow(PCTM.Screens.Home);
    return PCTM.Screens.Home.data();
}

frmGraph* openHistoryScreen() {
    if (!PCTM.Screens.History) {
        auto* form = new frmGraph;
        PCTM.Screens.History = form;
        form->Form_Load();
    } else {
        services().showWindow(PCTM.Screens.History);
    }
    return PCTM.Screens.History.data();
}

void closeScreen(QWidget* screen) {
    if (!screen) return;
    if (screen == PCTM.Screens.Prompt) PCTM.Screens.Prompt = nullptr;
    if (screen == PCTM.Screens.Home) PCTM.Screens.Home = nullptr;
    if (screen == PCTM.Screens.History) PCTM.Screens.History = nullptr;
    // Not close(): the frame's close handling must not run for a screen that hands over.
    screen->hide();
    screen->deleteLater();
}

void bringForward() {
    if (PCTM.Screens.Prompt) {
        PCTM.Screens.Prompt->comeUp();
    } else {
        if (PCTM.Screens.Home) services().bringUp(PCTM.Screens.Home);
        if (PCTM.Screens.History) services().bringUp(PCTM.Screens.History);
    }
    // A box the user still has to answer stays on top of its screen.
    if (QWidget* box = QApplication::activeModalWidget()) {
        box->raise();
        box->activateWindow();
    }
}

}  // namespace mitoran::screens
