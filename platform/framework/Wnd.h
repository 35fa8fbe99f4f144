// The framework's window object: a C++ object bound to a window handle, whose procedure
// turns messages into virtual handlers, and the pre-translation walk that lets a window see
// keys before they are dispatched.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "platform/Win.h"

namespace orbel {

class CWnd : public platform::WindowProcedure {
  public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    bool Create(const std::string& className, const std::string& text, DWORD style,
                const RECT& rect, HWND parent, UINT id);
    bool DestroyWindow();
    HWND GetSafeHwnd() const { return hwnd_; }

    // The object bound to a handle, or null for a window the framework did not create.
    static CWnd* FromHandlePermanent(HWND window);
    // From msg.hwnd up through its parents (stopping after `stop`, or at the top), offers the
    // message to each bound object's PreTranslateMessage; true when one consumed it.
    static bool WalkPreTranslateTree(HWND stop, MSG& msg);

    virtual bool PreTranslateMessage(MSG& msg);

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Conveniences on the bound window.
    bool EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    bool ShowWindow(bool show);
    HWND SetFocus();
    RECT GetClientRect() const;
    bool MoveWindow(const RECT& rect, bool repaint = true);
    void Invalidate(const RECT* rect = nullptr);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    HWND SetCapture();
    POINT ClientToScreen(POINT point) const;
    POINT ScreenToClient(POINT point) const;

  protected:
    // 0 to go on, -1 to fail the creation.
    virtual int OnCreate();
    virtual void OnDestroy();
    virtual void OnSize(int cx, int cy);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnMouseMove(POINT point);
    virtual void OnLButtonUp(POINT point);
    // A key went down (WM_KEYDOWN); repeat count and flags as the message carries them.
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnPaint();
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    // Called once the window is gone; the object may still be in use by its owner.
    virtual void PostNcDestroy();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void Attach(HWND window);
    void Detach();
    HWND hwnd_;
};

}  // namespace orbel
