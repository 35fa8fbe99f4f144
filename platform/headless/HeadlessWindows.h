// Headless windows: the window table alone, with a mouse a test moves and a count of repaints.
#pragma once

#include <string>

#include "platform/WindowTable.h"

namespace orbel::platform {

class HeadlessWindows final : public WindowTable {
  public:
    HWND CreateWindow(const CreateWindowParams& params, WindowProcedure* proc) override;

    // What the user does with the mouse: moves it to a screen point (the window holding the
    // capture, else the window under the point, gets WM_MOUSEMOVE), or releases or presses a
    // button there.
    void UserMoveMouse(POINT screen);
    void UserMouseButton(UINT message, POINT screen);

    // How often a window was invalidated since it was created.
    int InvalidateCount(HWND window) const;
    // One line per window in creation order under each parent, indented by depth:
    // `CLASS #ID "TEXT" (l,t)-(r,b) [disabled] [hidden] [focus]`, then the cursor.
    std::string Dump() const;

  private:
    struct HeadlessRecord : Record {
        int invalidations = 0;
    };
    bool OnMove(HWND window, const RECT& rect, bool repaint) override;
    void OnInvalidate(HWND window, const RECT* rect) override;
    void DumpTree(HWND window, int depth, std::string& out) const;
};

}  // namespace orbel::platform
