// Class, interface and library identifiers.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbel {

struct Guid {
    std::array<std::uint8_t, 16> bytes{};

    // Accepts "{77173955-7239-11D2-B2A4-0060084F9CC1}" with or without braces, any letter case.
    static std::optional<Guid> Parse(std::string_view text);
    // Registry form: braces, upper-case hex.
    std::string ToString() const;
    auto operator<=>(const Guid&) const = default;
};

}  // namespace orbel
