// The file operations the system makes: attributes and existence, create and open, block reads
// and writes, copy, delete, the files of a directory, the current and temporary directories.
// Every failing call leaves the thread's last error (an errno with its system text), which the
// system shows where it reports "Error %d".
// Not for: the whole-file text stores of the platform itself (DataFile.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orbel::platform {

// A failure of the system: its errno and the system's text for it.
struct SystemError {
    int code = 0;
    std::string Text() const;  // "No such file or directory"; empty for 0
};

// The thread's last error, as GetLastError keeps it. Successful calls do not clear it.
int LastErrorCode();
void SetLastErrorCode(int code);
// The system's message text for an error number.
std::string SystemMessage(int code);
// Records code as the thread's last error and reports the failure, for a backend's returns.
bool FailWith(int code);

// Whether a directory entry's name matches a Find pattern: "*" and "*.*" (or nothing) match
// every name, anything else is a glob whose wildcards never match a leading ".".
bool MatchesPattern(std::string_view name, std::string_view pattern);
// Whether the last part of a path is a hidden name (begins with ".", and is not "." or "..").
bool IsHiddenName(std::string_view path);

struct FileInfo {
    bool directory = false;
    bool readOnly = false;  // no write permission bit is set
    bool hidden = false;    // the name begins with "."
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds since 1970
};

struct DirectoryEntry {
    std::string name;
    FileInfo info;
};

enum class FileAccess { Read, Write, ReadWrite };
enum class Disposition {
    CreateNew,     // fails when anything is at the name (exclusive), a symbolic link too,
                   // dangling or not: never writes through a link
    CreateAlways,  // creates or truncates
    OpenExisting,  // fails when the file is missing
    OpenAlways,    // opens, creating an empty file when missing; never truncates
};

// An open file; closed when the object goes.
class File {
  public:
    virtual ~File();
    // Reads up to buffer.size() bytes; 0 at the end of the file; nullopt on an error.
    virtual std::optional<std::size_t> Read(std::span<std::byte> buffer) = 0;
    // Writes all of data; false on an error.
    virtual bool Write(std::span<const std::byte> data) = 0;
    virtual bool SeekToStart() = 0;
    bool Write(std::string_view text) {
        return Write(std::as_bytes(std::span(text.data(), text.size())));
    }
};

class FileSystem {
  public:
    virtual ~FileSystem();

    // nullopt when the path names nothing that can be examined.
    virtual std::optional<FileInfo> Attributes(std::string_view path) = 0;
    bool Exists(std::string_view path) { return Attributes(path).has_value(); }
    // Sets or clears read-only: clearing gives the owner write permission back.
    virtual bool SetReadOnly(std::string_view path, bool readOnly) = 0;

    // Only a regular file opens, and the open never waits: a folder fails with EISDIR, a named
    // pipe, device or socket with ENXIO. Copy takes the same rule for both of its files.
    virtual std::unique_ptr<File> Open(std::string_view path, FileAccess access,
                                       Disposition disposition) = 0;
    // Copies the bytes and the permission bits; with failIfExists an existing target is an
    // error (and is left alone), otherwise it is replaced. By default through Open, carrying
    // over only the read-only attribute: a backend that keeps more bits copies them itself.
    virtual bool Copy(std::string_view from, std::string_view to, bool failIfExists);
    // Removes a file (not a directory).
    virtual bool Delete(std::string_view path) = 0;
    virtual bool CreateDirectory(std::string_view path) = 0;

    // The entries of a directory whose names match pattern ("*" and "*.*" match every
    // name, otherwise a glob), in the order the file system gives them, without "." and "..".
    // nullopt when the directory cannot be read.
    virtual std::optional<std::vector<DirectoryEntry>> Find(std::string_view directory,
                                                            std::string_view pattern) = 0;

    virtual std::string CurrentDirectory() = 0;
    virtual bool SetCurrentDirectory(std::string_view path) = 0;
    // The folder for temporary files, ending with the separator; "/tmp/" by default.
    virtual std::string TempDirectory();
};

}  // namespace orbel::platform
