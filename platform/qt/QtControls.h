// The desktop's common controls: makes the tree, list and toolbar on Qt widgets and image lists
// with desktop icons, shows the drag image, and finds the control that lives in a window so
// that the user driver can act on it as a person would.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/controls/ControlRegistration.h"
#include "platform/controls/ControlsBase.h"

class QLabel;

namespace orbel::platform {

class QtLoop;
class QtWindows;
class QtTreeControl;
class QtListControl;
class QtToolBarControl;
class QtImageList;

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

template <class Control>
using QtRegistration = ControlRegistration<QtControlContext, Control>;

class QtControls final : public RegisteringControls<QtControlContext, QtTreeControl, QtListControl,
                                                    QtToolBarControl, QtImageList> {
  public:
    QtControls(QtWindows& windows, QtLoop& loop);
    ~QtControls() override;

    // Hands a message sent or posted to a window to the control living there, as the original
    // control takes the keys sent to its window; true when it took it.
    bool RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnDragBegin(const ImageList& images, int index) override;
    void OnDragChanged() override;

    // The drag image: a window of its own that follows the mouse.
    std::unique_ptr<QLabel> dragWindow_;
};

std::unique_ptr<QtControls> MakeQtControls(QtWindows& windows, QtLoop& loop);

}  // namespace orbel::platform
