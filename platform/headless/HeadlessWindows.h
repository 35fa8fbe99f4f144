// Headless windows: a tree of plain records that answers and notifies like the real thing.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/WindowSystem.h"

namespace orbel::platform {

class HeadlessWindows final : public WindowSystem {
  public:
    HWND CreateWindow(const CreateWindowParams& params, WindowProcedure* proc) override;
    bool DestroyWindow(HWND window) override;
    bool IsWindow(HWND window) const override;
    HWND GetParent(HWND window) const override;
    std::vector<HWND> GetChildren(HWND window) const override;
    std::string GetClassName(HWND window) const override;
    UINT GetDlgCtrlID(HWND window) const override;
    bool EnableWindow(HWND window, bool enable) override;
    bool IsWindowEnabled(HWND window) const override;
    bool ShowWindow(HWND window, bool show) override;
    bool IsWindowVisible(HWND window) const override;
    HWND SetFocus(HWND window) override;
    HWND GetFocus() const override { return focus_; }
    RECT GetClientRect(HWND window) const override;
    RECT GetWindowRect(HWND window) const override;
    bool MoveWindow(HWND window, const RECT& rect, bool repaint) override;
    void InvalidateRect(HWND window, const RECT* rect) override;
    LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    Cursor SetCursor(Cursor cursor) override;
    Cursor GetCursor() const override { return cursor_; }
    HWND SetCapture(HWND window) override;
    bool ReleaseCapture() override;
    HWND GetCapture() const override { return capture_; }
    POINT GetCursorPos() const override { return mouse_; }
    POINT ClientToScreen(HWND window, POINT point) const override;
    POINT ScreenToClient(HWND window, POINT point) const override;
    HWND WindowFromPoint(POINT screen) const override;

    // What the user does with the mouse: moves it to a screen point (the window holding the
    // capture, else the window under the point, gets WM_MOUSEMOVE), or releases or presses a
    // button there.
    void UserMoveMouse(POINT screen);
    void UserMouseButton(UINT message, POINT screen);
    // Controls that live in a window take the messages meant for them (keys to a tree or a
    // list) before the window's procedure; the backend's controls set this.
    using ControlRouter = std::function<bool(HWND, UINT, WPARAM, LPARAM)>;
    void SetControlRouter(ControlRouter router) { router_ = std::move(router); }

    // How often a window was invalidated since it was created.
    int InvalidateCount(HWND window) const;
    // One line per window in creation order under each parent, indented by depth:
    // `CLASS #ID "TEXT" (l,t)-(r,b) [disabled] [hidden] [focus]`, then the cursor.
    std::string Dump() const;

  private:
    struct Record {
        std::string className;
        std::string text;
        HWND parent;
        UINT id = 0;
        RECT rect;
        bool enabled = true;
        bool visible = true;
        int invalidations = 0;
        WindowProcedure* proc = nullptr;
        std::vector<HWND> children;
    };
    const Record* Find(HWND window) const;
    HWND ChildFromPoint(HWND window, POINT screen) const;
    Record* Find(HWND window);
    void DumpTree(HWND window, int depth, std::string& out) const;

    std::map<std::uint32_t, Record> windows_;
    std::uint32_t nextHandle_ = 0x100;
    HWND focus_;
    HWND capture_;
    POINT mouse_;
    Cursor cursor_ = Cursor::Arrow;
    ControlRouter router_;
};

}  // namespace orbel::platform
