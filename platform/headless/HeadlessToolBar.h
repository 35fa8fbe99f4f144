// The headless toolbar control: the shared button records and nothing drawn; a click reaches
// the events object only for a button the user could press.
#pragma once

#include <string>

#include "platform/controls/ToolBarBase.h"
#include "platform/headless/HeadlessControlRegistry.h"

namespace orbel::platform {

class HeadlessToolBarControl final : public ToolBarBase {
  public:
    HeadlessToolBarControl(std::weak_ptr<HeadlessControlRegistry> registry, HWND window,
                           ToolBarControlEvents& events);

    // The user clicks the button; true when it was shown and enabled and so was clicked.
    bool UserClick(UINT id);

    HWND Window() const { return registration_.Window(); }
    // One line per button: `ID "TEXT"` and then those of `disabled checked hidden` that
    // apply; a separator is the line `separator`.
    std::string Dump() const;

  private:
    RegisteredModel<HeadlessToolBarControl> registration_;
};

}  // namespace orbel::platform
