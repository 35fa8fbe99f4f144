// Windows: a tree of handles with a class name, an enabled and a shown state, a rectangle, the
// keyboard focus and a window procedure. Not for: controls with their own data (tree, list,
// toolbar), which are separate interfaces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Win.h"

namespace orbel::platform {

class WindowSystem;

class WindowProcedure {
  public:
    virtual ~WindowProcedure();
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// The first window of the class below `root`, searching depth first; none when there is none.
HWND FindDescendant(const WindowSystem& windows, HWND root, std::string_view className);

enum class Cursor { Arrow, Hourglass };
const char* CursorName(Cursor c);

struct CreateWindowParams {
    std::string className;
    std::string text;
    DWORD style = WS_CHILD | WS_VISIBLE;
    RECT rect;  // in the parent's client coordinates
    HWND parent;
    UINT id = 0;
};

class WindowSystem {
  public:
    virtual ~WindowSystem();

    // Creates the window, then sends it WM_CREATE; a WM_CREATE answer of -1 destroys it again
    // and the result is kNoWindow. `proc` may be null (a window with default handling) and
    // must outlive the window.
    virtual HWND CreateWindow(const CreateWindowParams& params, WindowProcedure* proc) = 0;
    // Sends WM_DESTROY to the window and then to its children, and removes them all.
    virtual bool DestroyWindow(HWND window) = 0;
    virtual bool IsWindow(HWND window) const = 0;
    virtual HWND GetParent(HWND window) const = 0;
    virtual std::vector<HWND> GetChildren(HWND window) const = 0;
    virtual std::string GetClassName(HWND window) const = 0;
    virtual UINT GetDlgCtrlID(HWND window) const = 0;

    // Returns whether the window was disabled before.
    virtual bool EnableWindow(HWND window, bool enable) = 0;
    virtual bool IsWindowEnabled(HWND window) const = 0;
    virtual bool ShowWindow(HWND window, bool show) = 0;
    virtual bool IsWindowVisible(HWND window) const = 0;

    // Returns the window that had the focus.
    virtual HWND SetFocus(HWND window) = 0;
    virtual HWND GetFocus() const = 0;

    virtual RECT GetClientRect(HWND window) const = 0;
    // The window's rectangle in its parent's client coordinates.
    virtual RECT GetWindowRect(HWND window) const = 0;
    // Sends WM_SIZE when the size changes.
    virtual bool MoveWindow(HWND window, const RECT& rect, bool repaint) = 0;
    virtual void InvalidateRect(HWND window, const RECT* rect) = 0;
    // Paints what is invalid in the window and its children now, without waiting for the loop:
    // for a window the program changes while it is busy (a "please wait" text).
    virtual void UpdateWindow(HWND window) = 0;

    // Calls the window procedure at once.
    virtual LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    virtual Cursor SetCursor(Cursor cursor) = 0;
    virtual Cursor GetCursor() const = 0;

    // The mouse. While a window holds the capture it gets every mouse message, wherever the
    // mouse is; SetCapture returns the window that held it before.
    virtual HWND SetCapture(HWND window) = 0;
    virtual bool ReleaseCapture() = 0;
    virtual HWND GetCapture() const = 0;
    // The mouse position in screen coordinates.
    virtual POINT GetCursorPos() const = 0;
    virtual POINT ClientToScreen(HWND window, POINT point) const = 0;
    virtual POINT ScreenToClient(HWND window, POINT point) const = 0;
    // The deepest visible window at the screen point; none where there is no window.
    virtual HWND WindowFromPoint(POINT screen) const = 0;
};

}  // namespace orbel::platform
