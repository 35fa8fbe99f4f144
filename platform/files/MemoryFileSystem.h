// A file system held in memory, a full peer of the machine's: the same paths (absolute, or
// relative to its own current directory, with "." and ".." and symbolic links), the same
// dispositions, refusals and error numbers, so tests of what the system stores, copies and
// exports run without touching the disk. It checks permission bits as an ordinary user's
// process sees them. It starts with "/" and "/tmp/" (its temporary folder), "/" current.
// Not for: the machine's own files; nothing here ever reaches the disk.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/files/FileSystem.h"

namespace orbel::platform {

class MemoryFileSystem final : public FileSystem {
  public:
    MemoryFileSystem();
    ~MemoryFileSystem() override;
    MemoryFileSystem(const MemoryFileSystem&) = delete;
    MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

    std::optional<FileInfo> Attributes(std::string_view path) override;
    bool SetReadOnly(std::string_view path, bool readOnly) override;
    std::unique_ptr<File> Open(std::string_view path, FileAccess access,
                               Disposition disposition) override;
    bool Delete(std::string_view path) override;
    bool CreateDirectory(std::string_view path) override;
    std::optional<std::vector<DirectoryEntry>> Find(std::string_view directory,
                                                    std::string_view pattern) override;
    std::string CurrentDirectory() override;
    bool SetCurrentDirectory(std::string_view path) override;

    // What the interface never makes but the system meets on a disk, for tests to plant: a
    // symbolic link at `at` holding `target`, and a named pipe, device or socket at `path`,
    // which no open ever reads. Both fail as creating a file would.
    bool CreateSymbolicLink(std::string_view target, std::string_view at);
    bool CreateSpecialFile(std::string_view path);

    // Changes from now on are stamped with this time (seconds since 1970) instead of the
    // clock's, so that a dump is the same on every run.
    void SetTime(std::int64_t seconds);

    // The whole state, one line per entry in name order:
    //   cwd /tmp/
    //   /tmp/a.doc file 644 3 "abc"
    //   /tmp/link link 777 -> a.doc
    std::string Dump() const;

    struct Node;
    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace orbel::platform
