#include "platform/network/MountTable.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/text/AsciiCase.h"

namespace orbel::platform {

namespace {

using Components = std::vector<std::string>;

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// The kernel writes space, tab, newline and backslash in mountinfo fields as "\ooo".
std::string DecodeOctalEscapes(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            out.push_back(static_cast<char>(value & 0xFF));
            i += 3;
            continue;
        }
        out.push_back(field[i]);
    }
    return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        std::size_t end = pos;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        if (end > pos) fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

// Components of a path split at either separator; empty and "." components vanish. Returns
// nullopt for a ".." component, which could climb out of the part of the tree it names.
std::optional<Components> SplitComponents(std::string_view path) {
    Components parts;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = pos;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        const std::string_view part = path.substr(pos, end - pos);
        if (part == "..") return std::nullopt;
        if (!part.empty() && part != ".") parts.emplace_back(part);
        pos = end + 1;
    }
    return parts;
}

// A local path as components, with ".." resolved by dropping the component before it, the
// way the kernel resolves a path without symbolic links.
Components LocalComponents(std::string_view path) {
    Components parts;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('/', pos);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        pos = end + 1;
    }
    return parts;
}

bool IsPrefix(const Components& prefix, const Components& whole) {
    return prefix.size() <= whole.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

struct RemoteName {
    std::string server;
    Components components;  // the share first, then the directories below it
};

bool IsSmbType(std::string_view type) {
    return type == "cifs" || type == "smb3" || type == "smbfs";
}
bool IsNfsType(std::string_view type) {
    return type == "nfs" || type == "nfs4";
}

// Where a network mount's file system lives on its server, or nullopt for a local one.
std::optional<RemoteName> RemoteOf(const MountTable::Mount& mount) {
    const std::string_view source = mount.source;
    RemoteName remote;
    if (IsSmbType(mount.fsType)) {
        // "//server/share/sub"
        if (source.size() < 3 || !IsSeparator(source[0]) || !IsSeparator(source[1])) {
            return std::nullopt;
        }
        const std::string_view rest = source.substr(2);
        const auto serverEnd = std::find_if(rest.begin(), rest.end(), IsSeparator);
        remote.server.assign(rest.begin(), serverEnd);
        auto parts = SplitComponents(rest.substr(remote.server.size()));
        if (!parts) return std::nullopt;
        remote.components = std::move(*parts);
        // A bind mount of a directory on the share shows the share itself as its source and
        // the directory as its root.
        if (remote.components.size() == 1) {
            auto below = SplitComponents(mount.root);
            if (!below) return std::nullopt;
            remote.components.insert(remote.components.end(), below->begin(), below->end());
        }
    } else if (IsNfsType(mount.fsType)) {
        // "server:/export/path"; an IPv6 server is written in brackets, "[fe80::1]:/export".
        const std::size_t slash = source.find('/');
        if (slash == std::string_view::npos || slash < 2 || source[slash - 1] != ':') {
            return std::nullopt;
        }
        remote.server.assign(source.substr(0, slash - 1));
        auto parts = SplitComponents(source.substr(slash));
        if (!parts) return std::nullopt;
        remote.components = std::move(*parts);
    } else {
        return std::nullopt;
    }
    if (remote.server.empty() || remote.components.empty() ||
        std::any_of(remote.server.begin(), remote.server.end(), IsSeparator)) {
        return std::nullopt;
    }
    return remote;
}

}  // namespace

MountTable MountTable::FromMountInfo(std::string_view text) {
    MountTable table;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const auto fields = SplitFields(text.substr(pos, end - pos));
        pos = end + 1;

        // id parent major:minor root mountpoint options [optional...] - fstype source super
        const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (dash == fields.end() || std::distance(fields.begin(), dash) < 6 ||
            std::distance(dash, fields.end()) < 3) {
            continue;
        }
        Mount mount;
        mount.root = DecodeOctalEscapes(fields[3]);
        mount.mountPoint = DecodeOctalEscapes(fields[4]);
        mount.fsType = DecodeOctalEscapes(*(dash + 1));
        mount.source = DecodeOctalEscapes(*(dash + 2));
        if (mount.mountPoint.empty() || mount.mountPoint.front() != '/') continue;
        table.mounts_.push_back(std::move(mount));
    }
    return table;
}

MountTable MountTable::ReadSystem() {
    std::ifstream in("/proc/self/mountinfo");
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return FromMountInfo(text.str());
}

std::optional<std::size_t> MountTable::OwnerOf(const std::vector<std::string>& path) const {
    std::optional<std::size_t> owner;
    std::size_t ownerDepth = 0;
    for (std::size_t i = 0; i < mounts_.size(); ++i) {
        const Components point = LocalComponents(mounts_[i].mountPoint);
        if (IsPrefix(point, path) && (!owner || point.size() >= ownerDepth)) {
            owner = i;
            ownerDepth = point.size();
        }
    }
    return owner;
}

std::optional<std::string> MountTable::UniversalName(std::string_view path) const {
    if (path.empty() || path.front() != '/') return std::nullopt;
    const Components parts = LocalComponents(path);
    const auto owner = OwnerOf(parts);
    if (!owner) return std::nullopt;
    const Mount& mount = mounts_[*owner];
    const auto remote = RemoteOf(mount);
    if (!remote) return std::nullopt;

    std::string name = "\\\\" + remote->server;
    for (const auto& part : remote->components) name += "\\" + part;
    const std::size_t depth = LocalComponents(mount.mountPoint).size();
    for (std::size_t i = depth; i < parts.size(); ++i) name += "\\" + parts[i];
    return name;
}

std::optional<std::string> MountTable::LocalPath(std::string_view universalName) const {
    if (universalName.size() < 3 || !IsSeparator(universalName[0]) ||
        !IsSeparator(universalName[1]) || IsSeparator(universalName[2])) {
        return std::nullopt;
    }
    const auto parts = SplitComponents(universalName.substr(2));
    if (!parts || parts->size() < 2) return std::nullopt;
    const std::string_view server = parts->front();
    const Components wanted(parts->begin() + 1, parts->end());

    // Candidates: every mount of this server whose share and directory lead the name, the
    // one that reaches deepest into the share first.
    struct Candidate {
        std::size_t index;
        std::size_t depth;
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < mounts_.size(); ++i) {
        const auto remote = RemoteOf(mounts_[i]);
        if (!remote || !EqualsIgnoringAsciiCase(remote->server, server) ||
            remote->components.size() > wanted.size()) {
            continue;
        }
        if (std::equal(remote->components.begin(), remote->components.end(), wanted.begin(),
                       [](const std::string& a, const std::string& b) {
                           return EqualsIgnoringAsciiCase(a, b);
                       })) {
            candidates.push_back({i, remote->components.size()});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) {
                         return a.depth > b.depth || (a.depth == b.depth && a.index > b.index);
                     });

    for (const Candidate& candidate : candidates) {
        Components local = LocalComponents(mounts_[candidate.index].mountPoint);
        local.insert(local.end(), wanted.begin() + static_cast<std::ptrdiff_t>(candidate.depth),
                     wanted.end());
        // A mount hidden below another one, or a directory covered by a local mount, does
        // not lead to the share.
        if (OwnerOf(local) != candidate.index) continue;
        std::string path;
        for (const auto& part : local) path += "/" + part;
        return path.empty() ? std::string("/") : path;
    }
    return std::nullopt;
}

}  // namespace orbel::platform
