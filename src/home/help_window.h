#pragma once
// The program's help viewer: a window showing the help document shipped in the resources. Each
// window belongs to the screen that opened it and closes with it.
#include <QString>
#include <QTextBrowser>

namespace mitoran {

class HelpWindow : public QTextBrowser {
    Q_OBJECT
  public:
    // The resource path of the help document for a help file name: ZovHelp.chm is shown from
    // ":/help/ZovHelp.html".
    static QString documentFor(const QString& helpFile);

    // Shows the default topic of `helpFile` in the help window owned by `owner`, opening one when
    // it has none. Returns the window.
    static HelpWindow* displayTopic(QWidget* owner, const QString& helpFile);

    // Closes every help window that is open.
    static void closeAll();

    // Help windows open now, for the screens that must close them.
    static int openCount();

  private:
    HelpWindow(QWidget* owner, const QString& helpFile);
    QString helpFile_;
};

}  // namespace mitoran
