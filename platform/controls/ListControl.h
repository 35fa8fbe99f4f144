// The list control: rows of texts in columns, each row with an image and a data word, shown
// in one of four view styles with a normal and a small image list. Notifications go to the
// events object the owner gives at creation.
// Not for: the window itself (WindowSystem) or what a row means (the panes).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Win.h"
#include "platform/controls/DroppedData.h"

namespace orbel::platform {

class ImageList;

enum class ListViewStyle { LargeIcons, SmallIcons, List, Report };
enum class ListAlign { Left, Right, Center };

// Row states, with the values the real control gives them.
inline constexpr UINT kListFocused = 0x1;
inline constexpr UINT kListSelected = 0x2;
inline constexpr UINT kListDropHilited = 0x8;

// Where a point lies relative to a row, as the real control's hit test reports it.
inline constexpr UINT kListHitNowhere = 0x0001;
inline constexpr UINT kListHitOnIcon = 0x0002;
inline constexpr UINT kListHitOnLabel = 0x0004;
inline constexpr UINT kListHitOnStateIcon = 0x0008;
inline constexpr UINT kListHitOnItem = kListHitOnIcon | kListHitOnLabel | kListHitOnStateIcon;

class ListControlEvents {
  public:
    virtual ~ListControlEvents();
    virtual void OnListItemChanged(int row, UINT oldState, UINT newState);
    virtual void OnListKeyDown(UINT key);
    virtual void OnListDoubleClick(int row);
    virtual void OnListRightClick(int row, POINT point);
    // A label edit is about to start; true refuses.
    virtual bool OnListBeginLabelEdit(int row);
    // A label edit ended; no text when cancelled. The label changes only when it returns true.
    virtual bool OnListEndLabelEdit(int row, const std::optional<std::string>& text);
    virtual void OnListBeginDrag(int row, POINT point);
    // Another program dropped data on a list that accepts drops; the drop was answered "link".
    virtual void OnListDrop(const DroppedData& data);
};

class ListControl {
  public:
    virtual ~ListControl();

    // Columns. Insert returns the index the column got, -1 on failure.
    virtual int InsertColumn(int index, std::string_view title, ListAlign align, int width) = 0;
    virtual bool DeleteColumn(int index) = 0;
    virtual int GetColumnCount() const = 0;
    virtual std::string GetColumnTitle(int index) const = 0;
    virtual int GetColumnWidth(int index) const = 0;
    virtual ListAlign GetColumnAlign(int index) const = 0;

    // Rows. Insert places the row at index (clamped to the count) and returns where it went.
    virtual int InsertItem(int index, std::string_view text, int image) = 0;
    virtual bool DeleteItem(int row) = 0;
    virtual void DeleteAllItems() = 0;
    virtual int GetItemCount() const = 0;
    virtual std::string GetItemText(int row, int column) const = 0;
    virtual bool SetItemText(int row, int column, std::string_view text) = 0;
    virtual DWORD GetItemData(int row) const = 0;
    virtual bool SetItemData(int row, DWORD data) = 0;
    virtual int GetItemImage(int row) const = 0;
    virtual bool SetItemImage(int row, int image) = 0;
    virtual UINT GetItemState(int row, UINT mask) const = 0;
    // Notifies OnListItemChanged when the state changed. Focus is held by one row at a time.
    virtual bool SetItemState(int row, UINT state, UINT mask) = 0;
    // Selected rows in row order.
    virtual std::vector<int> GetSelectedRows() const = 0;
    // The first row after `after` whose data word is `data`, -1 when none.
    virtual int FindItem(DWORD data, int after = -1) const;

    // What a list that is not drawn answers: no row under any point, no rectangles, no label
    // edit, no drag image and nothing to repaint.
    // The row under a point in client coordinates with kListHit* flags, -1 when none.
    virtual int HitTest(POINT point, UINT* flags) const;
    // The row's rectangle in client coordinates (its label alone with `labelOnly`).
    virtual bool GetItemRect(int row, RECT& rect, bool labelOnly) const;
    // Label editing of column 0: starts an edit box on the row after asking the events
    // object; false when refused. The limit applies to the running edit box.
    virtual bool EditLabel(int row);
    virtual bool LimitEditText(int characters);
    // The row being edited, -1 when no edit box is open.
    virtual int GetEditRow() const;
    // A one-image list showing the row as it is dragged; null for a row that is not there.
    virtual std::unique_ptr<ImageList> CreateDragImage(int row);
    // Repaints the rows at once.
    virtual void RedrawItems(int first, int last);

    virtual void SetViewStyle(ListViewStyle style) = 0;
    virtual ListViewStyle GetViewStyle() const = 0;
    virtual void SetImageLists(const ImageList* normal, const ImageList* small);
    virtual void RedrawNow();

    // Registers the list as a target for drops from other programs (off at creation); entering
    // and moving over it then always answer "link".
    virtual void AcceptDrops(bool accept) = 0;
    virtual bool AcceptsDrops() const = 0;
};

}  // namespace orbel::platform
