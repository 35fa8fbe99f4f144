// What every backend's maker of controls does the same way: the drag image's state (the image
// taken, where it is, whether it is entered and shown), and making the controls over a context
// of the backend in which they register. A backend adds how the image is drawn, told of each
// change through the hooks, and its own control classes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/controls/ControlRegistration.h"
#include "platform/controls/Controls.h"

namespace orbel::platform {

class ControlsBase : public Controls {
  public:
    bool BeginDrag(const ImageList& images, int index, POINT hotSpot) override;
    bool DragEnter(HWND lock, POINT screen) override;
    bool DragMove(POINT screen) override;
    bool DragLeave(HWND lock) override;
    void EndDrag() override;
    bool DragShowNolock(bool show) override;

  protected:
    struct DragImage {
        std::string image;  // what the image list says of the image
        POINT hotSpot;
        POINT at;
        bool entered = false;
        bool shown = false;
    };

    // A drag began with the image at the index of the list (the state is set already).
    virtual void OnDragBegin(const ImageList& /*images*/, int /*index*/) {}
    // Where the image is or whether it shows changed, or the drag ended.
    virtual void OnDragChanged() {}
    // The drag running now; none between drags.
    const std::optional<DragImage>& Drag() const { return drag_; }

  private:
    std::optional<DragImage> drag_;
};

// Makes the backend's controls from its context, the window and the events object (image lists
// from the strip), and finds them again by window. `Maker` is the context, with the maps
// `trees`, `lists` and `toolBars` in which the controls register.
template <class Maker, class TreeT, class ListT, class ToolBarT, class ImagesT>
class RegisteringControls : public ControlsBase {
  public:
    std::unique_ptr<TreeControl> CreateTreeControl(HWND window,
                                                   TreeControlEvents& events) override {
        return std::make_unique<TreeT>(context_, window, events);
    }
    std::unique_ptr<ListControl> CreateListControl(HWND window,
                                                   ListControlEvents& events) override {
        return std::make_unique<ListT>(context_, window, events);
    }
    std::unique_ptr<ToolBarControl> CreateToolBarControl(HWND window,
                                                         ToolBarControlEvents& events) override {
        return std::make_unique<ToolBarT>(context_, window, events);
    }
    std::unique_ptr<ImageList> CreateImageList(const std::string& strip, int width, int height,
                                               int cells) override {
        return std::make_unique<ImagesT>(strip, width, height, cells);
    }

    // The control living in the window; null when there is none.
    TreeT* Tree(HWND window) const { return RegisteredIn(context_->trees, window); }
    ListT* List(HWND window) const { return RegisteredIn(context_->lists, window); }
    ToolBarT* ToolBar(HWND window) const { return RegisteredIn(context_->toolBars, window); }

  protected:
    explicit RegisteringControls(std::shared_ptr<Maker> context) : context_(std::move(context)) {}
    Maker& Context() const { return *context_; }

  private:
    std::shared_ptr<Maker> context_;
};

}  // namespace orbel::platform
