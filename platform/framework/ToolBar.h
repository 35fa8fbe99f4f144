// The framework's toolbar: a window holding the platform toolbar control, loaded from a
// toolbar resource, whose clicks become commands for its owner and whose button states follow
// the owner's update handlers each time the thread goes idle.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageLoop.h"
#include "platform/controls/ToolBarControl.h"
#include "platform/framework/CmdTarget.h"
#include "platform/framework/Wnd.h"

namespace orbel {

// A toolbar resource: the button size and the command IDs in order, 0 for a separator.
struct ToolBarResource {
    UINT id = 0;
    int buttonWidth = 16;
    int buttonHeight = 16;
    std::vector<UINT> buttons;
};

// Bar styles the control code names.
inline constexpr DWORD CBRS_ALIGN_TOP = 0x1000;
inline constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010;
inline constexpr DWORD CBRS_FLYBY = 0x0020;
inline constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0040;
inline constexpr UINT AFX_IDW_TOOLBAR = 0xE800;

class CToolBar : public CWnd, private platform::ToolBarControlEvents {
  public:
    CToolBar();
    ~CToolBar() override;

    // Creates the bar window as a child of `parent`; `owner` receives its commands and
    // answers its update handlers (the parent when null).
    bool Create(CWnd* parent, DWORD style, UINT id = AFX_IDW_TOOLBAR, CCmdTarget* owner = nullptr);
    // Replaces the buttons; `commandText` gives a command's string, whose text before a line
    // break is the button's text and after it the tool tip. Then runs an update pass.
    bool LoadToolBar(const ToolBarResource& resource,
                     const std::function<std::string(UINT)>& commandText);
    UINT LoadedResource() const { return loaded_; }

    void SetBarStyle(DWORD style) { barStyle_ = style; }
    DWORD GetBarStyle() const { return barStyle_; }
    void SetOwner(CCmdTarget* owner) { owner_ = owner; }

    platform::ToolBarControl& GetToolBarCtrl() { return *control_; }
    const platform::ToolBarControl& GetToolBarCtrl() const { return *control_; }
    // The height the bar takes in its frame: the buttons plus a border, 0 while hidden or
    // empty.
    int BarHeight() const;
    // Shows or hides the bar; its frame gives a hidden bar no room at its next layout. The bar
    // keeps its own shown state because the window's visibility also depends on its parents.
    bool ShowWindow(bool show);
    bool IsShown() const { return shown_; }

    // Asks the owner's update handler of every button and applies the answers; a button that
    // no target handles is disabled.
    void OnUpdateCmdUI();

  protected:
    int OnCreate() override;
    void OnDestroy() override;

  private:
    void OnToolButtonClicked(UINT id) override;

    std::unique_ptr<platform::ToolBarControl> control_;
    CCmdTarget* owner_ = nullptr;
    DWORD barStyle_ = 0;
    UINT loaded_ = 0;
    bool shown_ = false;
    platform::HookHandle idle_ = 0;
};

}  // namespace orbel
