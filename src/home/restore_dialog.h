#pragma once
// The dialog of the edit panel's "バックアップから復元…" button: the copies of one item's two
// history files, newest first, and the restore of one of them. An item that is no longer
// registered can be added back with it.
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "home/backup_restore.h"

namespace Ui {
class RestoreDialog;
}

namespace mitoran {

class RestoreDialog : public QDialog {
    Q_OBJECT
  public:
    // `registered`: the item names in list order; `chosen`: the item to list first.
    RestoreDialog(std::vector<std::string> registered, const std::string& chosen,
                  QWidget* parent = nullptr);
    ~RestoreDialog() override;

  signals:
    // A file was restored; `addedBack` when `item` was added to the item list again.
    void restored(const mitoran::ItemRecord& item, bool addedBack);

  public slots:
    void cboItem_Click(int index);
    void cmdRestore_Click();

  private:
    std::string chosenName() const;
    bool chosenRegistered() const;
    void listBackups();
    bool askedAddBack(ItemRecord& item);  // false when a check refused the input

    std::unique_ptr<Ui::RestoreDialog> ui;
    std::vector<std::string> registered_;
    std::vector<BackupEntry> entries_;
};

}  // namespace mitoran
