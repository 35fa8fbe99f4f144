// The headless tree control: items in plain records, children kept in order under each parent,
// notifications sent as the real control sends them. Tests act as the user through the User*
// calls and compare Dump() as text.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/TreeControl.h"
#include "platform/headless/HeadlessControlRegistry.h"
#include "platform/headless/HeadlessEditBox.h"

namespace orbel::platform {

class HeadlessTreeControl final : public TreeControl {
  public:
    HeadlessTreeControl(std::weak_ptr<HeadlessControlRegistry> registry, HWND window,
                        TreeControlEvents& events);

    TreeItem InsertItem(std::string_view text, int image, int selectedImage, TreeItem parent,
                        TreeInsert where) override;
    bool DeleteItem(TreeItem item) override;
    void DeleteAllItems() override;
    std::size_t GetCount() const override { return count_; }

    std::string GetItemText(TreeItem item) const override;
    bool SetItemText(TreeItem item, std::string_view text) override;
    DWORD GetItemData(TreeItem item) const override;
    bool SetItemData(TreeItem item, DWORD data) override;
    bool GetItemImage(TreeItem item, int& image, int& selectedImage) const override;
    bool SetItemImage(TreeItem item, int image, int selectedImage) override;

    TreeItem GetRootItem() const override;
    TreeItem GetParentItem(TreeItem item) const override;
    TreeItem GetChildItem(TreeItem item) const override;
    TreeItem GetNextSiblingItem(TreeItem item) const override;
    bool ItemHasChildren(TreeItem item) const override;

    bool SelectItem(TreeItem item) override;
    TreeItem GetSelectedItem() const override { return selected_; }
    bool Expand(TreeItem item, bool expand) override;
    bool IsExpanded(TreeItem item) const override;

    void EnsureVisible(TreeItem item) override;
    TreeItem HitTest(POINT point, UINT* flags) const override;
    bool GetItemRect(TreeItem item, RECT& rect, bool textOnly) const override;
    bool EditLabel(TreeItem item) override;
    bool LimitEditText(int characters) override;
    TreeItem GetEditItem() const override { return editItem_; }
    bool SelectDropTarget(TreeItem item) override;
    TreeItem GetDropHilightItem() const override { return dropTarget_; }
    std::unique_ptr<ImageList> CreateDragImage(TreeItem item) override;

    void SetImageList(const ImageList* images) override { images_ = images; }
    void RedrawNow() override { ++redraws_; }

    // The messages the control takes from its window: keys go to the events object, or to the
    // edit box while one is open. False for messages it leaves to the window's procedure.
    bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // What the user does. UserEditLabel opens an edit box (or takes the open one), types the
    // text and presses Enter, or Escape with no text; it returns whether the label changed.
    void UserSelect(TreeItem item) { SelectItem(item); }
    void UserKeyDown(UINT key) { events_.OnTreeKeyDown(key); }
    bool UserExpand(TreeItem item, bool expand) { return Expand(item, expand); }
    void UserBeginDrag(TreeItem item, POINT point) { events_.OnTreeBeginDrag(item, point); }
    void UserRightClick(TreeItem item, POINT point) { events_.OnTreeRightClick(item, point); }
    bool UserEditLabel(TreeItem item, std::optional<std::string> text);
    // The open edit box, or null.
    HeadlessEditBox* EditBox() { return labelEdit_.Box(); }

    HWND Window() const { return registration_.Window(); }
    bool Has(TreeItem item) const { return Find(item) != nullptr; }
    const ImageList* Images() const { return images_; }
    int RedrawCount() const { return redraws_; }
    TreeItem GetPrevSiblingItem(TreeItem item) const;
    // One line per item in pre-order, two spaces of indent per depth:
    // `LABEL key=K image=I/S`, ` current` on the selected item's line, ` drop` on the drop
    // target's, ` editing` on the edited one's.
    std::string Dump() const;

  private:
    // The ordered children of a parent. Sorted inserts keep them in label order, so an item
    // is found among thousands of siblings by halving; items placed first or last are found
    // by a plain search when halving misses them.
    struct Siblings {
        std::vector<TreeItem> items;
    };
    struct Node {
        std::string text;
        DWORD data = 0;
        int image = 0;
        int selectedImage = 0;
        TreeItem parent = kTreeNone;
        bool expanded = false;
        Siblings children;
        bool alive = false;
    };
    const Node* Find(TreeItem item) const;
    Node* Find(TreeItem item);
    Siblings* ChildrenOf(TreeItem parent);
    const Siblings* ChildrenOf(TreeItem parent) const;
    std::size_t PositionOf(TreeItem item) const;
    bool IsInside(TreeItem item, TreeItem ancestor) const;
    void EraseSubtree(TreeItem item);
    void SetSelection(TreeItem item);
    // The items shown, in order from the top: the top level and the children of expanded
    // items, with their depth.
    std::vector<std::pair<TreeItem, int>> ShownItems() const;
    void FinishEdit(std::optional<std::string> text);

    RegisteredModel<HeadlessTreeControl> registration_;
    TreeControlEvents& events_;
    // Nodes by handle (handle - base_): a deque keeps every node where it is while others are
    // added, and finds one without hashing, which the renumbering after a removal relies on.
    std::deque<Node> nodes_;
    TreeItem base_ = 1;
    std::size_t count_ = 0;
    Siblings top_;
    TreeItem nextItem_ = 1;
    TreeItem selected_ = kTreeNone;
    const ImageList* images_ = nullptr;
    int redraws_ = 0;
    TreeItem dropTarget_ = kTreeNone;
    TreeItem editItem_ = kTreeNone;
    HeadlessLabelEdit labelEdit_;
};

}  // namespace orbel::platform
