// A "Please wait..." window shown over part of a dialog while a slow step runs on the same
// thread: it is up from when it is made until it is destroyed, and nothing waits for the user.
#pragma once

#include <memory>

#include "platform/Win.h"
#include "platform/framework/Dialog.h"

namespace orbel {

class CWaitWindow final {
  public:
    // Shown modeless, centred over the window of control `overControl` of the dialog window
    // `owner`, or over the owner when the control has no window of its own.
    CWaitWindow(UINT templateId, HWND owner, UINT overControl);
    ~CWaitWindow();
    CWaitWindow(const CWaitWindow&) = delete;
    CWaitWindow& operator=(const CWaitWindow&) = delete;

  private:
    std::unique_ptr<CDialog> dialog_;
};

}  // namespace orbel
