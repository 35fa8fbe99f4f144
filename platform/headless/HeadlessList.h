// The headless list control: columns and rows in plain records, row states and their change
// notifications as the real control gives them. Tests act as the user through the User* calls
// and compare Dump() as text.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/ListControl.h"
#include "platform/headless/HeadlessControlRegistry.h"
#include "platform/headless/HeadlessEditBox.h"

namespace orbel::platform {

class HeadlessListControl final : public ListControl {
  public:
    HeadlessListControl(std::weak_ptr<HeadlessControlRegistry> registry, HWND window,
                        ListControlEvents& events);

    int InsertColumn(int index, std::string_view title, ListAlign align, int width) override;
    bool DeleteColumn(int index) override;
    int GetColumnCount() const override { return static_cast<int>(columns_.size()); }
    std::string GetColumnTitle(int index) const override;
    int GetColumnWidth(int index) const override;
    ListAlign GetColumnAlign(int index) const override;

    int InsertItem(int index, std::string_view text, int image) override;
    bool DeleteItem(int row) override;
    void DeleteAllItems() override;
    int GetItemCount() const override { return static_cast<int>(rows_.size()); }
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

    void SetViewStyle(ListViewStyle style) override { style_ = style; }
    ListViewStyle GetViewStyle() const override { return style_; }
    void SetImageLists(const ImageList* normal, const ImageList* small) override;
    void RedrawNow() override { ++redraws_; }

    // What the user does. A click on row -1 (empty space) clears the selection; a double or
    // right click first selects the row as a click does (a right click only when the row is
    // not selected yet). UserEditLabel returns whether the label changed.
    void UserClick(int row);
    void UserToggleSelect(int row);
    void UserDoubleClick(int row);
    void UserKeyDown(UINT key) { OnWindowMessage(WM_KEYDOWN, key, 0); }
    void UserRightClick(int row, POINT point);
    void UserBeginDrag(int row, POINT point) { events_.OnListBeginDrag(row, point); }
    bool UserEditLabel(int row, std::optional<std::string> text);
    // The open edit box, or null.
    HeadlessEditBox* EditBox() { return labelEdit_.Box(); }

    // The messages the control takes from its window: a key goes to the events object, then
    // moves the focus and the selection as the key does. False for messages it leaves to the
    // window's procedure.
    bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND Window() const { return registration_.Window(); }
    const ImageList* NormalImages() const { return normal_; }
    const ImageList* SmallImages() const { return small_; }
    int RedrawCount() const { return redraws_; }
    // `columns: TITLE | TITLE ...`, then one line per row:
    // `ROW key=K image=I[ selected][ focused][ drop][ editing]: TEXT | TEXT ...` with one
    // text per column.
    std::string Dump() const;

  private:
    struct Column {
        std::string title;
        ListAlign align = ListAlign::Left;
        int width = 0;
    };
    struct Row {
        std::vector<std::string> texts;  // by column; missing ones are empty
        int image = 0;
        DWORD data = 0;
        UINT state = 0;
    };
    void FinishEdit(std::optional<std::string> text);
    void DropEdit();
    int FirstColumnWidth() const;
    int FocusedRow() const;
    bool Valid(int row) const { return row >= 0 && row < GetItemCount(); }
    Row& At(int row) { return rows_[static_cast<std::size_t>(row)]; }
    const Row& At(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    RegisteredModel<HeadlessListControl> registration_;
    ListControlEvents& events_;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    ListViewStyle style_ = ListViewStyle::LargeIcons;
    const ImageList* normal_ = nullptr;
    const ImageList* small_ = nullptr;
    int redraws_ = 0;
    // The edited row follows its row when rows are inserted or deleted before it.
    int editRow_ = -1;
    HeadlessLabelEdit labelEdit_;
    // Gone with the control: a handler that destroys it is noticed.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace orbel::platform
