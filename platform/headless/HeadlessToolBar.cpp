#include "platform/headless/HeadlessToolBar.h"

#include "platform/controls/ControlText.h"

namespace orbel::platform {

HeadlessToolBarControl::HeadlessToolBarControl(std::weak_ptr<HeadlessControlRegistry> registry,
                                               HWND window, ToolBarControlEvents& events)
    : registration_(std::move(registry), &HeadlessControlRegistry::toolBars, window, this),
      events_(events) {}

void HeadlessToolBarControl::SetButtons(const std::vector<ToolButton>& buttons, int buttonWidth,
                                        int buttonHeight) {
    buttons_ = buttons;
    states_.assign(buttons_.size(), State{});
    width_ = buttonWidth;
    height_ = buttonHeight;
}

std::size_t HeadlessToolBarControl::IndexOf(UINT id) const {
    if (id == 0) return buttons_.size();
    std::size_t i = 0;
    while (i < buttons_.size() && buttons_[i].id != id) ++i;
    return i;
}

HeadlessToolBarControl::State* HeadlessToolBarControl::Find(UINT id) {
    std::size_t i = IndexOf(id);
    return i < states_.size() ? &states_[i] : nullptr;
}

const HeadlessToolBarControl::State* HeadlessToolBarControl::Find(UINT id) const {
    std::size_t i = IndexOf(id);
    return i < states_.size() ? &states_[i] : nullptr;
}

bool HeadlessToolBarControl::EnableButton(UINT id, bool enable) {
    State* s = Find(id);
    if (!s) return false;
    s->enabled = enable;
    return true;
}

bool HeadlessToolBarControl::CheckButton(UINT id, bool check) {
    State* s = Find(id);
    if (!s) return false;
    s->checked = check;
    return true;
}

bool HeadlessToolBarControl::HideButton(UINT id, bool hide) {
    State* s = Find(id);
    if (!s) return false;
    s->hidden = hide;
    return true;
}

bool HeadlessToolBarControl::IsButtonEnabled(UINT id) const {
    const State* s = Find(id);
    return s && s->enabled;
}

bool HeadlessToolBarControl::IsButtonChecked(UINT id) const {
    const State* s = Find(id);
    return s && s->checked;
}

bool HeadlessToolBarControl::IsButtonHidden(UINT id) const {
    const State* s = Find(id);
    return s && s->hidden;
}

bool HeadlessToolBarControl::UserClick(UINT id) {
    const State* s = Find(id);
    if (!s || !s->enabled || s->hidden) return false;
    events_.OnToolButtonClicked(id);
    return true;
}

std::string HeadlessToolBarControl::Dump() const {
    return DescribeToolBar(*this);
}

}  // namespace orbel::platform
