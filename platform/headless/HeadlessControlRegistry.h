// Which headless control model lives in which window, so that a test or the test container can
// reach the model behind a view. Shared with the models: a model that outlives the platform
// (a view destroyed after the test uninstalled it) finds the registry gone instead of freed.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/Win.h"
#include "platform/controls/ControlRegistration.h"

namespace orbel::platform {

class HeadlessTreeControl;
class HeadlessListControl;
class HeadlessToolBarControl;

struct HeadlessControlRegistry {
    std::map<std::uint32_t, HeadlessTreeControl*> trees;
    std::map<std::uint32_t, HeadlessListControl*> lists;
    std::map<std::uint32_t, HeadlessToolBarControl*> toolBars;
    // The client rectangle of a window, for the rows a page of a control shows.
    std::function<RECT(HWND)> clientRect;
};

// Registers a model under its window for its lifetime; the newest model of a window wins.
template <class Model>
class RegisteredModel : public ControlRegistration<HeadlessControlRegistry, Model> {
  public:
    using ControlRegistration<HeadlessControlRegistry, Model>::ControlRegistration;
    // The rows of `rowHeight` pixels the window's client area shows, at least one.
    int PageRows(int rowHeight) const {
        auto r = this->Context();
        if (!r || !r->clientRect) return 1;
        const RECT client = r->clientRect(this->Window());
        return std::max(1, (client.bottom - client.top) / rowHeight);
    }
};

}  // namespace orbel::platform
