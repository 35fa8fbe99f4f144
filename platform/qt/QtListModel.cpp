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
    return parent.isValid() ? 0 : std::max(1, static_cast<int>(columns_.size()));
}

QVariant QtListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Announced()) return {};
    const QtListRow& row = Row(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return column < row.texts.size() ? QString::fromStdString(row.texts[column])
                                             : QString();
        case Qt::DecorationRole: {
            if (column != 0) return {};
            const QtImageList* images = AsQtImageList(large_ ? normal_ : small_);
            const QIcon icon = images ? images->IconAt(row.image) : QIcon();
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        case Qt::TextAlignmentRole:
            if (column >= columns_.size()) return {};
            return QVariant::fromValue(AlignmentOf(columns_[column].align));
        case Qt::BackgroundRole:
            if (!(row.state & kListDropHilited)) return {};
            return QApplication::palette().brush(QPalette::Highlight);
        case Qt::ForegroundRole:
            if (!(row.state & kListDropHilited)) return {};
            return QApplication::palette().brush(QPalette::HighlightedText);
        default:
            return {};
    }
}

QVariant QtListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0) return {};
    const auto column = static_cast<std::size_t>(section);
    if (column >= columns_.size())
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    if (role == Qt::DisplayRole) return QString::fromStdString(columns_[column].title);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(AlignmentOf(columns_[column].align));
    return {};
}

Qt::ItemFlags QtListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void QtListModel::SetState(int row, UINT state) {
    QtListRow& r = rows_[static_cast<std::size_t>(row)];
    const bool highlight = ((r.state ^ state) & kListDropHilited) != 0;
    r.state = state;
    if (highlight) RowsChanged(row, row);
}

void QtListModel::SetText(int row, int column, std::string_view text) {
    auto& texts = rows_[static_cast<std::size_t>(row)].texts;
    const auto c = static_cast<std::size_t>(column);
    if (texts.size() <= c) texts.resize(c + 1);
    texts[c].assign(text);
    // A row not announced yet is shown with its texts when it is.
    if (row >= Announced()) return;
    const QModelIndex at = index(row, std::min(column, columnCount() - 1));
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void QtListModel::SetImage(int row, int image) {
    rows_[static_cast<std::size_t>(row)].image = image;
    if (row >= Announced()) return;
    const QModelIndex at = index(row, 0);
    emit dataChanged(at, at, {Qt::DecorationRole});
}

void QtListModel::InsertRow(int at, QtListRow row) {
    if (at < Announced()) {
        // Among the rows the views know: announced at once, the waiting ones after it.
        beginInsertRows(QModelIndex(), at, at);
        rows_.insert(rows_.begin() + at, std::move(row));
        ++announced_;
        endInsertRows();
        return;
    }
    rows_.insert(rows_.begin() + at, std::move(row));
    if (announcing_) return;
    announcing_ = true;
    QMetaObject::invokeMethod(
        this, [this] { Announce(); }, Qt::QueuedConnection);
}

void QtListModel::Announce() {
    announcing_ = false;
    if (Announced() >= RowCount()) return;
    beginInsertRows(QModelIndex(), Announced(), RowCount() - 1);
    announced_ = RowCount();
    endInsertRows();
}

void QtListModel::RemoveRow(int row) {
    if (row >= Announced()) {
        rows_.erase(rows_.begin() + row);
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    --announced_;
    endRemoveRows();
}

void QtListModel::RemoveAll() {
    if (Announced() == 0) {
        rows_.clear();
        return;
    }
    beginRemoveRows(QModelIndex(), 0, Announced() - 1);
    rows_.clear();
    announced_ = 0;
    endRemoveRows();
}

void QtListModel::InsertColumn(int at, QtListColumn column) {
    const auto place = static_cast<std::size_t>(at);
    // The first column takes the place of the one a list without columns shows.
    const bool counted = !columns_.empty();
    if (counted) beginInsertColumns(QModelIndex(), at, at);
    columns_.insert(columns_.begin() + at, std::move(column));
    for (QtListRow& r : rows_)
        if (r.texts.size() > place) r.texts.insert(r.texts.begin() + at, std::string());
    if (counted) {
        endInsertColumns();
    } else {
        emit headerDataChanged(Qt::Horizontal, 0, 0);
        RowsChanged(0, Announced() - 1);
    }
}

void QtListModel::RemoveColumn(int at) {
    const bool counted = columns_.size() > 1;
    if (counted) beginRemoveColumns(QModelIndex(), at, at);
    columns_.erase(columns_.begin() + at);
    for (QtListRow& r : rows_)
        if (r.texts.size() > static_cast<std::size_t>(at)) r.texts.erase(r.texts.begin() + at);
    if (counted) {
        endRemoveColumns();
    } else {
        emit headerDataChanged(Qt::Horizontal, 0, 0);
        RowsChanged(0, Announced() - 1);
    }
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
