#include "platform/registry/ClassesRoot.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>

#include "platform/registry/DataFile.h"
#include "platform/text/AsciiCase.h"

namespace orbel::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 6> kShellFolders = {
    "Software", "Microsoft", "Windows", "CurrentVersion", "Explorer", "Shell Folders"};

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

std::string ReadText(const fs::path& file) {
    std::string text;
    if (ReadFileText(file, text, nullptr) != ReadResult::Ok) return {};
    return text;
}

// "media/subtype" made of the characters MIME names use. Anything else in a database is
// ignored: the name becomes a key name and a file name below the database.
bool IsMimeTypeName(std::string_view type) {
    const std::size_t slash = type.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash + 1 == type.size()) return false;
    const char first = type[0];
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') ||
          (first >= '0' && first <= '9'))) {
        return false;
    }
    const std::string_view sub = type.substr(slash + 1);
    if (sub == "." || sub == ".." || type.substr(0, slash) == "." ||
        type.substr(0, slash) == "..") {
        return false;
    }
    for (std::size_t i = 0; i < type.size(); ++i) {
        const char c = type[i];
        const bool ok =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            std::string_view("!#$&^_.+-").find(c) != std::string_view::npos || i == slash;
        if (!ok) return false;
    }
    return true;
}

// The extension of a glob "*.ext" that has no wildcard after the star; "" for other globs.
std::string GlobExtension(std::string_view glob) {
    if (glob.size() < 3 || glob[0] != '*' || glob[1] != '.') return {};
    const std::string_view rest = glob.substr(2);
    if (rest.find_first_of("*?[]\\/") != std::string_view::npos) return {};
    return "." + std::string(rest);
}

fs::path HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && home[0] != '\0') return home;
    std::vector<char> scratch(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, scratch.data(), scratch.size(), &found) == 0 && found &&
        found->pw_dir) {
        return found->pw_dir;
    }
    return {};
}

// XDG_TEMPLATES_DIR of user-dirs.dirs: "$HOME/rest" or an absolute path, in double quotes.
std::optional<fs::path> UserTemplatesDir(const fs::path& home) {
    const std::string text =
        ReadText(XdgBaseDirectory("XDG_CONFIG_HOME", ".config") / "user-dirs.dirs");
    std::optional<fs::path> found;
    for (std::string_view line : SplitLines(text)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos) continue;
        line.remove_prefix(first);
        constexpr std::string_view kKey = "XDG_TEMPLATES_DIR=";
        if (!line.starts_with(kKey)) continue;
        std::string_view value = line.substr(kKey.size());
        if (value.size() < 2 || value.front() != '"') continue;
        const std::size_t close = value.find('"', 1);
        if (close == std::string_view::npos) continue;
        value = value.substr(1, close - 1);
        if (value.starts_with("$HOME")) {
            std::string_view rest = value.substr(5);
            if (!rest.empty() && rest.front() != '/') continue;
            while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
            found = rest.empty() ? home : home / rest;
        } else if (value.starts_with("/")) {
            found = fs::path(value);
        }
    }
    return found;
}

std::string DecodeEntities(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t semi = text.find(';', i);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += '&';
            continue;
        }
        const std::string_view name = text.substr(i + 1, semi - i - 1);
        std::optional<unsigned long> code;
        if (name == "amp") code = '&';
        if (name == "lt") code = '<';
        if (name == "gt") code = '>';
        if (name == "quot") code = '"';
        if (name == "apos") code = '\'';
        if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string digits(name.substr(hex ? 2 : 1));
            char* end = nullptr;
            const unsigned long value = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (!digits.empty() && end && *end == '\0' && value > 0 && value <= 0x10FFFF) {
                code = value;
            }
        }
        if (!code) {
            out += '&';
            continue;
        }
        // UTF-8 of the code point.
        const unsigned long c = *code;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        i = semi;
    }
    return out;
}

// The attribute of a start tag's attribute text, or nullopt.
std::optional<std::string> Attribute(std::string_view attributes, std::string_view name) {
    std::size_t pos = 0;
    while (pos < attributes.size()) {
        const std::size_t eq = attributes.find('=', pos);
        if (eq == std::string_view::npos) return std::nullopt;
        std::string_view key = attributes.substr(pos, eq - pos);
        const std::size_t start = key.find_first_not_of(" \t\r\n");
        key = start == std::string_view::npos ? std::string_view() : key.substr(start);
        key = key.substr(0, key.find_last_not_of(" \t\r\n") + 1);
        std::size_t q = attributes.find_first_not_of(" \t\r\n", eq + 1);
        if (q == std::string_view::npos) return std::nullopt;
        const char quote = attributes[q];
        if (quote != '"' && quote != '\'') return std::nullopt;
        const std::size_t close = attributes.find(quote, q + 1);
        if (close == std::string_view::npos) return std::nullopt;
        if (key == name) return DecodeEntities(attributes.substr(q + 1, close - q - 1));
        pos = close + 1;
    }
    return std::nullopt;
}

}  // namespace

MimeTypeXml ParseMimeTypeXml(std::string_view text) {
    MimeTypeXml out;
    bool haveComment = false;
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        if (text.substr(pos).starts_with("<!--")) {
            const std::size_t end = text.find("-->", pos + 4);
            if (end == std::string_view::npos) break;
            pos = end + 3;
            continue;
        }
        const std::size_t close = text.find('>', pos);
        if (close == std::string_view::npos) break;
        std::string_view tag = text.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        if (tag.empty() || tag[0] == '/' || tag[0] == '?' || tag[0] == '!') continue;
        const bool selfClosing = tag.back() == '/';
        if (selfClosing) tag.remove_suffix(1);
        const std::size_t nameEnd = tag.find_first_of(" \t\r\n");
        const std::string_view name = tag.substr(0, nameEnd);
        const std::string_view attributes =
            nameEnd == std::string_view::npos ? std::string_view() : tag.substr(nameEnd);
        if (name == "comment" && !selfClosing && !haveComment &&
            !Attribute(attributes, "xml:lang")) {
            const std::size_t end = text.find("</comment>", pos);
            if (end == std::string_view::npos) break;
            out.comment = DecodeEntities(text.substr(pos, end - pos));
            haveComment = true;
            pos = end;
        } else if (name == "icon" && out.icon.empty()) {
            out.icon = Attribute(attributes, "name").value_or("");
        } else if (name == "generic-icon" && out.genericIcon.empty()) {
            out.genericIcon = Attribute(attributes, "name").value_or("");
        }
    }
    return out;
}

ClassesRootSources ClassesRootSources::FromEnvironment() {
    ClassesRootSources sources;
    std::set<fs::path> seen;
    auto add = [&](const fs::path& dir) {
        if (dir.is_absolute() && seen.insert(dir.lexically_normal()).second) {
            sources.dataDirs.push_back(dir.lexically_normal());
        }
    };
    add(XdgBaseDirectory("XDG_DATA_HOME", ".local/share"));
    std::string_view dirs = "/usr/local/share/:/usr/share/";
    if (const char* env = std::getenv("XDG_DATA_DIRS"); env && env[0] != '\0') dirs = env;
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        add(fs::path(dirs.substr(0, colon)));
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    }

    const fs::path home = HomeDirectory();
    const fs::path templates = UserTemplatesDir(home).value_or(home / "Templates");
    sources.templatesValue = templates.string();
    // A user folder set to the home folder is turned off, by the XDG convention.
    if (templates.lexically_normal() != home.lexically_normal()) sources.templatesDir = templates;
    return sources;
}

ClassesRootView::ClassesRootView(ClassesRootSources sources) : sources_(std::move(sources)) {
    ReadGlobs();
    ReadIcons("icons", &TypeInfo::icon);
    ReadIcons("generic-icons", &TypeInfo::genericIcon);
    ReadTemplates();
}

void ClassesRootView::ReadGlobs() {
    std::set<std::string> blocked;  // types whose globs a higher folder removed
    for (const fs::path& dir : sources_.dataDirs) {
        const std::string text = ReadText(dir / "mime" / "globs2");
        std::map<std::string, Extension> found;
        std::set<std::string> blockedHere;
        for (std::string_view line : SplitLines(text)) {
            if (line.empty() || line[0] == '#') continue;
            const std::size_t c1 = line.find(':');
            const std::size_t c2 = c1 == std::string_view::npos ? c1 : line.find(':', c1 + 1);
            if (c2 == std::string_view::npos) continue;
            const std::string weightText(line.substr(0, c1));
            const std::string_view type = line.substr(c1 + 1, c2 - c1 - 1);
            const std::size_t c3 = line.find(':', c2 + 1);
            const std::string_view glob =
                line.substr(c2 + 1, c3 == std::string_view::npos ? c3 : c3 - c2 - 1);
            if (!IsMimeTypeName(type) || blocked.contains(FoldedAscii(type))) continue;
            if (glob == "__NOGLOBS__") {
                blockedHere.insert(FoldedAscii(type));
                continue;
            }
            const std::string extension = GlobExtension(glob);
            if (extension.empty()) continue;
            char* end = nullptr;
            const long weight = std::strtol(weightText.c_str(), &end, 10);
            if (weightText.empty() || *end != '\0') continue;
            const std::string key = FoldedAscii(extension);
            auto it = found.find(key);
            if (it == found.end() || weight > it->second.weight) {
                found[key] = {extension, std::string(type), static_cast<int>(weight), {}, false};
            }
        }
        for (auto& [key, extension] : found) {
            if (extensions_.contains(key)) continue;
            types_.try_emplace(FoldedAscii(extension.type),
                               TypeInfo{extension.type, {}, {}, {}, false});
            extensions_.emplace(key, std::move(extension));
        }
        blocked.insert(blockedHere.begin(), blockedHere.end());
    }
}

void ClassesRootView::ReadIcons(const char* file, std::string TypeInfo::*field) {
    for (const fs::path& dir : sources_.dataDirs) {
        const std::string text = ReadText(dir / "mime" / file);
        for (std::string_view line : SplitLines(text)) {
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos || colon + 1 == line.size()) continue;
            auto it = types_.find(FoldedAscii(line.substr(0, colon)));
            if (it != types_.end() && (it->second.*field).empty()) {
                it->second.*field = std::string(line.substr(colon + 1));
            }
        }
    }
}

void ClassesRootView::ReadTemplates() {
    std::vector<std::string> names;
    std::error_code ec;
    if (!sources_.templatesDir.empty()) {
        for (fs::directory_iterator it(sources_.templatesDir, ec), end; !ec && it != end;
             it.increment(ec)) {
            std::error_code typeError;
            if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::size_t dot = name.find_last_of('.');
        if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) continue;
        const std::string extension = name.substr(dot);
        if (extension.find('\\') != std::string::npos) continue;
        Extension& entry = extensions_[FoldedAscii(extension)];
        if (entry.name.empty()) entry.name = extension;
        if (entry.templateFile.empty()) entry.templateFile = name;
    }
    // A new plain text file needs no template: it is created empty.
    Extension& text = extensions_[".txt"];
    if (text.name.empty()) text.name = ".txt";
    if (text.type.empty()) {
        text.type = "text/plain";
        types_.try_emplace("text/plain", TypeInfo{"text/plain", {}, {}, {}, false});
    }
    if (text.templateFile.empty()) text.nullFile = true;
}

ClassesRootView::TypeInfo& ClassesRootView::Loaded(TypeInfo& info) const {
    if (info.xmlRead) return info;
    info.xmlRead = true;
    for (const fs::path& dir : sources_.dataDirs) {
        std::string text;
        if (ReadFileText(dir / "mime" / (info.name + ".xml"), text, nullptr) != ReadResult::Ok) {
            continue;
        }
        MimeTypeXml xml = ParseMimeTypeXml(text);
        info.comment = std::move(xml.comment);
        if (info.icon.empty()) info.icon = std::move(xml.icon);
        if (info.genericIcon.empty()) info.genericIcon = std::move(xml.genericIcon);
        break;
    }
    return info;
}

const ClassesRootView::Extension* ClassesRootView::FindExtension(std::string_view name) const {
    if (name.empty() || name[0] != '.') return nullptr;
    auto it = extensions_.find(FoldedAscii(name));
    return it == extensions_.end() ? nullptr : &it->second;
}

ClassesRootView::TypeInfo* ClassesRootView::FindType(std::string_view name) const {
    auto it = types_.find(FoldedAscii(name));
    return it == types_.end() ? nullptr : &it->second;
}

bool ClassesRootView::KeyExists(RegRoot root, std::span<const std::string_view> keys) const {
    return Values(root, keys).has_value();
}

std::optional<std::vector<std::pair<std::string, RegValue>>> ClassesRootView::Values(
    RegRoot root, std::span<const std::string_view> keys) const {
    using Values = std::vector<std::pair<std::string, RegValue>>;
    if (root == RegRoot::CurrentUser) {
        if (keys.size() > kShellFolders.size()) return std::nullopt;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (!EqualsIgnoringAsciiCase(keys[i], kShellFolders[i])) return std::nullopt;
        }
        if (keys.size() < kShellFolders.size()) return Values{};
        return Values{{"Templates", RegValue::String(sources_.templatesValue)}};
    }
    if (root != RegRoot::ClassesRoot || keys.size() > 2) return std::nullopt;
    if (keys.empty()) return Values{};
    if (const Extension* ext = FindExtension(keys[0])) {
        if (keys.size() == 1) {
            if (ext->type.empty()) return Values{};
            return Values{{"", RegValue::String(ext->type)}};
        }
        if (!EqualsIgnoringAsciiCase(keys[1], "ShellNew")) return std::nullopt;
        if (ext->nullFile) return Values{{"NullFile", RegValue::String("")}};
        if (!ext->templateFile.empty()) {
            return Values{{"FileName", RegValue::String(ext->templateFile)}};
        }
        return std::nullopt;
    }
    TypeInfo* type = FindType(keys[0]);
    if (!type) return std::nullopt;
    const TypeInfo& info = Loaded(*type);
    if (keys.size() == 1) {
        if (info.comment.empty()) return Values{};
        return Values{{"", RegValue::String(info.comment)}};
    }
    if (!EqualsIgnoringAsciiCase(keys[1], "DefaultIcon")) return std::nullopt;
    std::string icon = info.icon;
    if (icon.empty()) icon = info.genericIcon;
    if (icon.empty()) icon = info.name.substr(0, info.name.find('/')) + "-x-generic";
    return Values{{"", RegValue::String(icon + ",0")}};
}

std::vector<std::string> ClassesRootView::SubKeys(RegRoot root,
                                                  std::span<const std::string_view> keys) const {
    if (root == RegRoot::CurrentUser) {
        if (keys.size() >= kShellFolders.size()) return {};
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (!EqualsIgnoringAsciiCase(keys[i], kShellFolders[i])) return {};
        }
        return {std::string(kShellFolders[keys.size()])};
    }
    if (root != RegRoot::ClassesRoot) return {};
    if (keys.empty()) {
        // Both maps are keyed by folded names, so a merge keeps the whole list sorted.
        std::vector<std::string> names;
        names.reserve(extensions_.size() + types_.size());
        auto e = extensions_.begin();
        auto t = types_.begin();
        while (e != extensions_.end() || t != types_.end()) {
            if (t == types_.end() || (e != extensions_.end() && e->first < t->first)) {
                names.push_back((e++)->second.name);
            } else {
                names.push_back((t++)->second.name);
            }
        }
        return names;
    }
    if (keys.size() != 1) return {};
    if (const Extension* ext = FindExtension(keys[0])) {
        if (ext->nullFile || !ext->templateFile.empty()) return {"ShellNew"};
        return {};
    }
    if (FindType(keys[0])) return {"DefaultIcon"};
    return {};
}

}  // namespace orbel::platform
