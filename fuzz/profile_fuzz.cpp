// Arbitrary text read as an initialisation file: the bounded-buffer calls never write past
// the buffer, always leave it terminated, and give a prefix of what a large buffer gets.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile/ProfileFile.h"

namespace {

using orbel::DWORD;
using orbel::platform::GetProfileString;
using orbel::platform::ProfileFile;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "profile_fuzz: %s\n", what);
    std::abort();
}

constexpr std::size_t kSmallSizes[] = {1, 2, 3, 17};

void CheckQuery(const ProfileFile& file, std::optional<std::string_view> section,
                std::optional<std::string_view> key, std::size_t largeSize) {
    const bool isList = !section || !key;
    std::vector<char> large(largeSize);
    const DWORD full = GetProfileString(&file, section, key, " default ", large);
    if (full + 2 > largeSize) Fail("the large buffer was not large enough");

    for (std::size_t size : kSmallSizes) {
        // Exactly the size asked for, so that the address sanitizer sees any overrun.
        std::vector<char> buffer(size, '\x5A');
        const DWORD got = GetProfileString(&file, section, key, " default ", buffer);
        if (got >= size) Fail("result not below the buffer size");
        if (buffer[got] != '\0') Fail("result not NUL-terminated");
        if (std::string_view(buffer.data(), got) != std::string_view(large.data(), got)) {
            Fail("a small buffer does not get a prefix of the whole answer");
        }
        if (!isList) {
            if (got != std::min<std::size_t>(full, size - 1)) Fail("value cut at the wrong place");
            continue;
        }
        if (size == 1) continue;
        const bool endsInTwoNuls =
            (got > 0 && buffer[got - 1] == '\0') || (got + 1 < size && buffer[got + 1] == '\0');
        if (!endsInTwoNuls) Fail("list not ended by two NULs");
        const bool fits = full + 1 <= size;
        if (fits ? got != full : got != size - 2) Fail("list length wrong");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ProfileFile file = ProfileFile::Parse(text);
    if (file.Text() != text) Fail("unedited text does not come back byte for byte");

    const std::size_t largeSize = 2 * size + 64;
    CheckQuery(file, std::nullopt, std::nullopt, largeSize);
    for (const std::string& section : file.SectionNames()) {
        CheckQuery(file, section, std::nullopt, largeSize);
        for (const std::string& key : file.KeyNames(section)) {
            if (!file.Value(section, key)) Fail("a listed key has no value");
            CheckQuery(file, section, key, largeSize);
        }
        CheckQuery(file, section, "no such key\x01", largeSize);
    }

    // An edit keeps what it does not touch: the edited file still answers for the others.
    ProfileFile edited = file;
    if (edited.SetValue("Fuzz", "Key", "v") &&
        !ProfileFile::Parse(edited.Text()).Value("fuzz", "key")) {
        Fail("a written key does not read back");
    }
    return 0;
}
