// A base for test doubles of the file system: every call answers as an empty disk would
// (nothing is there, ENOENT), the current folder is "/" and the temporary one "/tmp/", so a
// double overrides only the calls its test watches. Copy keeps the interface's own, through
// Open. A test that needs real files uses the file system in memory instead.
#pragma once

#include <cerrno>

#include "platform/files/FileSystem.h"

namespace orbel::test {

class StubFileSystem : public platform::FileSystem {
  public:
    std::optional<platform::FileInfo> Attributes(std::string_view) override {
        platform::FailWith(ENOENT);
        return std::nullopt;
    }
    bool SetReadOnly(std::string_view, bool) override { return platform::FailWith(ENOENT); }
    std::unique_ptr<platform::File> Open(std::string_view, platform::FileAccess,
                                         platform::Disposition) override {
        platform::FailWith(ENOENT);
        return nullptr;
    }
    bool Delete(std::string_view) override { return platform::FailWith(ENOENT); }
    bool CreateDirectory(std::string_view) override { return platform::FailWith(ENOENT); }
    std::optional<std::vector<platform::DirectoryEntry>> Find(std::string_view,
                                                              std::string_view) override {
        platform::FailWith(ENOENT);
        return std::nullopt;
    }
    std::string CurrentDirectory() override { return "/"; }
    bool SetCurrentDirectory(std::string_view) override { return platform::FailWith(ENOENT); }
};

}  // namespace orbel::test
