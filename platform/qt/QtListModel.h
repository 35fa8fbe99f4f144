// The rows and columns of the desktop list control as a Qt table model: one plain record per
// row, read by the view only for the rows it draws, so a list of a hundred thousand rows costs
// one record each and no widget. Rows added at the end are announced to the views together,
// filled: a select that adds thousands of rows costs the views one insertion.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/ListControl.h"

namespace orbel::platform {

class ImageList;

struct QtListColumn {
    std::string title;
    ListAlign align = ListAlign::Left;
    int width = 0;
};

struct QtListRow {
    std::vector<std::string> texts;  // by column; missing ones are empty
    int image = 0;
    DWORD data = 0;
    UINT state = 0;
};

class QtListModel final : public QAbstractTableModel {
  public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Column 0 holds the rows' labels even before any column was inserted.
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Every row, announced or not: the control's own reads see a row as soon as it is inserted.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const QtListRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    // Data and the row's state: nothing the view draws differently, except the drop
    // highlight.
    void SetData(int row, DWORD data) { rows_[static_cast<std::size_t>(row)].data = data; }
    void SetState(int row, UINT state);
    void SetText(int row, int column, std::string_view text);
    void SetImage(int row, int image);
    void InsertRow(int at, QtListRow row);
    void RemoveRow(int row);
    void RemoveAll();

    const std::vector<QtListColumn>& Columns() const { return columns_; }
    // The texts after the place move along with their columns.
    void InsertColumn(int at, QtListColumn column);
    void RemoveColumn(int at);
    void SetColumnWidth(int at, int width) { columns_[static_cast<std::size_t>(at)].width = width; }

    // Where the rows' icons come from: the normal list for large icons, else the small one.
    void SetImages(const ImageList* normal, const ImageList* small, bool large);
    // Tells the view that the rows changed (a repaint).
    void RowsChanged(int first, int last);
    // Tells the views of the rows added at the end since the last announcement. Runs by itself
    // once the thread's events are next processed; whoever reaches the views through model
    // indexes before that calls it first.
    void Announce();

  private:
    // The rows the views know of: the first announced_ of rows_.
    int Announced() const { return announced_; }

    std::vector<QtListRow> rows_;
    int announced_ = 0;
    bool announcing_ = false;  // an announcement is queued
    std::vector<QtListColumn> columns_;
    const ImageList* normal_ = nullptr;
    const ImageList* small_ = nullptr;
    bool large_ = false;
};

}  // namespace orbel::platform
