#pragma once
// The home screen's panel fraSettei: item editing, history clearing, launch and count modes.
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "data/file_io.h"

namespace Ui {
class EditPanel;
}

namespace mitoran {

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

    // Rewrites the play settings file from LaunchMode, CountMode and LaunchInterval.
    IoResult SavePlaySettings();

    // Lists the history of item CurrentItem in lstRireki.
    void ShowItemHistoryList();

    // True while lstKoumoku holds a dragged order that cmdSort has not saved.
    bool orderUnsaved() const { return orderUnsaved_; }

  signals:
    // Items or histories changed on disk: the home screen recomputes and refills the overview.
    void itemsChanged();
    // A history file was put back from a copy: open screens show it again.
    void historyRestored();

  public slots:
    void lstKoumoku_Click();
    void lstKoumoku_MouseDown(int row);
    void lstKoumoku_MouseUp(int row);
    // Alt+Up (-1) or Alt+Down (+1): the keyboard's drag of the selected entry by one place.
    void lstKoumoku_MoveByKey(int step);
    void cmdNew_Click();
    void cmdHozon_Click();
    void cmdDel_Click();
    void cmdSort_Click();
    void cboKoumoku_Click(int index);
    void cmdClear_Click();
    void cmdAllClear_Click();
    void cmdRestore_Click();
    void optTim_Click(int index);
    void optKaisu_Click(int index);
    void hsbTime_Change(int value);
    void hsbTime_KeyPress(int keyAscii);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Answer { Given, Cancelled };

    std::vector<ItemRecord> registeredItems() const;
    std::vector<std::string> listEntries() const;
    int selectedItem() const;  // the item the selected entry of lstKoumoku stands for, or 0
    int rowUnderPointer(const QPoint& viewportPos, bool nearest) const;

    void fillItemLists();
    void fillItemCombo();
    void moveEntry(int from, int to);
    void setOrderUnsaved(bool unsaved);
    void paintSortButton(bool unsaved);  // light orange while the order is not stored
    void showStoredModes();
    void reloadAfterFailedWrite();
    bool playSettingsAllowClicks() const;
    void storePlaySettings(const PlaySettings& before, const QString& doneMessage);

    Answer askName(std::string& name);
    Answer askCount(const QString& prompt, const QString& title, std::int32_t limit,
                    const QString& aboveLimitText, std::int32_t& value);

    void showRestored(const ItemRecord& item, bool addedBack);

    void cancelNew();
    void tellWriteFailure(const QString& what, const std::string& reason);

    std::unique_ptr<Ui::EditPanel> ui;
    bool filling_ = false;
    bool orderUnsaved_ = false;

    // The entry pressed in lstKoumoku, for the drag on release.
    QString DragItemText;
    int DragFromIndex = -1;
};

}  // namespace mitoran
