// Container script lines as people type them: any line tokenizes or is refused with a
// message, and a tokenized line written back token by token reads as the same tokens.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/container/ScriptLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string_view line(reinterpret_cast<const char*>(bytes), size);
    if (line.find('\n') != std::string_view::npos) return 0;
    std::string error;
    auto tokens = orbel::host::TokenizeLine(line, error);
    if (!tokens) {
        if (error.empty()) std::abort();
        return 0;
    }
    std::string again;
    for (const auto& t : *tokens) again += (again.empty() ? "" : " ") + t.Spelling();
    std::string error2;
    auto reread = orbel::host::TokenizeLine(again, error2);
    if (!reread || reread->size() != tokens->size()) std::abort();
    for (std::size_t i = 0; i < tokens->size(); ++i) {
        const auto& a = (*tokens)[i];
        const auto& b = (*reread)[i];
        if (a.kind != b.kind || a.text != b.text || a.integer != b.integer ||
            a.boolean != b.boolean)
            std::abort();
    }
    return 0;
}
