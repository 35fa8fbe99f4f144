// The headless toolbar control: buttons with their states in plain records; a click reaches the
// events object only for a button the user could press.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/ToolBarControl.h"
#include "platform/headless/HeadlessControlRegistry.h"

namespace orbel::platform {

class HeadlessToolBarControl final : public ToolBarControl {
  public:
    HeadlessToolBarControl(std::weak_ptr<HeadlessControlRegistry> registry, HWND window,
                           ToolBarControlEvents& events);

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

    // The user clicks the button; true when it was shown and enabled and so was clicked.
    bool UserClick(UINT id);

    HWND Window() const { return registration_.Window(); }
    // One line per button: `ID "TEXT"` and then those of `disabled checked hidden` that
    // apply; a separator is the line `separator`.
    std::string Dump() const;

  private:
    struct State {
        bool enabled = true;
        bool checked = false;
        bool hidden = false;
    };
    // The button's index; the count when no button has the ID.
    std::size_t IndexOf(UINT id) const;
    State* Find(UINT id);
    const State* Find(UINT id) const;

    RegisteredModel<HeadlessToolBarControl> registration_;
    ToolBarControlEvents& events_;
    std::vector<ToolButton> buttons_;
    std::vector<State> states_;  // by button
    int width_ = 0;
    int height_ = 0;
};

}  // namespace orbel::platform
