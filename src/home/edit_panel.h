#pragma once
// The home screen's panel fraSettei: item editing, history clearing, launch and count modes.
#include <QWidget>

namespace mitoran {

class EditPanel : public QWidget {
    Q_OBJECT
public:
    explicit EditPanel(QWidget* parent = nullptr);

    // Steps 2 to 5 of the "編集" button, after HideAllPanels: fill the lists, select the stored
    // modes (raising no message), show the panel, help text.
    void open();

    // Sets hsbTime from LaunchInterval (the home screen's load does this too).
    void showStoredInterval();

signals:
    // Items or histories changed on disk: the home screen recomputes and refills the overview.
    void itemsChanged();
};

}  // namespace mitoran
