// The items of the desktop tree control as a Qt item model over the shared tree records: the
// view reads labels, icons and the hierarchy from the records themselves, so a tree of tens of
// thousands of folders costs its records and nothing more, a move is one move of the records,
// and emptying the tree gives everything back.
// Not for: changing the records (the control does that, between the Begin and End calls
// that tell the views).
#pragma once

#include <QAbstractItemModel>

#include "platform/controls/TreeItems.h"

namespace orbel::platform {

class ImageList;

// What the rows show beside the records: the selected item its selected image, the drop
// target the highlight; the images come from the control's image list.
struct QtTreeLook {
    const ImageList* images = nullptr;
    TreeItem selected = kTreeNone;
    TreeItem dropTarget = kTreeNone;
};

class QtTreeModel final : public QAbstractItemModel {
  public:
    QtTreeModel(const TreeItems& items, const QtTreeLook& look) : items_(items), look_(look) {}

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The index of an item (invalid for kTreeNone or an unknown item), and the item of one.
    QModelIndex IndexOf(TreeItem item) const;
    static TreeItem ItemOf(const QModelIndex& index);

    // Around a change of the records: the views hear of it before and after.
    void BeginInsert(TreeItem parent, std::size_t position);
    void EndInsert() { endInsertRows(); }
    void BeginErase(TreeItem item);
    void EndErase() { endRemoveRows(); }
    // False when the views see no change (the item keeps its place); End only after true.
    bool BeginMove(TreeItem item, TreeItem parent, std::size_t position);
    void EndMove() { endMoveRows(); }
    void BeginClear() { beginResetModel(); }
    void EndClear() { endResetModel(); }
    // The item's row looks different (label, icon, highlight).
    void Changed(TreeItem item);

  private:
    const TreeItems& items_;
    const QtTreeLook& look_;
};

}  // namespace orbel::platform
