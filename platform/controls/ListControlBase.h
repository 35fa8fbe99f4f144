// The list control once for every backend: rows and columns kept in ListItems, row states with
// the focus on one row at a time and a notification for each change, what a person's clicks and
// keys do, and which row a label edit is on as rows come and go. A backend adds what it shows:
// it hears of each change to the records before and after it is made, shows state changes in
// its view, lays the rows out (hit test, rectangles, drag image) and opens its edit box.
// Not for: drawing or geometry, or the input a window system delivers (the backends take it and
// call the User* steps here).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/ListControl.h"
#include "platform/controls/ListItems.h"

namespace orbel::platform {

class ListControlBase : public ListControl {
  public:
    explicit ListControlBase(ListControlEvents& events) : events_(events) {}

    int InsertColumn(int index, std::string_view title, ListAlign align, int width) override;
    bool DeleteColumn(int index) override;
    int GetColumnCount() const override { return items_.ColumnCount(); }
    std::string GetColumnTitle(int index) const override;
    int GetColumnWidth(int index) const override;
    ListAlign GetColumnAlign(int index) const override;

    int InsertItem(int index, std::string_view text, int image) override;
    bool DeleteItem(int row) override;
    void DeleteAllItems() override;
    int GetItemCount() const override { return items_.Count(); }
    std::string GetItemText(int row, int column) const override;
    bool SetItemText(int row, int column, std::string_view text) override;
    DWORD GetItemData(int row) const override { return items_.Data(row); }
    bool SetItemData(int row, DWORD data) override { return items_.SetData(row, data); }
    int GetItemImage(int row) const override { return items_.Image(row); }
    bool SetItemImage(int row, int image) override;
    UINT GetItemState(int row, UINT mask) const override { return items_.State(row) & mask; }
    bool SetItemState(int row, UINT state, UINT mask) override;
    std::vector<int> GetSelectedRows() const override { return items_.Selected(); }
    int FindItem(DWORD data, int after = -1) const override { return items_.Find(data, after); }

    bool EditLabel(int row) override;
    int GetEditRow() const override { return editRow_; }

    void SetViewStyle(ListViewStyle style) override;
    ListViewStyle GetViewStyle() const override { return style_; }
    void SetImageLists(const ImageList* normal, const ImageList* small) override;
    void AcceptDrops(bool accept) override;
    bool AcceptsDrops() const override { return acceptsDrops_; }

    bool Valid(int row) const { return items_.Valid(row); }
    const ListItems& Items() const { return items_; }
    const ImageList* NormalImages() const { return normal_; }
    const ImageList* SmallImages() const { return small_; }

    // What a person does. A click on row -1 (empty space) clears the selection; a double or
    // right click first selects the row as a click does (a right click only when the row is
    // not selected yet).
    void UserClick(int row);
    void UserToggleSelect(int row);
    // Shift+click: the rows from the focused one to this one, and no others.
    void UserExtendSelect(int row);
    void UserDoubleClick(int row);
    void UserRightClick(int row, POINT point);
    void UserBeginDrag(int row, POINT point) { events_.OnListBeginDrag(row, point); }
    // Data another program dropped; false when the list accepts no drops.
    bool UserDrop(const DroppedData& data);

  protected:
    ListControlEvents& Events() { return events_; }
    // For what the view itself changes in the records (a column's width dragged by a person).
    ListItems& Records() { return items_; }

    // Sets a row's state: the focus leaves the row that had it, the view shows the change when
    // `show` (a change the view made itself is shown already), and the owner is told.
    void ChangeState(int row, UINT state, bool show);
    // A key: the owner hears of it first, then it moves the focus and the selection, unless
    // the owner destroyed the control.
    void KeyDown(UINT key);
    // Ends the label edit with the box's text, none when cancelled: the owner decides whether
    // the label takes it. The backend's edit box calls this when it ends.
    void FinishEdit(std::optional<std::string> text);

    // What the backend does; the defaults do nothing.
    virtual void OnChanging(const ListChange& change);
    virtual void OnChanged(const ListChange& change);
    // Puts a row's state into the view; ShowAllStates after every row's state was set at once.
    virtual void ShowState(int row, UINT old, UINT now);
    virtual void ShowAllStates();
    virtual void OnViewStyleChanged();
    virtual void OnImageListsChanged();
    virtual void OnAcceptDropsChanged();
    // The rows a page key moves by.
    virtual int PageRows() const = 0;
    // The edit box: whether one can open now, opening it over a row's label, ending the open
    // edit as Escape does, closing it after its edit ended, and closing it because its row went.
    virtual bool CanEditLabels() const;
    virtual void OpenEditBox(int row, const std::string& text) = 0;
    virtual void CancelEditBox() = 0;
    virtual void RetireEditBox() = 0;
    virtual void DropEditBox() = 0;

  private:
    void DropEdit();

    ListItems items_;
    ListControlEvents& events_;
    ListViewStyle style_ = ListViewStyle::LargeIcons;
    bool acceptsDrops_ = false;
    const ImageList* normal_ = nullptr;
    const ImageList* small_ = nullptr;
    // The edited row follows its row when rows are inserted or deleted before it.
    int editRow_ = -1;
    // Gone with the control: a handler that destroys it is noticed.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace orbel::platform
