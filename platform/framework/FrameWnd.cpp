#include "platform/framework/FrameWnd.h"

#include <algorithm>

#include "platform/framework/SplitterWnd.h"
#include "platform/framework/ToolBar.h"

namespace orbel {

using platform::GetPlatform;

bool CFrameWnd::Create(const std::string& className, DWORD style, const RECT& rect, HWND parent,
                       UINT id) {
    return CWnd::Create(className, std::string(), style, rect, parent, id);
}

int CFrameWnd::OnCreate() {
    return OnCreateClient() ? 0 : -1;
}

bool CFrameWnd::OnCreateClient() {
    return true;
}

void CFrameWnd::DockControlBar(CToolBar* bar) {
    if (bar && std::find(bars_.begin(), bars_.end(), bar) == bars_.end()) bars_.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CToolBar* bar) {
    std::erase(bars_, bar);
}

RECT CFrameWnd::ClientArea() const {
    RECT area = GetClientRect();
    for (const CToolBar* bar : bars_)
        if (bar->GetSafeHwnd()) area.top += bar->BarHeight();
    area.top = std::min(area.top, area.bottom);
    return area;
}

void CFrameWnd::RecalcLayout() {
    if (!GetSafeHwnd()) return;
    const RECT client = GetClientRect();
    int top = 0;
    for (CToolBar* bar : bars_) {
        const int height = bar->GetSafeHwnd() ? bar->BarHeight() : 0;
        if (height == 0) continue;
        bar->MoveWindow(RECT{0, top, client.right, top + height});
        top += height;
    }
    auto& windows = GetPlatform().Windows();
    for (HWND child : windows.GetChildren(GetSafeHwnd())) {
        if (windows.GetDlgCtrlID(child) != AFX_IDW_PANE_FIRST) continue;
        windows.MoveWindow(child, ClientArea(), true);
        break;
    }
}

void CFrameWnd::OnSize(int, int) {
    RecalcLayout();
}

bool CFrameWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(static_cast<UINT>(LOWORD(static_cast<LPARAM>(wParam))), nullptr);
}

}  // namespace orbel
