#include "platform/controls/ListControlBase.h"

#include <algorithm>

#include "platform/controls/KeyNavigation.h"

namespace orbel::platform {

void ListControlBase::OnChanging(const ListChange&) {}
void ListControlBase::OnChanged(const ListChange&) {}
void ListControlBase::ShowState(int, UINT, UINT) {}
void ListControlBase::ShowAllStates() {}
void ListControlBase::OnViewStyleChanged() {}
void ListControlBase::OnImageListsChanged() {}
void ListControlBase::OnAcceptDropsChanged() {}
bool ListControlBase::CanEditLabels() const {
    return true;
}

int ListControlBase::InsertColumn(int index, std::string_view title, ListAlign align, int width) {
    if (index < 0) return -1;
    index = std::min(index, GetColumnCount());
    const ListChange change{ListChange::Kind::InsertColumn, -1, index};
    OnChanging(change);
    items_.InsertColumn(index, ListItems::Column{std::string(title), align, width});
    OnChanged(change);
    return index;
}

bool ListControlBase::DeleteColumn(int index) {
    if (!items_.ColumnAt(index)) return false;
    const ListChange change{ListChange::Kind::RemoveColumn, -1, index};
    OnChanging(change);
    items_.DeleteColumn(index);
    OnChanged(change);
    return true;
}

std::string ListControlBase::GetColumnTitle(int index) const {
    const ListItems::Column* column = items_.ColumnAt(index);
    return column ? column->title : std::string();
}

int ListControlBase::GetColumnWidth(int index) const {
    const ListItems::Column* column = items_.ColumnAt(index);
    return column ? column->width : 0;
}

ListAlign ListControlBase::GetColumnAlign(int index) const {
    const ListItems::Column* column = items_.ColumnAt(index);
    return column ? column->align : ListAlign::Left;
}

int ListControlBase::InsertItem(int index, std::string_view text, int image) {
    index = std::clamp(index, 0, GetItemCount());
    const ListChange change{ListChange::Kind::InsertRow, index};
    OnChanging(change);
    items_.Insert(index, text, image);
    if (editRow_ >= index) ++editRow_;
    OnChanged(change);
    return index;
}

bool ListControlBase::DeleteItem(int row) {
    if (!Valid(row)) return false;
    const ListChange change{ListChange::Kind::RemoveRow, row};
    OnChanging(change);
    items_.Erase(row);
    OnChanged(change);
    if (row == editRow_)
        DropEdit();
    else if (row < editRow_)
        --editRow_;
    return true;
}

void ListControlBase::DeleteAllItems() {
    const ListChange change{ListChange::Kind::RemoveAll};
    OnChanging(change);
    items_.Clear();
    OnChanged(change);
    DropEdit();
}

std::string ListControlBase::GetItemText(int row, int column) const {
    return items_.Text(row, column);
}

bool ListControlBase::SetItemText(int row, int column, std::string_view text) {
    // Column 0 is the row's label and exists even before any column was inserted.
    if (!Valid(row) || column < 0 || (column > 0 && column >= GetColumnCount())) return false;
    const ListChange change{ListChange::Kind::Text, row, column};
    OnChanging(change);
    items_.SetText(row, column, text);
    OnChanged(change);
    return true;
}

bool ListControlBase::SetItemImage(int row, int image) {
    if (!Valid(row)) return false;
    const ListChange change{ListChange::Kind::Image, row};
    OnChanging(change);
    items_.SetImage(row, image);
    OnChanged(change);
    return true;
}

bool ListControlBase::SetItemState(int row, UINT state, UINT mask) {
    if (row == -1) {
        // Every row, as the real control takes -1; the view takes the result at once.
        for (int r = 0; r < GetItemCount(); ++r)
            ChangeState(r, (items_.State(r) & ~mask) | (state & mask), false);
        ShowAllStates();
        return true;
    }
    if (!Valid(row)) return false;
    ChangeState(row, (items_.State(row) & ~mask) | (state & mask), true);
    return true;
}

void ListControlBase::ChangeState(int row, UINT state, bool show) {
    const UINT old = items_.State(row);
    if (state == old) return;
    const int focused = items_.Focused();
    if ((state & kListFocused) && !(old & kListFocused) && focused != -1 && focused != row) {
        ChangeState(focused, items_.State(focused) & ~kListFocused, show);
        // The owner may have deleted rows on hearing of it.
        if (!Valid(row)) return;
    }
    const ListChange change{ListChange::Kind::State, row, -1, old, state};
    OnChanging(change);
    items_.SetState(row, state);
    OnChanged(change);
    if (show) ShowState(row, old, state);
    events_.OnListItemChanged(row, old, state);
}

void ListControlBase::UserClick(int row) {
    for (int r : GetSelectedRows())
        if (r != row && Valid(r)) SetItemState(r, 0, kListSelected);
    if (Valid(row)) SetItemState(row, kListSelected | kListFocused, kListSelected | kListFocused);
}

void ListControlBase::UserToggleSelect(int row) {
    if (!Valid(row)) return;
    const UINT selected = items_.State(row) & kListSelected;
    SetItemState(row, (selected ^ kListSelected) | kListFocused, kListSelected | kListFocused);
}

void ListControlBase::UserExtendSelect(int row) {
    if (!Valid(row)) return UserClick(row);
    const int anchor = Valid(items_.Focused()) ? items_.Focused() : row;
    const int first = std::min(anchor, row);
    const int last = std::max(anchor, row);
    for (int r : GetSelectedRows())
        if ((r < first || r > last) && Valid(r)) SetItemState(r, 0, kListSelected);
    for (int r = first; r <= last; ++r) SetItemState(r, kListSelected, kListSelected);
    SetItemState(row, kListFocused, kListFocused);
}

void ListControlBase::UserDoubleClick(int row) {
    UserClick(row);
    events_.OnListDoubleClick(row);
}

void ListControlBase::UserRightClick(int row, POINT point) {
    if (!Valid(row) || !(items_.State(row) & kListSelected)) UserClick(row);
    events_.OnListRightClick(row, point);
}

void ListControlBase::KeyDown(UINT key) {
    const std::weak_ptr<bool> alive = alive_;
    events_.OnListKeyDown(key);
    if (alive.lock())
        NavigateList(*this, items_.Focused(), key, PageRows(), style_ != ListViewStyle::Report);
}

bool ListControlBase::EditLabel(int row) {
    if (!Valid(row) || !CanEditLabels()) return false;
    CancelEditBox();
    // Ending the running edit may have deleted the row.
    if (!Valid(row) || !CanEditLabels()) return false;
    // The edit box exists when the owner is asked, so that it can limit it.
    editRow_ = row;
    OpenEditBox(row, GetItemText(row, 0));
    if (events_.OnListBeginLabelEdit(row) || editRow_ == -1) {
        DropEdit();
        return false;
    }
    return true;
}

void ListControlBase::FinishEdit(std::optional<std::string> text) {
    const int row = editRow_;
    editRow_ = -1;
    RetireEditBox();
    if (events_.OnListEndLabelEdit(row, text) && text && Valid(row)) SetItemText(row, 0, *text);
}

void ListControlBase::DropEdit() {
    editRow_ = -1;
    DropEditBox();
}

void ListControlBase::SetViewStyle(ListViewStyle style) {
    if (style == style_) return;
    style_ = style;
    OnViewStyleChanged();
}

void ListControlBase::SetImageLists(const ImageList* normal, const ImageList* small) {
    normal_ = normal;
    small_ = small;
    OnImageListsChanged();
}

void ListControlBase::AcceptDrops(bool accept) {
    if (acceptsDrops_ == accept) return;
    acceptsDrops_ = accept;
    OnAcceptDropsChanged();
}

bool ListControlBase::UserDrop(const DroppedData& data) {
    if (!acceptsDrops_) return false;
    events_.OnListDrop(data);
    return true;
}

}  // namespace orbel::platform
