// Splitter windows: a grid of panes, each a view made from a runtime class. A static splitter
// has a fixed grid; a dynamic one starts with one pane and splits a row on demand (up to its
// maximum) and deletes it again. The splitter owns the views in its panes.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Wnd.h"

namespace orbel {

// What a pane is made of: a class name and a way to make an object of that class.
struct CRuntimeClass {
    const char* className = "";
    std::unique_ptr<CWnd> (*create)() = nullptr;
};

inline constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
inline constexpr DWORD SPLS_DYNAMIC_SPLIT = 0x0001;

class CSplitterWnd : public CWnd {
  public:
    CSplitterWnd();
    ~CSplitterWnd() override;

    // A static grid of rows x cols; the panes are made afterwards with CreateView.
    bool CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id = AFX_IDW_PANE_FIRST);
    // A dynamic splitter of one pane holding `firstView`, that may grow to maxRows x maxCols.
    bool Create(CWnd* parent, int maxRows, int maxCols, SIZE minPane,
                const CRuntimeClass& firstView, DWORD style, UINT id = AFX_IDW_PANE_FIRST);
    // Makes the view of `viewClass` in the pane, as a child window with the pane's ID; its
    // initial width or height is the pane's ideal size where given. False when the class
    // makes no view or its window fails.
    virtual bool CreateView(int row, int col, const CRuntimeClass& viewClass, SIZE initial);
    // Destroys the view of the pane; the pane stays empty until CreateView.
    void DeleteView(int row, int col);

    // Adds a row below the first, the first keeping `cyBefore` pixels; its view is made with
    // CreateView from the first view's class. False when the splitter is static, already has
    // its most rows, or the view cannot be made (the row is then not added).
    bool SplitRow(int cyBefore);
    // Removes the last row and its views. The first row stays while a second one exists: its
    // panes keep their IDs, and a window's ID cannot change afterwards.
    void DeleteRow(int row);

    // The window in the pane: the view the splitter made there, or any window of the
    // framework that was created as the splitter's child with the pane's ID (a splitter
    // nested in a pane of another).
    CWnd* GetPane(int row, int col) const;
    UINT IdFromRowCol(int row, int col) const {
        return AFX_IDW_PANE_FIRST + static_cast<UINT>(row * 16 + col);
    }
    int GetRowCount() const { return rows_; }
    int GetColumnCount() const { return cols_; }
    bool IsDynamic() const { return dynamic_; }

    DWORD GetStyle() const { return style_; }
    void ModifyStyle(DWORD remove, DWORD add);
    // Ideal sizes; a static splitter gives a column of ideal width 0 no room.
    void SetColumnInfo(int col, int ideal, int minimum);
    void SetRowInfo(int row, int ideal, int minimum);

    // Places the panes in the client area: columns and rows take their ideal sizes, the last
    // one takes what is left.
    virtual void RecalcLayout();

  protected:
    void OnSize(int cx, int cy) override;

  private:
    struct Pane {
        std::unique_ptr<CWnd> view;
    };
    struct Info {
        int ideal = 0;
        int minimum = 0;
    };
    bool CreateWindowOnce(CWnd* parent, DWORD style, UINT id);

    CWnd* parent_ = nullptr;
    bool dynamic_ = false;
    int rows_ = 0;
    int cols_ = 0;
    int maxRows_ = 1;
    int maxCols_ = 1;
    SIZE minPane_;
    DWORD style_ = 0;
    CRuntimeClass firstView_;
    std::map<std::pair<int, int>, Pane> panes_;
    std::vector<Info> rowInfo_;
    std::vector<Info> colInfo_;
};

}  // namespace orbel
