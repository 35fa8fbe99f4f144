// The tree control of every backend, once: the items in the shared tree records, the selection,
// expansion, the label edit's bookkeeping, the drop target, item data and images, and what the
// keys do, each with the notifications the real control sends. A backend adds only what differs:
// how its view hears of a change, the edit box it opens, drawing, geometry and native events.
// Not for: hit tests, item rectangles and drag images (each backend lays its rows out itself).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/controls/TreeControl.h"
#include "platform/controls/TreeItems.h"

namespace orbel::platform {

// A change of the hierarchy: an insert of an item (known only after it) at a position under a
// parent, an erase of an item with its subtree, a move of one under a parent to a position
// (counted once it has left its own place), or the end of every item.
struct TreeChange {
    enum class Kind { Insert, Erase, Move, Clear };
    Kind kind = Kind::Clear;
    TreeItem item = kTreeNone;
    TreeItem parent = kTreeNone;
    std::size_t position = 0;
};

class TreeControlBase : public TreeControl {
  public:
    explicit TreeControlBase(TreeControlEvents& events) : events_(events) {}
    TreeControlBase(const TreeControlBase&) = delete;
    TreeControlBase& operator=(const TreeControlBase&) = delete;

    TreeItem InsertItem(std::string_view text, int image, int selectedImage, TreeItem parent,
                        TreeInsert where) override;
    bool DeleteItem(TreeItem item) override;
    bool MoveItem(TreeItem item, TreeItem parent, TreeInsert where) override;
    void DeleteAllItems() override;
    std::size_t GetCount() const override { return items_.Count(); }

    std::string GetItemText(TreeItem item) const override { return items_.Text(item); }
    bool SetItemText(TreeItem item, std::string_view text) override;
    DWORD GetItemData(TreeItem item) const override { return items_.Data(item); }
    bool SetItemData(TreeItem item, DWORD data) override { return items_.SetData(item, data); }
    bool GetItemImage(TreeItem item, int& image, int& selectedImage) const override {
        return items_.Images(item, image, selectedImage);
    }
    bool SetItemImage(TreeItem item, int image, int selectedImage) override;

    TreeItem GetRootItem() const override { return items_.First(); }
    TreeItem GetParentItem(TreeItem item) const override { return items_.Parent(item); }
    TreeItem GetChildItem(TreeItem item) const override { return items_.FirstChild(item); }
    TreeItem GetNextSiblingItem(TreeItem item) const override { return items_.NextSibling(item); }
    bool ItemHasChildren(TreeItem item) const override { return items_.HasChildren(item); }

    bool SelectItem(TreeItem item) override;
    TreeItem GetSelectedItem() const override { return selected_; }
    bool Expand(TreeItem item, bool expand) override;
    bool IsExpanded(TreeItem item) const override { return items_.IsExpanded(item); }
    void EnsureVisible(TreeItem item) override;

    bool EditLabel(TreeItem item) override;
    bool LimitEditText(int characters) override;
    TreeItem GetEditItem() const override { return editItem_; }
    bool SelectDropTarget(TreeItem item) override;
    TreeItem GetDropHilightItem() const override { return dropTarget_; }
    void SetImageList(const ImageList* images) override;

    bool Has(TreeItem item) const { return items_.Has(item); }
    const TreeItems& Items() const { return items_; }
    const ImageList* Images() const { return images_; }

    // What a person does: selecting as a click does, and expanding as the expand button does.
    virtual void UserSelect(TreeItem item) { SelectItem(item); }
    bool UserExpand(TreeItem item, bool expand) { return Expand(item, expand); }

  protected:
    // A key pressed on the control: the owner hears of it first, then, if the control is still
    // there, the key moves the selection or expands as in every tree.
    void KeyDown(UINT key);
    TreeControlEvents& Events() { return events_; }

    // How the backend's view hears of a change of the records' hierarchy, before and after it.
    // Between the two the view may ask the records anything but the change itself.
    virtual void BeforeChange(const TreeChange& /*change*/) {}
    virtual void AfterChange(const TreeChange& /*change*/) {}
    // The item's row looks different: its label, icon, selection or highlight.
    virtual void RowChanged(TreeItem /*item*/) {}
    // The view shows the records' selection, or an item's expansion.
    virtual void ShowSelection() {}
    virtual void ShowExpanded(TreeItem /*item*/) {}
    // Scrolls a shown item into the view.
    virtual void ScrollTo(TreeItem /*item*/) {}
    virtual void ImagesChanged() {}
    // The rows one page of the view shows, for the page keys.
    virtual int PageRows() const { return 1; }

    // The edit box over an item's label. OpenEditBox opens it with the label's text (false when
    // the view cannot show one); `end` is called once when the person ends the edit.
    using EditEnd = std::function<void(std::optional<std::string>)>;
    virtual bool OpenEditBox(TreeItem item, const std::string& text, EditEnd end) = 0;
    // Ends the open edit, if any, as Escape does.
    virtual void CancelEditBox() = 0;
    // Closes the box: after its edit `ended`, or without ending the edit (its item is gone).
    virtual void CloseEditBox(bool ended) = 0;
    // False when no box is open.
    virtual bool LimitEditBox(int characters) = 0;

  private:
    void SetSelection(TreeItem item);
    // Items are gone: none of them is the drop target or has an edit box any more.
    void ForgetGone();
    void FinishEdit(std::optional<std::string> text);

    TreeControlEvents& events_;
    TreeItems items_;
    TreeItem selected_ = kTreeNone;
    TreeItem dropTarget_ = kTreeNone;
    TreeItem editItem_ = kTreeNone;
    const ImageList* images_ = nullptr;
    // Gone with the control: a handler that destroys it is noticed.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace orbel::platform
