// Arbitrary text read as a registry file: what parses dumps to text that parses to the same
// dump, and every key and value the hive enumerates can be found by its name.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry/RegistryHive.h"

namespace {

using orbel::platform::RegistryHive;

[[noreturn]] void Fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "reghive_fuzz: %s %s\n", what, detail.c_str());
    std::abort();
}

void CheckKey(const RegistryHive& hive, const std::string& path, int depth) {
    if (!hive.KeyExists(path)) Fail("an enumerated key does not exist:", path);
    for (const auto& [name, value] : hive.EnumValues(path)) {
        if (hive.QueryValue(path, name) != value)
            Fail("an enumerated value reads back wrong:", name);
    }
    if (depth > 64) return;
    for (const std::string& child : hive.EnumKeys(path))
        CheckKey(hive, path + "\\" + child, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto hive = RegistryHive::Parse(text, &error);
    if (!hive) {
        if (error.empty()) Fail("a rejected text gives no error");
        return 0;
    }
    const std::string dump = hive->Dump();
    const auto again = RegistryHive::Parse(dump, &error);
    if (!again) Fail("a dump does not parse:", error);
    if (again->Dump() != dump) Fail("a dump parses to another dump");
    for (const char* root : {"HKEY_CLASSES_ROOT", "HKCU", "HKLM", "HKEY_USERS"})
        CheckKey(*again, root, 0);
    return 0;
}
