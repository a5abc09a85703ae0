#pragma once
// The edit panel's box fraKoumoku: the registered items, their counts, adding, changing,
// deleting and reordering them.
#include <QGroupBox>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class ItemListEditor;
}

namespace mitoran {

class ItemListEditor : public QGroupBox {
    Q_OBJECT
  public:
    explicit ItemListEditor(QWidget* parent = nullptr);
    ~ItemListEditor() override;

    // Lists the items of the shared arrays; a dragged order not yet saved is forgotten.
    void fillItemList();
    // An item put back by the restore dialog joins the end of the list.
    void appendEntry(const QString& name);

    // True while lstKoumoku holds a dragged order that cmdSort has not saved.
    bool orderUnsaved() const { return orderUnsaved_; }

  signals:
    // Items changed on disk: the home screen recomputes and refills the overview.
    void itemsChanged();
    // What the history part's item list must follow, each sent before itemsChanged.
    void itemAdded(const QString& name);
    void itemRenamed(int item, const QString& oldName, const QString& newName);
    void itemDeleted();
    void itemsReordered();
    // A failed write found the file different from memory: the file's items are listed anew.
    void itemsReloaded();

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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Answer { Given, Cancelled };

    std::vector<std::string> listEntries() const;
    int selectedItem() const;  // the item the selected entry of lstKoumoku stands for, or 0
    int rowUnderPointer(const QPoint& viewportPos, bool nearest) const;

    void moveEntry(int from, int to);
    void setOrderUnsaved(bool unsaved);
    void paintSortButton(bool unsaved);  // light orange while the order is not stored
    void reloadAfterFailedWrite();

    Answer askName(std::string& name);
    Answer askCount(const QString& prompt, const QString& title, std::int32_t limit,
                    const QString& aboveLimitText, std::int32_t& value);
    void cancelNew();

    std::unique_ptr<Ui::ItemListEditor> ui;
    bool filling_ = false;
    bool orderUnsaved_ = false;

    // The entry pressed in lstKoumoku, for the drag on release.
    QString DragItemText;
    int DragFromIndex = -1;
};

}  // namespace mitoran
