// The desktop list control: the shared list's records in a table model shown by a QTreeView for
// the report style and a QListView for the icon and list styles (only the shown one is attached
// to the model). Row states are mirrored into the selection model; a person's clicks and keys
// become the same state changes and notifications as the program's own calls.
#pragma once

#include <QPointer>
#include <memory>
#include <optional>
#include <string>

#include "platform/controls/ListControlBase.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtListModel.h"
#include "platform/qt/QtViewParts.h"

class QAbstractItemView;
class QItemSelection;
class QItemSelectionModel;
class QListView;
class QStackedWidget;
class QTreeView;

namespace orbel::platform {

// The list's views: the report on a QTreeView, the other styles on a QListView.
template <class Base>
class QtListView;

class QtListControl final : public ListControlBase {
  public:
    QtListControl(std::weak_ptr<QtControlContext> context, HWND window, ListControlEvents& events);
    ~QtListControl() override;
    QtListControl(const QtListControl&) = delete;
    QtListControl& operator=(const QtListControl&) = delete;

    int HitTest(POINT point, UINT* flags) const override;
    bool GetItemRect(int row, RECT& rect, bool labelOnly) const override;
    bool LimitEditText(int characters) override;
    std::unique_ptr<ImageList> CreateDragImage(int row) override;
    void RedrawItems(int first, int last) override;
    void RedrawNow() override;

    HWND Window() const { return registration_.Window(); }

    // A key as the shown view takes it from a person.
    void UserKey(UINT key);
    // The open edit box, or null.
    QtEditBox* EditBox() const { return labelEdit_.Box(); }
    // The shown view's widget that takes the mouse (null once it is gone), and points between
    // its coordinates and the window's client coordinates.
    QWidget* Viewport() const;
    QPoint ToViewport(POINT client) const;
    POINT ToClient(const QPoint& viewport) const;
    // Scrolls the row into sight.
    void ScrollTo(int row);
    // A point over no row, in client coordinates; none when the rows fill the view.
    std::optional<POINT> EmptySpot() const;

  private:
    template <class Base>
    friend class QtListView;

    struct Quiet {
        explicit Quiet(int& depth) : depth_(depth) { ++depth_; }
        ~Quiet() { --depth_; }
        int& depth_;
    };

    // The views hear of each change to the records; the selection model's own signals about
    // it are not the person's doing.
    void OnChanging(const ListChange& change) override;
    void OnChanged(const ListChange& change) override;
    void ShowState(int row, UINT old, UINT now) override;
    // Puts the records' selection and focus into the selection model (after the model changed
    // under it).
    void ShowAllStates() override;
    void OnViewStyleChanged() override;
    void OnImageListsChanged() override { Attach(GetViewStyle()); }
    void OnAcceptDropsChanged() override;
    int PageRows() const override;
    bool CanEditLabels() const override;
    void OpenEditBox(int row, const std::string& text) override;
    void CancelEditBox() override { labelEdit_.Cancel(); }
    void RetireEditBox() override { labelEdit_.Retire(); }
    void DropEditBox() override { labelEdit_.Drop(); }

    // The shown view, null when it is gone.
    QAbstractItemView* Shown() const;
    // Announces the waiting rows and lays the shown view's rows out now if a change is waiting
    // for it.
    void Settle() const;
    // The row's parts in the shown view, laid out now; empty parts without a view.
    ItemParts PartsOf(int row) const;
    void ConfigureIcons();
    void ShowCurrent();
    void Attach(ListViewStyle style);
    // Where the edit box of the edited row stands, in the coordinates of the views' container.
    QRect EditPlace() const;

    // From the views.
    void OnViewCurrentChanged(int now, int before);
    void OnViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void OnViewBeginDrag(int row, const QPoint& at);
    void OnViewRightClick(int row, const QPoint& at);

    QtRegistration<QtListControl> registration_;
    std::unique_ptr<QtListModel> model_;
    std::unique_ptr<QItemSelectionModel> selection_;
    QPointer<QWidget> host_;
    QPointer<QStackedWidget> stack_;
    QPointer<QtListView<QTreeView>> report_;
    QPointer<QtListView<QListView>> icons_;
    QtLabelEdit labelEdit_;
    int quiet_ = 0;
};

}  // namespace orbel::platform
