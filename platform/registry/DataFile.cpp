#include "platform/registry/DataFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace orbel::platform {
namespace {

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

std::string Describe(const std::filesystem::path& file, std::string_view what, int err) {
    std::string text = file.string();
    text += ": ";
    text += what;
    text += ": ";
    text += std::strerror(err);
    return text;
}

// Closes a descriptor on every way out of a function.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now so that a failing close (a late write error on some file systems) is seen.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A name no other writer in this or another process picks at the same moment; the exclusive
// create below is what actually guarantees it.
std::filesystem::path TemporarySibling(const std::filesystem::path& file) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string name = ".";
    name += file.filename().string();
    name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
            std::to_string(static_cast<unsigned long long>(ticks) % 1000000007ULL);
    return file.parent_path() / name;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // Only narrows the window in which a crash loses the rename; the data is safe either way.
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

ReadResult ReadFileText(const std::filesystem::path& file, std::string& text, std::string* error) {
    text.clear();
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return ReadResult::Missing;
        SetError(error, Describe(file, "cannot open", errno));
        return ReadResult::Failed;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        SetError(error, Describe(file, "cannot inspect", errno));
        return ReadResult::Failed;
    }
    if (S_ISDIR(info.st_mode)) {
        SetError(error, Describe(file, "cannot read", EISDIR));
        return ReadResult::Failed;
    }
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(fd.Get(), chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            SetError(error, Describe(file, "cannot read", errno));
            text.clear();
            return ReadResult::Failed;
        }
        if (got == 0) break;
        text.append(chunk.data(), static_cast<std::size_t>(got));
    }
    return ReadResult::Ok;
}

bool ReplaceFileText(const std::filesystem::path& file, std::string_view data, std::string* error) {
    if (file.empty() || !file.has_filename()) {
        SetError(error, "no file name to write to");
        return false;
    }
    std::filesystem::path folder = file.parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            SetError(error, Describe(folder, "cannot create folder", ec.value()));
            return false;
        }
    }

    struct stat old {};
    const bool keepMode = ::stat(file.c_str(), &old) == 0;

    std::filesystem::path temporary;
    int rawFd = -1;
    for (int attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
        temporary = TemporarySibling(file);
        rawFd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (rawFd < 0 && errno != EEXIST) break;
    }
    if (rawFd < 0) {
        SetError(error, Describe(temporary, "cannot create", errno));
        return false;
    }
    FileDescriptor fd(rawFd);
    auto fail = [&](std::string_view what) {
        const int err = errno;
        ::unlink(temporary.c_str());
        SetError(error, Describe(temporary, what, err));
        return false;
    };

    if (keepMode && ::fchmod(fd.Get(), old.st_mode & 07777) != 0) return fail("cannot set mode");
    if (!WriteAll(fd.Get(), data)) return fail("cannot write");
    if (::fsync(fd.Get()) != 0) return fail("cannot flush");
    if (fd.Close() != 0) return fail("cannot close");
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        SetError(error, Describe(file, "cannot replace", err));
        return false;
    }
    SyncFolder(folder.empty() ? std::filesystem::path(".") : folder);
    return true;
}

std::filesystem::path XdgBaseDirectory(const char* variable, std::string_view homeRelative) {
    // The XDG rules ignore a base folder that is empty or relative.
    if (const char* base = std::getenv(variable); base && base[0] == '/') {
        return std::filesystem::path(base);
    }
    std::filesystem::path home;
    if (const char* env = std::getenv("HOME"); env && env[0] != '\0') {
        home = env;
    } else {
        std::vector<char> scratch(16384);
        struct passwd entry {};
        struct passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &entry, scratch.data(), scratch.size(), &found) == 0 &&
            found && found->pw_dir) {
            home = found->pw_dir;
        }
    }
    return home / std::filesystem::path(homeRelative);
}

}  // namespace orbel::platform
