// Type library text comes from outside the program: whatever it holds, the parser returns a
// library or an error naming a line, and a library it returns agrees with itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/automation/TypeLib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<orbel::TypeLibrary> lib = orbel::ParseTypeLibrary(text, &error);
    if (!lib) {
        std::size_t digits = 0;
        while (digits < error.size() && error[digits] >= '0' && error[digits] <= '9') ++digits;
        if (digits == 0 || error.compare(digits, 2, ": ") != 0) std::abort();
        const long line = std::strtol(error.c_str(), nullptr, 10);
        const auto lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
        if (line < 1 || line > lines) std::abort();
        return 0;
    }
    for (const orbel::TypeLibInterface& itf : lib->interfaces) {
        if (lib->FindInterface(itf.name) != &itf) std::abort();
        for (const orbel::TypeLibMember& m : itf.members)
            if (itf.Find(m.id) != &m || itf.Find(m.name) != &m) std::abort();
    }
    for (const orbel::TypeLibCoclass& cls : lib->coclasses) {
        if (!cls.defaultInterface.empty() && !lib->FindInterface(cls.defaultInterface))
            std::abort();
        if (!cls.defaultSource.empty() && !lib->FindInterface(cls.defaultSource)) std::abort();
    }
    return 0;
}
