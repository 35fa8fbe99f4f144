// The file system of this machine, for both backends: tests run it on temporary folders.
#pragma once

#include "platform/files/FileSystem.h"

namespace orbel::platform {

class PosixFileSystem final : public FileSystem {
  public:
    std::optional<FileInfo> Attributes(std::string_view path) override;
    bool SetReadOnly(std::string_view path, bool readOnly) override;
    std::unique_ptr<File> Open(std::string_view path, FileAccess access,
                               Disposition disposition) override;
    bool Copy(std::string_view from, std::string_view to, bool failIfExists) override;
    bool Delete(std::string_view path) override;
    bool CreateDirectory(std::string_view path) override;
    std::optional<std::vector<DirectoryEntry>> Find(std::string_view directory,
                                                    std::string_view pattern) override;
    std::string CurrentDirectory() override;
    bool SetCurrentDirectory(std::string_view path) override;
    std::string TempDirectory() override;
};

}  // namespace orbel::platform
