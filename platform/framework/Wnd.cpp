#include "platform/framework/Wnd.h"

#include <map>

namespace orbel {

using platform::GetPlatform;

namespace {
// Handle to object for every window the framework created in this process.
std::map<std::uint32_t, CWnd*>& PermanentMap() {
    static std::map<std::uint32_t, CWnd*> map;
    return map;
}
}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (hwnd_ && platform::HasPlatform() && GetPlatform().Windows().IsWindow(hwnd_))
        GetPlatform().Windows().DestroyWindow(hwnd_);
    Detach();
}

void CWnd::Attach(HWND window) {
    hwnd_ = window;
    PermanentMap()[window.value] = this;
}

void CWnd::Detach() {
    if (hwnd_) {
        auto it = PermanentMap().find(hwnd_.value);
        if (it != PermanentMap().end() && it->second == this) PermanentMap().erase(it);
    }
    hwnd_ = kNoWindow;
}

bool CWnd::Create(const std::string& className, const std::string& text, DWORD style,
                  const RECT& rect, HWND parent, UINT id) {
    platform::CreateWindowParams p{className, text, style, rect, parent, id};
    HWND created = GetPlatform().Windows().CreateWindow(p, this);
    if (!created) {
        Detach();
        return false;
    }
    return true;
}

bool CWnd::DestroyWindow() {
    if (!hwnd_) return false;
    return GetPlatform().Windows().DestroyWindow(hwnd_);
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    auto it = PermanentMap().find(window.value);
    return it == PermanentMap().end() ? nullptr : it->second;
}

bool CWnd::WalkPreTranslateTree(HWND stop, MSG& msg) {
    auto& windows = GetPlatform().Windows();
    for (HWND w = msg.hwnd; w; w = windows.GetParent(w)) {
        if (CWnd* object = FromHandlePermanent(w))
            if (object->PreTranslateMessage(msg)) return true;
        if (w == stop) break;
    }
    return false;
}

bool CWnd::PreTranslateMessage(MSG&) {
    return false;
}

LRESULT CWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // WM_CREATE arrives before CreateWindow returns: bind the handle on the first message.
    if (!hwnd_) Attach(window);
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_DESTROY: {
            OnDestroy();
            return 0;
        }
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<UINT>(wParam), static_cast<UINT>(lParam & 0xFFFF),
                      static_cast<UINT>((lParam >> 16) & 0xFFFF));
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_COMMAND:
            if (OnCommand(wParam, lParam)) return 0;
            break;
        default:
            break;
    }
    return DefWindowProc(message, wParam, lParam);
}

int CWnd::OnCreate() {
    return 0;
}

void CWnd::OnDestroy() {
    // The platform removes the window right after its children; unbind now so nothing reaches
    // this object through the handle any more.
    Detach();
    PostNcDestroy();
}

void CWnd::OnSize(int, int) {}
void CWnd::OnTimer(UINT_PTR) {}
void CWnd::OnMouseMove(POINT) {}
void CWnd::OnLButtonUp(POINT) {}
void CWnd::OnKeyDown(UINT, UINT, UINT) {}
void CWnd::OnPaint() {}
bool CWnd::OnCommand(WPARAM, LPARAM) {
    return false;
}
void CWnd::PostNcDestroy() {}
LRESULT CWnd::DefWindowProc(UINT, WPARAM, LPARAM) {
    return 0;
}

bool CWnd::EnableWindow(bool enable) {
    return GetPlatform().Windows().EnableWindow(hwnd_, enable);
}
bool CWnd::IsWindowEnabled() const {
    return GetPlatform().Windows().IsWindowEnabled(hwnd_);
}
bool CWnd::ShowWindow(bool show) {
    return GetPlatform().Windows().ShowWindow(hwnd_, show);
}
HWND CWnd::SetFocus() {
    return GetPlatform().Windows().SetFocus(hwnd_);
}
RECT CWnd::GetClientRect() const {
    return GetPlatform().Windows().GetClientRect(hwnd_);
}
bool CWnd::MoveWindow(const RECT& rect, bool repaint) {
    return GetPlatform().Windows().MoveWindow(hwnd_, rect, repaint);
}
void CWnd::Invalidate(const RECT* rect) {
    GetPlatform().Windows().InvalidateRect(hwnd_, rect);
}
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return GetPlatform().Windows().SendMessage(hwnd_, message, wParam, lParam);
}
HWND CWnd::SetCapture() {
    return GetPlatform().Windows().SetCapture(hwnd_);
}
POINT CWnd::ClientToScreen(POINT point) const {
    return GetPlatform().Windows().ClientToScreen(hwnd_, point);
}
POINT CWnd::ScreenToClient(POINT point) const {
    return GetPlatform().Windows().ScreenToClient(hwnd_, point);
}

}  // namespace orbel
