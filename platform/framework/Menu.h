// A popup menu built at run time: items with command IDs, separators, check marks and one
// default item, tracked at a screen position for an owner window.
#pragma once

#include <string>
#include <vector>

#include "platform/UserInteraction.h"
#include "platform/Win.h"

namespace orbel {

class CWnd;

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MF_BYCOMMAND = 0x0000;

inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

class CMenu {
  public:
    bool CreatePopupMenu();
    bool AppendMenu(UINT flags, UINT id = 0, const std::string& text = {});
    bool SetDefaultItem(UINT id);
    // The item's previous check state (MF_CHECKED or MF_UNCHECKED); -1 for no such item.
    int CheckMenuItem(UINT id, UINT check);
    int GetMenuItemCount() const { return static_cast<int>(items_.size()); }
    bool DestroyMenu();

    // Shows the menu at the screen point and waits for the user. The chosen command is posted
    // to the owner as WM_COMMAND, or returned instead with TPM_RETURNCMD; 0 when the user
    // chose nothing.
    UINT TrackPopupMenu(UINT flags, int x, int y, CWnd* owner);

  private:
    bool created_ = false;
    std::vector<platform::MenuItem> items_;
};

}  // namespace orbel
