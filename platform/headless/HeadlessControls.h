// The headless common controls: makes the tree, list and toolbar models and image lists, and
// finds the model that lives in a window, so that a test or the test container can act as the
// user on a view's control and read it back as text.
#pragma once

#include <memory>
#include <string>

#include "platform/controls/ControlsBase.h"
#include "platform/headless/HeadlessControlRegistry.h"
#include "platform/headless/HeadlessList.h"
#include "platform/headless/HeadlessToolBar.h"
#include "platform/headless/HeadlessTree.h"

namespace orbel::platform {

// Cells of a named strip, then added icons, by name only.
using HeadlessImageList = NamedImageList;

class HeadlessControls final
    : public RegisteringControls<HeadlessControlRegistry, HeadlessTreeControl, HeadlessListControl,
                                 HeadlessToolBarControl, HeadlessImageList> {
  public:
    HeadlessControls();

    // `none`, or `IMAGE at (X,Y)` followed by ` entered` while entered and ` shown` while
    // shown.
    std::string DragState() const;

    // Where the controls learn the size of their windows.
    void SetClientRects(std::function<RECT(HWND)> clientRect) {
        Context().clientRect = std::move(clientRect);
    }
    // Hands a message sent to a window to the control living there; true when it took it.
    bool RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Every live model's dump under the number of its window, for failing tests.
    std::string Dump() const;
};

}  // namespace orbel::platform
