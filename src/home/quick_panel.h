#pragma once
// The home screen's panel fraQuick: the timed Quick Muscle challenge. Its two one-second timers
// belong to the panel and so tick for as long as the home screen exists, whichever panel shows.
#include <QWidget>

class QAbstractButton;

namespace mitoran {

class QuickPanel : public QWidget {
    Q_OBJECT
public:
    explicit QuickPanel(QWidget* parent = nullptr);

    // The home screen's buttons that a running challenge disables (cmdAgain, cmdGraph).
    void setHomeButtons(QAbstractButton* again, QAbstractButton* graph);

    // Steps after HideAllPanels of the "クイックマッスル" button.
    void open();
};

}  // namespace mitoran
