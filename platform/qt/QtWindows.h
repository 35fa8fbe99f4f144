// Desktop windows: every window handle stands for a QWidget. Windows the control creates are
// plain widgets of ours; a host's widget (the frame the control sits in) or a dialog's control
// can be adopted as a window too. Qt's events on a window's widget reach its procedure as the
// original platform's messages (size, mouse, focus); keys pass the message hooks first.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/WindowSystem.h"

namespace orbel::platform {

class QtLoop;

class QtWindows final : public QObject, public WindowSystem {
    Q_OBJECT
  public:
    explicit QtWindows(QtLoop& loop);
    ~QtWindows() override;

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
    POINT GetCursorPos() const override;
    POINT ClientToScreen(HWND window, POINT point) const override;
    POINT ScreenToClient(HWND window, POINT point) const override;
    HWND WindowFromPoint(POINT screen) const override;

    // Makes an existing widget a window of this system under `parent` (none: a window of its
    // own), sending it WM_CREATE like a created one. The widget stays the caller's: destroying
    // the window only forgets it. `proc` may be null.
    HWND Adopt(QWidget* widget, const std::string& className, HWND parent, UINT id,
               WindowProcedure* proc);
    // The widget of a window; null for none.
    QWidget* Widget(HWND window) const;
    // The window a widget belongs to: its own, else the nearest ancestor's; none for a widget
    // outside every window.
    HWND WindowOf(const QObject* object) const;
    // Sets where the mouse is, as a person moving it would (offscreen there is no pointer).
    void SetCursorPos(POINT screen) { mouse_ = screen; }
    // Controls living in a window take the messages meant for them (keys sent to a tree or a
    // list) before the window's procedure; the backend's controls set this.
    using ControlRouter = std::function<bool(HWND, UINT, WPARAM, LPARAM)>;
    void SetControlRouter(ControlRouter router) { router_ = std::move(router); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Record {
        QPointer<QWidget> widget;
        std::string className;
        HWND parent;
        UINT id = 0;
        bool owned = false;  // made here; deleted with the window
        bool enabled = true;
        bool visible = true;
        WindowProcedure* proc = nullptr;
        std::vector<HWND> children;
        int reportedWidth = -1;
        int reportedHeight = -1;
        // The widget inside that had the focus when the window was disabled.
        QPointer<QWidget> focusWhileDisabled;
    };
    const Record* Find(HWND window) const;
    Record* Find(HWND window);
    HWND Register(QWidget* widget, const std::string& className, HWND parent, UINT id,
                  WindowProcedure* proc, bool owned);
    bool MouseMessage(HWND window, QEvent* event);
    class KeyHook;
    // A key reaching a widget: true when a message hook consumed it.
    bool OnKeyPress(QWidget* receiver, QEvent* event);
    void OnFocusChanged(QWidget* old, QWidget* now);
    void ApplyCursor();

    QtLoop& loop_;
    std::unique_ptr<KeyHook> keyHook_;
    std::map<std::uint32_t, Record> windows_;
    std::map<const QObject*, std::uint32_t> byWidget_;
    std::uint32_t nextHandle_ = 0x100;
    HWND focus_;
    HWND capture_;
    POINT mouse_;
    Cursor cursor_ = Cursor::Arrow;
    bool settingFocus_ = false;
    ControlRouter router_;
};

}  // namespace orbel::platform
