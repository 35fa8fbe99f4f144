#include "platform/qt/QtTreeModel.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>

#include "platform/qt/QtImageList.h"

namespace orbel::platform {

QModelIndex QtTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0) return {};
    const TreeItem item = items_.ChildAt(ItemOf(parent), static_cast<std::size_t>(row));
    return item == kTreeNone ? QModelIndex() : createIndex(row, 0, quintptr{item});
}

QModelIndex QtTreeModel::parent(const QModelIndex& child) const {
    return IndexOf(items_.Parent(ItemOf(child)));
}

int QtTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(items_.ChildCount(ItemOf(parent)));
}

int QtTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool QtTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant QtTreeModel::data(const QModelIndex& index, int role) const {
    const TreeItem item = ItemOf(index);
    if (!items_.Has(item)) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(items_.Text(item));
        case Qt::DecorationRole: {
            int image = 0;
            int selectedImage = 0;
            items_.Images(item, image, selectedImage);
            const QtImageList* images = AsQtImageList(look_.images);
            const QIcon icon =
                images ? images->IconAt(item == look_.selected ? selectedImage : image) : QIcon();
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        case Qt::BackgroundRole:
            if (item != look_.dropTarget) return {};
            return QApplication::palette().brush(QPalette::Highlight);
        case Qt::ForegroundRole:
            if (item != look_.dropTarget) return {};
            return QApplication::palette().brush(QPalette::HighlightedText);
        default:
            return {};
    }
}

Qt::ItemFlags QtTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QModelIndex QtTreeModel::IndexOf(TreeItem item) const {
    if (!items_.Has(item)) return {};
    return createIndex(static_cast<int>(items_.Position(item)), 0, quintptr{item});
}

TreeItem QtTreeModel::ItemOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<TreeItem>(index.internalId()) : kTreeNone;
}

void QtTreeModel::BeginInsert(TreeItem parent, std::size_t position) {
    const int row = static_cast<int>(position);
    beginInsertRows(IndexOf(parent), row, row);
}

void QtTreeModel::BeginErase(TreeItem item) {
    const int row = static_cast<int>(items_.Position(item));
    beginRemoveRows(IndexOf(items_.Parent(item)), row, row);
}

bool QtTreeModel::BeginMove(TreeItem item, TreeItem parent, std::size_t position) {
    const TreeItem from = items_.Parent(item);
    const int row = static_cast<int>(items_.Position(item));
    // The views count the place among the siblings as they are before the move.
    int to = static_cast<int>(position);
    if (from == parent && to > row) ++to;
    if (from == parent && (to == row || to == row + 1)) return false;
    return beginMoveRows(IndexOf(from), row, row, IndexOf(parent), to);
}

void QtTreeModel::Changed(TreeItem item) {
    const QModelIndex at = IndexOf(item);
    if (at.isValid()) emit dataChanged(at, at);
}

}  // namespace orbel::platform
