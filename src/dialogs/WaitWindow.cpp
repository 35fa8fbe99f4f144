#include "src/dialogs/WaitWindow.h"

#include "platform/Platform.h"
#include "src/resources/DialogTemplates.h"

namespace orbel {

CWaitWindow::CWaitWindow(UINT templateId, HWND owner, UINT overControl) {
    const platform::DialogTemplate* t = FindDialogTemplate(templateId);
    if (!t) return;
    dialog_ = std::make_unique<CDialog>(*t, owner);
    if (!dialog_->Create(owner)) return;
    platform::WindowSystem& windows = platform::GetPlatform().Windows();
    HWND over = owner;
    if (owner)
        for (HWND child : windows.GetChildren(owner))
            if (windows.GetDlgCtrlID(child) == overControl) over = child;
    dialog_->CenterWindow(over);
    // The slow step that follows keeps the loop from painting it.
    dialog_->UpdateWindow();
}

CWaitWindow::~CWaitWindow() {
    if (dialog_) dialog_->DestroyWindow();
}

}  // namespace orbel
