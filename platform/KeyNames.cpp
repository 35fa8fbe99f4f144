#include "platform/KeyNames.h"

#include "platform/text/AsciiCase.h"

namespace orbel::platform {

namespace {
struct KeyName {
    std::string_view name;
    UINT code;
};
constexpr KeyName kKeys[] = {
    {"Escape", VK_ESCAPE}, {"Tab", VK_TAB},        {"Enter", VK_RETURN}, {"Delete", VK_DELETE},
    {"Up", VK_UP},         {"Down", VK_DOWN},      {"Left", VK_LEFT},    {"Right", VK_RIGHT},
    {"Space", VK_SPACE},   {"Backspace", VK_BACK},
};
constexpr UINT kF1 = VK_F2 - 1;

}  // namespace

std::optional<UINT> VirtualKeyFromName(std::string_view name) {
    for (const KeyName& k : kKeys)
        if (EqualsIgnoringAsciiCase(k.name, name)) return k.code;
    if (name.size() == 1) {
        const char c = UpperAscii(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<UINT>(c);
    }
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        int n = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n >= 1 && n <= 12) return static_cast<UINT>(kF1 - 1 + n);
    }
    return std::nullopt;
}

std::string VirtualKeyName(UINT key) {
    for (const KeyName& k : kKeys)
        if (k.code == key) return std::string(k.name);
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= kF1 && key < kF1 + 12) return "F" + std::to_string(key - kF1 + 1);
    return "key " + std::to_string(key);
}

}  // namespace orbel::platform
