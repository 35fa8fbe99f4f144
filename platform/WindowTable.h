// The windows' bookkeeping that every window system keeps alike: the table of records with
// parent, children, class, control ID, text and rectangle; the destroy order; the enabled and
// shown states and the visibility chain; the focus with its WM_SETFOCUS/WM_KILLFOCUS; the
// capture, the cursor and the mouse position. A backend tells its widgets through the hooks and
// overrides what its widgets know better (geometry on the desktop).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/WindowSystem.h"

namespace orbel::platform {

class WindowTable : public WindowSystem {
  public:
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
    // Geometry from the records: a window's rectangle as set, stacked on its parents'.
    RECT GetClientRect(HWND window) const override;
    RECT GetWindowRect(HWND window) const override;
    bool MoveWindow(HWND window, const RECT& rect, bool repaint) override;
    void InvalidateRect(HWND window, const RECT* rect) override;
    void UpdateWindow(HWND window) override;
    POINT ClientToScreen(HWND window, POINT point) const override;
    POINT ScreenToClient(HWND window, POINT point) const override;
    HWND WindowFromPoint(POINT screen) const override;
    LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    Cursor SetCursor(Cursor cursor) override;
    Cursor GetCursor() const override { return cursor_; }
    HWND SetCapture(HWND window) override;
    bool ReleaseCapture() override;
    HWND GetCapture() const override { return capture_; }
    POINT GetCursorPos() const override { return mouse_; }

    // Controls that live in a window take the messages meant for them (keys to a tree or a
    // list) before the window's procedure; the backend's controls set this.
    using ControlRouter = std::function<bool(HWND, UINT, WPARAM, LPARAM)>;
    void SetControlRouter(ControlRouter router) { router_ = std::move(router); }

  protected:
    struct Record {
        virtual ~Record() = default;
        std::string className;
        std::string text;
        HWND parent;
        UINT id = 0;
        // The rectangle last set or reported to the window with WM_SIZE.
        RECT rect;
        bool enabled = true;
        bool visible = true;
        WindowProcedure* proc = nullptr;
        std::vector<HWND> children;
    };

    // Enters the record under its parent, then sends WM_CREATE (an answer of -1 destroys it
    // again: none) and WM_SIZE. `made` runs between, when the handle is known.
    HWND Insert(std::unique_ptr<Record> record, const std::function<void(HWND)>& made = {});
    const Record* Find(HWND window) const;
    Record* Find(HWND window);
    // The window's size is now `width` by `height`: it hears so once.
    void Resized(HWND window, int width, int height);
    // The focus moved to `window` (none: nowhere); the windows losing and gaining it hear so.
    void MoveFocus(HWND window);
    void SetMousePos(POINT screen) { mouse_ = screen; }
    // The windows without a parent, oldest first.
    std::vector<HWND> TopWindows() const;

    // The widget side. Each runs after the record changed and before the window hears of it.
    virtual void OnEnable(HWND /*window*/, bool /*enable*/) {}
    virtual void OnShow(HWND /*window*/, bool /*show*/) {}
    // After WM_SETFOCUS, when the program moves the focus.
    virtual void OnFocus(HWND /*window*/) {}
    // False when the window cannot move (its widget is gone).
    virtual bool OnMove(HWND /*window*/, const RECT& /*rect*/, bool /*repaint*/) { return true; }
    virtual void OnInvalidate(HWND /*window*/, const RECT* /*rect*/) {}
    virtual void OnUpdate(HWND /*window*/) {}
    virtual void OnCapture(HWND /*previous*/, HWND /*window*/) {}
    virtual void OnCursor(Cursor /*cursor*/) {}
    // The record has left the table (its children before it).
    virtual void OnRemoved(HWND /*window*/, Record& /*record*/) {}

  private:
    HWND ChildFromPoint(HWND window, POINT screen) const;

    std::map<std::uint32_t, std::unique_ptr<Record>> windows_;
    std::uint32_t nextHandle_ = 0x100;
    HWND focus_;
    HWND capture_;
    POINT mouse_;
    Cursor cursor_ = Cursor::Arrow;
    ControlRouter router_;
};

}  // namespace orbel::platform
