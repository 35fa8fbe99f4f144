// The desktop tree control: the shared tree control shown by a QTreeView through a model that
// reads the control's records themselves. It keeps only its widgets: what it adds is drawing,
// geometry and the widget's native events.
// A person's clicks and keys on the widget become the same notifications the program's own
// calls send; expanding asks the events object before anything moves.
#pragma once

#include <QPointer>
#include <memory>
#include <optional>
#include <string>

#include "platform/controls/TreeControlBase.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtTreeModel.h"
#include "platform/qt/QtViewParts.h"

class QPoint;
class QWidget;

namespace orbel::platform {

class QtTreeView;

class QtTreeControl final : public TreeControlBase {
  public:
    QtTreeControl(std::weak_ptr<QtControlContext> context, HWND window, TreeControlEvents& events);
    ~QtTreeControl() override;

    TreeItem HitTest(POINT point, UINT* flags) const override;
    bool GetItemRect(TreeItem item, RECT& rect, bool textOnly) const override;
    std::unique_ptr<ImageList> CreateDragImage(TreeItem item) override;
    void RedrawNow() override;

    HWND Window() const { return registration_.Window(); }

    // What a person does, taken the way the widget's own handlers take it: a selection made
    // current through the selection model, an expansion asked for first, a key that reaches
    // the events object before the widget moves.
    void UserSelect(TreeItem item) override;
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

    void BeforeChange(const TreeChange& change) override;
    void AfterChange(const TreeChange& change) override;
    void RowChanged(TreeItem item) override { model_->Changed(item); }
    void ShowSelection() override;
    void ShowExpanded(TreeItem item) override;
    void ScrollTo(TreeItem item) override;
    void ImagesChanged() override;
    int PageRows() const override;
    bool OpenEditBox(TreeItem item, const std::string& text, EditEnd end) override;
    void CancelEditBox() override { labelEdit_.Cancel(); }
    // Qt deletes a box once its own event is over, whether its edit ended or not.
    void CloseEditBox(bool) override { labelEdit_.Retire(); }
    bool LimitEditBox(int characters) override;

    // The view's index of an item; invalid for an unknown item.
    QModelIndex IndexOf(TreeItem item) const { return model_->IndexOf(item); }
    // Where the edit box stands: over the edited item's label.
    QRect EditPlace() const;

    // From the view.
    void OnViewSelectionChanged();
    void OnViewBeginDrag(TreeItem item, const QPoint& at);
    void OnViewRightClick(const QPoint& at);

    QtRegistration<QtTreeControl> registration_;
    QPointer<QWidget> host_;
    QPointer<QtTreeView> view_;
    // Read by the view, so it goes after the view has let go of it.
    std::unique_ptr<QtTreeModel> model_;
    QtLabelEdit labelEdit_;
    int quiet_ = 0;
};

}  // namespace orbel::platform
