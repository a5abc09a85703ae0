// Makes the pictures of README and the help document: opens every screen and panel on a copy of
// the first-run data and saves each window as a PNG; with an icon folder, also writes the
// launcher icon in the usual desktop sizes as <icon folder>/<n>x<n>/apps/mitoran.png.
// Usage: screenshots <sample folder> <out folder> [icon folder]
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
#include "app/startup.h"
#include "art/pictures.h"
#include "history/frmGraph.h"
#include "home/frmSettei.h"
#include "home/restore_dialog.h"
#include "session/frmMain.h"
#include "support/scripted_services.h"

using namespace mitoran;

namespace {

QString outFolder;

void settle() {
    for (int i = 0; i < 5; ++i) services().processEvents();
}

bool write(const QPixmap& picture, const QString& path) {
    if (picture.isNull() || !picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The whole window, or only `part` of it (in the window's coordinates).
bool save(QWidget* window, const QString& name, QRect part = QRect()) {
    if (!window) {
        std::fprintf(stderr, "no window for %s\n", qPrintable(name));
        return false;
    }
    settle();
    return write(window->grab(part.isNull() ? QRect(QPoint(0, 0), QSize(-1, -1)) : part),
                 outFolder + "/" + name + ".png");
}

// The strip above the panels: the button row and the help-tour switch.
QRect buttonRow(QWidget* home) {
    auto* panels = home ? home->findChild<QWidget*>("panelArea") : nullptr;
    if (!panels) return QRect();
    return QRect(0, 0, home->width(), panels->mapTo(home, QPoint(0, 0)).y());
}

bool saveIcons(const QString& folder) {
    bool ok = true;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(side);
        QDir().mkpath(dir);
        ok &= write(pictures::appIcon().pixmap(QSize(side, side)), dir + "/mitoran.png");
    }
    return ok;
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
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: screenshots <sample folder> <out folder> [icon folder]\n");
        return 2;
    }
    outFolder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    const QString iconFolder =
        argc == 4 ? QDir(QString::fromLocal8Bit(argv[3])).absolutePath() : QString();
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
    if (!iconFolder.isEmpty()) ok &= saveIcons(iconFolder);
    ok &= write(pictures::appIcon().pixmap(QSize(96, 96)), outFolder + "/app-icon.png");
    auto* prompt = static_cast<QWidget*>(screens::promptScreen());
    ok &= save(prompt, "prompt");
    ok &= click(prompt, "cmdCut");
    auto* home = static_cast<QWidget*>(screens::homeScreen());
    ok &= save(home, "overview");
    const QRect row = buttonRow(home);
    ok &= !row.isEmpty() && save(home, "home-buttons", row);
    ok &= click(home, "cmdMaster") && save(home, "edit");
    ok &= click(home, "cmdToday") && save(home, "today");
    ok &= click(home, "cmdQuick") && save(home, "quick");
    ok &= click(home, "cmdGraph");
    ok &= save(static_cast<QWidget*>(screens::historyScreen()), "history");
    // Last, as it clears the first item: the restore dialog with the copy 個別クリア keeps.
    ok &= click(home, "cmdMaster") && click(home, "cmdClear") && click(home, "cmdRestore");
    auto* restore = home->findChild<RestoreDialog*>();
    ok &= restore && save(restore, "restore");
    QDir(work).removeRecursively();
    return ok ? 0 : 1;
}
