// The image frame's menus: menu 227 (View, Zoom, Page), whose menus the menu toolbar shows as
// buttons, and menu 228, the zoom context menu of the viewer.
#pragma once

#include <string>
#include <vector>

#include "platform/Win.h"

namespace orbel {

inline constexpr UINT IDR_IMAGE_MENU = 227;
inline constexpr UINT IDR_ZOOM_MENU = 228;

struct MenuEntry {
    UINT id = 0;  // 0 for a separator
    std::string text;
};
struct MenuPopup {
    std::string text;
    std::vector<MenuEntry> entries;
};

// The popups of the menu resource, in order; none for an ID without a menu.
const std::vector<MenuPopup>& FindMenuResource(UINT id);

}  // namespace orbel
