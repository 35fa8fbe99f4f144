#include "src/dialogs/WaitWindow.h"

#include "platform/EffectLog.h"
#include "platform/Platform.h"
#include "platform/automation/Variant.h"
#include "src/resources/DialogTemplates.h"

namespace orbel {

CWaitWindow::CWaitWindow(UINT templateId, HWND owner, UINT overControl) {
    platform::WindowSystem& windows = platform::GetPlatform().Windows();
    HWND over = owner;
    if (owner)
        for (HWND child : windows.GetChildren(owner))
            if (windows.GetDlgCtrlID(child) == overControl) over = child;
    Show(templateId, owner, over);
}

CWaitWindow::CWaitWindow(UINT templateId, CWnd& over) {
    Show(templateId, over.GetSafeHwnd(), over.GetSafeHwnd());
}

void CWaitWindow::Show(UINT templateId, HWND owner, HWND over) {
    const platform::DialogTemplate* t = FindDialogTemplate(templateId);
    if (!t) return;
    dialog_ = std::make_unique<CDialog>(*t, owner);
    if (!dialog_->Create(owner)) {
        dialog_.reset();
        return;
    }
    dialog_->CenterWindow(over);
    // The slow step that follows keeps the loop from painting it.
    dialog_->UpdateWindow();
}

CWaitWindow::~CWaitWindow() {
    if (dialog_) dialog_->DestroyWindow();
}

void CWaitWindow::SetText(const std::string& text) {
    platform::RecordEffect("waitwindow " + QuoteString(text));
    if (!dialog_) return;
    dialog_->SetDlgItemText(platform::kStaticId, text);
    dialog_->UpdateWindow();
}

void CWaitWindow::Hide() {
    if (dialog_ && dialog_->GetSafeHwnd())
        platform::GetPlatform().Windows().ShowWindow(dialog_->GetSafeHwnd(), false);
}

}  // namespace orbel
