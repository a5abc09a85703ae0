#pragma once
// The edit panel's box fraRireki: an item's history, clearing one or all histories, and putting
// a history back from a copy.
#include <QGroupBox>
#include <QString>
#include <memory>

#include "data/data_files.h"

namespace Ui {
class HistoryClearing;
}

namespace mitoran {

class HistoryClearing : public QGroupBox {
    Q_OBJECT
  public:
    explicit HistoryClearing(QWidget* parent = nullptr);
    ~HistoryClearing() override;

    // Lists the items anew and shows the history of the first one.
    void showFirstItem();
    // Follow the item list: cboKoumoku lists the items in the order of the shared arrays, so
    // that its positions are item indexes, and keeps what the user typed where it can.
    void addItem(const QString& name);
    void renameItem(int item, const QString& oldName, const QString& newName);
    void followReorder();
    void followReload();

    // Lists the history of item CurrentItem in lstRireki.
    void ShowItemHistoryList();

  signals:
    // Histories changed on disk: the home screen recomputes and refills the overview.
    void itemsChanged();
    // A history file was put back from a copy: open screens show it again.
    void historyRestored();
    // The restore put back an item that was no longer registered: the item list lists it too.
    void itemAddedBack(const QString& name);

  public slots:
    void cboKoumoku_Click(int index);
    void cmdClear_Click();
    void cmdAllClear_Click();
    void cmdRestore_Click();

  private:
    void fillItemCombo();
    void showRestored(const ItemRecord& item, bool addedBack);

    std::unique_ptr<Ui::HistoryClearing> ui;
    bool filling_ = false;
};

}  // namespace mitoran
