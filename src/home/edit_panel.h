#pragma once
// The home screen's panel fraSettei: item editing, history clearing, launch and count modes,
// each in a widget of its own; the panel opens them and lets the history part follow the items.
#include <QWidget>
#include <memory>

#include "data/file_io.h"

namespace Ui {
class EditPanel;
}

namespace mitoran {

class HistoryClearing;
class ItemListEditor;
class PlayModesEditor;

class EditPanel : public QWidget {
    Q_OBJECT
  public:
    explicit EditPanel(QWidget* parent = nullptr);
    ~EditPanel() override;

    // Steps 2 to 5 of the "編集" button, after HideAllPanels: fill the lists, select the stored
    // modes (raising no message), show the panel, help text.
    void open();

    // Sets hsbTime from LaunchInterval (the home screen's load does this too).
    void showStoredInterval();

    // True while lstKoumoku holds a dragged order that cmdSort has not saved.
    bool orderUnsaved() const;

    ItemListEditor* itemList() const;
    HistoryClearing* historyClearing() const;
    PlayModesEditor* playModes() const;

  signals:
    // Items or histories changed on disk: the home screen recomputes and refills the overview.
    void itemsChanged();
    // A history file was put back from a copy: open screens show it again.
    void historyRestored();

  private:
    std::unique_ptr<Ui::EditPanel> ui;
};

}  // namespace mitoran
