// The desktop's common controls: makes the tree, list and toolbar on Qt widgets and image lists
// with desktop icons, shows the drag image, and finds the control that lives in a window so
// that the user driver can act on it as a person would.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/controls/Controls.h"

class QLabel;

namespace orbel::platform {

class QtLoop;
class QtWindows;
class QtTreeControl;
class QtListControl;
class QtToolBarControl;

// What the controls share with the platform that made them. A control may outlive its platform
// (a view destroyed after the platform went away): it holds this weakly and then leaves the
// window system alone.
struct QtControlContext {
    QtWindows& windows;
    QtLoop& loop;
    std::map<std::uint32_t, QtTreeControl*> trees;
    std::map<std::uint32_t, QtListControl*> lists;
    std::map<std::uint32_t, QtToolBarControl*> toolBars;
};

// Registers a control under its window for its lifetime; the newest control of a window wins.
template <class Control>
class QtRegistration {
  public:
    using Map = std::map<std::uint32_t, Control*> QtControlContext::*;
    QtRegistration(std::weak_ptr<QtControlContext> context, Map map, HWND window, Control* control)
        : context_(std::move(context)), map_(map), window_(window), control_(control) {
        if (auto c = context_.lock()) ((*c).*map_)[window_.value] = control_;
    }
    ~QtRegistration() {
        auto c = context_.lock();
        if (!c) return;
        auto& map = (*c).*map_;
        auto it = map.find(window_.value);
        if (it != map.end() && it->second == control_) map.erase(it);
    }
    QtRegistration(const QtRegistration&) = delete;
    QtRegistration& operator=(const QtRegistration&) = delete;
    HWND Window() const { return window_; }
    // The platform's pieces while it is there.
    std::shared_ptr<QtControlContext> Context() const { return context_.lock(); }
    const std::weak_ptr<QtControlContext>& WeakContext() const { return context_; }

  private:
    std::weak_ptr<QtControlContext> context_;
    Map map_;
    HWND window_;
    Control* control_;
};

class QtControls final : public Controls {
  public:
    QtControls(QtWindows& windows, QtLoop& loop);
    ~QtControls() override;

    std::unique_ptr<TreeControl> CreateTreeControl(HWND window, TreeControlEvents& events) override;
    std::unique_ptr<ListControl> CreateListControl(HWND window, ListControlEvents& events) override;
    std::unique_ptr<ToolBarControl> CreateToolBarControl(HWND window,
                                                         ToolBarControlEvents& events) override;
    std::unique_ptr<ImageList> CreateImageList(const std::string& strip, int width, int height,
                                               int cells) override;
    // Named as the headless backend names it ("FILE,INDEX"); none for an empty file name or a
    // negative index.
    std::optional<Icon> ExtractIcon(const std::string& file, int index) override;

    bool BeginDrag(const ImageList& images, int index, POINT hotSpot) override;
    bool DragEnter(HWND lock, POINT screen) override;
    bool DragMove(POINT screen) override;
    bool DragLeave(HWND lock) override;
    void EndDrag() override;
    bool DragShowNolock(bool show) override;

    // Hands a message sent or posted to a window to the control living there, as the original
    // control takes the keys sent to its window; true when it took it.
    bool RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The control living in the window; null when there is none.
    QtTreeControl* Tree(HWND window) const;
    QtListControl* List(HWND window) const;
    QtToolBarControl* ToolBar(HWND window) const;

  private:
    void PlaceDragImage();

    std::shared_ptr<QtControlContext> context_;
    // The drag image: a window of its own that follows the mouse.
    std::unique_ptr<QLabel> dragWindow_;
    bool dragging_ = false;
    bool dragShown_ = false;
    POINT dragAt_;
    POINT hotSpot_;
};

std::unique_ptr<QtControls> MakeQtControls(QtWindows& windows, QtLoop& loop);

}  // namespace orbel::platform
