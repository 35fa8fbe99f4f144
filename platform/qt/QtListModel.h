// The rows and columns of the desktop list control as a Qt table model: a view over the
// control's records, read by the view only for the rows it draws, so a list of a hundred
// thousand rows costs one record each and no widget. Rows added at the end are announced to the
// views together, filled: a select that adds thousands of rows costs the views one insertion.
#pragma once

#include <QAbstractTableModel>

#include "platform/controls/ListItems.h"

namespace orbel::platform {

class ImageList;

class QtListModel final : public QAbstractTableModel {
  public:
    explicit QtListModel(const ListItems& items) : items_(items) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Column 0 holds the rows' labels even before any column was inserted.
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The records are about to change, and have changed: the views hear of it as they must.
    void Changing(const ListChange& change);
    void Changed(const ListChange& change);

    // Where the rows' icons come from: the normal list for large icons, else the small one.
    void SetImages(const ImageList* normal, const ImageList* small, bool large);
    // Tells the view that the rows changed (a repaint).
    void RowsChanged(int first, int last);
    // Tells the views of the rows added at the end since the last announcement. Runs by itself
    // once the thread's events are next processed; whoever reaches the views through model
    // indexes before that calls it first.
    void Announce();

  private:
    // The rows the views know of: the first announced_ of the records.
    int Announced() const { return announced_; }
    // Telling the views of the first column, or of the last one going: a list without columns
    // shows one.
    void FirstColumnChanged();

    const ListItems& items_;
    int announced_ = 0;
    bool announcing_ = false;  // an announcement is queued
    const ImageList* normal_ = nullptr;
    const ImageList* small_ = nullptr;
    bool large_ = false;
};

}  // namespace orbel::platform
