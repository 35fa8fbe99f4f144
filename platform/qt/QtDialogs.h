// The desktop's maker of live dialogs: each template becomes a QDialog of real widgets
// (QtDialog.h) whose windows belong to the desktop's window system.
#pragma once

#include <memory>

#include "platform/controls/Controls.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel::platform {

class QtWindows;

class QtDialogs final : public Dialogs {
  public:
    QtDialogs(QtWindows& windows, Controls& controls);

    // `parent`'s widget, when it has one, is where the dialog is shown; the dialog's window
    // is still one of its own.
    std::unique_ptr<LiveDialog> CreateDialog(const DialogTemplate& dialogTemplate,
                                             DialogOwner& owner, HWND parent) override;
    std::unique_ptr<LiveDialog> CreateForm(const DialogTemplate& formTemplate, DialogOwner& owner,
                                           HWND parent) override;

  private:
    QtWindows& windows_;
    Controls& controls_;
    // Dialogs that outlive the platform see this gone and leave its windows alone.
    std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
};

}  // namespace orbel::platform
