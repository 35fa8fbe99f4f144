#include "platform/registry/RegistryHive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <system_error>

#include "platform/registry/DataFile.h"
#include "platform/text/AsciiCase.h"

namespace orbel::platform {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct RootName {
    std::string_view longName;
    std::string_view shortName;
};
constexpr std::array<RootName, 4> kRoots{{{"HKEY_CLASSES_ROOT", "HKCR"},
                                          {"HKEY_CURRENT_USER", "HKCU"},
                                          {"HKEY_LOCAL_MACHINE", "HKLM"},
                                          {"HKEY_USERS", "HKU"}}};

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

struct KeyPath {
    std::size_t root = 0;
    std::vector<std::string_view> keys;
};

std::optional<KeyPath> SplitPath(std::string_view path) {
    KeyPath result;
    std::size_t pos = 0;
    bool first = true;
    for (;;) {
        const std::size_t end = std::min(path.find('\\', pos), path.size());
        const std::string_view part = path.substr(pos, end - pos);
        if (part.empty() || HasLineBreak(part)) return std::nullopt;
        if (first) {
            std::size_t i = 0;
            while (i < kRoots.size() && !EqualsIgnoringAsciiCase(part, kRoots[i].longName) &&
                   !EqualsIgnoringAsciiCase(part, kRoots[i].shortName)) {
                ++i;
            }
            if (i == kRoots.size()) return std::nullopt;
            result.root = i;
            first = false;
        } else {
            result.keys.push_back(part);
        }
        if (end == path.size()) return result;
        pos = end + 1;
    }
}

struct Key {
    std::string name;
    std::map<std::string, std::unique_ptr<Key>> children;            // by folded name
    std::map<std::string, std::pair<std::string, RegValue>> values;  // by folded name

    std::unique_ptr<Key> Clone() const {
        auto copy = std::make_unique<Key>();
        copy->name = name;
        copy->values = values;
        for (const auto& [folded, child] : children) copy->children.emplace(folded, child->Clone());
        return copy;
    }
};

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

void AppendValue(std::string& out, const std::string& name, const RegValue& value) {
    if (name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, name);
    }
    out += '=';
    if (value.kind == RegValue::Kind::DWord) {
        static constexpr char kDigits[] = "0123456789abcdef";
        out += "dword:";
        for (int shift = 28; shift >= 0; shift -= 4) out += kDigits[(value.dword >> shift) & 0xF];
    } else {
        AppendQuoted(out, value.text);
    }
    out += '\n';
}

void DumpKey(std::string& out, const std::string& path, const Key& key, bool isRoot) {
    if (!isRoot || !key.values.empty()) {
        out += '[';
        out += path;
        out += "]\n";
        for (const auto& [folded, entry] : key.values) AppendValue(out, entry.first, entry.second);
        out += '\n';
    }
    for (const auto& [folded, child] : key.children) {
        DumpKey(out, path + "\\" + child->name, *child, false);
    }
}

// Reads a quoted string starting at text[pos] == '"'; leaves pos after the closing quote.
std::optional<std::string> ReadQuoted(std::string_view text, std::size_t& pos,
                                      std::string& problem) {
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\r') {
            problem = "line break inside a string";
            return std::nullopt;
        }
        if (c == '\\') {
            if (pos + 1 >= text.size() || (text[pos + 1] != '\\' && text[pos + 1] != '"')) {
                problem = "bad escape in a string (only \\\\ and \\\" are allowed)";
                return std::nullopt;
            }
            ++pos;
        }
        out += text[pos];
    }
    problem = "string without its closing quote";
    return std::nullopt;
}

std::optional<std::uint32_t> ReadDWord(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (FoldAscii(c) >= 'a' && FoldAscii(c) <= 'f') {
            digit = FoldAscii(c) - 'a' + 10;
        } else {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

struct ParsedValue {
    std::string name;
    RegValue value;
};

std::optional<ParsedValue> ParseValueLine(std::string_view line, std::string& problem) {
    ParsedValue parsed;
    std::size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else {
        auto name = ReadQuoted(line, pos, problem);
        if (!name) return std::nullopt;
        if (name->empty()) {
            problem = "empty value name (the default value is written @)";
            return std::nullopt;
        }
        parsed.name = std::move(*name);
    }
    std::string_view rest = TrimBlanks(line.substr(pos));
    if (rest.empty() || rest[0] != '=') {
        problem = "expected = after the value name";
        return std::nullopt;
    }
    rest = TrimBlanks(rest.substr(1));
    if (!rest.empty() && rest[0] == '"') {
        std::size_t at = 0;
        auto text = ReadQuoted(rest, at, problem);
        if (!text) return std::nullopt;
        if (!TrimBlanks(rest.substr(at)).empty()) {
            problem = "text after the closing quote";
            return std::nullopt;
        }
        parsed.value = RegValue::String(std::move(*text));
        return parsed;
    }
    constexpr std::string_view kDWord = "dword:";
    if (rest.size() >= kDWord.size() &&
        EqualsIgnoringAsciiCase(rest.substr(0, kDWord.size()), kDWord)) {
        const auto value = ReadDWord(rest.substr(kDWord.size()));
        if (!value) {
            problem = "bad dword (1 to 8 hexadecimal digits)";
            return std::nullopt;
        }
        parsed.value = RegValue::DWord(*value);
        return parsed;
    }
    problem = "unsupported value data (only \"text\" and dword:)";
    return std::nullopt;
}

// Holds an exclusive flock for as long as it lives.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Acquire(const std::filesystem::path& lockFile, std::string* error) {
        if (lockFile.has_parent_path()) {
            std::error_code ec;
            std::filesystem::create_directories(lockFile.parent_path(), ec);
        }
        fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) return Fail(lockFile, "cannot open lock file", error);
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) return Fail(lockFile, "cannot lock", error);
        }
        return true;
    }

  private:
    static bool Fail(const std::filesystem::path& file, std::string_view what, std::string* error) {
        if (error) *error = file.string() + ": " + std::string(what) + ": " + std::strerror(errno);
        return false;
    }
    int fd_ = -1;
};

}  // namespace

struct RegistryHive::Impl {
    std::filesystem::path file;
    std::array<Key, kRoots.size()> roots;

    Impl() {
        for (std::size_t i = 0; i < kRoots.size(); ++i) roots[i].name = kRoots[i].longName;
    }
    Impl(const Impl& other) : file(other.file) {
        for (std::size_t i = 0; i < kRoots.size(); ++i) {
            roots[i].name = other.roots[i].name;
            roots[i].values = other.roots[i].values;
            for (const auto& [folded, child] : other.roots[i].children) {
                roots[i].children.emplace(folded, child->Clone());
            }
        }
    }

    Key* Find(const KeyPath& path) {
        Key* key = &roots[path.root];
        for (std::string_view name : path.keys) {
            const auto it = key->children.find(FoldedAscii(name));
            if (it == key->children.end()) return nullptr;
            key = it->second.get();
        }
        return key;
    }
    Key* Find(std::string_view path) {
        const auto split = SplitPath(path);
        return split ? Find(*split) : nullptr;
    }
    Key& Create(const KeyPath& path) {
        Key* key = &roots[path.root];
        for (std::string_view name : path.keys) {
            auto& slot = key->children[FoldedAscii(name)];
            if (!slot) {
                slot = std::make_unique<Key>();
                slot->name = name;
            }
            key = slot.get();
        }
        return *key;
    }

    // errorPrefix is "FILE:" for a file and empty for text from elsewhere.
    static std::optional<RegistryHive> ParseText(std::string_view text,
                                                 const std::string& errorPrefix,
                                                 std::string* error) {
        auto fail = [&](std::size_t line, std::string_view what) {
            if (error) *error = errorPrefix + std::to_string(line) + ": " + std::string(what);
            return std::nullopt;
        };
        if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());

        RegistryHive hive;
        Key* current = nullptr;
        std::size_t lineNumber = 0;
        std::size_t pos = 0;
        while (pos < text.size() || lineNumber == 0) {
            const std::size_t end = std::min(text.find('\n', pos), text.size());
            std::string_view raw = text.substr(pos, end - pos);
            pos = end + 1;
            ++lineNumber;
            if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

            if (lineNumber == 1) {
                if (TrimBlanks(raw) != kHeader) {
                    return fail(1, "not a registry file (the first line must be \"" +
                                       std::string(kHeader) + "\")");
                }
                continue;
            }
            const std::string_view line = TrimBlanks(raw);
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[') {
                if (line.back() != ']' || line.size() < 2) {
                    return fail(lineNumber, "key line without its closing ]");
                }
                const std::string_view path = line.substr(1, line.size() - 2);
                if (!path.empty() && path[0] == '-') {
                    return fail(lineNumber, "deleting keys is not supported");
                }
                const auto split = SplitPath(path);
                if (!split) return fail(lineNumber, "bad key path \"" + std::string(path) + "\"");
                current = &hive.impl_->Create(*split);
                continue;
            }
            if (line[0] == '@' || line[0] == '"') {
                if (!current) return fail(lineNumber, "value before the first key");
                std::string problem;
                auto parsed = ParseValueLine(line, problem);
                if (!parsed) return fail(lineNumber, problem);
                auto& slot = current->values[FoldedAscii(parsed->name)];
                if (slot.first.empty()) slot.first = std::move(parsed->name);
                slot.second = std::move(parsed->value);
                continue;
            }
            return fail(lineNumber, "not a key, value or comment");
        }
        return hive;
    }
};

RegistryHive::RegistryHive() : impl_(std::make_unique<Impl>()) {}
RegistryHive::~RegistryHive() = default;
RegistryHive::RegistryHive(RegistryHive&&) noexcept = default;
RegistryHive& RegistryHive::operator=(RegistryHive&&) noexcept = default;
RegistryHive::RegistryHive(const RegistryHive& other)
    : impl_(std::make_unique<Impl>(*other.impl_)) {}
RegistryHive& RegistryHive::operator=(const RegistryHive& other) {
    if (this != &other) impl_ = std::make_unique<Impl>(*other.impl_);
    return *this;
}

std::filesystem::path RegistryHive::DefaultPath() {
    if (const char* file = std::getenv("ORBEL_REGISTRY"); file && file[0] != '\0') return file;
    return XdgBaseDirectory("XDG_DATA_HOME", ".local/share") / "orbel" / "registry.reg";
}

std::optional<RegistryHive> RegistryHive::Load(const std::filesystem::path& file,
                                               std::string* error) {
    std::string text;
    switch (ReadFileText(file, text, error)) {
        case ReadResult::Failed:
            return std::nullopt;
        case ReadResult::Missing: {
            RegistryHive empty;
            empty.impl_->file = file;
            return empty;
        }
        case ReadResult::Ok:
            break;
    }
    auto hive = Impl::ParseText(text, file.string() + ":", error);
    if (hive) hive->impl_->file = file;
    return hive;
}

std::optional<RegistryHive> RegistryHive::Parse(std::string_view text, std::string* error) {
    return Impl::ParseText(text, "", error);
}

namespace {

// Why the last write of this thread failed; see LastWriteError().
thread_local std::string lastWriteError;

// Keeps the outcome of a write for LastWriteError() and hands the reason to the caller.
bool NoteWrite(bool ok, const std::string& why, std::string* error) {
    lastWriteError = ok ? std::string() : why;
    if (!ok && error) *error = why;
    return ok;
}

}  // namespace

bool RegistryHive::Update(const std::filesystem::path& file,
                          const std::function<bool(RegistryHive&)>& edit, std::string* error) {
    std::string why;
    FileLock lock;
    if (!lock.Acquire(std::filesystem::path(file.string() + ".lock"), &why))
        return NoteWrite(false, why, error);
    auto hive = Load(file, &why);
    if (!hive) return NoteWrite(false, why, error);
    if (!edit(*hive)) return NoteWrite(true, {}, error);
    return hive->Save(error);
}

bool RegistryHive::Save(std::string* error) const {
    if (impl_->file.empty())
        return NoteWrite(false, "this hive was not loaded from a file and has none to save to",
                         error);
    std::string why;
    const bool ok = ReplaceFileText(impl_->file, Dump(), &why);
    return NoteWrite(ok, why, error);
}

std::string RegistryHive::LastWriteError() {
    return lastWriteError;
}

const std::filesystem::path& RegistryHive::File() const {
    return impl_->file;
}

bool RegistryHive::CreateKey(std::string_view path) {
    const auto split = SplitPath(path);
    if (!split) return false;
    impl_->Create(*split);
    return true;
}

bool RegistryHive::KeyExists(std::string_view path) const {
    return impl_->Find(path) != nullptr;
}

bool RegistryHive::SetValue(std::string_view path, std::string_view name, RegValue value) {
    const auto split = SplitPath(path);
    if (!split || HasLineBreak(name)) return false;
    if (value.kind == RegValue::Kind::String && HasLineBreak(value.text)) return false;
    Key& key = impl_->Create(*split);
    auto& slot = key.values[FoldedAscii(name)];
    if (slot.first.empty()) slot.first = name;
    slot.second = std::move(value);
    return true;
}

std::optional<RegValue> RegistryHive::QueryValue(std::string_view path,
                                                 std::string_view name) const {
    const Key* key = impl_->Find(path);
    if (!key) return std::nullopt;
    const auto it = key->values.find(FoldedAscii(name));
    if (it == key->values.end()) return std::nullopt;
    return it->second.second;
}

bool RegistryHive::DeleteValue(std::string_view path, std::string_view name) {
    Key* key = impl_->Find(path);
    return key && key->values.erase(FoldedAscii(name)) > 0;
}

bool RegistryHive::DeleteKeyTree(std::string_view path) {
    auto split = SplitPath(path);
    if (!split || split->keys.empty()) return false;
    const std::string_view last = split->keys.back();
    split->keys.pop_back();
    Key* parent = impl_->Find(*split);
    return parent && parent->children.erase(FoldedAscii(last)) > 0;
}

std::vector<std::string> RegistryHive::EnumKeys(std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = impl_->Find(path)) {
        for (const auto& [folded, child] : key->children) names.push_back(child->name);
    }
    return names;
}

std::vector<std::pair<std::string, RegValue>> RegistryHive::EnumValues(
    std::string_view path) const {
    std::vector<std::pair<std::string, RegValue>> values;
    if (const Key* key = impl_->Find(path)) {
        for (const auto& [folded, entry] : key->values) values.push_back(entry);
    }
    return values;
}

std::string RegistryHive::Dump() const {
    std::string out(kHeader);
    out += "\n\n";
    for (const Key& root : impl_->roots) DumpKey(out, root.name, root, true);
    return out;
}

}  // namespace orbel::platform
