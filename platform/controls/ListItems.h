// The rows and columns of a list control as plain records: each row's cells (one text per
// column), image, data word and state, and each column's caption, width and alignment. Every
// backend's list keeps its rows here, so that all of them number, shift, search and sort the
// rows alike; a backend adds only how it shows them. The focused row is tracked here, since it
// follows its row as rows before it come and go.
// Not for: notifications, the rule that one row holds the focus, or label editing — the list
// control owns those and changes these records.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/ListControl.h"

namespace orbel::platform {

// A change to the records, as a backend whose view is told of each one hears of it: before and
// after it is made. `row` and `column` name the place where that kind has one (-1 otherwise);
// a state change carries the state before and after.
struct ListChange {
    enum class Kind {
        InsertRow,
        RemoveRow,
        RemoveAll,
        InsertColumn,
        RemoveColumn,
        Text,
        Image,
        State
    };
    Kind kind = Kind::Text;
    int row = -1;
    int column = -1;
    UINT before = 0;
    UINT after = 0;
};

class ListItems {
  public:
    struct Column {
        std::string title;
        ListAlign align = ListAlign::Left;
        int width = 0;
    };

    // Places the column at index (clamped to the count); -1 for a negative index. The cells
    // from that index on move along with their columns.
    int InsertColumn(int index, Column column);
    bool DeleteColumn(int index);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // Null for a column that is not there.
    const Column* ColumnAt(int index) const;
    bool SetColumnWidth(int index, int width);

    // Places the row at index (clamped to the count) and returns where it went.
    int Insert(int index, std::string_view text, int image);
    bool Erase(int row);
    void Clear();
    int Count() const { return static_cast<int>(rows_.size()); }
    bool Valid(int row) const { return row >= 0 && row < Count(); }

    // The accessors answer empty, 0 or -1 (the image) for a row or cell that is not there.
    // Column 0 is the row's label and exists even before any column does. A row keeps the cells
    // it had when the first column was put before its label, so it may hold more cells than
    // there are columns.
    const std::string& Text(int row, int column) const;
    // Any cell up to the larger of the column count and the cells the row holds.
    bool SetText(int row, int column, std::string_view text);
    DWORD Data(int row) const;
    bool SetData(int row, DWORD data);
    int Image(int row) const;
    bool SetImage(int row, int image);
    UINT State(int row) const;
    // Takes the state as given: the control keeps the focus on one row.
    bool SetState(int row, UINT state);

    // The row holding the focus, -1 when none.
    int Focused() const { return focused_; }
    // The selected rows in row order.
    std::vector<int> Selected() const;
    // The first row after `after` whose data word is `data`, -1 when none.
    int Find(DWORD data, int after = -1) const;
    // Orders the rows by their data words as `compare` answers (negative: the first goes
    // before), keeping the order of rows it finds equal; the rows keep their states.
    void Sort(const std::function<int(DWORD, DWORD)>& compare);

  private:
    struct Row {
        // Sized to the columns when the row is made, so that filling a row costs no regrowth.
        std::vector<std::string> cells;
        int image = 0;
        DWORD data = 0;
        UINT state = 0;
    };
    Row& At(int row) { return rows_[static_cast<std::size_t>(row)]; }
    const Row& At(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    std::size_t CellsPerRow() const;

    std::vector<Column> columns_;
    std::vector<Row> rows_;
    int focused_ = -1;
    // The selected rows in row order, kept beside the states: a list of thousands of rows asks
    // for its few selected ones after every row it adds.
    std::vector<int> selected_;
};

}  // namespace orbel::platform
