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
class RegisteredModel {
  public:
    using Map = std::map<std::uint32_t, Model*> HeadlessControlRegistry::*;
    RegisteredModel(std::weak_ptr<HeadlessControlRegistry> registry, Map map, HWND window,
                    Model* model)
        : registry_(std::move(registry)), map_(map), window_(window), model_(model) {
        if (auto r = registry_.lock()) ((*r).*map_)[window_.value] = model_;
    }
    ~RegisteredModel() {
        auto r = registry_.lock();
        if (!r) return;
        auto& map = (*r).*map_;
        auto it = map.find(window_.value);
        if (it != map.end() && it->second == model_) map.erase(it);
    }
    RegisteredModel(const RegisteredModel&) = delete;
    RegisteredModel& operator=(const RegisteredModel&) = delete;
    HWND Window() const { return window_; }
    // The rows of `rowHeight` pixels the window's client area shows, at least one.
    int PageRows(int rowHeight) const {
        auto r = registry_.lock();
        if (!r || !r->clientRect) return 1;
        const RECT client = r->clientRect(window_);
        return std::max(1, (client.bottom - client.top) / rowHeight);
    }

  private:
    std::weak_ptr<HeadlessControlRegistry> registry_;
    Map map_;
    HWND window_;
    Model* model_;
};

}  // namespace orbel::platform
