#include "platform/qt/QtTreeModel.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>

#include "platform/qt/QtImageList.h"

namespace orbel::platform {

QModelIndex QtTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0) return {};
    const TreeItem item = Items().ChildAt(ItemOf(parent), static_cast<std::size_t>(row));
    return item == kTreeNone ? QModelIndex() : createIndex(row, 0, quintptr{item});
}

QModelIndex QtTreeModel::parent(const QModelIndex& child) const {
    return IndexOf(Items().Parent(ItemOf(child)));
}

int QtTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(Items().ChildCount(ItemOf(parent)));
}

int QtTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool QtTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant QtTreeModel::data(const QModelIndex& index, int role) const {
    const TreeItem item = ItemOf(index);
    if (!Items().Has(item)) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(Items().Text(item));
        case Qt::DecorationRole: {
            int image = 0;
            int selectedImage = 0;
            Items().Images(item, image, selectedImage);
            const QtImageList* images = AsQtImageList(tree_.Images());
            const QIcon icon =
                images ? images->IconAt(item == tree_.GetSelectedItem() ? selectedImage : image)
                       : QIcon();
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        case Qt::BackgroundRole:
            if (item != tree_.GetDropHilightItem()) return {};
            return QApplication::palette().brush(QPalette::Highlight);
        case Qt::ForegroundRole:
            if (item != tree_.GetDropHilightItem()) return {};
            return QApplication::palette().brush(QPalette::HighlightedText);
        default:
            return {};
    }
}

Qt::ItemFlags QtTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QModelIndex QtTreeModel::IndexOf(TreeItem item) const {
    if (!Items().Has(item)) return {};
    return createIndex(static_cast<int>(Items().Position(item)), 0, quintptr{item});
}

TreeItem QtTreeModel::ItemOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<TreeItem>(index.internalId()) : kTreeNone;
}

void QtTreeModel::Begin(const TreeChange& change) {
    const int row = static_cast<int>(change.position);
    switch (change.kind) {
        case TreeChange::Kind::Insert:
            beginInsertRows(IndexOf(change.parent), row, row);
            break;
        case TreeChange::Kind::Erase:
            beginRemoveRows(IndexOf(change.parent), row, row);
            break;
        case TreeChange::Kind::Move: {
            const TreeItem from = Items().Parent(change.item);
            const int at = static_cast<int>(Items().Position(change.item));
            // The views count the place among the siblings as they are before the move.
            const int to = from == change.parent && row > at ? row + 1 : row;
            moveTold_ = !(from == change.parent && (to == at || to == at + 1)) &&
                        beginMoveRows(IndexOf(from), at, at, IndexOf(change.parent), to);
            break;
        }
        case TreeChange::Kind::Clear:
            beginResetModel();
            break;
    }
}

void QtTreeModel::End(const TreeChange& change) {
    switch (change.kind) {
        case TreeChange::Kind::Insert:
            endInsertRows();
            break;
        case TreeChange::Kind::Erase:
            endRemoveRows();
            break;
        case TreeChange::Kind::Move:
            if (moveTold_) endMoveRows();
            moveTold_ = false;
            break;
        case TreeChange::Kind::Clear:
            endResetModel();
            break;
    }
}

void QtTreeModel::Changed(TreeItem item) {
    const QModelIndex at = IndexOf(item);
    if (at.isValid()) emit dataChanged(at, at);
}

}  // namespace orbel::platform
