// The names of the keys that scripts and transcripts write ("Escape", "Left", "F2", "A"), and
// their virtual-key codes, in one table for both directions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Win.h"

namespace orbel::platform {

// The code of a key name, in any letter case: a named key, F1-F12, a letter or a digit.
std::optional<UINT> VirtualKeyFromName(std::string_view name);
// The name of a key as VirtualKeyFromName reads it; "key N" for a code it has no name for.
std::string VirtualKeyName(UINT key);

}  // namespace orbel::platform
