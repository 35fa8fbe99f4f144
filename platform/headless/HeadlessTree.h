// The headless tree control: items in the shared tree records, notifications sent as the real
// control sends them, rows laid out at fixed sizes. Tests act as the user through the User* calls
// and compare Dump() as text.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/controls/TreeControl.h"
#include "platform/controls/TreeItems.h"
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
    bool MoveItem(TreeItem item, TreeItem parent, TreeInsert where) override;
    void DeleteAllItems() override;
    std::size_t GetCount() const override { return items_.Count(); }

    std::string GetItemText(TreeItem item) const override { return items_.Text(item); }
    bool SetItemText(TreeItem item, std::string_view text) override {
        return items_.SetText(item, text);
    }
    DWORD GetItemData(TreeItem item) const override { return items_.Data(item); }
    bool SetItemData(TreeItem item, DWORD data) override { return items_.SetData(item, data); }
    bool GetItemImage(TreeItem item, int& image, int& selectedImage) const override {
        return items_.Images(item, image, selectedImage);
    }
    bool SetItemImage(TreeItem item, int image, int selectedImage) override {
        return items_.SetImages(item, image, selectedImage);
    }

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

    // The messages the control takes from its window: a key goes to the events object, then
    // moves the selection or expands as the key does. False for messages it leaves to the
    // window's procedure.
    bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // What the user does. UserEditLabel opens an edit box (or takes the open one), types the
    // text and presses Enter, or Escape with no text; it returns whether the label changed.
    void UserSelect(TreeItem item) { SelectItem(item); }
    void UserKeyDown(UINT key) { OnWindowMessage(WM_KEYDOWN, key, 0); }
    bool UserExpand(TreeItem item, bool expand) { return Expand(item, expand); }
    void UserBeginDrag(TreeItem item, POINT point) { events_.OnTreeBeginDrag(item, point); }
    void UserRightClick(TreeItem item, POINT point) { events_.OnTreeRightClick(item, point); }
    bool UserEditLabel(TreeItem item, std::optional<std::string> text);
    // The open edit box, or null.
    HeadlessEditBox* EditBox() { return labelEdit_.Box(); }

    HWND Window() const { return registration_.Window(); }
    bool Has(TreeItem item) const { return items_.Has(item); }
    const ImageList* Images() const { return images_; }
    int RedrawCount() const { return redraws_; }
    // One line per item in pre-order, two spaces of indent per depth:
    // `LABEL key=K image=I/S`, ` current` on the selected item's line, ` drop` on the drop
    // target's, ` editing` on the edited one's.
    std::string Dump() const;

  private:
    void SetSelection(TreeItem item);
    // The item is going: it can no longer be the drop target or have an edit box.
    void Forget(TreeItem item);
    void FinishEdit(std::optional<std::string> text);

    RegisteredModel<HeadlessTreeControl> registration_;
    TreeControlEvents& events_;
    TreeItems items_;
    TreeItem selected_ = kTreeNone;
    const ImageList* images_ = nullptr;
    int redraws_ = 0;
    TreeItem dropTarget_ = kTreeNone;
    TreeItem editItem_ = kTreeNone;
    HeadlessLabelEdit labelEdit_;
    // Gone with the control: a handler that destroys it is noticed.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace orbel::platform
