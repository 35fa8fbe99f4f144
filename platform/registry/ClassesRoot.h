// The read-only registry keys this system derives from freedesktop data, where the original
// platform has them from installed programs:
//
//   HKEY_CLASSES_ROOT\.ext             @ = the MIME type of the glob "*.ext" in the shared MIME
//                                          database ($XDG_DATA_HOME, then $XDG_DATA_DIRS, each
//                                          "mime/globs2"; the first folder that knows the
//                                          extension decides, and in it the highest weight)
//   HKEY_CLASSES_ROOT\.ext\ShellNew    FileName = a file of that extension in the templates
//                                          folder (the first by name); ".txt" without a
//                                          template gets NullFile = "" (plain text)
//   HKEY_CLASSES_ROOT\TYPE             @ = the type's comment (the database's TYPE.xml)
//   HKEY_CLASSES_ROOT\TYPE\DefaultIcon @ = "ICON-NAME,0": the type's icon when the database
//                                          names one, else its generic icon ("text-x-generic")
//   HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders
//                                      Templates = the templates folder
//
// The templates folder is XDG_TEMPLATES_DIR of $XDG_CONFIG_HOME/user-dirs.dirs (the file
// xdg-user-dir reads), else ~/Templates. One set to the home folder itself means "no
// templates" there, and then no FileName values are made.
//
// Globs, icons and templates are read when the view is made; a type's XML is read the first
// time one of its values is asked for.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry/Registry.h"

namespace orbel::platform {

struct ClassesRootSources {
    std::vector<std::filesystem::path> dataDirs;  // the XDG data folders, home first
    std::filesystem::path templatesDir;           // empty when templates are turned off
    std::string templatesValue;                   // the "Templates" shell folder

    static ClassesRootSources FromEnvironment();
    bool operator==(const ClassesRootSources&) const = default;
};

class ClassesRootView {
  public:
    explicit ClassesRootView(ClassesRootSources sources);

    const ClassesRootSources& Sources() const { return sources_; }

    // keys: the key names below the root, already split at the backslashes.
    bool KeyExists(RegRoot root, std::span<const std::string_view> keys) const;
    // nullopt when the key does not exist; values by name, the default value first.
    std::optional<std::vector<std::pair<std::string, RegValue>>> Values(
        RegRoot root, std::span<const std::string_view> keys) const;
    // Sorted without regard to case.
    std::vector<std::string> SubKeys(RegRoot root, std::span<const std::string_view> keys) const;

    // How many extensions and types the view holds.
    std::size_t ExtensionCount() const { return extensions_.size(); }
    std::size_t TypeCount() const { return types_.size(); }

  private:
    struct Extension {
        std::string name;  // ".odt", as the glob writes it
        std::string type;  // "" for an extension only a template gave
        int weight = 0;
        std::string templateFile;
        bool nullFile = false;
    };
    struct TypeInfo {
        std::string name;
        std::string icon;         // from the "icons" file or the XML
        std::string genericIcon;  // from the "generic-icons" file or the XML
        std::string comment;
        bool xmlRead = false;
    };

    void ReadGlobs();
    void ReadIcons(const char* file, std::string TypeInfo::*field);
    void ReadTemplates();
    TypeInfo& Loaded(TypeInfo& info) const;
    const Extension* FindExtension(std::string_view name) const;
    TypeInfo* FindType(std::string_view name) const;

    ClassesRootSources sources_;
    std::map<std::string, Extension> extensions_;  // by folded name
    mutable std::map<std::string, TypeInfo> types_;
};

// The pieces of a MIME type's XML file that the view uses. Exposed for tests and fuzzing.
struct MimeTypeXml {
    std::string comment;  // the <comment> without xml:lang
    std::string icon;
    std::string genericIcon;
};
MimeTypeXml ParseMimeTypeXml(std::string_view text);

}  // namespace orbel::platform
