// The items of a tree control as plain records: their handles, their hierarchy and the order of
// siblings. Every backend's tree keeps its items here, so that all of them number, order and
// walk the items alike; a backend adds only how it shows them (a backend whose view is told of
// each change learns the place from PlaceFor before the change). Beside them, the order of the
// parts of a shown row, which every backend's hit test follows.
// Not for: notifications, the selection, the drop target or label editing — the controls own
// those and ask these records what a change does to them.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/TreeControl.h"

namespace orbel::platform {

class TreeItems {
  public:
    // Where Insert put an item: its handle (kTreeNone when the parent is unknown) and its index
    // among its siblings once it is in.
    struct Placed {
        TreeItem item = kTreeNone;
        std::size_t position = 0;
    };
    // An item as it is shown in an outline: the top level and the children of expanded items,
    // each at its depth (0 at the top level).
    struct Shown {
        TreeItem item = kTreeNone;
        int depth = 0;
    };

    // Sort places the item among its siblings by label, without regard to ASCII letter case,
    // after any sibling with an equal label.
    Placed Insert(std::string_view text, int image, int selectedImage, TreeItem parent,
                  TreeInsert where);
    // The index an item of this label would get among the parent's children once it is in;
    // with `moving`, the index that item would get there once it has left its own place.
    // Nothing for an unknown parent, or a parent inside `moving`.
    std::optional<std::size_t> PlaceFor(std::string_view text, TreeItem parent, TreeInsert where,
                                        TreeItem moving = kTreeNone) const;
    // Puts the item with its subtree under another parent (kTreeNone: the top level), placed
    // as Insert places a new one; everything of the items stays, their handles too. Fails
    // (kTreeNone) for an unknown item or parent, and for a parent inside the item.
    Placed Move(TreeItem item, TreeItem parent, TreeInsert where);
    // Insert and Move at a place PlaceFor gave for the same item, label and parent, with
    // nothing changed since: for a caller that needed the place beforehand.
    Placed InsertAt(std::string_view text, int image, int selectedImage, TreeItem parent,
                    std::size_t place);
    Placed MoveTo(TreeItem item, TreeItem parent, std::size_t place);
    // Removes the item with its subtree. `erasing` hears of each item just before it goes,
    // the item itself first; false for an unknown item.
    bool Erase(TreeItem item, const std::function<void(TreeItem)>& erasing);
    // Removes every item.
    void Clear();

    std::size_t Count() const { return count_; }
    // The records kept, live or free: items erased or emptied leave their records for the
    // next ones, so a tree loaded again takes no more than the largest load before.
    std::size_t Records() const { return nodes_.size(); }
    bool Has(TreeItem item) const { return Find(item) != nullptr; }
    // The index of an item among its siblings (0 for an unknown one).
    std::size_t Position(TreeItem item) const;
    std::size_t ChildCount(TreeItem item) const;
    // The parent's child at an index; kTreeNone past the end.
    TreeItem ChildAt(TreeItem parent, std::size_t index) const;

    // The accessors answer empty, 0 or false for an unknown item.
    std::string Text(TreeItem item) const;
    // The item keeps its place among its siblings when its label changes.
    bool SetText(TreeItem item, std::string_view text);
    DWORD Data(TreeItem item) const;
    bool SetData(TreeItem item, DWORD data);
    bool Images(TreeItem item, int& image, int& selectedImage) const;
    bool SetImages(TreeItem item, int image, int selectedImage);
    bool IsExpanded(TreeItem item) const;
    bool SetExpanded(TreeItem item, bool expanded);

    // The first item of the top level.
    TreeItem First() const;
    TreeItem Parent(TreeItem item) const;
    // The item's first child; for kTreeNone, the first item of the top level.
    TreeItem FirstChild(TreeItem item) const;
    TreeItem NextSibling(TreeItem item) const;
    TreeItem PrevSibling(TreeItem item) const;
    bool HasChildren(TreeItem item) const;
    // Whether the item is the ancestor or below it.
    bool IsInside(TreeItem item, TreeItem ancestor) const;
    // The item's ancestors from the top level down.
    std::vector<TreeItem> Ancestors(TreeItem item) const;
    // The items before and after one in outline order (ShownItems), without walking the
    // outline; kTreeNone at either end. LastShown is the outline's last item.
    TreeItem PrevShown(TreeItem item) const;
    TreeItem NextShown(TreeItem item) const;
    TreeItem LastShown() const;

    // Where the selection goes when the item is deleted: nowhere new (nullopt) when it is not
    // inside the item; else to the item's next sibling, else its previous one, else its parent.
    std::optional<TreeItem> SelectionAfterDelete(TreeItem item, TreeItem selected) const;

    // The items shown, from the top, in outline order.
    std::vector<Shown> ShownItems() const;

  private:
    // The ordered children of a parent. Sorted inserts keep them in label order, so an item
    // is found among thousands of siblings by halving; items placed first or last are found
    // by a plain search when halving misses them.
    using Siblings = std::vector<TreeItem>;
    struct Node {
        std::string text;
        DWORD data = 0;
        int image = 0;
        int selectedImage = 0;
        TreeItem parent = kTreeNone;
        // The index among its siblings when it was last placed or found: a view asks an item's
        // place far more often than siblings come and go, so the hint is checked in one step
        // and searched for only when a sibling before it came or went.
        mutable std::size_t position = 0;
        bool expanded = false;
        Siblings children;
        // The handle the slot gives now; kTreeNone while the slot is free.
        TreeItem handle = kTreeNone;
        // How often the slot was given, which makes each of its handles different.
        TreeItem generation = 0;
    };

    const Node* Find(TreeItem item) const;
    Node* Find(TreeItem item);
    const Siblings* ChildrenOf(TreeItem parent) const;
    Siblings* ChildrenOf(TreeItem parent);
    // The index of a live item among its siblings.
    std::size_t PositionOf(TreeItem item) const;
    std::size_t PositionOf(const Node& node) const;
    // Gives the slot back, its record emptied, for the next item to take.
    void Free(Node& node);

    // Nodes by slot: a handle is its slot + 1 in the low bits and the slot's generation above
    // them, so that a slot freed by an erase is taken again while a handle kept from before
    // finds nothing. A deque keeps every node where it is while others are added, and finds
    // one without hashing.
    static constexpr unsigned kSlotBits = 22;
    static constexpr TreeItem kSlotMask = (TreeItem{1} << kSlotBits) - 1;
    std::deque<Node> nodes_;
    std::vector<TreeItem> free_;
    std::size_t count_ = 0;
    Siblings top_;
};

// The parts of a shown row from left to right, in one coordinate: the indent, the expand button
// from buttonLeft, the icon from iconLeft, the label from labelLeft to labelEnd (not included),
// then the empty rest.
struct TreeRowParts {
    int buttonLeft = 0;
    int iconLeft = 0;
    int labelLeft = 0;
    int labelEnd = 0;
};
// The kTreeHit* flag of the part of the row at x.
UINT TreeHitOnRow(int x, const TreeRowParts& row);

}  // namespace orbel::platform
