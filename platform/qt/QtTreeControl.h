// The desktop tree control: the items and their order kept in the shared tree records (as the
// headless tree keeps them, so both answer alike), shown by a QTreeView through a model that
// reads the records themselves.
// A person's clicks and keys on the widget become the same notifications the program's own
// calls send; expanding asks the events object before anything moves.
#pragma once

#include <QPointer>
#include <memory>
#include <optional>
#include <string>

#include "platform/controls/TreeControl.h"
#include "platform/controls/TreeItems.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtTreeModel.h"
#include "platform/qt/QtViewParts.h"

class QPoint;
class QWidget;

namespace orbel::platform {

class QtTreeView;

class QtTreeControl final : public TreeControl {
  public:
    QtTreeControl(std::weak_ptr<QtControlContext> context, HWND window, TreeControlEvents& events);
    ~QtTreeControl() override;
    QtTreeControl(const QtTreeControl&) = delete;
    QtTreeControl& operator=(const QtTreeControl&) = delete;

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
    TreeItem GetSelectedItem() const override { return look_.selected; }
    bool Expand(TreeItem item, bool expand) override;
    bool IsExpanded(TreeItem item) const override { return items_.IsExpanded(item); }

    void EnsureVisible(TreeItem item) override;
    TreeItem HitTest(POINT point, UINT* flags) const override;
    bool GetItemRect(TreeItem item, RECT& rect, bool textOnly) const override;
    bool EditLabel(TreeItem item) override;
    bool LimitEditText(int characters) override;
    TreeItem GetEditItem() const override { return editItem_; }
    bool SelectDropTarget(TreeItem item) override;
    TreeItem GetDropHilightItem() const override { return look_.dropTarget; }
    std::unique_ptr<ImageList> CreateDragImage(TreeItem item) override;

    void SetImageList(const ImageList* images) override;
    void RedrawNow() override;

    bool Has(TreeItem item) const { return items_.Has(item); }
    HWND Window() const { return registration_.Window(); }

    // What a person does, taken the way the widget's own handlers take it: a selection made
    // current through the selection model, an expansion asked for first, a key that reaches
    // the events object before the widget moves.
    void UserSelect(TreeItem item);
    bool UserExpand(TreeItem item, bool expand) { return Expand(item, expand); }
    void UserKey(UINT key);
    // The open edit box, or null.
    QtEditBox* EditBox() const { return labelEdit_.Box(); }
    // The widget that takes the mouse (null once it is gone), and points between its
    // coordinates and the window's client coordinates.
    QWidget* Viewport() const;
    QPoint ToViewport(POINT client) const;
    POINT ToClient(const QPoint& viewport) const;

  private:
    friend class QtTreeView;

    // Tells the view's selection signals apart from the program's own changes.
    struct Quiet {
        explicit Quiet(int& depth) : depth_(depth) { ++depth_; }
        ~Quiet() { --depth_; }
        int& depth_;
    };

    // The view's index of an item; invalid for an unknown item.
    QModelIndex IndexOf(TreeItem item) const { return model_->IndexOf(item); }
    void SetSelection(TreeItem item);
    // Items are gone (their rows with them): none of them is the drop target or has an edit
    // box any more.
    void ForgetGone();
    // The view shows the selection and the expansion of the records.
    void ShowSelection();
    void ShowExpanded(TreeItem item);
    // Where the edit box stands: over the edited item's label.
    QRect EditPlace() const;
    void FinishEdit(std::optional<std::string> text);

    // From the view.
    void OnViewSelectionChanged();
    void OnViewBeginDrag(TreeItem item, const QPoint& at);
    void OnViewRightClick(const QPoint& at);

    QtRegistration<QtTreeControl> registration_;
    TreeControlEvents& events_;
    QPointer<QWidget> host_;
    QPointer<QtTreeView> view_;
    TreeItems items_;
    QtTreeLook look_;
    // Read by the view, so it goes after the view has let go of it.
    std::unique_ptr<QtTreeModel> model_;
    TreeItem editItem_ = kTreeNone;
    QtLabelEdit labelEdit_;
    int quiet_ = 0;
};

}  // namespace orbel::platform
