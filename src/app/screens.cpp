#include "app/screens.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "session/frmMain.h"
#include "ui/window_services.h"

namespace mitoran::screens {
namespace {
QPointer<frmMain> g_prompt;
QPointer<frmSettei> g_home;
QPointer<frmGraph> g_history;
}  // namespace

frmMain* promptScreen() { return g_prompt.data(); }
frmSettei* homeScreen() { return g_home.data(); }
frmGraph* historyScreen() { return g_history.data(); }

frmMain* openPromptScreen(Qt::WindowState state) {
    if (!g_prompt) {
        auto* form = new frmMain;
        g_prompt = form;
        // The state is set before loading, so a minimised launch never flashes up in front.
        services().setWindowState(form, state);
        if (!form->Form_Load()) return nullptr;
        return g_prompt.data();
    }
    services().setWindowState(g_prompt, state);
    return g_prompt.data();
}

frmSettei* openHomeScreen() {
    if (!g_home) {
        auto* form = new frmSettei;
        g_home = form;
        form->Form_Load();
    }
    if (g_home) services().showWindow(g_home);
    return g_home.data();
}

frmGraph* openHistoryScreen() {
    if (!g_history) {
        auto* form = new frmGraph;
        g_history = form;
        form->Form_Load();
    } else {
        services().showWindow(g_history);
    }
    return g_history.data();
}

void closeScreen(QWidget* screen) {
    if (!screen) return;
    if (screen == g_prompt) g_prompt = nullptr;
    if (screen == g_home) g_home = nullptr;
    if (screen == g_history) g_history = nullptr;
    // Not close(): the frame's close handling must not run for a screen that hands over.
    screen->hide();
    screen->deleteLater();
}

void bringForward() {
    if (g_prompt) {
        g_prompt->comeUp();
    } else {
        if (g_home) services().bringUp(g_home);
        if (g_history) services().bringUp(g_history);
    }
    // A box the user still has to answer stays on top of its screen.
    if (QWidget* box = QApplication::activeModalWidget()) {
        box->raise();
        box->activateWindow();
    }
}

}  // namespace mitoran::screens
