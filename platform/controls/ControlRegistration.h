// Which control lives in which window, for a backend's maker of controls: the user driver and
// the test container reach the control behind a view through it. A control may outlive the
// platform that made it (a view destroyed after the platform went), so it holds the maker's
// context weakly and then finds it gone instead of freed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/Win.h"

namespace orbel::platform {

// Registers a control under its window for its lifetime; the newest control of a window wins.
// `Maker` is the maker's context, with a map from window numbers to controls of this kind.
template <class Maker, class Control>
class ControlRegistration {
  public:
    using Map = std::map<std::uint32_t, Control*> Maker::*;
    ControlRegistration(std::weak_ptr<Maker> context, Map map, HWND window, Control* control)
        : context_(std::move(context)), map_(map), window_(window), control_(control) {
        if (auto c = context_.lock()) ((*c).*map_)[window_.value] = control_;
    }
    ~ControlRegistration() {
        auto c = context_.lock();
        if (!c) return;
        auto& map = (*c).*map_;
        auto it = map.find(window_.value);
        if (it != map.end() && it->second == control_) map.erase(it);
    }
    ControlRegistration(const ControlRegistration&) = delete;
    ControlRegistration& operator=(const ControlRegistration&) = delete;
    HWND Window() const { return window_; }
    // The maker's context while it is there.
    std::shared_ptr<Maker> Context() const { return context_.lock(); }
    const std::weak_ptr<Maker>& WeakContext() const { return context_; }

  private:
    std::weak_ptr<Maker> context_;
    Map map_;
    HWND window_;
    Control* control_;
};

// The control registered under the window; null when there is none.
template <class Control>
Control* RegisteredIn(const std::map<std::uint32_t, Control*>& map, HWND window) {
    auto it = map.find(window.value);
    return it == map.end() ? nullptr : it->second;
}

}  // namespace orbel::platform
