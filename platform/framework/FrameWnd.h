// A frame window: control bars docked at its top and one client window (the pane with the
// first pane ID) filling the rest. Commands from its bars come to it; it routes them.
#pragma once

#include <vector>

#include "platform/framework/CmdTarget.h"
#include "platform/framework/Wnd.h"

namespace orbel {

class CToolBar;

class CFrameWnd : public CWnd, public CCmdTarget {
  public:
    // Creates the frame window; OnCreateClient then makes its client. False when either fails.
    bool Create(const std::string& className, DWORD style, const RECT& rect, HWND parent,
                UINT id = 0);
    // Docks the bar at the top, below the bars docked before.
    void DockControlBar(CToolBar* bar);
    void RemoveControlBar(CToolBar* bar);
    // Places the visible docked bars at the top and the client window in the rest.
    virtual void RecalcLayout();
    // The area left for the client once the bars are placed.
    RECT ClientArea() const;

  protected:
    // Makes the client window; false fails the frame's creation.
    virtual bool OnCreateClient();
    int OnCreate() override;
    void OnSize(int cx, int cy) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    std::vector<CToolBar*> bars_;
};

}  // namespace orbel
