#include "platform/dialogs/Dialogs.h"

#include "platform/Platform.h"

namespace orbel::platform {

DialogOwner::~DialogOwner() = default;
LiveDialog::~LiveDialog() = default;
Dialogs::~Dialogs() = default;

ListControlEvents* DialogOwner::ListEventsFor(UINT) {
    return nullptr;
}

void DialogOwner::OnDialogSize(int, int) {}

int RunModalDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner, HWND parent) {
    Platform& platform = GetPlatform();
    std::unique_ptr<LiveDialog> dialog =
        platform.DialogFactory().CreateDialog(dialogTemplate, owner, parent);
    owner.OnDialogInit(*dialog);
    // A dialog may end while it initialises (nothing to choose from); it is then never shown.
    if (!dialog->IsEnded()) platform.User().RunModalDialog(*dialog);
    return dialog->Result();
}

std::unique_ptr<LiveDialog> ShowModelessDialog(const DialogTemplate& dialogTemplate,
                                               DialogOwner& owner, HWND parent) {
    Platform& platform = GetPlatform();
    std::unique_ptr<LiveDialog> dialog =
        platform.DialogFactory().CreateDialog(dialogTemplate, owner, parent);
    owner.OnDialogInit(*dialog);
    if (dialog->IsEnded()) return nullptr;
    platform.User().ShowModelessDialog(*dialog);
    return dialog;
}

void CloseModelessDialog(std::unique_ptr<LiveDialog>& dialog) {
    if (!dialog) return;
    GetPlatform().User().ModelessDialogClosing(*dialog);
    dialog.reset();
}

}  // namespace orbel::platform
