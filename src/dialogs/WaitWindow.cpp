#include "src/dialogs/WaitWindow.h"

#include "platform/EffectLog.h"
#include "platform/Platform.h"
#include "platform/automation/Variant.h"
#include "src/resources/DialogTemplates.h"

namespace orbel {

CWaitWindow::CWaitWindow(CWnd& over) {
    const platform::DialogTemplate* form = FindDialogTemplate(IDD_PLEASE_WAIT_PROGRESS);
    if (!form || !over.GetSafeHwnd()) return;
    auto& windows = platform::GetPlatform().Windows();
    m_window = platform::GetPlatform().DialogFactory().CreateForm(*form, *this, over.GetSafeHwnd());
    if (!m_window) return;
    const RECT size = platform::DialogUnitsToPixels(RECT{0, 0, form->width, form->height});
    const RECT client = windows.GetClientRect(over.GetSafeHwnd());
    const int cx = size.right - size.left, cy = size.bottom - size.top;
    const int x = (client.right - client.left - cx) / 2, y = (client.bottom - client.top - cy) / 2;
    windows.MoveWindow(m_window->Window(), RECT{x, y, x + cx, y + cy}, true);
    windows.ShowWindow(m_window->Window(), true);
}

CWaitWindow::~CWaitWindow() = default;

void CWaitWindow::SetText(const std::string& text) {
    platform::RecordEffect("waitwindow " + QuoteString(text));
    if (!m_window) return;
    m_window->SetText(platform::kStaticId, text);
    platform::GetPlatform().Windows().InvalidateRect(m_window->Window(), nullptr);
}

void CWaitWindow::Hide() {
    if (m_window) platform::GetPlatform().Windows().ShowWindow(m_window->Window(), false);
}

}  // namespace orbel
