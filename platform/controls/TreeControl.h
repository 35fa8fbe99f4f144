// The tree control: items with a label, one data word and two images (normal and selected),
// kept in a hierarchy under an invisible top, with one selected item. Notifications go to the
// events object the owner gives at creation, as the real control notifies its parent.
// Not for: the window itself (WindowSystem) or the folder logic (the panes).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Win.h"
#include "platform/controls/ImageList.h"

namespace orbel::platform {

// An item handle; 0 is no item (and, as a parent, the top level).
using TreeItem = std::uint32_t;
inline constexpr TreeItem kTreeNone = 0;

enum class TreeInsert { First, Last, Sort };

// Where a point lies relative to an item, as the real control's hit test reports it.
inline constexpr UINT kTreeHitNowhere = 0x0001;
inline constexpr UINT kTreeHitOnIcon = 0x0002;
inline constexpr UINT kTreeHitOnLabel = 0x0004;
inline constexpr UINT kTreeHitOnIndent = 0x0008;
inline constexpr UINT kTreeHitOnButton = 0x0010;
inline constexpr UINT kTreeHitOnRight = 0x0020;
inline constexpr UINT kTreeHitOnStateIcon = 0x0040;
inline constexpr UINT kTreeHitOnItem = kTreeHitOnIcon | kTreeHitOnLabel | kTreeHitOnStateIcon;

class TreeControlEvents {
  public:
    virtual ~TreeControlEvents();
    // The selection moved (also when the program moved it).
    virtual void OnTreeSelChanged(TreeItem oldItem, TreeItem newItem);
    // An item is about to expand or collapse; true refuses.
    virtual bool OnTreeItemExpanding(TreeItem item, bool expand);
    // A label edit is about to start; true refuses.
    virtual bool OnTreeBeginLabelEdit(TreeItem item);
    // A label edit ended; no text when it was cancelled. The label changes only when the
    // handler returns true.
    virtual bool OnTreeEndLabelEdit(TreeItem item, const std::optional<std::string>& text);
    virtual void OnTreeKeyDown(UINT key);
    // A drag began on the item at the point (client coordinates).
    virtual void OnTreeBeginDrag(TreeItem item, POINT point);
    // The right button was clicked over the control.
    virtual void OnTreeRightClick(TreeItem item, POINT point);
};

class TreeControl {
  public:
    virtual ~TreeControl();

    // Sort places the item among its siblings by label, without regard to letter case, after
    // any sibling with an equal label.
    virtual TreeItem InsertItem(std::string_view text, int image, int selectedImage,
                                TreeItem parent, TreeInsert where) = 0;
    // Deletes the item with its subtree. When the selection was inside, the selection moves
    // to the next sibling, else the previous one, else the parent, and is notified.
    virtual bool DeleteItem(TreeItem item) = 0;
    // Puts the item with its subtree under another parent (kTreeNone: the top level), placed
    // as an insert places it; labels, images, data, children and their expansion go along
    // and every handle stays. The selection, the drop target and the edit stay on their items,
    // so nothing is notified. False for an unknown item or parent, or a parent inside the item.
    virtual bool MoveItem(TreeItem /*item*/, TreeItem /*parent*/, TreeInsert /*where*/) {
        return false;
    }
    virtual void DeleteAllItems() = 0;
    virtual std::size_t GetCount() const = 0;

    virtual std::string GetItemText(TreeItem item) const = 0;
    virtual bool SetItemText(TreeItem item, std::string_view text) = 0;
    virtual DWORD GetItemData(TreeItem item) const = 0;
    virtual bool SetItemData(TreeItem item, DWORD data) = 0;
    // Image and selected image; false for an unknown item.
    virtual bool GetItemImage(TreeItem item, int& image, int& selectedImage) const = 0;
    virtual bool SetItemImage(TreeItem item, int image, int selectedImage) = 0;

    // The first item of the top level.
    virtual TreeItem GetRootItem() const = 0;
    virtual TreeItem GetParentItem(TreeItem item) const = 0;
    virtual TreeItem GetChildItem(TreeItem item) const = 0;
    virtual TreeItem GetNextSiblingItem(TreeItem item) const = 0;
    virtual bool ItemHasChildren(TreeItem item) const = 0;

    // Makes the item the selected one (kTreeNone clears the selection) and notifies when the
    // selection changed.
    virtual bool SelectItem(TreeItem item) = 0;
    virtual TreeItem GetSelectedItem() const = 0;
    // Asks the events object first; false when it refused or the item has no children.
    virtual bool Expand(TreeItem item, bool expand) = 0;
    virtual bool IsExpanded(TreeItem item) const = 0;

    // Expands every ancestor of the item (each asks the events object).
    virtual void EnsureVisible(TreeItem item) {
        for (TreeItem up = GetParentItem(item); up != kTreeNone; up = GetParentItem(up))
            Expand(up, true);
    }
    // The item under a point in client coordinates, with kTreeHit* flags saying where on it;
    // kTreeNone when no item is there.
    virtual TreeItem HitTest(POINT /*point*/, UINT* flags) const {
        if (flags) *flags = kTreeHitNowhere;
        return kTreeNone;
    }
    // The item's rectangle (its whole row, or its label alone with `textOnly`) in client
    // coordinates; false when the item is not shown (a collapsed ancestor).
    virtual bool GetItemRect(TreeItem /*item*/, RECT& /*rect*/, bool /*textOnly*/) const {
        return false;
    }

    // Label editing: starts an edit box on the item after asking the events object; false
    // when refused. The limit applies to the running edit box (characters, 0 for none).
    // A tree without an edit box refuses every edit.
    virtual bool EditLabel(TreeItem /*item*/) { return false; }
    virtual bool LimitEditText(int /*characters*/) { return false; }
    // The item being edited, kTreeNone when no edit box is open.
    virtual TreeItem GetEditItem() const { return kTreeNone; }

    // The drop-target highlight (kTreeNone clears it); a tree that shows none refuses.
    virtual bool SelectDropTarget(TreeItem item) { return item == kTreeNone; }
    virtual TreeItem GetDropHilightItem() const { return kTreeNone; }
    // A one-image list showing the item as it is dragged; null for an unknown item, and from a
    // tree that cannot draw one.
    virtual std::unique_ptr<ImageList> CreateDragImage(TreeItem /*item*/) { return nullptr; }

    virtual void SetImageList(const ImageList* /*images*/) {}
    // Repaints at once (the headless model counts).
    virtual void RedrawNow() {}
};

}  // namespace orbel::platform
