// The tree control: items with a label, one data word and two images (normal and selected),
// kept in a hierarchy under an invisible top, with one selected item. Notifications go to the
// events object the owner gives at creation, as the real control notifies its parent.
// Not for: the window itself (WindowSystem) or the folder logic (the panes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Win.h"

namespace orbel::platform {

class ImageList;

// An item handle; 0 is no item (and, as a parent, the top level).
using TreeItem = std::uint32_t;
inline constexpr TreeItem kTreeNone = 0;

enum class TreeInsert { First, Last, Sort };

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

    virtual void SetImageList(const ImageList* images) = 0;
    // Repaints at once (the headless model counts).
    virtual void RedrawNow() = 0;
};

}  // namespace orbel::platform
