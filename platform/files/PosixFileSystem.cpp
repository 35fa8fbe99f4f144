#include "platform/files/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace orbel::platform {
namespace {

// Records errno as the thread's last error and reports the failure.
bool Fail() {
    return FailWith(errno);
}

// A path as the system calls want it; a name holding a NUL names nothing.
std::optional<std::string> CPath(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        FailWith(ENOENT);
        return std::nullopt;
    }
    return std::string(path);
}

FileInfo InfoOf(const struct stat& st, std::string_view name) {
    FileInfo info;
    info.directory = S_ISDIR(st.st_mode);
    info.readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    info.hidden = IsHiddenName(name);
    info.size = info.directory ? 0 : static_cast<std::uint64_t>(st.st_size);
    info.modified = static_cast<std::int64_t>(st.st_mtime);
    return info;
}

// Opens a file that holds bytes: a pipe or a device would block the open or the reads, or never
// end, so the open does not wait and anything but a regular file is refused (ENXIO, what a
// pipe with nobody at its other end gives; EISDIR for a folder). -1 on a failure, recorded.
int OpenRegular(const std::string& path, int flags, mode_t mode) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK, mode);
    if (fd < 0) {
        Fail();
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        FailWith(S_ISDIR(st.st_mode) ? EISDIR : ENXIO);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

bool WriteAll(int fd, const std::byte* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

class PosixFile final : public File {
  public:
    explicit PosixFile(int fd) : fd_(fd) {}

    std::optional<std::size_t> Read(std::span<std::byte> buffer) override {
        for (;;) {
            const ssize_t n = ::read(fd_.Get(), buffer.data(), buffer.size());
            if (n >= 0) return static_cast<std::size_t>(n);
            if (errno != EINTR) {
                Fail();
                return std::nullopt;
            }
        }
    }

    bool Write(std::span<const std::byte> data) override {
        return WriteAll(fd_.Get(), data.data(), data.size());
    }

    bool SeekToStart() override { return ::lseek(fd_.Get(), 0, SEEK_SET) == 0 || Fail(); }

  private:
    Descriptor fd_;
};

}  // namespace

std::optional<FileInfo> PosixFileSystem::Attributes(std::string_view path) {
    const auto p = CPath(path);
    struct stat st {};
    if (!p || ::stat(p->c_str(), &st) != 0) {
        if (p) Fail();
        return std::nullopt;
    }
    return InfoOf(st, path);
}

bool PosixFileSystem::SetReadOnly(std::string_view path, bool readOnly) {
    const auto p = CPath(path);
    struct stat st {};
    if (!p) return false;
    if (::stat(p->c_str(), &st) != 0) return Fail();
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return ::chmod(p->c_str(), mode) == 0 || Fail();
}

std::unique_ptr<File> PosixFileSystem::Open(std::string_view path, FileAccess access,
                                            Disposition disposition) {
    const auto p = CPath(path);
    if (!p) return nullptr;
    int flags = O_CLOEXEC;
    switch (access) {
        case FileAccess::Read:
            flags |= O_RDONLY;
            break;
        case FileAccess::Write:
            flags |= O_WRONLY;
            break;
        case FileAccess::ReadWrite:
            flags |= O_RDWR;
            break;
    }
    switch (disposition) {
        case Disposition::CreateNew:
            flags |= O_CREAT | O_EXCL;
            break;
        case Disposition::CreateAlways:
            flags |= O_CREAT | O_TRUNC;
            break;
        case Disposition::OpenExisting:
            break;
        case Disposition::OpenAlways:
            flags |= O_CREAT;
            break;
    }
    // Creating for reading only still has to make the file; the mode bits come from umask.
    const int fd = OpenRegular(*p, flags, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixFile>(fd);
}

bool PosixFileSystem::Copy(std::string_view from, std::string_view to, bool failIfExists) {
    const auto source = CPath(from);
    const auto target = CPath(to);
    if (!source || !target) return false;
    Descriptor in(OpenRegular(*source, O_RDONLY | O_CLOEXEC, 0));
    if (in.Get() < 0) return false;
    struct stat st {};
    if (::fstat(in.Get(), &st) != 0) return Fail();
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
    Descriptor out(OpenRegular(*target, flags, st.st_mode & 0777));
    if (out.Get() < 0) return false;
    std::array<std::byte, 65536> buffer{};
    for (;;) {
        const ssize_t n = ::read(in.Get(), buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail();
        }
        if (!WriteAll(out.Get(), buffer.data(), static_cast<std::size_t>(n))) return false;
    }
    // An existing target keeps its own bits through O_TRUNC; give it the source's.
    ::fchmod(out.Get(), st.st_mode & 07777);
    if (::close(out.Release()) != 0) return Fail();
    return true;
}

bool PosixFileSystem::Delete(std::string_view path) {
    const auto p = CPath(path);
    return p && (::unlink(p->c_str()) == 0 || Fail());
}

bool PosixFileSystem::CreateDirectory(std::string_view path) {
    const auto p = CPath(path);
    return p && (::mkdir(p->c_str(), 0777) == 0 || Fail());
}

std::optional<std::vector<DirectoryEntry>> PosixFileSystem::Find(std::string_view directory,
                                                                 std::string_view pattern) {
    const auto p = CPath(directory);
    if (!p) return std::nullopt;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(p->c_str()), ::closedir);
    if (!dir) {
        Fail();
        return std::nullopt;
    }
    std::vector<DirectoryEntry> entries;
    for (;;) {
        errno = 0;
        const dirent* d = ::readdir(dir.get());
        if (!d) {
            if (errno != 0) {
                Fail();
                return std::nullopt;
            }
            break;
        }
        const std::string_view name = d->d_name;
        if (name == "." || name == "..") continue;
        if (!MatchesPattern(name, pattern)) continue;
        DirectoryEntry entry;
        entry.name = name;
        struct stat st {};
        // An entry that vanished or is a dangling link is still listed, as a plain file.
        if (::fstatat(::dirfd(dir.get()), d->d_name, &st, 0) == 0 ||
            ::fstatat(::dirfd(dir.get()), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.info = InfoOf(st, name);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string PosixFileSystem::CurrentDirectory() {
    std::unique_ptr<char, void (*)(void*)> cwd(::getcwd(nullptr, 0), std::free);
    if (!cwd) {
        Fail();
        return {};
    }
    return cwd.get();
}

bool PosixFileSystem::SetCurrentDirectory(std::string_view path) {
    const auto p = CPath(path);
    return p && (::chdir(p->c_str()) == 0 || Fail());
}

std::string PosixFileSystem::TempDirectory() {
    std::string dir;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && tmp[0] == '/') dir = tmp;
    if (dir.empty()) dir = "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace orbel::platform
