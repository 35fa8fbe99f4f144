// What the imaging components share in their dispatch: the "Dump" member each answers by name
// (its state as one line, for tests and the test container), and long arguments that a caller
// may pass as missing.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "platform/Win.h"
#include "platform/automation/Variant.h"

namespace orbel::imaging {

// "Dump" names dispatch ID 1000 on every component; any other name is unknown.
HRESULT DumpIdOfName(std::string_view name, DISPID& id);
// Argument `i` as a long; nothing when it is not there, missing or not a number.
std::optional<long> LongArg(std::span<const Variant> args, std::size_t i);

}  // namespace orbel::imaging
