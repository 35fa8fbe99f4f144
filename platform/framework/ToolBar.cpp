#include "platform/framework/ToolBar.h"

#include "platform/controls/Controls.h"

namespace orbel {

using platform::GetPlatform;

namespace {
// The low word of a bar's creation style holds the bar styles; the rest is the window's.
constexpr DWORD kBarStyleBits = 0xFFFF;
// Room around the buttons: the bar's border and its gap to the buttons.
constexpr int kBarBorder = 8;
}  // namespace

CToolBar::CToolBar() = default;

CToolBar::~CToolBar() {
    // Destroy the window while this is still a toolbar, so that OnDestroy drops the idle
    // handler and the control.
    if (GetSafeHwnd() && platform::HasPlatform()) DestroyWindow();
    if (idle_ && platform::HasPlatform()) GetPlatform().Loop().RemoveIdleHandler(idle_);
}

bool CToolBar::Create(CWnd* parent, DWORD style, UINT id, CCmdTarget* owner) {
    owner_ = owner ? owner : dynamic_cast<CCmdTarget*>(parent);
    barStyle_ = style & kBarStyleBits;
    const DWORD windowStyle = (style & ~kBarStyleBits) | WS_CHILD;
    shown_ = (windowStyle & WS_VISIBLE) != 0;
    return CWnd::Create("ToolbarWindow32", std::string(), windowStyle, RECT{},
                        parent ? parent->GetSafeHwnd() : kNoWindow, id);
}

int CToolBar::OnCreate() {
    control_ = GetPlatform().CommonControls().CreateToolBarControl(GetSafeHwnd(), *this);
    if (!control_) return -1;
    idle_ = GetPlatform().Loop().AddIdleHandler([this] { OnUpdateCmdUI(); });
    return 0;
}

void CToolBar::OnDestroy() {
    if (idle_) GetPlatform().Loop().RemoveIdleHandler(idle_);
    idle_ = 0;
    control_.reset();
    CWnd::OnDestroy();
}

bool CToolBar::LoadToolBar(const ToolBarResource& resource,
                           const std::function<std::string(UINT)>& commandText) {
    if (!control_) return false;
    std::vector<platform::ToolButton> buttons;
    for (UINT id : resource.buttons) {
        platform::ToolButton button{id, {}, {}};
        if (id != 0 && commandText) {
            const std::string text = commandText(id);
            const auto lineBreak = text.find('\n');
            button.text = text.substr(0, lineBreak);
            if (lineBreak != std::string::npos) button.tip = text.substr(lineBreak + 1);
        }
        buttons.push_back(std::move(button));
    }
    control_->SetButtons(buttons, resource.buttonWidth, resource.buttonHeight);
    loaded_ = resource.id;
    OnUpdateCmdUI();
    return true;
}

int CToolBar::BarHeight() const {
    if (!control_ || !shown_ || control_->Buttons().empty()) return 0;
    return control_->ButtonHeight() + kBarBorder;
}

bool CToolBar::ShowWindow(bool show) {
    shown_ = show;
    return CWnd::ShowWindow(show);
}

void CToolBar::OnUpdateCmdUI() {
    if (!control_) return;
    // Copy the IDs: an update handler may load other buttons.
    std::vector<UINT> ids;
    for (const auto& button : control_->Buttons())
        if (button.id != 0) ids.push_back(button.id);
    for (UINT id : ids) {
        CCmdUI ui;
        ui.id = id;
        const bool handled = owner_ && owner_->OnCmdMsg(id, &ui);
        if (!control_) return;
        if (!handled)
            control_->EnableButton(id, false);
        else if (ui.enableChanged)
            control_->EnableButton(id, ui.enabled);
        if (handled && ui.checkChanged) control_->CheckButton(id, ui.checked);
    }
}

void CToolBar::OnToolButtonClicked(UINT id) {
    if (owner_) owner_->OnCmdMsg(id, nullptr);
}

}  // namespace orbel
