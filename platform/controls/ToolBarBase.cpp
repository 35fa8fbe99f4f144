#include "platform/controls/ToolBarBase.h"

namespace orbel::platform {

void ToolBarBase::SetButtons(const std::vector<ToolButton>& buttons, int buttonWidth,
                             int buttonHeight) {
    buttons_ = buttons;
    states_.assign(buttons_.size(), State{});
    width_ = buttonWidth;
    height_ = buttonHeight;
    OnButtonsSet();
}

std::size_t ToolBarBase::IndexOf(UINT id) const {
    if (id == 0) return buttons_.size();
    std::size_t i = 0;
    while (i < buttons_.size() && buttons_[i].id != id) ++i;
    return i;
}

bool ToolBarBase::Set(UINT id, bool State::*field, bool value) {
    const std::size_t i = IndexOf(id);
    if (i >= states_.size()) return false;
    states_[i].*field = value;
    OnButtonState(i);
    return true;
}

RECT ToolBarBase::GetButtonRect(UINT id) const {
    constexpr int kButtonBorder = 7;
    constexpr int kSeparatorWidth = 8;
    const std::size_t index = IndexOf(id);
    if (index >= buttons_.size() || states_[index].hidden) return RECT{};
    int left = 0;
    for (std::size_t i = 0; i < index; ++i) {
        if (states_[i].hidden) continue;
        left += buttons_[i].id == 0 ? kSeparatorWidth : width_ + kButtonBorder;
    }
    return RECT{left, 0, left + width_ + kButtonBorder, height_ + kButtonBorder - 1};
}

bool ToolBarBase::EnableButton(UINT id, bool enable) {
    return Set(id, &State::enabled, enable);
}

bool ToolBarBase::CheckButton(UINT id, bool check) {
    return Set(id, &State::checked, check);
}

bool ToolBarBase::HideButton(UINT id, bool hide) {
    return Set(id, &State::hidden, hide);
}

bool ToolBarBase::IsButtonEnabled(UINT id) const {
    const std::size_t i = IndexOf(id);
    return i < states_.size() && states_[i].enabled;
}

bool ToolBarBase::IsButtonChecked(UINT id) const {
    const std::size_t i = IndexOf(id);
    return i < states_.size() && states_[i].checked;
}

bool ToolBarBase::IsButtonHidden(UINT id) const {
    const std::size_t i = IndexOf(id);
    return i < states_.size() && states_[i].hidden;
}

bool ToolBarBase::Clickable(UINT id) const {
    return IsButtonEnabled(id) && !IsButtonHidden(id);
}

}  // namespace orbel::platform
