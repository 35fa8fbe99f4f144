// What the control is opened for; it decides which panes take the host's pane calls and which
// toolbar is shown.
#pragma once

#include <cstdint>

namespace orbel {

enum class DisplayMode : std::int32_t {
    Normal = 0,
    FolderMaint = 1,
    ScriptMaint = 2,
};

}  // namespace orbel
