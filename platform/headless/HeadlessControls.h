// The headless common controls: makes the tree, list and toolbar models and image lists, and
// finds the model that lives in a window, so that a test or the test container can act as the
// user on a view's control and read it back as text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/headless/HeadlessControlRegistry.h"
#include "platform/headless/HeadlessList.h"
#include "platform/headless/HeadlessToolBar.h"
#include "platform/headless/HeadlessTree.h"

namespace orbel::platform {

// Cells of a named strip, then added icons.
class HeadlessImageList final : public ImageList {
  public:
    HeadlessImageList(std::string strip, int width, int height, int cells);
    int GetImageCount() const override { return static_cast<int>(images_.size()); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int Add(const Icon& icon) override;
    bool Replace(int index, const Icon& icon) override;
    std::string Describe(int index) const override;

  private:
    int width_;
    int height_;
    std::vector<std::string> images_;
};

class HeadlessControls final : public Controls {
  public:
    HeadlessControls();

    std::unique_ptr<TreeControl> CreateTreeControl(HWND window, TreeControlEvents& events) override;
    std::unique_ptr<ListControl> CreateListControl(HWND window, ListControlEvents& events) override;
    std::unique_ptr<ToolBarControl> CreateToolBarControl(HWND window,
                                                         ToolBarControlEvents& events) override;
    std::unique_ptr<ImageList> CreateImageList(const std::string& strip, int width, int height,
                                               int cells) override;
    // No icon for an empty file name or a negative index; otherwise the icon "FILE,INDEX".
    std::optional<Icon> ExtractIcon(const std::string& file, int index) override;

    bool BeginDrag(const ImageList& images, int index, POINT hotSpot) override;
    bool DragEnter(HWND lock, POINT screen) override;
    bool DragMove(POINT screen) override;
    bool DragLeave(HWND lock) override;
    void EndDrag() override;
    bool DragShowNolock(bool show) override;
    // `none`, or `IMAGE at (X,Y)` followed by ` entered` while entered and ` shown` while
    // shown.
    std::string DragState() const;

    // Where the controls learn the size of their windows.
    void SetClientRects(std::function<RECT(HWND)> clientRect) {
        registry_->clientRect = std::move(clientRect);
    }
    // Hands a message sent to a window to the control living there; true when it took it.
    bool RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The model living in the window; null when there is none.
    HeadlessTreeControl* Tree(HWND window) const;
    HeadlessListControl* List(HWND window) const;
    HeadlessToolBarControl* ToolBar(HWND window) const;

    // Every live model's dump under the number of its window, for failing tests.
    std::string Dump() const;

  private:
    struct DragImage {
        std::string image;
        POINT at;
        bool entered = false;
        bool shown = false;
    };
    std::shared_ptr<HeadlessControlRegistry> registry_;
    std::optional<DragImage> drag_;
};

}  // namespace orbel::platform
