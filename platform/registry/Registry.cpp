#include "platform/registry/Registry.h"

#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/Platform.h"
#include "platform/registry/ClassesRoot.h"
#include "platform/registry/DataFile.h"
#include "platform/text/AsciiCase.h"

namespace orbel::platform {
namespace {

namespace fs = std::filesystem;

// What tells a file or folder apart from its earlier self.
struct Stamp {
    bool exists = false;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
    std::uint64_t size = 0;
    std::uint64_t inode = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, static_cast<std::uint64_t>(st.st_size),
            static_cast<std::uint64_t>(st.st_ino)};
}

std::string Getenv(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The key names of a path below a root; nullopt for a malformed one.
std::optional<std::vector<std::string_view>> SplitKeys(std::string_view subKey) {
    std::vector<std::string_view> keys;
    if (subKey.empty()) return keys;
    if (subKey.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
    for (;;) {
        const std::size_t end = subKey.find('\\');
        const std::string_view key = subKey.substr(0, end);
        if (key.empty()) return std::nullopt;
        keys.push_back(key);
        if (end == std::string_view::npos) return keys;
        subKey.remove_prefix(end + 1);
    }
}

std::string HivePath(RegRoot root, std::string_view subKey) {
    std::string path(RootName(root));
    if (!subKey.empty()) {
        path += '\\';
        path += subKey;
    }
    return path;
}

}  // namespace

std::string_view RootName(RegRoot root) {
    switch (root) {
        case RegRoot::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case RegRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RegRoot::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case RegRoot::Users:
            return "HKEY_USERS";
    }
    return "HKEY_CLASSES_ROOT";
}

struct Registry::Impl {
    std::mutex mutex;

    fs::path hivePath;
    Stamp hiveStamp;
    bool hiveLoaded = false;
    RegistryHive hive;
    std::string hiveError;

    // The environment and the files the view was made from.
    std::vector<std::string> viewEnvironment;
    std::vector<Stamp> viewStamps;
    std::unique_ptr<ClassesRootView> view;

    const RegistryHive& Hive() {
        fs::path path = RegistryHive::DefaultPath();
        const Stamp stamp = StampOf(path);
        if (hiveLoaded && path == hivePath && stamp == hiveStamp) return hive;
        hivePath = std::move(path);
        hiveStamp = stamp;
        hiveLoaded = true;
        hiveError.clear();
        auto loaded = RegistryHive::Load(hivePath, &hiveError);
        hive = loaded ? std::move(*loaded) : RegistryHive();
        return hive;
    }

    static std::vector<Stamp> StampsOf(const ClassesRootSources& sources) {
        std::vector<Stamp> stamps;
        for (const fs::path& dir : sources.dataDirs) stamps.push_back(StampOf(dir / "mime/globs2"));
        stamps.push_back(StampOf(sources.templatesDir));
        stamps.push_back(
            StampOf(XdgBaseDirectory("XDG_CONFIG_HOME", ".config") / "user-dirs.dirs"));
        return stamps;
    }

    const ClassesRootView& View() {
        std::vector<std::string> environment = {Getenv("XDG_DATA_HOME"), Getenv("XDG_DATA_DIRS"),
                                                Getenv("XDG_CONFIG_HOME"), Getenv("HOME")};
        if (view && environment == viewEnvironment && StampsOf(view->Sources()) == viewStamps) {
            return *view;
        }
        ClassesRootSources sources = ClassesRootSources::FromEnvironment();
        viewStamps = StampsOf(sources);
        viewEnvironment = std::move(environment);
        view = std::make_unique<ClassesRootView>(std::move(sources));
        return *view;
    }
};

Registry::Registry() : impl_(std::make_unique<Impl>()) {}
Registry::~Registry() = default;

bool Registry::KeyExists(RegRoot root, std::string_view subKey) {
    const auto keys = SplitKeys(subKey);
    if (!keys) return false;
    std::lock_guard lock(impl_->mutex);
    return impl_->Hive().KeyExists(HivePath(root, subKey)) || impl_->View().KeyExists(root, *keys);
}

std::optional<RegValue> Registry::QueryValue(RegRoot root, std::string_view subKey,
                                             std::string_view name) {
    const auto keys = SplitKeys(subKey);
    if (!keys) return std::nullopt;
    std::lock_guard lock(impl_->mutex);
    const std::string path = HivePath(root, subKey);
    const RegistryHive& hive = impl_->Hive();
    if (hive.KeyExists(path)) return hive.QueryValue(path, name);
    const auto values = impl_->View().Values(root, *keys);
    if (!values) return std::nullopt;
    const std::string folded = FoldedAscii(name);
    for (const auto& [valueName, value] : *values) {
        if (FoldedAscii(valueName) == folded) return value;
    }
    return std::nullopt;
}

std::optional<std::vector<std::pair<std::string, RegValue>>> Registry::Values(
    RegRoot root, std::string_view subKey) {
    const auto keys = SplitKeys(subKey);
    if (!keys) return std::nullopt;
    std::lock_guard lock(impl_->mutex);
    const std::string path = HivePath(root, subKey);
    const RegistryHive& hive = impl_->Hive();
    if (hive.KeyExists(path)) return hive.EnumValues(path);
    return impl_->View().Values(root, *keys);
}

std::vector<std::string> Registry::EnumKeys(RegRoot root, std::string_view subKey) {
    const auto keys = SplitKeys(subKey);
    if (!keys) return {};
    std::lock_guard lock(impl_->mutex);
    const std::string path = HivePath(root, subKey);
    std::map<std::string, std::string> merged;  // by folded name; the hive's spelling wins
    for (std::string& name : impl_->Hive().EnumKeys(path)) {
        merged.emplace(FoldedAscii(name), std::move(name));
    }
    for (std::string& name : impl_->View().SubKeys(root, *keys)) {
        merged.emplace(FoldedAscii(name), std::move(name));
    }
    std::vector<std::string> names;
    names.reserve(merged.size());
    for (auto& entry : merged) names.push_back(std::move(entry.second));
    return names;
}

std::string Registry::HiveError() {
    std::lock_guard lock(impl_->mutex);
    impl_->Hive();
    return impl_->hiveError;
}

}  // namespace orbel::platform

namespace orbel {
namespace {

platform::RegRoot RootOf(HKEY key) {
    switch (key) {
        case HKEY::ClassesRoot:
            return platform::RegRoot::ClassesRoot;
        case HKEY::CurrentUser:
            return platform::RegRoot::CurrentUser;
        case HKEY::LocalMachine:
            return platform::RegRoot::LocalMachine;
        case HKEY::Users:
            return platform::RegRoot::Users;
    }
    return platform::RegRoot::ClassesRoot;
}

platform::Registry& Reg() {
    return platform::GetPlatform().Reg();
}

}  // namespace

LONG RegKey::Open(HKEY root, std::string_view subKey) {
    Close();
    const platform::RegRoot r = RootOf(root);
    if (!Reg().KeyExists(r, subKey)) return ERROR_FILE_NOT_FOUND;
    open_ = true;
    root_ = r;
    subKey_ = subKey;
    return ERROR_SUCCESS;
}

LONG RegKey::Open(const RegKey& parent, std::string_view subKey) {
    if (!parent.open_) return ERROR_INVALID_HANDLE;
    std::string path = parent.subKey_;
    if (!subKey.empty()) {
        if (!path.empty()) path += '\\';
        path += subKey;
    }
    const platform::RegRoot r = parent.root_;
    Close();
    if (!Reg().KeyExists(r, path)) return ERROR_FILE_NOT_FOUND;
    open_ = true;
    root_ = r;
    subKey_ = std::move(path);
    return ERROR_SUCCESS;
}

void RegKey::Close() {
    open_ = false;
    subKey_.clear();
    subKeys_.reset();
}

LONG RegKey::QueryValue(std::string_view name, platform::RegValue& value) const {
    if (!open_) return ERROR_INVALID_HANDLE;
    auto found = Reg().QueryValue(root_, subKey_, name);
    if (!found) return ERROR_FILE_NOT_FOUND;
    value = std::move(*found);
    return ERROR_SUCCESS;
}

LONG RegKey::QueryValue(std::string_view name, std::string& text, DWORD* type) const {
    platform::RegValue value;
    const LONG result = QueryValue(name, value);
    if (result != ERROR_SUCCESS) return result;
    const bool isText = value.kind == platform::RegValue::Kind::String;
    text = isText ? value.text : std::to_string(value.dword);
    if (type) *type = isText ? REG_SZ : REG_DWORD;
    return ERROR_SUCCESS;
}

bool RegKey::HasValue(std::string_view name) const {
    platform::RegValue value;
    return QueryValue(name, value) == ERROR_SUCCESS;
}

LONG RegKey::EnumKey(DWORD index, std::string& name) const {
    if (!open_) return ERROR_INVALID_HANDLE;
    if (!subKeys_) subKeys_ = Reg().EnumKeys(root_, subKey_);
    if (index >= subKeys_->size()) return ERROR_NO_MORE_ITEMS;
    name = (*subKeys_)[index];
    return ERROR_SUCCESS;
}

LONG RegOpenKeyEx(HKEY root, std::string_view subKey, RegKey& result) {
    return result.Open(root, subKey);
}

LONG RegQueryValueEx(const RegKey& key, std::string_view name, std::string& text, DWORD* type) {
    return key.QueryValue(name, text, type);
}

LONG RegEnumKey(const RegKey& key, DWORD index, std::string& name) {
    return key.EnumKey(index, name);
}

LONG RegCloseKey(RegKey& key) {
    if (!key.IsOpen()) return ERROR_INVALID_HANDLE;
    key.Close();
    return ERROR_SUCCESS;
}

}  // namespace orbel
