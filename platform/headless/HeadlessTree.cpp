#include "platform/headless/HeadlessTree.h"

#include <algorithm>
#include <utility>

#include "platform/controls/ControlText.h"
#include "platform/headless/HeadlessControls.h"
#include "platform/text/AsciiCase.h"

namespace orbel::platform {

namespace {

// Labels order byte by byte with ASCII letters folded, so UTF-8 text sorts after ASCII.
bool LessIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
    });
}

}  // namespace

HeadlessTreeControl::HeadlessTreeControl(std::weak_ptr<HeadlessControlRegistry> registry,
                                         HWND window, TreeControlEvents& events)
    : registration_(std::move(registry), &HeadlessControlRegistry::trees, window, this),
      events_(events) {}

const HeadlessTreeControl::Node* HeadlessTreeControl::Find(TreeItem item) const {
    if (item < base_ || item - base_ >= nodes_.size()) return nullptr;
    const Node& n = nodes_[item - base_];
    return n.alive ? &n : nullptr;
}

HeadlessTreeControl::Node* HeadlessTreeControl::Find(TreeItem item) {
    return const_cast<Node*>(std::as_const(*this).Find(item));
}

HeadlessTreeControl::Siblings* HeadlessTreeControl::ChildrenOf(TreeItem parent) {
    if (parent == kTreeNone) return &top_;
    Node* n = Find(parent);
    return n ? &n->children : nullptr;
}

const HeadlessTreeControl::Siblings* HeadlessTreeControl::ChildrenOf(TreeItem parent) const {
    if (parent == kTreeNone) return &top_;
    const Node* n = Find(parent);
    return n ? &n->children : nullptr;
}

std::size_t HeadlessTreeControl::PositionOf(TreeItem item) const {
    const Node& n = *Find(item);
    const std::vector<TreeItem>& items = ChildrenOf(n.parent)->items;
    auto at = std::lower_bound(items.begin(), items.end(), n.text,
                               [this](TreeItem sibling, const std::string& label) {
                                   return LessIgnoringAsciiCase(Find(sibling)->text, label);
                               });
    for (; at != items.end() && !LessIgnoringAsciiCase(n.text, Find(*at)->text); ++at)
        if (*at == item) return static_cast<std::size_t>(at - items.begin());
    return static_cast<std::size_t>(std::find(items.begin(), items.end(), item) - items.begin());
}

TreeItem HeadlessTreeControl::InsertItem(std::string_view text, int image, int selectedImage,
                                         TreeItem parent, TreeInsert where) {
    Siblings* siblings = ChildrenOf(parent);
    if (!siblings) return kTreeNone;
    auto& items = siblings->items;
    auto at = items.end();
    if (where == TreeInsert::First) {
        at = items.begin();
    } else if (where == TreeInsert::Sort) {
        // A store of thousands of folders is loaded by sorted inserts under one parent, so
        // the place is found by halving, never by walking the siblings.
        at = std::upper_bound(items.begin(), items.end(), text,
                              [this](std::string_view label, TreeItem sibling) {
                                  return LessIgnoringAsciiCase(label, Find(sibling)->text);
                              });
    }
    TreeItem handle = nextItem_++;
    items.insert(at, handle);
    Node node;
    node.text = std::string(text);
    node.image = image;
    node.selectedImage = selectedImage;
    node.parent = parent;
    node.alive = true;
    nodes_.push_back(std::move(node));
    ++count_;
    return handle;
}

bool HeadlessTreeControl::IsInside(TreeItem item, TreeItem ancestor) const {
    for (const Node* n = Find(item); n; item = n->parent, n = Find(item))
        if (item == ancestor) return true;
    return false;
}

void HeadlessTreeControl::EraseSubtree(TreeItem item) {
    std::vector<TreeItem> pending{item};
    while (!pending.empty()) {
        TreeItem next = pending.back();
        pending.pop_back();
        Node* n = Find(next);
        if (!n) continue;
        pending.insert(pending.end(), n->children.items.begin(), n->children.items.end());
        if (next == dropTarget_) dropTarget_ = kTreeNone;
        if (next == editItem_) {
            editItem_ = kTreeNone;
            labelEdit_.Drop();
        }
        *n = Node{};
        --count_;
    }
}

bool HeadlessTreeControl::DeleteItem(TreeItem item) {
    const Node* n = Find(item);
    if (!n) return false;
    TreeItem parent = n->parent;
    bool selectionInside = selected_ != kTreeNone && IsInside(selected_, item);
    TreeItem successor = kTreeNone;
    if (selectionInside) {
        successor = GetNextSiblingItem(item);
        if (!successor) successor = GetPrevSiblingItem(item);
        if (!successor) successor = parent;
    }
    Siblings& siblings = *ChildrenOf(parent);
    std::size_t position = PositionOf(item);
    siblings.items.erase(siblings.items.begin() + static_cast<std::ptrdiff_t>(position));
    EraseSubtree(item);
    if (selectionInside) SetSelection(successor);
    return true;
}

void HeadlessTreeControl::DeleteAllItems() {
    nodes_.clear();
    dropTarget_ = kTreeNone;
    editItem_ = kTreeNone;
    labelEdit_.Drop();
    base_ = nextItem_;
    count_ = 0;
    top_ = Siblings{};
    SetSelection(kTreeNone);
}

std::string HeadlessTreeControl::GetItemText(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->text : std::string();
}

bool HeadlessTreeControl::SetItemText(TreeItem item, std::string_view text) {
    Node* n = Find(item);
    if (!n) return false;
    // The real control keeps an item where it is when its label changes; so does this one.
    n->text = std::string(text);
    return true;
}

DWORD HeadlessTreeControl::GetItemData(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->data : 0;
}

bool HeadlessTreeControl::SetItemData(TreeItem item, DWORD data) {
    Node* n = Find(item);
    if (!n) return false;
    n->data = data;
    return true;
}

bool HeadlessTreeControl::GetItemImage(TreeItem item, int& image, int& selectedImage) const {
    const Node* n = Find(item);
    if (!n) return false;
    image = n->image;
    selectedImage = n->selectedImage;
    return true;
}

bool HeadlessTreeControl::SetItemImage(TreeItem item, int image, int selectedImage) {
    Node* n = Find(item);
    if (!n) return false;
    n->image = image;
    n->selectedImage = selectedImage;
    return true;
}

TreeItem HeadlessTreeControl::GetRootItem() const {
    return top_.items.empty() ? kTreeNone : top_.items.front();
}

TreeItem HeadlessTreeControl::GetParentItem(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->parent : kTreeNone;
}

TreeItem HeadlessTreeControl::GetChildItem(TreeItem item) const {
    const Siblings* children = ChildrenOf(item);
    return children && !children->items.empty() ? children->items.front() : kTreeNone;
}

TreeItem HeadlessTreeControl::GetNextSiblingItem(TreeItem item) const {
    const Node* n = Find(item);
    if (!n) return kTreeNone;
    const auto& items = ChildrenOf(n->parent)->items;
    std::size_t next = PositionOf(item) + 1;
    return next < items.size() ? items[next] : kTreeNone;
}

TreeItem HeadlessTreeControl::GetPrevSiblingItem(TreeItem item) const {
    const Node* n = Find(item);
    if (!n) return kTreeNone;
    std::size_t position = PositionOf(item);
    return position > 0 ? ChildrenOf(n->parent)->items[position - 1] : kTreeNone;
}

bool HeadlessTreeControl::ItemHasChildren(TreeItem item) const {
    const Node* n = Find(item);
    return n && !n->children.items.empty();
}

void HeadlessTreeControl::SetSelection(TreeItem item) {
    if (item == selected_) return;
    TreeItem old = selected_;
    selected_ = item;
    events_.OnTreeSelChanged(old, item);
}

bool HeadlessTreeControl::SelectItem(TreeItem item) {
    if (item != kTreeNone && !Find(item)) return false;
    SetSelection(item);
    return true;
}

bool HeadlessTreeControl::Expand(TreeItem item, bool expand) {
    const Node* n = Find(item);
    if (!n || n->children.items.empty()) return false;
    if (n->expanded == expand) return true;
    if (events_.OnTreeItemExpanding(item, expand)) return false;
    Node* again = Find(item);  // the handler may have changed the tree
    if (!again) return false;
    again->expanded = expand;
    // Collapsing hides the selection inside; the real control then selects the collapsed item.
    if (!expand && selected_ != item && IsInside(selected_, item)) SetSelection(item);
    return true;
}

bool HeadlessTreeControl::IsExpanded(TreeItem item) const {
    const Node* n = Find(item);
    return n && n->expanded;
}

bool HeadlessTreeControl::UserEditLabel(TreeItem item, std::optional<std::string> text) {
    if (editItem_ != item && !EditLabel(item)) return false;
    HeadlessEditBox* box = labelEdit_.Box();
    if (!box) return false;
    const std::string before = GetItemText(item);
    if (text) box->Type(*text);
    box->End(!text);
    return Find(item) && GetItemText(item) != before;
}

void HeadlessTreeControl::EnsureVisible(TreeItem item) {
    std::vector<TreeItem> ancestors;
    for (TreeItem up = GetParentItem(item); up != kTreeNone; up = GetParentItem(up))
        ancestors.push_back(up);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) Expand(*it, true);
}

std::vector<std::pair<TreeItem, int>> HeadlessTreeControl::ShownItems() const {
    std::vector<std::pair<TreeItem, int>> shown;
    std::vector<std::pair<TreeItem, int>> pending;
    for (auto it = top_.items.rbegin(); it != top_.items.rend(); ++it) pending.emplace_back(*it, 0);
    while (!pending.empty()) {
        auto [item, depth] = pending.back();
        pending.pop_back();
        shown.emplace_back(item, depth);
        const Node& n = *Find(item);
        if (!n.expanded) continue;
        for (auto it = n.children.items.rbegin(); it != n.children.items.rend(); ++it)
            pending.emplace_back(*it, depth + 1);
    }
    return shown;
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
    const auto shown = ShownItems();
    for (std::size_t row = 0; row < shown.size(); ++row) {
        if (shown[row].first != item) continue;
        const RowBox box = BoxOf(row, shown[row].second, Find(item)->text);
        rect = RECT{textOnly ? box.labelLeft : 0, box.top, box.labelRight, box.top + kRowHeight};
        return true;
    }
    return false;
}

TreeItem HeadlessTreeControl::HitTest(POINT point, UINT* flags) const {
    UINT where = kTreeHitNowhere;
    TreeItem hit = kTreeNone;
    if (point.y >= 0 && point.x >= 0) {
        const auto shown = ShownItems();
        const auto row = static_cast<std::size_t>(point.y / kRowHeight);
        if (row < shown.size()) {
            hit = shown[row].first;
            const RowBox box = BoxOf(row, shown[row].second, Find(hit)->text);
            if (point.x < box.iconLeft - kIconWidth / 2 - 4)
                where = kTreeHitOnIndent;
            else if (point.x < box.iconLeft)
                where = kTreeHitOnButton;
            else if (point.x < box.labelLeft)
                where = kTreeHitOnIcon;
            else if (point.x < box.labelRight)
                where = kTreeHitOnLabel;
            else
                where = kTreeHitOnRight;
        }
    }
    if (flags) *flags = where;
    return hit;
}

bool HeadlessTreeControl::EditLabel(TreeItem item) {
    if (!Find(item)) return false;
    labelEdit_.Cancel();
    // The edit box exists when the owner is asked, so that it can limit it.
    editItem_ = item;
    labelEdit_.Open(Window(), Find(item)->text,
                    [this](std::optional<std::string> text) { FinishEdit(std::move(text)); });
    if (events_.OnTreeBeginLabelEdit(item) || !Find(item) || editItem_ != item) {
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
    if (events_.OnTreeEndLabelEdit(item, text) && text && Find(item)) SetItemText(item, *text);
}

bool HeadlessTreeControl::LimitEditText(int characters) {
    if (!labelEdit_.Box()) return false;
    labelEdit_.Box()->Limit(characters);
    return true;
}

bool HeadlessTreeControl::SelectDropTarget(TreeItem item) {
    if (item != kTreeNone && !Find(item)) return false;
    dropTarget_ = item;
    return true;
}

std::unique_ptr<ImageList> HeadlessTreeControl::CreateDragImage(TreeItem item) {
    const Node* n = Find(item);
    if (!n) return nullptr;
    // The icon and the label, as the item's row shows them.
    const RowBox box = BoxOf(0, 0, n->text);
    return std::make_unique<HeadlessImageList>("drag \"" + n->text + "\"",
                                               box.labelRight - box.iconLeft, kRowHeight, 1);
}

bool HeadlessTreeControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_KEYDOWN) return false;
    events_.OnTreeKeyDown(static_cast<UINT>(wParam));
    return true;
}

std::string HeadlessTreeControl::Dump() const {
    return DescribeTree(*this);
}

}  // namespace orbel::platform
