// The control's toolbars, one per mode.
#pragma once

#include "platform/framework/ToolBar.h"

namespace orbel {

inline constexpr unsigned IDR_TOOLBAR_OTHER = 207;
inline constexpr unsigned IDR_TOOLBAR_FOLDER_MAINT = 208;
inline constexpr unsigned IDR_TOOLBAR_NORMAL = 209;
inline constexpr unsigned IDR_TOOLBAR_SCRIPT_MAINT = 210;

// The resource with the ID; resource 207 for an ID that has none.
const ToolBarResource* FindToolBarResource(unsigned id);

}  // namespace orbel
