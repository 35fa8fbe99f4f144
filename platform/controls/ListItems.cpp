#include "platform/controls/ListItems.h"

#include <algorithm>

namespace orbel::platform {

std::size_t ListItems::CellsPerRow() const {
    return std::max<std::size_t>(1, columns_.size());
}

int ListItems::InsertColumn(int index, Column column) {
    if (index < 0) return -1;
    index = std::min(index, ColumnCount());
    const auto at = static_cast<std::size_t>(index);
    columns_.insert(columns_.begin() + index, std::move(column));
    for (Row& r : rows_) {
        if (r.cells.size() > at) r.cells.insert(r.cells.begin() + index, std::string());
        if (r.cells.size() < columns_.size()) r.cells.resize(columns_.size());
    }
    return index;
}

bool ListItems::DeleteColumn(int index) {
    if (index < 0 || index >= ColumnCount()) return false;
    const auto at = static_cast<std::size_t>(index);
    columns_.erase(columns_.begin() + index);
    for (Row& r : rows_)
        if (r.cells.size() > at) r.cells.erase(r.cells.begin() + index);
    return true;
}

const ListItems::Column* ListItems::ColumnAt(int index) const {
    if (index < 0 || index >= ColumnCount()) return nullptr;
    return &columns_[static_cast<std::size_t>(index)];
}

bool ListItems::SetColumnWidth(int index, int width) {
    if (index < 0 || index >= ColumnCount()) return false;
    columns_[static_cast<std::size_t>(index)].width = width;
    return true;
}

int ListItems::Insert(int index, std::string_view text, int image) {
    index = std::clamp(index, 0, Count());
    Row r;
    r.cells.resize(CellsPerRow());
    r.cells.front().assign(text);
    r.image = image;
    rows_.insert(rows_.begin() + index, std::move(r));
    if (focused_ >= index) ++focused_;
    for (int& selected : selected_)
        if (selected >= index) ++selected;
    return index;
}

bool ListItems::Erase(int row) {
    if (!Valid(row)) return false;
    rows_.erase(rows_.begin() + row);
    if (focused_ == row)
        focused_ = -1;
    else if (focused_ > row)
        --focused_;
    std::erase(selected_, row);
    for (int& selected : selected_)
        if (selected > row) --selected;
    return true;
}

void ListItems::Clear() {
    rows_.clear();
    focused_ = -1;
    selected_.clear();
}

const std::string& ListItems::Text(int row, int column) const {
    static const std::string kNone;
    if (!Valid(row) || column < 0) return kNone;
    const auto& cells = At(row).cells;
    const auto c = static_cast<std::size_t>(column);
    return c < cells.size() ? cells[c] : kNone;
}

bool ListItems::SetText(int row, int column, std::string_view text) {
    if (!Valid(row) || column < 0) return false;
    auto& cells = At(row).cells;
    const auto c = static_cast<std::size_t>(column);
    if (c >= std::max(cells.size(), CellsPerRow())) return false;
    if (c >= cells.size()) cells.resize(c + 1);
    cells[c].assign(text);
    return true;
}

DWORD ListItems::Data(int row) const {
    return Valid(row) ? At(row).data : 0;
}

bool ListItems::SetData(int row, DWORD data) {
    if (!Valid(row)) return false;
    At(row).data = data;
    return true;
}

int ListItems::Image(int row) const {
    return Valid(row) ? At(row).image : -1;
}

bool ListItems::SetImage(int row, int image) {
    if (!Valid(row)) return false;
    At(row).image = image;
    return true;
}

UINT ListItems::State(int row) const {
    return Valid(row) ? At(row).state : 0;
}

bool ListItems::SetState(int row, UINT state) {
    if (!Valid(row)) return false;
    const bool was = (At(row).state & kListSelected) != 0;
    const bool is = (state & kListSelected) != 0;
    if (was != is) {
        const auto at = std::lower_bound(selected_.begin(), selected_.end(), row);
        if (is)
            selected_.insert(at, row);
        else
            selected_.erase(at);
    }
    At(row).state = state;
    if (state & kListFocused)
        focused_ = row;
    else if (focused_ == row)
        focused_ = -1;
    return true;
}

std::vector<int> ListItems::Selected() const {
    return selected_;
}

int ListItems::Find(DWORD data, int after) const {
    for (int r = std::max(after + 1, 0); r < Count(); ++r)
        if (At(r).data == data) return r;
    return -1;
}

void ListItems::Sort(const std::function<int(DWORD, DWORD)>& compare) {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&](const Row& a, const Row& b) { return compare(a.data, b.data) < 0; });
    const auto focused = std::find_if(rows_.begin(), rows_.end(),
                                      [](const Row& r) { return (r.state & kListFocused) != 0; });
    focused_ = focused == rows_.end() ? -1 : static_cast<int>(focused - rows_.begin());
    selected_.clear();
    for (int r = 0; r < Count(); ++r)
        if (At(r).state & kListSelected) selected_.push_back(r);
}

}  // namespace orbel::platform
