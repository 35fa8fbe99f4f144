#include "platform/framework/SplitterWnd.h"

#include <algorithm>

namespace orbel {

using platform::GetPlatform;

namespace {

constexpr const char* kSplitterClassName = "CSplitterWnd";
// The low word of a splitter's style holds the splitter styles; the rest is the window's.
constexpr DWORD kSplitterStyleBits = 0xFFFF;
// The grid is addressed by pane IDs of 16 columns a row.
constexpr int kMaxGrid = 16;

struct Span {
    int start = 0;
    int size = 0;
};

// Rows or columns in order take their ideal size from what is left; the last takes the rest.
std::vector<Span> Distribute(const std::vector<int>& ideals, int total) {
    std::vector<Span> spans;
    int position = 0;
    for (std::size_t i = 0; i < ideals.size(); ++i) {
        const int left = std::max(0, total - position);
        const int size = i + 1 == ideals.size() ? left : std::clamp(ideals[i], 0, left);
        spans.push_back(Span{position, size});
        position += size;
    }
    return spans;
}

}  // namespace

CSplitterWnd::CSplitterWnd() = default;

CSplitterWnd::~CSplitterWnd() {
    // Destroy the windows while the views are whole objects, so their own OnDestroy runs.
    if (GetSafeHwnd() && platform::HasPlatform()) DestroyWindow();
}

bool CSplitterWnd::CreateWindowOnce(CWnd* parent, DWORD style, UINT id) {
    if (GetSafeHwnd()) return false;
    parent_ = parent;
    style_ = style;
    const DWORD windowStyle = (style & ~kSplitterStyleBits) | WS_CHILD;
    // The frame or the splitter around it places the window at its next layout.
    return CWnd::Create(kSplitterClassName, std::string(), windowStyle, RECT{},
                        parent ? parent->GetSafeHwnd() : kNoWindow, id);
}

bool CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id) {
    if (rows < 1 || cols < 1 || rows > kMaxGrid || cols > kMaxGrid) return false;
    dynamic_ = false;
    rows_ = maxRows_ = rows;
    cols_ = maxCols_ = cols;
    rowInfo_.assign(static_cast<std::size_t>(rows), Info{});
    colInfo_.assign(static_cast<std::size_t>(cols), Info{});
    panes_.clear();
    return CreateWindowOnce(parent, style, id);
}

bool CSplitterWnd::Create(CWnd* parent, int maxRows, int maxCols, SIZE minPane,
                          const CRuntimeClass& firstView, DWORD style, UINT id) {
    // A dynamic splitter splits once in each direction at most.
    if (maxRows < 1 || maxCols < 1 || maxRows > 2 || maxCols > 2) return false;
    dynamic_ = true;
    rows_ = cols_ = 1;
    maxRows_ = maxRows;
    maxCols_ = maxCols;
    minPane_ = minPane;
    firstView_ = firstView;
    rowInfo_.assign(static_cast<std::size_t>(maxRows), Info{});
    colInfo_.assign(static_cast<std::size_t>(maxCols), Info{});
    panes_.clear();
    if (!CreateWindowOnce(parent, style, id)) return false;
    if (!CreateView(0, 0, firstView, SIZE{})) {
        DestroyWindow();
        return false;
    }
    RecalcLayout();
    return true;
}

bool CSplitterWnd::CreateView(int row, int col, const CRuntimeClass& viewClass, SIZE initial) {
    if (!GetSafeHwnd() || row < 0 || col < 0 || row >= rows_ || col >= cols_) return false;
    auto it = panes_.find({row, col});
    if (it != panes_.end() && it->second.view) return false;
    if (!viewClass.create) return false;
    std::unique_ptr<CWnd> view = viewClass.create();
    if (!view) return false;
    // The view's own Create, so that a view class's OnCreate runs as for any window of its.
    if (!view->Create(viewClass.className, std::string(), WS_CHILD | WS_VISIBLE,
                      RECT{0, 0, initial.cx, initial.cy}, GetSafeHwnd(), IdFromRowCol(row, col)))
        return false;
    if (initial.cx > 0) colInfo_[static_cast<std::size_t>(col)].ideal = initial.cx;
    if (initial.cy > 0) rowInfo_[static_cast<std::size_t>(row)].ideal = initial.cy;
    panes_[{row, col}].view = std::move(view);
    return true;
}

void CSplitterWnd::DeleteView(int row, int col) {
    auto it = panes_.find({row, col});
    if (it == panes_.end()) return;
    std::unique_ptr<CWnd> view = std::move(it->second.view);
    panes_.erase(it);
    if (view && view->GetSafeHwnd()) view->DestroyWindow();
}

bool CSplitterWnd::SplitRow(int cyBefore) {
    if (!dynamic_ || rows_ >= maxRows_ || !GetSafeHwnd()) return false;
    const int height = GetClientRect().Height();
    const Info firstRow = rowInfo_[0];
    rows_ = 2;
    rowInfo_[0].ideal = std::max(0, cyBefore);
    for (int col = 0; col < cols_; ++col) {
        const SIZE initial{colInfo_[static_cast<std::size_t>(col)].ideal,
                           std::max(0, height - cyBefore)};
        if (!CreateView(1, col, firstView_, initial)) {
            for (int made = 0; made < col; ++made) DeleteView(1, made);
            rows_ = 1;
            rowInfo_[0] = firstRow;
            rowInfo_[1] = Info{};
            return false;
        }
    }
    RecalcLayout();
    return true;
}

void CSplitterWnd::DeleteRow(int row) {
    if (!dynamic_ || rows_ <= 1 || row != rows_ - 1) return;
    for (int col = 0; col < cols_; ++col) DeleteView(row, col);
    --rows_;
    rowInfo_[static_cast<std::size_t>(row)] = Info{};
    RecalcLayout();
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    if (row < 0 || col < 0 || row >= rows_ || col >= cols_) return nullptr;
    auto it = panes_.find({row, col});
    if (it != panes_.end() && it->second.view) return it->second.view.get();
    if (!GetSafeHwnd()) return nullptr;
    const UINT id = IdFromRowCol(row, col);
    auto& windows = GetPlatform().Windows();
    for (HWND child : windows.GetChildren(GetSafeHwnd()))
        if (windows.GetDlgCtrlID(child) == id)
            if (CWnd* pane = CWnd::FromHandlePermanent(child)) return pane;
    return nullptr;
}

void CSplitterWnd::ModifyStyle(DWORD remove, DWORD add) {
    style_ = (style_ & ~remove) | add;
}

void CSplitterWnd::SetColumnInfo(int col, int ideal, int minimum) {
    if (col < 0 || col >= static_cast<int>(colInfo_.size())) return;
    colInfo_[static_cast<std::size_t>(col)] = Info{ideal, minimum};
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum) {
    if (row < 0 || row >= static_cast<int>(rowInfo_.size())) return;
    rowInfo_[static_cast<std::size_t>(row)] = Info{ideal, minimum};
}

void CSplitterWnd::RecalcLayout() {
    if (!GetSafeHwnd()) return;
    const RECT client = GetClientRect();
    std::vector<int> rowIdeals, colIdeals;
    for (int r = 0; r < rows_; ++r)
        rowIdeals.push_back(rowInfo_[static_cast<std::size_t>(r)].ideal);
    for (int c = 0; c < cols_; ++c)
        colIdeals.push_back(colInfo_[static_cast<std::size_t>(c)].ideal);
    const std::vector<Span> rows = Distribute(rowIdeals, client.Height());
    const std::vector<Span> cols = Distribute(colIdeals, client.Width());
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            CWnd* pane = GetPane(r, c);
            if (!pane || !pane->GetSafeHwnd()) continue;
            const Span& y = rows[static_cast<std::size_t>(r)];
            const Span& x = cols[static_cast<std::size_t>(c)];
            const RECT rect = x.size == 0 || y.size == 0
                                  ? RECT{}
                                  : RECT{x.start, y.start, x.start + x.size, y.start + y.size};
            pane->MoveWindow(rect);
        }
    }
}

void CSplitterWnd::OnSize(int, int) {
    RecalcLayout();
}

}  // namespace orbel
