#include "platform/headless/HeadlessList.h"

#include <algorithm>

#include "platform/controls/ControlText.h"
#include "platform/controls/KeyNavigation.h"
#include "platform/headless/HeadlessControls.h"

namespace orbel::platform {

HeadlessListControl::HeadlessListControl(std::weak_ptr<HeadlessControlRegistry> registry,
                                         HWND window, ListControlEvents& events)
    : registration_(std::move(registry), &HeadlessControlRegistry::lists, window, this),
      events_(events) {}

int HeadlessListControl::InsertColumn(int index, std::string_view title, ListAlign align,
                                      int width) {
    if (index < 0) return -1;
    index = std::min(index, GetColumnCount());
    auto at = static_cast<std::size_t>(index);
    columns_.insert(columns_.begin() + index, Column{std::string(title), align, width});
    // Texts belong to their columns: the ones after the new column move along with them.
    for (Row& r : rows_)
        if (r.texts.size() > at) r.texts.insert(r.texts.begin() + index, std::string());
    return index;
}

bool HeadlessListControl::DeleteColumn(int index) {
    if (index < 0 || index >= GetColumnCount()) return false;
    columns_.erase(columns_.begin() + index);
    for (Row& r : rows_)
        if (r.texts.size() > static_cast<std::size_t>(index))
            r.texts.erase(r.texts.begin() + index);
    return true;
}

std::string HeadlessListControl::GetColumnTitle(int index) const {
    if (index < 0 || index >= GetColumnCount()) return {};
    return columns_[static_cast<std::size_t>(index)].title;
}

int HeadlessListControl::GetColumnWidth(int index) const {
    if (index < 0 || index >= GetColumnCount()) return 0;
    return columns_[static_cast<std::size_t>(index)].width;
}

ListAlign HeadlessListControl::GetColumnAlign(int index) const {
    if (index < 0 || index >= GetColumnCount()) return ListAlign::Left;
    return columns_[static_cast<std::size_t>(index)].align;
}

int HeadlessListControl::InsertItem(int index, std::string_view text, int image) {
    index = std::clamp(index, 0, GetItemCount());
    Row r;
    r.texts.emplace_back(text);
    r.image = image;
    rows_.insert(rows_.begin() + index, std::move(r));
    if (editRow_ >= index) ++editRow_;
    return index;
}

bool HeadlessListControl::DeleteItem(int row) {
    if (!Valid(row)) return false;
    rows_.erase(rows_.begin() + row);
    if (row == editRow_)
        DropEdit();
    else if (row < editRow_)
        --editRow_;
    return true;
}

void HeadlessListControl::DeleteAllItems() {
    rows_.clear();
    DropEdit();
}

void HeadlessListControl::DropEdit() {
    editRow_ = -1;
    labelEdit_.Drop();
}

std::string HeadlessListControl::GetItemText(int row, int column) const {
    if (!Valid(row) || column < 0) return {};
    const auto& texts = At(row).texts;
    auto c = static_cast<std::size_t>(column);
    return c < texts.size() ? texts[c] : std::string();
}

bool HeadlessListControl::SetItemText(int row, int column, std::string_view text) {
    // Column 0 is the row's label and exists even before any column was inserted.
    if (!Valid(row) || column < 0 || (column > 0 && column >= GetColumnCount())) return false;
    auto& texts = At(row).texts;
    auto c = static_cast<std::size_t>(column);
    if (texts.size() <= c) texts.resize(c + 1);
    texts[c] = std::string(text);
    return true;
}

DWORD HeadlessListControl::GetItemData(int row) const {
    return Valid(row) ? At(row).data : 0;
}

bool HeadlessListControl::SetItemData(int row, DWORD data) {
    if (!Valid(row)) return false;
    At(row).data = data;
    return true;
}

int HeadlessListControl::GetItemImage(int row) const {
    return Valid(row) ? At(row).image : -1;
}

bool HeadlessListControl::SetItemImage(int row, int image) {
    if (!Valid(row)) return false;
    At(row).image = image;
    return true;
}

UINT HeadlessListControl::GetItemState(int row, UINT mask) const {
    return Valid(row) ? At(row).state & mask : 0;
}

bool HeadlessListControl::SetItemState(int row, UINT state, UINT mask) {
    if (row == -1) {
        // Every row, as the real control takes -1.
        for (int r = 0; r < GetItemCount(); ++r) SetItemState(r, state, mask);
        return true;
    }
    if (!Valid(row)) return false;
    UINT old = At(row).state;
    UINT now = (old & ~mask) | (state & mask);
    if (now == old) return true;
    if ((now & kListFocused) && !(old & kListFocused))
        for (int r = 0; r < GetItemCount(); ++r)
            if (r != row && (At(r).state & kListFocused)) SetItemState(r, 0, kListFocused);
    At(row).state = now;
    events_.OnListItemChanged(row, old, now);
    return true;
}

std::vector<int> HeadlessListControl::GetSelectedRows() const {
    std::vector<int> out;
    for (int r = 0; r < GetItemCount(); ++r)
        if (At(r).state & kListSelected) out.push_back(r);
    return out;
}

void HeadlessListControl::SetImageLists(const ImageList* normal, const ImageList* small) {
    normal_ = normal;
    small_ = small;
}

void HeadlessListControl::UserClick(int row) {
    for (int r = 0; r < GetItemCount(); ++r)
        if (r != row) SetItemState(r, 0, kListSelected);
    if (Valid(row)) SetItemState(row, kListSelected | kListFocused, kListSelected | kListFocused);
}

void HeadlessListControl::UserToggleSelect(int row) {
    if (!Valid(row)) return;
    UINT selected = At(row).state & kListSelected;
    SetItemState(row, (selected ^ kListSelected) | kListFocused, kListSelected | kListFocused);
}

void HeadlessListControl::UserDoubleClick(int row) {
    UserClick(row);
    events_.OnListDoubleClick(row);
}

void HeadlessListControl::UserRightClick(int row, POINT point) {
    if (!Valid(row) || !(At(row).state & kListSelected)) UserClick(row);
    events_.OnListRightClick(row, point);
}

bool HeadlessListControl::UserEditLabel(int row, std::optional<std::string> text) {
    if (editRow_ != row && !EditLabel(row)) return false;
    HeadlessEditBox* box = labelEdit_.Box();
    if (!box) return false;
    const std::string before = GetItemText(row, 0);
    const std::size_t count = rows_.size();
    if (text) box->Type(*text);
    box->End(!text);
    return rows_.size() == count && Valid(row) && GetItemText(row, 0) != before;
}

// The headless list draws every view style as the report view: a header of kRowHeight
// pixels, then one row of kRowHeight pixels each; the first column holds an icon of
// kIconWidth and the label.
namespace {
constexpr int kRowHeight = 20;
constexpr int kIconWidth = 16;
constexpr int kDefaultFirstColumn = 100;
}  // namespace

int HeadlessListControl::FirstColumnWidth() const {
    return columns_.empty() ? kDefaultFirstColumn : columns_.front().width;
}

int HeadlessListControl::HitTest(POINT point, UINT* flags) const {
    UINT where = kListHitNowhere;
    int hit = -1;
    if (point.x >= 0 && point.y >= kRowHeight && point.x < FirstColumnWidth()) {
        const int row = (point.y - kRowHeight) / kRowHeight;
        if (Valid(row)) {
            hit = row;
            where = point.x < kIconWidth ? kListHitOnIcon : kListHitOnLabel;
        }
    }
    if (flags) *flags = where;
    return hit;
}

bool HeadlessListControl::GetItemRect(int row, RECT& rect, bool labelOnly) const {
    if (!Valid(row)) return false;
    const int top = kRowHeight * (row + 1);
    rect = RECT{labelOnly ? kIconWidth : 0, top, FirstColumnWidth(), top + kRowHeight};
    return true;
}

bool HeadlessListControl::EditLabel(int row) {
    if (!Valid(row)) return false;
    labelEdit_.Cancel();
    // The edit box exists when the owner is asked, so that it can limit it.
    editRow_ = row;
    labelEdit_.Open(Window(), GetItemText(row, 0),
                    [this](std::optional<std::string> text) { FinishEdit(std::move(text)); });
    if (events_.OnListBeginLabelEdit(row) || editRow_ == -1) {
        DropEdit();
        return false;
    }
    return true;
}

void HeadlessListControl::FinishEdit(std::optional<std::string> text) {
    const int row = editRow_;
    editRow_ = -1;
    labelEdit_.Retire();
    if (events_.OnListEndLabelEdit(row, text) && text && Valid(row)) SetItemText(row, 0, *text);
}

bool HeadlessListControl::LimitEditText(int characters) {
    if (!labelEdit_.Box()) return false;
    labelEdit_.Box()->Limit(characters);
    return true;
}

std::unique_ptr<ImageList> HeadlessListControl::CreateDragImage(int row) {
    if (!Valid(row)) return nullptr;
    return std::make_unique<HeadlessImageList>("drag \"" + GetItemText(row, 0) + "\"",
                                               FirstColumnWidth(), kRowHeight, 1);
}

void HeadlessListControl::RedrawItems(int first, int last) {
    if (first <= last) ++redraws_;
}

int HeadlessListControl::FocusedRow() const {
    for (int r = 0; r < GetItemCount(); ++r)
        if (At(r).state & kListFocused) return r;
    return -1;
}

bool HeadlessListControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_KEYDOWN) return false;
    const auto key = static_cast<UINT>(wParam);
    const std::weak_ptr<bool> alive = alive_;
    events_.OnListKeyDown(key);
    // Every style is drawn as the report, a row under the header per row height.
    if (alive.lock())
        NavigateList(*this, FocusedRow(), key, registration_.PageRows(kRowHeight) - 1,
                     style_ != ListViewStyle::Report);
    return true;
}

std::string HeadlessListControl::Dump() const {
    return DescribeList(*this);
}

}  // namespace orbel::platform
