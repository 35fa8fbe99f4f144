// The "Please wait..." window with a progress text, shown over a pane while a long loop runs
// and gone when the loop ends. It takes no input: the loop keeps the user-interface thread.
#pragma once

#include <memory>
#include <string>

#include "platform/dialogs/Dialogs.h"
#include "platform/framework/Wnd.h"

namespace orbel {

class CWaitWindow final : private platform::DialogOwner {
  public:
    // Shows the window centred over `over`.
    explicit CWaitWindow(CWnd& over);
    ~CWaitWindow() override;
    CWaitWindow(const CWaitWindow&) = delete;
    CWaitWindow& operator=(const CWaitWindow&) = delete;

    // Replaces the text and draws it at once.
    void SetText(const std::string& text);
    void Hide();

  private:
    void OnDialogInit(platform::LiveDialog&) override {}
    void OnDialogCommand(UINT, UINT) override {}
    void OnDialogClose() override {}

    std::unique_ptr<platform::LiveDialog> m_window;
};

}  // namespace orbel
