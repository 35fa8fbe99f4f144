// The items of the desktop tree control as a Qt item model over the shared tree control: the
// view reads labels, icons, the hierarchy, the selection and the drop target from the control's
// records themselves, so a tree of tens of thousands of folders costs its records and nothing
// more, a move is one move of the records, and emptying the tree gives everything back.
// Not for: changing the records (the control does that, between the Begin and End calls
// that tell the views).
#pragma once

#include <QAbstractItemModel>

#include "platform/controls/TreeControlBase.h"

namespace orbel::platform {

class QtTreeModel final : public QAbstractItemModel {
  public:
    explicit QtTreeModel(const TreeControlBase& tree) : tree_(tree) {}

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
    void Begin(const TreeChange& change);
    void End(const TreeChange& change);
    // The item's row looks different (label, icon, highlight).
    void Changed(TreeItem item);

  private:
    const TreeItems& Items() const { return tree_.Items(); }

    const TreeControlBase& tree_;
    // Whether the views heard of the move under way: not when the item keeps its place.
    bool moveTold_ = false;
};

}  // namespace orbel::platform
