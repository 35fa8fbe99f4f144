// The desktop toolbar control: a QToolBar over its window with one action per button. A button
// shows the desktop theme's icon when its command is one the theme has a picture for, else its
// text; its tool tip, enabled, checked and hidden states follow the control's calls, and a
// click on a shown, enabled button reaches the events object.
#pragma once

#include <QPointer>
#include <memory>
#include <vector>

#include "platform/controls/ToolBarControl.h"
#include "platform/qt/QtControls.h"

class QAction;
class QToolBar;
class QWidget;

namespace orbel::platform {

class QtToolBarControl final : public ToolBarControl {
  public:
    QtToolBarControl(std::weak_ptr<QtControlContext> context, HWND window,
                     ToolBarControlEvents& events);
    ~QtToolBarControl() override;
    QtToolBarControl(const QtToolBarControl&) = delete;
    QtToolBarControl& operator=(const QtToolBarControl&) = delete;

    void SetButtons(const std::vector<ToolButton>& buttons, int buttonWidth,
                    int buttonHeight) override;
    const std::vector<ToolButton>& Buttons() const override { return buttons_; }
    int ButtonWidth() const override { return width_; }
    int ButtonHeight() const override { return height_; }
    bool EnableButton(UINT id, bool enable) override;
    bool CheckButton(UINT id, bool check) override;
    bool HideButton(UINT id, bool hide) override;
    bool IsButtonEnabled(UINT id) const override;
    bool IsButtonChecked(UINT id) const override;
    bool IsButtonHidden(UINT id) const override;

    HWND Window() const { return registration_.Window(); }
    // The widget a person clicks for the button; null for no such button or one not shown.
    QWidget* ButtonWidget(UINT id) const;
    // Clicks the button as a person does; true when it was shown and enabled and so was
    // clicked.
    bool UserClick(UINT id);

  private:
    struct State {
        bool enabled = true;
        bool checked = false;
        bool hidden = false;
    };
    // The button's index; the count when no button has the ID.
    std::size_t IndexOf(UINT id) const;
    void Show(std::size_t index);
    void OnTriggered(std::size_t index);

    QtRegistration<QtToolBarControl> registration_;
    ToolBarControlEvents& events_;
    QPointer<QWidget> host_;
    QPointer<QToolBar> bar_;
    std::vector<ToolButton> buttons_;
    std::vector<State> states_;               // by button
    std::vector<QPointer<QAction>> actions_;  // by button
    int width_ = 0;
    int height_ = 0;
};

}  // namespace orbel::platform
