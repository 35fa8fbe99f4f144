// The desktop toolbar control: a QToolBar over its window with one action per button. A button
// shows the desktop theme's icon when its command is one the theme has a picture for, else its
// text; its tool tip, enabled, checked and hidden states follow the control's calls, and a
// click on a shown, enabled button reaches the events object.
#pragma once

#include <QPointer>
#include <memory>
#include <vector>

#include "platform/controls/ToolBarBase.h"
#include "platform/qt/QtControls.h"

class QAction;
class QToolBar;
class QWidget;

namespace orbel::platform {

class QtToolBarControl final : public ToolBarBase {
  public:
    QtToolBarControl(std::weak_ptr<QtControlContext> context, HWND window,
                     ToolBarControlEvents& events);
    ~QtToolBarControl() override;
    QtToolBarControl(const QtToolBarControl&) = delete;
    QtToolBarControl& operator=(const QtToolBarControl&) = delete;

    HWND Window() const { return registration_.Window(); }
    // The widget a person clicks for the button; null for no such button or one not shown.
    QWidget* ButtonWidget(UINT id) const;
    RECT GetButtonRect(UINT id) const override;
    // Clicks the button as a person does; true when it was shown and enabled and so was
    // clicked.
    bool UserClick(UINT id);

  private:
    void OnButtonsSet() override;
    void OnButtonState(std::size_t index) override;
    void OnTriggered(std::size_t index);

    QtRegistration<QtToolBarControl> registration_;
    QPointer<QWidget> host_;
    QPointer<QToolBar> bar_;
    std::vector<QPointer<QAction>> actions_;  // by button
};

}  // namespace orbel::platform
