// The desktop list control: rows in a table model shown by a QTreeView for the report style and
// a QListView for the icon and list styles (only the shown one is attached to the model). Row
// states are kept with the rows and mirrored into the selection model; a person's clicks and
// keys become the same state changes and notifications as the program's own calls.
#pragma once

#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/ListControl.h"
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

class QtListControl final : public ListControl {
  public:
    QtListControl(std::weak_ptr<QtControlContext> context, HWND window, ListControlEvents& events);
    ~QtListControl() override;
    QtListControl(const QtListControl&) = delete;
    QtListControl& operator=(const QtListControl&) = delete;

    int InsertColumn(int index, std::string_view title, ListAlign align, int width) override;
    bool DeleteColumn(int index) override;
    int GetColumnCount() const override;
    std::string GetColumnTitle(int index) const override;
    int GetColumnWidth(int index) const override;
    ListAlign GetColumnAlign(int index) const override;

    int InsertItem(int index, std::string_view text, int image) override;
    bool DeleteItem(int row) override;
    void DeleteAllItems() override;
    int GetItemCount() const override { return model_->RowCount(); }
    std::string GetItemText(int row, int column) const override;
    bool SetItemText(int row, int column, std::string_view text) override;
    DWORD GetItemData(int row) const override;
    bool SetItemData(int row, DWORD data) override;
    int GetItemImage(int row) const override;
    bool SetItemImage(int row, int image) override;
    UINT GetItemState(int row, UINT mask) const override;
    bool SetItemState(int row, UINT state, UINT mask) override;
    std::vector<int> GetSelectedRows() const override;

    int HitTest(POINT point, UINT* flags) const override;
    bool GetItemRect(int row, RECT& rect, bool labelOnly) const override;
    bool EditLabel(int row) override;
    bool LimitEditText(int characters) override;
    int GetEditRow() const override { return editRow_; }
    std::unique_ptr<ImageList> CreateDragImage(int row) override;
    void RedrawItems(int first, int last) override;

    void SetViewStyle(ListViewStyle style) override;
    ListViewStyle GetViewStyle() const override { return style_; }
    void SetImageLists(const ImageList* normal, const ImageList* small) override;
    void RedrawNow() override;

    HWND Window() const { return registration_.Window(); }
    bool Valid(int row) const { return row >= 0 && row < GetItemCount(); }

    // What a person does, as the views' own mouse handlers do it. A click on row -1 (empty
    // space) clears the selection; a double or right click first selects the row as a click
    // does (a right click only when the row is not selected yet).
    void UserClick(int row);
    void UserToggleSelect(int row);
    // Shift+click: the rows from the focused one to this one, and no others.
    void UserExtendSelect(int row);
    void UserDoubleClick(int row);
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

    // The shown view, null when it is gone.
    QAbstractItemView* Shown() const;
    // Announces the waiting rows and lays the shown view's rows out now if a change is waiting
    // for it.
    void Settle() const;
    // The row's parts in the shown view, laid out now; empty parts without a view.
    ItemParts PartsOf(int row) const;
    void ConfigureIcons();
    // Sets a row's state: the focus leaves the row that had it, the view shows the change
    // when `show` (a change the view made itself is shown already), and the owner is told.
    void ChangeState(int row, UINT state, bool show);
    void ShowState(int row, UINT old, UINT now);
    // Puts the records' selection and focus into the selection model (after the model changed
    // under it).
    void ShowAllStates();
    void ShowCurrent();
    void Attach(ListViewStyle style);
    // Where the edit box of the edited row stands, in the coordinates of the views' container.
    QRect EditPlace() const;
    void FinishEdit(std::optional<std::string> text);
    void DropEdit();

    // From the views.
    void OnViewCurrentChanged(int now, int before);
    void OnViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void OnViewBeginDrag(int row, const QPoint& at);
    void OnViewRightClick(int row, const QPoint& at);

    QtRegistration<QtListControl> registration_;
    ListControlEvents& events_;
    std::unique_ptr<QtListModel> model_;
    std::unique_ptr<QItemSelectionModel> selection_;
    QPointer<QWidget> host_;
    QPointer<QStackedWidget> stack_;
    QPointer<QtListView<QTreeView>> report_;
    QPointer<QtListView<QListView>> icons_;
    ListViewStyle style_ = ListViewStyle::LargeIcons;
    const ImageList* normal_ = nullptr;
    const ImageList* small_ = nullptr;
    int focused_ = -1;
    // The edited row follows its row when rows are inserted or deleted before it.
    int editRow_ = -1;
    QtLabelEdit labelEdit_;
    int quiet_ = 0;
};

}  // namespace orbel::platform
