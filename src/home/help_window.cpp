#include "home/help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>
#include <vector>

#include "ui/window_services.h"

namespace mitoran {
namespace {

std::vector<QPointer<HelpWindow>>& openWindows() {
    static std::vector<QPointer<HelpWindow>> windows;
    std::erase_if(windows, [](const QPointer<HelpWindow>& w) { return w.isNull(); });
    return windows;
}

}  // namespace

QString HelpWindow::documentFor(const QString& helpFile) {
    return QStringLiteral(":/help/") + QFileInfo(helpFile).completeBaseName() +
           QStringLiteral(".html");
}

HelpWindow::HelpWindow(QWidget* owner, const QString& helpFile)
    : QTextBrowser(owner), helpFile_(helpFile) {
    // A window of its own that still dies with its owner.
    setWindowFlag(Qt::Window, true);
    setAttribute(Qt::WA_DeleteOnClose, true);
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("ミトラン ヘルプ"));
    setOpenExternalLinks(true);
    resize(720, 600);
    const QString document = documentFor(helpFile);
    if (QFile::exists(document)) {
        setSource(QUrl(QStringLiteral("qrc") + document));
    } else {
        setPlainText(QStringLiteral("ヘルプファイル ") + helpFile +
                     QStringLiteral(" が見つかりません。"));
    }
}

HelpWindow* HelpWindow::displayTopic(QWidget* owner, const QString& helpFile) {
    for (const QPointer<HelpWindow>& w : openWindows()) {
        if (w->parentWidget() == owner && w->helpFile_ == helpFile) {
            w->home();
            services().showWindow(w);
            return w;
        }
    }
    auto* window = new HelpWindow(owner, helpFile);
    openWindows().push_back(window);
    services().showWindow(window);
    return window;
}

void HelpWindow::closeAll() {
    // Copied first: closing deletes, which would change the list under the loop.
    const std::vector<QPointer<HelpWindow>> windows = openWindows();
    for (const QPointer<HelpWindow>& w : windows)
        if (w) w->close();
}

int HelpWindow::openCount() {
    int count = 0;
    for (const QPointer<HelpWindow>& w : openWindows())
        if (w->isVisible()) ++count;
    return count;
}

}  // namespace mitoran
