// Makes the pictures of README and the help document: opens every screen and panel on a copy of
// the first-run data and saves each window as a PNG. Usage: screenshots <sample folder> <out folder>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/pctm.h"
#include "app/screens.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "session/frmMain.h"
#include "support/scripted_services.h"

using namespace mitoran;

namespace {

QString outFolder;

void settle() {
    for (int i = 0; i < 5; ++i) services().processEvents();
}

bool save(QWidget* window, const QString& name) {
    if (!window) {
        std::fprintf(stderr, "no window for %s\n", qPrintable(name));
        return false;
    }
    settle();
    const QString path = outFolder + "/" + name + ".png";
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool click(QWidget* window, const char* button) {
    auto* b = window ? window->findChild<QAbstractButton*>(button) : nullptr;
    if (!b) {
        std::fprintf(stderr, "no button %s\n", button);
        return false;
    }
    b->click();
    settle();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshots <sample folder> <out folder>\n");
        return 2;
    }
    outFolder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(outFolder);

    // A scratch copy, so the pictures never touch the first-run data.
    const QString work = QDir::tempPath() + "/mitoran-screenshots";
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    for (const QString& f : QDir(QString::fromLocal8Bit(argv[1])).entryList(QDir::Files))
        QFile::copy(QString::fromLocal8Bit(argv[1]) + "/" + f, work + "/" + f);
    QDir::setCurrent(work);

    // Boxes answer at once (the help tour is switched off below), the day is the sample's last.
    auto& s = testing::installScriptedServices();
    s.setNow(2026, 12, 7, 19, 30, 0);

    if (Main() != 0) return 1;
    PCTM.HelpTourOn = 0;
    bool ok = true;
    auto* prompt = static_cast<QWidget*>(screens::promptScreen());
    ok &= save(prompt, "prompt");
    ok &= click(prompt, "cmdCut");
    auto* home = static_cast<QWidget*>(screens::homeScreen());
    ok &= save(home, "overview");
    ok &= click(home, "cmdMaster") && save(home, "edit");
    ok &= click(home, "cmdToday") && save(home, "today");
    ok &= click(home, "cmdQuick") && save(home, "quick");
    ok &= click(home, "cmdGraph");
    ok &= save(static_cast<QWidget*>(screens::historyScreen()), "history");
    QDir(work).removeRecursively();
    return ok ? 0 : 1;
}
