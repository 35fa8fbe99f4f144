// The toolbar control: a row of command buttons and separators, each button with a text and a
// tool tip and its enabled, checked and hidden states. A click reaches the events object.
// Not for: which commands exist or what they do (the framework's toolbar and its owner).
#pragma once

#include <string>
#include <vector>

#include "platform/Win.h"

namespace orbel::platform {

struct ToolButton {
    UINT id = 0;  // 0: a separator
    std::string text;
    std::string tip;
};

class ToolBarControlEvents {
  public:
    virtual ~ToolBarControlEvents();
    virtual void OnToolButtonClicked(UINT id);
};

class ToolBarControl {
  public:
    virtual ~ToolBarControl();
    // Replaces every button; all start enabled, unchecked and shown.
    virtual void SetButtons(const std::vector<ToolButton>& buttons, int buttonWidth,
                            int buttonHeight) = 0;
    virtual const std::vector<ToolButton>& Buttons() const = 0;
    virtual int ButtonWidth() const = 0;
    virtual int ButtonHeight() const = 0;
    // False for an ID that no button has.
    virtual bool EnableButton(UINT id, bool enable) = 0;
    virtual bool CheckButton(UINT id, bool check) = 0;
    virtual bool HideButton(UINT id, bool hide) = 0;
    virtual bool IsButtonEnabled(UINT id) const = 0;
    virtual bool IsButtonChecked(UINT id) const = 0;
    virtual bool IsButtonHidden(UINT id) const = 0;
};

}  // namespace orbel::platform
