// Making the common controls. Each control lives inside a window that its owner created (the
// view's own window); the backend draws it there and sends its notifications to the events
// object. The control object is owned by the caller and dies with it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Win.h"
#include "platform/controls/ImageList.h"
#include "platform/controls/ListControl.h"
#include "platform/controls/ToolBarControl.h"
#include "platform/controls/TreeControl.h"

namespace orbel::platform {

class Controls {
  public:
    virtual ~Controls();
    virtual std::unique_ptr<TreeControl> CreateTreeControl(HWND window,
                                                           TreeControlEvents& events) = 0;
    virtual std::unique_ptr<ListControl> CreateListControl(HWND window,
                                                           ListControlEvents& events) = 0;
    virtual std::unique_ptr<ToolBarControl> CreateToolBarControl(HWND window,
                                                                 ToolBarControlEvents& events) = 0;
    // An image list of `cells` images of width x height cut from the named bitmap strip.
    virtual std::unique_ptr<ImageList> CreateImageList(const std::string& strip, int width,
                                                       int height, int cells) = 0;
    // The icon at `index` in a file or an icon theme name; none when there is no such icon.
    // By default named "FILE,INDEX" whatever the file holds, and none for an empty file name
    // or a negative index: the image lists draw the picture when the name is added.
    virtual std::optional<Icon> ExtractIcon(const std::string& file, int index);

    // The drag image: one per process, drawn over the screen while a drag runs. BeginDrag
    // takes an image of a list with its hot spot; DragEnter shows it at a screen point and
    // locks the window (none: the whole screen) against other drawing until DragLeave.
    virtual bool BeginDrag(const ImageList& images, int index, POINT hotSpot) = 0;
    virtual bool DragEnter(HWND lock, POINT screen) = 0;
    virtual bool DragMove(POINT screen) = 0;
    virtual bool DragLeave(HWND lock) = 0;
    virtual void EndDrag() = 0;
    // Shows or hides the drag image without locking a window.
    virtual bool DragShowNolock(bool show) = 0;
};

}  // namespace orbel::platform
