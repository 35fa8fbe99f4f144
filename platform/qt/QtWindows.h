// Desktop windows: every window handle stands for a QWidget. Windows the control creates are
// plain widgets of ours; a host's widget (the frame the control sits in) or a dialog's control
// can be adopted as a window too. Qt's events on a window's widget reach its procedure as the
// original platform's messages (size, mouse, focus); keys pass the message hooks first.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "platform/WindowTable.h"

namespace orbel::platform {

class QtLoop;

class QtWindows final : public QObject, public WindowTable {
    Q_OBJECT
  public:
    explicit QtWindows(QtLoop& loop);
    ~QtWindows() override;

    HWND CreateWindow(const CreateWindowParams& params, WindowProcedure* proc) override;
    // Geometry from the widgets, which a host's layout moves too.
    RECT GetClientRect(HWND window) const override;
    RECT GetWindowRect(HWND window) const override;
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
    void SetCursorPos(POINT screen) { SetMousePos(screen); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct QtRecord : Record {
        QPointer<QWidget> widget;
        bool owned = false;  // made here; deleted with the window
        // The widget inside that had the focus when the window was disabled.
        QPointer<QWidget> focusWhileDisabled;
    };
    const QtRecord* Native(HWND window) const;
    QtRecord* Native(HWND window);
    HWND Register(QWidget* widget, std::unique_ptr<QtRecord> record);
    void OnEnable(HWND window, bool enable) override;
    void OnShow(HWND window, bool show) override;
    void OnFocus(HWND window) override;
    bool OnMove(HWND window, const RECT& rect, bool repaint) override;
    void OnInvalidate(HWND window, const RECT* rect) override;
    void OnUpdate(HWND window) override;
    void OnCapture(HWND previous, HWND window) override;
    void OnCursor(Cursor cursor) override;
    void OnRemoved(HWND window, Record& record) override;
    bool MouseMessage(HWND window, QEvent* event);
    class KeyHook;
    // A key reaching a widget: true when a message hook consumed it.
    bool OnKeyPress(QWidget* receiver, QEvent* event);
    void OnFocusChanged(QWidget* old, QWidget* now);

    QtLoop& loop_;
    std::unique_ptr<KeyHook> keyHook_;
    std::map<const QObject*, std::uint32_t> byWidget_;
    bool settingFocus_ = false;
};

}  // namespace orbel::platform
