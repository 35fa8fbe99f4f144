#include "platform/files/MemoryFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>

namespace orbel::platform {

enum class NodeKind { Directory, File, Link, Special };

struct MemoryFileSystem::Node {
    NodeKind kind = NodeKind::File;
    unsigned mode = 0;
    std::int64_t modified = 0;
    std::string data;  // a file's bytes, a link's target
    std::map<std::string, std::shared_ptr<Node>, std::less<>> children;
    std::weak_ptr<Node> parent;  // a directory's; the root is its own
    std::string name;
};

struct MemoryFileSystem::State {
    std::shared_ptr<Node> root;
    std::shared_ptr<Node> cwd;
    std::optional<std::int64_t> time;
    std::int64_t Now() const {
        return time ? *time : static_cast<std::int64_t>(std::time(nullptr));
    }
};

namespace {

using Node = MemoryFileSystem::Node;
using State = MemoryFileSystem::State;

// As many links as the kernel follows in one lookup before it gives ELOOP.
constexpr int kMaxLinks = 40;
constexpr unsigned kWriteBits = 0222;

// Where a path leads: the directory that holds (or would hold) its last name, and what is
// there, if anything. The name is empty when the path ends at "/", "." or "..".
struct Place {
    std::shared_ptr<Node> dir;
    std::string name;
    std::shared_ptr<Node> node;
};

template <typename T>
std::optional<T> Failed(int code) {
    FailWith(code);
    return std::nullopt;
}

// Resolves path from `from` as the kernel does: every directory on the way through its links,
// the last name through its link only with followLast (or a trailing "/").
std::optional<Place> Walk(const State& state, std::shared_ptr<Node> from, std::string_view path,
                          bool followLast, int& links) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return Failed<Place>(ENOENT);
    std::shared_ptr<Node> cur = path.front() == '/' ? state.root : std::move(from);
    std::vector<std::string_view> parts;
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t slash = std::min(path.find('/', at), path.size());
        if (slash > at) parts.push_back(path.substr(at, slash - at));
        at = slash + 1;
    }
    if (parts.empty()) return Place{cur, {}, cur};
    const bool dirOnly = path.back() == '/';
    for (std::size_t i = 0;; ++i) {
        if (cur->kind != NodeKind::Directory) return Failed<Place>(ENOTDIR);
        const std::string_view part = parts[i];
        const bool last = i + 1 == parts.size();
        std::shared_ptr<Node> next;
        if (part == ".") {
            next = cur;
        } else if (part == "..") {
            next = cur->parent.lock();
        } else if (const auto it = cur->children.find(part); it != cur->children.end()) {
            next = it->second;
        }
        if (last && (part == "." || part == "..")) return Place{next, {}, next};
        const bool follow = !last || followLast || dirOnly;
        if (next && next->kind == NodeKind::Link && follow) {
            if (++links > kMaxLinks) return Failed<Place>(ELOOP);
            auto target = Walk(state, cur, next->data, true, links);
            if (last || !target) return target;
            if (!target->node) return Failed<Place>(ENOENT);
            next = target->node;
        }
        if (last) {
            if (dirOnly && next && next->kind != NodeKind::Directory) return Failed<Place>(ENOTDIR);
            return Place{cur, std::string(part), next};
        }
        if (!next) return Failed<Place>(ENOENT);
        cur = next;
    }
}

std::optional<Place> Walk(const State& state, std::string_view path, bool followLast) {
    int links = 0;
    return Walk(state, state.cwd, path, followLast, links);
}

std::shared_ptr<Node> Add(const State& state, const std::shared_ptr<Node>& dir, std::string name,
                          NodeKind kind, unsigned mode) {
    auto node = std::make_shared<Node>();
    node->kind = kind;
    node->mode = mode;
    node->modified = dir->modified = state.Now();
    node->name = name;
    if (kind == NodeKind::Directory) node->parent = dir;
    dir->children[std::move(name)] = node;
    return node;
}

// Makes a new entry where nothing is at the name (a link there counts, dangling or not).
bool Plant(const State& state, std::string_view path, NodeKind kind, unsigned mode,
           std::string data = {}) {
    const auto place = Walk(state, path, false);
    if (!place) return false;
    if (place->node) return FailWith(EEXIST);
    if ((place->dir->mode & 0200) == 0) return FailWith(EACCES);
    Add(state, place->dir, place->name, kind, mode)->data = std::move(data);
    return true;
}

FileInfo InfoOf(const Node& node, std::string_view name) {
    FileInfo info;
    info.directory = node.kind == NodeKind::Directory;
    info.readOnly = (node.mode & kWriteBits) == 0;
    info.hidden = IsHiddenName(name);
    const bool holdsBytes = node.kind == NodeKind::File || node.kind == NodeKind::Link;
    info.size = holdsBytes ? node.data.size() : 0;
    info.modified = node.modified;
    return info;
}

class MemoryFile final : public File {
  public:
    MemoryFile(std::shared_ptr<Node> node, std::shared_ptr<const State> state, bool read,
               bool write)
        : node_(std::move(node)), state_(std::move(state)), read_(read), write_(write) {}

    std::optional<std::size_t> Read(std::span<std::byte> buffer) override {
        if (!read_) return Failed<std::size_t>(EBADF);
        const std::string& data = node_->data;
        const std::size_t n =
            position_ >= data.size() ? 0 : std::min(buffer.size(), data.size() - position_);
        if (n > 0) std::memcpy(buffer.data(), data.data() + position_, n);
        position_ += n;
        return n;
    }

    bool Write(std::span<const std::byte> bytes) override {
        if (!write_) return FailWith(EBADF);
        std::string& data = node_->data;
        if (data.size() < position_ + bytes.size()) data.resize(position_ + bytes.size());
        if (!bytes.empty()) std::memcpy(data.data() + position_, bytes.data(), bytes.size());
        position_ += bytes.size();
        node_->modified = state_->Now();
        return true;
    }

    bool SeekToStart() override {
        position_ = 0;
        return true;
    }

  private:
    // Kept even when the name goes, as an open descriptor keeps an unlinked file.
    std::shared_ptr<Node> node_;
    std::shared_ptr<const State> state_;
    bool read_;
    bool write_;
    std::size_t position_ = 0;
};

std::string Octal(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%o", mode);
    return text;
}

// The first bytes of a file, quoted, with anything unprintable as \xNN.
std::string Preview(const std::string& data) {
    constexpr std::size_t kShown = 40;
    std::string out = "\"";
    for (const char c : std::string_view(data).substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    out += data.size() > kShown ? "\"..." : "\"";
    return out;
}

void DumpNode(const Node& node, const std::string& path, std::string& out) {
    const std::string stamp = " @" + std::to_string(node.modified);
    switch (node.kind) {
        case NodeKind::Directory:
            out += (path.empty() ? "/" : path + "/") + " dir " + Octal(node.mode) + stamp + "\n";
            for (const auto& [name, child] : node.children)
                DumpNode(*child, path + "/" + name, out);
            break;
        case NodeKind::File:
            out += path + " file " + Octal(node.mode) + " " + std::to_string(node.data.size()) +
                   " " + Preview(node.data) + stamp + "\n";
            break;
        case NodeKind::Link:
            out += path + " link " + Octal(node.mode) + " -> " + node.data + "\n";
            break;
        case NodeKind::Special:
            out += path + " special " + Octal(node.mode) + "\n";
            break;
    }
}

std::string PathOf(const State& state, const Node* dir) {
    std::string path;
    for (; dir != state.root.get(); dir = dir->parent.lock().get()) path = "/" + dir->name + path;
    return path.empty() ? "/" : path;
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() : state_(std::make_shared<State>()) {
    state_->root = std::make_shared<Node>();
    state_->root->kind = NodeKind::Directory;
    state_->root->mode = 0755;
    state_->root->modified = state_->Now();
    state_->root->parent = state_->root;
    state_->cwd = state_->root;
    Add(*state_, state_->root, "tmp", NodeKind::Directory, 01777);
}

MemoryFileSystem::~MemoryFileSystem() = default;

std::optional<FileInfo> MemoryFileSystem::Attributes(std::string_view path) {
    const auto place = Walk(*state_, path, true);
    if (!place) return std::nullopt;
    if (!place->node) return Failed<FileInfo>(ENOENT);
    return InfoOf(*place->node, path);
}

bool MemoryFileSystem::SetReadOnly(std::string_view path, bool readOnly) {
    const auto place = Walk(*state_, path, true);
    if (!place) return false;
    if (!place->node) return FailWith(ENOENT);
    unsigned& mode = place->node->mode;
    mode = readOnly ? (mode & ~kWriteBits) : (mode | 0200);
    return true;
}

std::unique_ptr<File> MemoryFileSystem::Open(std::string_view path, FileAccess access,
                                             Disposition disposition) {
    const auto place = Walk(*state_, path, disposition != Disposition::CreateNew);
    if (!place) return nullptr;
    const bool read = access != FileAccess::Write;
    const bool write = access != FileAccess::Read;
    std::shared_ptr<Node> node = place->node;
    if (node && disposition == Disposition::CreateNew) {
        FailWith(EEXIST);
        return nullptr;
    }
    if (!node) {
        if (disposition == Disposition::OpenExisting) {
            FailWith(ENOENT);
            return nullptr;
        }
        if ((place->dir->mode & 0200) == 0) {
            FailWith(EACCES);
            return nullptr;
        }
        node = Add(*state_, place->dir, place->name, NodeKind::File, 0644);
    } else {
        if (node->kind != NodeKind::File) {
            FailWith(node->kind == NodeKind::Directory ? EISDIR : ENXIO);
            return nullptr;
        }
        if ((read && (node->mode & 0400) == 0) || (write && (node->mode & 0200) == 0)) {
            FailWith(EACCES);
            return nullptr;
        }
        if (disposition == Disposition::CreateAlways) {
            node->data.clear();
            node->modified = state_->Now();
        }
    }
    return std::make_unique<MemoryFile>(std::move(node), state_, read, write);
}

bool MemoryFileSystem::Delete(std::string_view path) {
    const auto place = Walk(*state_, path, false);
    if (!place) return false;
    if (!place->node) return FailWith(ENOENT);
    if (place->node->kind == NodeKind::Directory) return FailWith(EISDIR);
    if ((place->dir->mode & 0200) == 0) return FailWith(EACCES);
    place->dir->children.erase(place->name);
    place->dir->modified = state_->Now();
    return true;
}

bool MemoryFileSystem::CreateDirectory(std::string_view path) {
    return Plant(*state_, path, NodeKind::Directory, 0755);
}

std::optional<std::vector<DirectoryEntry>> MemoryFileSystem::Find(std::string_view directory,
                                                                  std::string_view pattern) {
    const auto place = Walk(*state_, directory, true);
    if (!place) return std::nullopt;
    if (!place->node) return Failed<std::vector<DirectoryEntry>>(ENOENT);
    if (place->node->kind != NodeKind::Directory)
        return Failed<std::vector<DirectoryEntry>>(ENOTDIR);
    // Looking through the links below is not the caller's failure.
    const int lastError = LastErrorCode();
    std::vector<DirectoryEntry> entries;
    for (const auto& [name, child] : place->node->children) {
        if (!MatchesPattern(name, pattern)) continue;
        std::shared_ptr<Node> shown = child;
        if (child->kind == NodeKind::Link) {
            int links = 0;
            const auto target = Walk(*state_, place->node, child->data, true, links);
            // A dangling link is still listed, as a plain file.
            if (target && target->node) shown = target->node;
        }
        entries.push_back({name, InfoOf(*shown, name)});
    }
    SetLastErrorCode(lastError);
    return entries;
}

std::string MemoryFileSystem::CurrentDirectory() {
    return PathOf(*state_, state_->cwd.get());
}

bool MemoryFileSystem::SetCurrentDirectory(std::string_view path) {
    const auto place = Walk(*state_, path, true);
    if (!place) return false;
    if (!place->node) return FailWith(ENOENT);
    if (place->node->kind != NodeKind::Directory) return FailWith(ENOTDIR);
    state_->cwd = place->node;
    return true;
}

bool MemoryFileSystem::CreateSymbolicLink(std::string_view target, std::string_view at) {
    return Plant(*state_, at, NodeKind::Link, 0777, std::string(target));
}

bool MemoryFileSystem::CreateSpecialFile(std::string_view path) {
    return Plant(*state_, path, NodeKind::Special, 0644);
}

void MemoryFileSystem::SetTime(std::int64_t seconds) {
    state_->time = seconds;
}

std::string MemoryFileSystem::Dump() const {
    std::string out = "cwd " + PathOf(*state_, state_->cwd.get()) + "\n";
    DumpNode(*state_->root, {}, out);
    return out;
}

}  // namespace orbel::platform
