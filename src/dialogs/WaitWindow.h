// A "Please wait..." window, shown modeless over a window while a slow step or a long loop runs
// on the user-interface thread: up from when it is made until it goes, and it waits for nobody.
#pragma once

#include <memory>
#include <string>

#include "platform/Win.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/Wnd.h"

namespace orbel {

class CWaitWindow final {
  public:
    // Centred over the window of control `overControl` of the dialog window `owner`, or over
    // the owner when the control has no window of its own.
    CWaitWindow(UINT templateId, HWND owner, UINT overControl);
    // Centred over the pane `over`, which also owns it.
    CWaitWindow(UINT templateId, CWnd& over);
    ~CWaitWindow();
    CWaitWindow(const CWaitWindow&) = delete;
    CWaitWindow& operator=(const CWaitWindow&) = delete;

    // Replaces the text and draws it at once; the transcript shows `waitwindow "TEXT"`.
    void SetText(const std::string& text);
    void Hide();

  private:
    void Show(UINT templateId, HWND owner, HWND over);

    std::unique_ptr<CDialog> dialog_;
};

}  // namespace orbel
