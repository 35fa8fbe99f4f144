#include "platform/headless/HeadlessTree.h"

#include <utility>

#include "platform/controls/ControlText.h"
#include "platform/controls/KeyNavigation.h"
#include "platform/headless/HeadlessControls.h"

namespace orbel::platform {

HeadlessTreeControl::HeadlessTreeControl(std::weak_ptr<HeadlessControlRegistry> registry,
                                         HWND window, TreeControlEvents& events)
    : registration_(std::move(registry), &HeadlessControlRegistry::trees, window, this),
      events_(events) {}

TreeItem HeadlessTreeControl::InsertItem(std::string_view text, int image, int selectedImage,
                                         TreeItem parent, TreeInsert where) {
    return items_.Insert(text, image, selectedImage, parent, where).item;
}

void HeadlessTreeControl::Forget(TreeItem item) {
    if (item == dropTarget_) dropTarget_ = kTreeNone;
    if (item == editItem_) {
        editItem_ = kTreeNone;
        labelEdit_.Drop();
    }
}

bool HeadlessTreeControl::DeleteItem(TreeItem item) {
    if (!items_.Has(item)) return false;
    const std::optional<TreeItem> successor = items_.SelectionAfterDelete(item, selected_);
    items_.Erase(item, [this](TreeItem gone) { Forget(gone); });
    if (successor) SetSelection(*successor);
    return true;
}

bool HeadlessTreeControl::MoveItem(TreeItem item, TreeItem parent, TreeInsert where) {
    return items_.Move(item, parent, where).item != kTreeNone;
}

void HeadlessTreeControl::DeleteAllItems() {
    items_.Clear();
    dropTarget_ = kTreeNone;
    editItem_ = kTreeNone;
    labelEdit_.Drop();
    SetSelection(kTreeNone);
}

void HeadlessTreeControl::SetSelection(TreeItem item) {
    if (item == selected_) return;
    TreeItem old = selected_;
    selected_ = item;
    events_.OnTreeSelChanged(old, item);
}

bool HeadlessTreeControl::SelectItem(TreeItem item) {
    if (item != kTreeNone && !items_.Has(item)) return false;
    SetSelection(item);
    return true;
}

bool HeadlessTreeControl::Expand(TreeItem item, bool expand) {
    if (!items_.HasChildren(item)) return false;
    if (items_.IsExpanded(item) == expand) return true;
    // The handler may change the tree, even remove the item.
    if (events_.OnTreeItemExpanding(item, expand) || !items_.SetExpanded(item, expand))
        return false;
    // Collapsing hides the selection inside; the real control then selects the collapsed item.
    if (!expand && selected_ != item && items_.IsInside(selected_, item)) SetSelection(item);
    return true;
}

bool HeadlessTreeControl::UserEditLabel(TreeItem item, std::optional<std::string> text) {
    if (editItem_ != item && !EditLabel(item)) return false;
    HeadlessEditBox* box = labelEdit_.Box();
    if (!box) return false;
    const std::string before = GetItemText(item);
    if (text) box->Type(*text);
    box->End(!text);
    return items_.Has(item) && GetItemText(item) != before;
}

void HeadlessTreeControl::EnsureVisible(TreeItem item) {
    for (TreeItem ancestor : items_.Ancestors(item)) Expand(ancestor, true);
}

// The headless tree draws one item per row of kRowHeight pixels, indented kIndent pixels per
// level (and one level for the lines at the top), an icon of kIconWidth, then the label at
// kCharWidth pixels per character.
namespace {
constexpr int kRowHeight = 20;
constexpr int kIndent = 19;
constexpr int kIconWidth = 16;
constexpr int kCharWidth = 7;
constexpr int kLabelPadding = 4;

// Where the parts of a shown row lie, in client coordinates.
struct RowBox {
    int top = 0;
    int iconLeft = 0;
    int labelLeft = 0;
    int labelRight = 0;
};

RowBox BoxOf(std::size_t row, int depth, const std::string& label) {
    RowBox box;
    box.top = static_cast<int>(row) * kRowHeight;
    box.iconLeft = (depth + 1) * kIndent;
    box.labelLeft = box.iconLeft + kIconWidth;
    box.labelRight = box.labelLeft + static_cast<int>(label.size()) * kCharWidth + kLabelPadding;
    return box;
}
}  // namespace

bool HeadlessTreeControl::GetItemRect(TreeItem item, RECT& rect, bool textOnly) const {
    const auto shown = items_.ShownItems();
    for (std::size_t row = 0; row < shown.size(); ++row) {
        if (shown[row].item != item) continue;
        const RowBox box = BoxOf(row, shown[row].depth, items_.Text(item));
        rect = RECT{textOnly ? box.labelLeft : 0, box.top, box.labelRight, box.top + kRowHeight};
        return true;
    }
    return false;
}

TreeItem HeadlessTreeControl::HitTest(POINT point, UINT* flags) const {
    UINT where = kTreeHitNowhere;
    TreeItem hit = kTreeNone;
    if (point.y >= 0 && point.x >= 0) {
        const auto shown = items_.ShownItems();
        const auto row = static_cast<std::size_t>(point.y / kRowHeight);
        if (row < shown.size()) {
            hit = shown[row].item;
            const RowBox box = BoxOf(row, shown[row].depth, items_.Text(hit));
            where =
                TreeHitOnRow(point.x, TreeRowParts{box.iconLeft - kIconWidth / 2 - 4, box.iconLeft,
                                                   box.labelLeft, box.labelRight});
        }
    }
    if (flags) *flags = where;
    return hit;
}

bool HeadlessTreeControl::EditLabel(TreeItem item) {
    if (!items_.Has(item)) return false;
    labelEdit_.Cancel();
    // The edit box exists when the owner is asked, so that it can limit it.
    editItem_ = item;
    labelEdit_.Open(Window(), items_.Text(item),
                    [this](std::optional<std::string> text) { FinishEdit(std::move(text)); });
    if (events_.OnTreeBeginLabelEdit(item) || !items_.Has(item) || editItem_ != item) {
        editItem_ = kTreeNone;
        labelEdit_.Drop();
        return false;
    }
    return true;
}

void HeadlessTreeControl::FinishEdit(std::optional<std::string> text) {
    TreeItem item = editItem_;
    editItem_ = kTreeNone;
    labelEdit_.Retire();
    if (events_.OnTreeEndLabelEdit(item, text) && text && items_.Has(item))
        SetItemText(item, *text);
}

bool HeadlessTreeControl::LimitEditText(int characters) {
    if (!labelEdit_.Box()) return false;
    labelEdit_.Box()->Limit(characters);
    return true;
}

bool HeadlessTreeControl::SelectDropTarget(TreeItem item) {
    if (item != kTreeNone && !items_.Has(item)) return false;
    dropTarget_ = item;
    return true;
}

std::unique_ptr<ImageList> HeadlessTreeControl::CreateDragImage(TreeItem item) {
    if (!items_.Has(item)) return nullptr;
    // The icon and the label, as the item's row shows them.
    const std::string text = items_.Text(item);
    const RowBox box = BoxOf(0, 0, text);
    return std::make_unique<HeadlessImageList>("drag \"" + text + "\"",
                                               box.labelRight - box.iconLeft, kRowHeight, 1);
}

bool HeadlessTreeControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_KEYDOWN) return false;
    const auto key = static_cast<UINT>(wParam);
    const std::weak_ptr<bool> alive = alive_;
    events_.OnTreeKeyDown(key);
    if (alive.lock()) NavigateTree(*this, items_, key, registration_.PageRows(kRowHeight));
    return true;
}

std::string HeadlessTreeControl::Dump() const {
    return DescribeTree(*this);
}

}  // namespace orbel::platform
