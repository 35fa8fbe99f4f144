#include "platform/qt/QtListModel.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>
#include <algorithm>

#include "platform/qt/QtImageList.h"

namespace orbel::platform {

namespace {
Qt::Alignment AlignmentOf(ListAlign align) {
    switch (align) {
        case ListAlign::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case ListAlign::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case ListAlign::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}
}  // namespace

int QtListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Announced();
}

int QtListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(1, items_.ColumnCount());
}

QVariant QtListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Announced()) return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(items_.Text(row, column));
        case Qt::DecorationRole: {
            if (column != 0) return {};
            const QtImageList* images = AsQtImageList(large_ ? normal_ : small_);
            const QIcon icon = images ? images->IconAt(items_.Image(row)) : QIcon();
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        case Qt::TextAlignmentRole: {
            const ListItems::Column* shown = items_.ColumnAt(column);
            if (!shown) return {};
            return QVariant::fromValue(AlignmentOf(shown->align));
        }
        case Qt::BackgroundRole:
            if (!(items_.State(row) & kListDropHilited)) return {};
            return QApplication::palette().brush(QPalette::Highlight);
        case Qt::ForegroundRole:
            if (!(items_.State(row) & kListDropHilited)) return {};
            return QApplication::palette().brush(QPalette::HighlightedText);
        default:
            return {};
    }
}

QVariant QtListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0) return {};
    const ListItems::Column* column = items_.ColumnAt(section);
    if (!column) return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    if (role == Qt::DisplayRole) return QString::fromStdString(column->title);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(column->align));
    return {};
}

Qt::ItemFlags QtListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void QtListModel::Changing(const ListChange& change) {
    switch (change.kind) {
        case ListChange::Kind::InsertRow:
            // Among the rows the views know: announced at once, the waiting ones after it.
            if (change.row < Announced()) beginInsertRows(QModelIndex(), change.row, change.row);
            break;
        case ListChange::Kind::RemoveRow:
            if (change.row < Announced()) beginRemoveRows(QModelIndex(), change.row, change.row);
            break;
        case ListChange::Kind::RemoveAll:
            if (Announced() > 0) beginRemoveRows(QModelIndex(), 0, Announced() - 1);
            break;
        case ListChange::Kind::InsertColumn:
            // The first column takes the place of the one a list without columns shows.
            if (items_.ColumnCount() > 0)
                beginInsertColumns(QModelIndex(), change.column, change.column);
            break;
        case ListChange::Kind::RemoveColumn:
            if (items_.ColumnCount() > 1)
                beginRemoveColumns(QModelIndex(), change.column, change.column);
            break;
        case ListChange::Kind::Text:
        case ListChange::Kind::Image:
        case ListChange::Kind::State:
            break;
    }
}

void QtListModel::Changed(const ListChange& change) {
    switch (change.kind) {
        case ListChange::Kind::InsertRow:
            if (change.row < Announced()) {
                ++announced_;
                endInsertRows();
            } else if (!announcing_) {
                announcing_ = true;
                QMetaObject::invokeMethod(
                    this, [this] { Announce(); }, Qt::QueuedConnection);
            }
            break;
        case ListChange::Kind::RemoveRow:
            if (change.row < Announced()) {
                --announced_;
                endRemoveRows();
            }
            break;
        case ListChange::Kind::RemoveAll:
            if (Announced() > 0) {
                announced_ = 0;
                endRemoveRows();
            }
            break;
        case ListChange::Kind::InsertColumn:
            if (items_.ColumnCount() > 1)
                endInsertColumns();
            else
                FirstColumnChanged();
            break;
        case ListChange::Kind::RemoveColumn:
            if (items_.ColumnCount() > 0)
                endRemoveColumns();
            else
                FirstColumnChanged();
            break;
        case ListChange::Kind::Text: {
            // A row not announced yet is shown with its texts when it is.
            if (change.row >= Announced()) break;
            const QModelIndex at = index(change.row, std::min(change.column, columnCount() - 1));
            emit dataChanged(at, at, {Qt::DisplayRole});
            break;
        }
        case ListChange::Kind::Image: {
            if (change.row >= Announced()) break;
            const QModelIndex at = index(change.row, 0);
            emit dataChanged(at, at, {Qt::DecorationRole});
            break;
        }
        case ListChange::Kind::State:
            // Nothing the view draws differently, except the drop highlight.
            if ((change.before ^ change.after) & kListDropHilited)
                RowsChanged(change.row, change.row);
            break;
    }
}

void QtListModel::FirstColumnChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, 0);
    RowsChanged(0, Announced() - 1);
}

void QtListModel::Announce() {
    announcing_ = false;
    if (Announced() >= items_.Count()) return;
    beginInsertRows(QModelIndex(), Announced(), items_.Count() - 1);
    announced_ = items_.Count();
    endInsertRows();
}

void QtListModel::SetImages(const ImageList* normal, const ImageList* small, bool large) {
    normal_ = normal;
    small_ = small;
    large_ = large;
    if (Announced() > 0)
        emit dataChanged(index(0, 0), index(Announced() - 1, 0), {Qt::DecorationRole});
}

void QtListModel::RowsChanged(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, Announced() - 1);
    if (first > last) return;
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

}  // namespace orbel::platform
