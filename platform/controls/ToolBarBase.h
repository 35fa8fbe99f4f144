// The toolbar control's buttons and their states, kept once for every backend: a backend adds
// how the buttons look and how a person clicks one, told of each change through the hooks.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/controls/ToolBarControl.h"

namespace orbel::platform {

class ToolBarBase : public ToolBarControl {
  public:
    explicit ToolBarBase(ToolBarControlEvents& events) : events_(events) {}

    void SetButtons(const std::vector<ToolButton>& buttons, int buttonWidth,
                    int buttonHeight) override;
    const std::vector<ToolButton>& Buttons() const override { return buttons_; }
    int ButtonWidth() const override { return width_; }
    int ButtonHeight() const override { return height_; }
    bool EnableButton(UINT id, bool enable) override;
    bool CheckButton(UINT id, bool check) override;
    bool HideButton(UINT id, bool hide) override;
    bool IsButtonEnabled(UINT id) const override;
    bool IsButtonChecked(UINT id) const override;
    bool IsButtonHidden(UINT id) const override;
    // Where the button is, in the client coordinates of the control's window; empty for no
    // such button or a hidden one. Here the shown buttons stand side by side from the left
    // edge, each its image width and a border wide, a separator a gap wide.
    virtual RECT GetButtonRect(UINT id) const;

  protected:
    struct State {
        bool enabled = true;
        bool checked = false;
        bool hidden = false;
    };

    // The buttons were replaced; every one starts in the default state.
    virtual void OnButtonsSet() {}
    // The state of the button at the index changed.
    virtual void OnButtonState(std::size_t /*index*/) {}

    // The button's index; the count when no button has the ID (separators have none).
    std::size_t IndexOf(UINT id) const;
    const State& StateAt(std::size_t index) const { return states_[index]; }
    // Whether a person can click the button: there is one, shown and enabled.
    bool Clickable(UINT id) const;
    // The click reaches the events object.
    void Clicked(UINT id) { events_.OnToolButtonClicked(id); }

  private:
    bool Set(UINT id, bool State::*field, bool value);

    ToolBarControlEvents& events_;
    std::vector<ToolButton> buttons_;
    std::vector<State> states_;  // by button
    int width_ = 0;
    int height_ = 0;
};

}  // namespace orbel::platform
