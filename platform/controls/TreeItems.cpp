#include "platform/controls/TreeItems.h"

#include <algorithm>
#include <utility>

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

const TreeItems::Node* TreeItems::Find(TreeItem item) const {
    const TreeItem slot = item & kSlotMask;
    if (slot == 0 || slot > nodes_.size()) return nullptr;
    const Node& n = nodes_[slot - 1];
    return n.handle == item ? &n : nullptr;
}

TreeItems::Node* TreeItems::Find(TreeItem item) {
    return const_cast<Node*>(std::as_const(*this).Find(item));
}

const TreeItems::Siblings* TreeItems::ChildrenOf(TreeItem parent) const {
    if (parent == kTreeNone) return &top_;
    const Node* n = Find(parent);
    return n ? &n->children : nullptr;
}

TreeItems::Siblings* TreeItems::ChildrenOf(TreeItem parent) {
    return const_cast<Siblings*>(std::as_const(*this).ChildrenOf(parent));
}

std::size_t TreeItems::PositionOf(TreeItem item) const {
    return PositionOf(*Find(item));
}

std::size_t TreeItems::PositionOf(const Node& n) const {
    const Siblings& items = *ChildrenOf(n.parent);
    if (n.position < items.size() && items[n.position] == n.handle) return n.position;
    auto at = std::lower_bound(items.begin(), items.end(), n.text,
                               [this](TreeItem sibling, const std::string& label) {
                                   return LessIgnoringAsciiCase(Find(sibling)->text, label);
                               });
    for (; at != items.end() && *at != n.handle && !LessIgnoringAsciiCase(n.text, Find(*at)->text);)
        ++at;
    // Items placed first or last, or renamed, stand outside the label order.
    if (at == items.end() || *at != n.handle) at = std::find(items.begin(), items.end(), n.handle);
    n.position = static_cast<std::size_t>(at - items.begin());
    return n.position;
}

std::optional<std::size_t> TreeItems::PlaceFor(std::string_view text, TreeItem parent,
                                               TreeInsert where, TreeItem moving) const {
    const Siblings* siblings = ChildrenOf(parent);
    if (!siblings || (moving != kTreeNone && IsInside(parent, moving))) return std::nullopt;
    // The moving item is counted out of its siblings when it is among them.
    const bool among = moving != kTreeNone && Has(moving) && Parent(moving) == parent;
    const std::size_t count = siblings->size() - (among ? 1 : 0);
    if (where == TreeInsert::First) return 0;
    if (where == TreeInsert::Last) return count;
    // A store of thousands of folders is loaded by sorted inserts under one parent, so the
    // place is found by halving, never by walking the siblings.
    const auto at = std::upper_bound(siblings->begin(), siblings->end(), text,
                                     [this](std::string_view label, TreeItem sibling) {
                                         return LessIgnoringAsciiCase(label, Find(sibling)->text);
                                     });
    auto index = static_cast<std::size_t>(at - siblings->begin());
    if (among && PositionOf(moving) < index) --index;
    return index;
}

TreeItems::Placed TreeItems::Insert(std::string_view text, int image, int selectedImage,
                                    TreeItem parent, TreeInsert where) {
    const std::optional<std::size_t> place = PlaceFor(text, parent, where);
    if (!place) return Placed{};
    return InsertAt(text, image, selectedImage, parent, *place);
}

TreeItems::Placed TreeItems::InsertAt(std::string_view text, int image, int selectedImage,
                                      TreeItem parent, std::size_t place) {
    TreeItem slot = 0;
    if (!free_.empty()) {
        slot = free_.back();
        free_.pop_back();
    } else {
        if (nodes_.size() >= kSlotMask) return Placed{};
        nodes_.emplace_back();
        slot = static_cast<TreeItem>(nodes_.size());
    }
    Node& node = nodes_[slot - 1];
    node.handle = (node.generation << kSlotBits) | slot;
    node.text = std::string(text);
    node.image = image;
    node.selectedImage = selectedImage;
    node.parent = parent;
    node.position = place;
    Siblings& siblings = *ChildrenOf(parent);
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(place), node.handle);
    ++count_;
    return Placed{node.handle, place};
}

TreeItems::Placed TreeItems::Move(TreeItem item, TreeItem parent, TreeInsert where) {
    Node* n = Find(item);
    if (!n) return Placed{};
    const std::optional<std::size_t> place = PlaceFor(n->text, parent, where, item);
    if (!place) return Placed{};
    return MoveTo(item, parent, *place);
}

TreeItems::Placed TreeItems::MoveTo(TreeItem item, TreeItem parent, std::size_t place) {
    Node* n = Find(item);
    Siblings& from = *ChildrenOf(n->parent);
    from.erase(from.begin() + static_cast<std::ptrdiff_t>(PositionOf(*n)));
    Siblings& to = *ChildrenOf(parent);
    to.insert(to.begin() + static_cast<std::ptrdiff_t>(place), item);
    n->parent = parent;
    n->position = place;
    return Placed{item, place};
}

void TreeItems::Free(Node& node) {
    const TreeItem slot = node.handle & kSlotMask;
    const TreeItem generation = (node.generation + 1) & (~TreeItem{0} >> kSlotBits);
    node = Node{};
    node.generation = generation;
    free_.push_back(slot);
    --count_;
}

bool TreeItems::Erase(TreeItem item, const std::function<void(TreeItem)>& erasing) {
    const Node* n = Find(item);
    if (!n) return false;
    Siblings& siblings = *ChildrenOf(n->parent);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(PositionOf(*n)));
    std::vector<TreeItem> pending{item};
    while (!pending.empty()) {
        const TreeItem next = pending.back();
        pending.pop_back();
        if (!Find(next)) continue;
        if (erasing) erasing(next);
        // Looked up again: what the listener did (closing an edit box) may have changed the
        // tree.
        Node* gone = Find(next);
        if (!gone) continue;
        pending.insert(pending.end(), gone->children.begin(), gone->children.end());
        Free(*gone);
    }
    return true;
}

void TreeItems::Clear() {
    // The slots stay for the next load; their records give back what they held.
    for (Node& n : nodes_)
        if (n.handle != kTreeNone) Free(n);
    top_ = Siblings{};
}

std::size_t TreeItems::Position(TreeItem item) const {
    const Node* n = Find(item);
    return n ? PositionOf(*n) : 0;
}

std::size_t TreeItems::ChildCount(TreeItem item) const {
    const Siblings* children = ChildrenOf(item);
    return children ? children->size() : 0;
}

TreeItem TreeItems::ChildAt(TreeItem parent, std::size_t index) const {
    const Siblings* children = ChildrenOf(parent);
    return children && index < children->size() ? (*children)[index] : kTreeNone;
}

std::string TreeItems::Text(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->text : std::string();
}

bool TreeItems::SetText(TreeItem item, std::string_view text) {
    Node* n = Find(item);
    if (!n) return false;
    // The real control keeps an item where it is when its label changes; so do the records.
    n->text = std::string(text);
    return true;
}

DWORD TreeItems::Data(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->data : 0;
}

bool TreeItems::SetData(TreeItem item, DWORD data) {
    Node* n = Find(item);
    if (!n) return false;
    n->data = data;
    return true;
}

bool TreeItems::Images(TreeItem item, int& image, int& selectedImage) const {
    const Node* n = Find(item);
    if (!n) return false;
    image = n->image;
    selectedImage = n->selectedImage;
    return true;
}

bool TreeItems::SetImages(TreeItem item, int image, int selectedImage) {
    Node* n = Find(item);
    if (!n) return false;
    n->image = image;
    n->selectedImage = selectedImage;
    return true;
}

bool TreeItems::IsExpanded(TreeItem item) const {
    const Node* n = Find(item);
    return n && n->expanded;
}

bool TreeItems::SetExpanded(TreeItem item, bool expanded) {
    Node* n = Find(item);
    if (!n) return false;
    n->expanded = expanded;
    return true;
}

TreeItem TreeItems::First() const {
    return top_.empty() ? kTreeNone : top_.front();
}

TreeItem TreeItems::Parent(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->parent : kTreeNone;
}

TreeItem TreeItems::FirstChild(TreeItem item) const {
    const Siblings* children = ChildrenOf(item);
    return children && !children->empty() ? children->front() : kTreeNone;
}

TreeItem TreeItems::NextSibling(TreeItem item) const {
    const Node* n = Find(item);
    if (!n) return kTreeNone;
    const Siblings& siblings = *ChildrenOf(n->parent);
    const std::size_t next = PositionOf(*n) + 1;
    return next < siblings.size() ? siblings[next] : kTreeNone;
}

TreeItem TreeItems::PrevSibling(TreeItem item) const {
    const Node* n = Find(item);
    if (!n) return kTreeNone;
    const std::size_t position = PositionOf(*n);
    return position > 0 ? (*ChildrenOf(n->parent))[position - 1] : kTreeNone;
}

bool TreeItems::HasChildren(TreeItem item) const {
    const Node* n = Find(item);
    return n && !n->children.empty();
}

bool TreeItems::IsInside(TreeItem item, TreeItem ancestor) const {
    for (const Node* n = Find(item); n; item = n->parent, n = Find(item))
        if (item == ancestor) return true;
    return false;
}

std::vector<TreeItem> TreeItems::Ancestors(TreeItem item) const {
    std::vector<TreeItem> ancestors;
    for (TreeItem up = Parent(item); up != kTreeNone; up = Parent(up)) ancestors.push_back(up);
    std::reverse(ancestors.begin(), ancestors.end());
    return ancestors;
}

TreeItem TreeItems::PrevShown(TreeItem item) const {
    if (!Has(item)) return kTreeNone;
    TreeItem before = PrevSibling(item);
    if (before == kTreeNone) return Parent(item);
    // The deepest last shown item below the sibling before.
    while (IsExpanded(before) && HasChildren(before)) before = ChildrenOf(before)->back();
    return before;
}

TreeItem TreeItems::NextShown(TreeItem item) const {
    if (!Has(item)) return kTreeNone;
    if (IsExpanded(item) && HasChildren(item)) return FirstChild(item);
    for (TreeItem up = item; up != kTreeNone; up = Parent(up))
        if (TreeItem next = NextSibling(up)) return next;
    return kTreeNone;
}

TreeItem TreeItems::LastShown() const {
    if (top_.empty()) return kTreeNone;
    TreeItem last = top_.back();
    while (IsExpanded(last) && HasChildren(last)) last = ChildrenOf(last)->back();
    return last;
}

std::optional<TreeItem> TreeItems::SelectionAfterDelete(TreeItem item, TreeItem selected) const {
    if (selected == kTreeNone || !Has(item) || !IsInside(selected, item)) return std::nullopt;
    if (TreeItem next = NextSibling(item)) return next;
    if (TreeItem previous = PrevSibling(item)) return previous;
    return Parent(item);
}

std::vector<TreeItems::Shown> TreeItems::ShownItems() const {
    std::vector<Shown> shown;
    std::vector<Shown> pending;
    for (auto it = top_.rbegin(); it != top_.rend(); ++it) pending.push_back(Shown{*it, 0});
    while (!pending.empty()) {
        const Shown next = pending.back();
        pending.pop_back();
        shown.push_back(next);
        const Node& n = *Find(next.item);
        if (!n.expanded) continue;
        for (auto it = n.children.rbegin(); it != n.children.rend(); ++it)
            pending.push_back(Shown{*it, next.depth + 1});
    }
    return shown;
}

UINT TreeHitOnRow(int x, const TreeRowParts& row) {
    if (x < row.buttonLeft) return kTreeHitOnIndent;
    if (x < row.iconLeft) return kTreeHitOnButton;
    if (x < row.labelLeft) return kTreeHitOnIcon;
    if (x < row.labelEnd) return kTreeHitOnLabel;
    return kTreeHitOnRight;
}

}  // namespace orbel::platform
