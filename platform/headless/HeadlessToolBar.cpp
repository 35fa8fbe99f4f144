#include "platform/headless/HeadlessToolBar.h"

#include "platform/controls/ControlText.h"

namespace orbel::platform {

HeadlessToolBarControl::HeadlessToolBarControl(std::weak_ptr<HeadlessControlRegistry> registry,
                                               HWND window, ToolBarControlEvents& events)
    : ToolBarBase(events),
      registration_(std::move(registry), &HeadlessControlRegistry::toolBars, window, this) {}

bool HeadlessToolBarControl::UserClick(UINT id) {
    if (!Clickable(id)) return false;
    Clicked(id);
    return true;
}

std::string HeadlessToolBarControl::Dump() const {
    return DescribeToolBar(*this);
}

}  // namespace orbel::platform
