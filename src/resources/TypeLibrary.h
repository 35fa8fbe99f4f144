// The control's type library in its source form, compiled into the module from orbel.odl, so
// that registration and hosts read the very description the typed wrapper was generated from.
#pragma once

#include <string_view>

namespace orbel {

std::string_view OrbelTypeLibraryText();

}  // namespace orbel
