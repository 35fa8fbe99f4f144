// The drive mappings: path prefixes that turn a stored resource path into one that works on
// this machine (forward), and a path of this machine into the form other machines expect
// (reverse, after the path is put in its universal "\\server\share" form).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network/MountTable.h"

namespace orbel {

struct MappingEntry {
    std::string from;  // prefix as written, letter case kept
    std::string to;
    bool reverse = false;  // also applied when a path is stored
    bool fromIni = false;  // read from section "Mapping" of the initialisation file
};

// A value of section "Mapping", "\\SRV\DATA,Y": the target prefix runs up to the first comma
// or apostrophe, and the flag is the one character right after that comma. Anything else
// (no text before the comma, an apostrophe first, nothing after the comma) does not parse.
struct MappingValue {
    std::string to;
    char flag = 0;
};
std::optional<MappingValue> ScanMappingValue(std::string_view value);

// The control's ordered mapping list; the first entry that matches wins.
//
// Prefixes match at the start of a path without regard to ASCII letter case, and "\" and "/"
// count as the same character there. A prefix without a trailing separator gets one, so it
// matches only at a directory boundary, and a path equal to the bare prefix is left alone.
// The replacement prefix keeps its own separator style: one with "/" and no "\" is a Linux
// directory and the tail follows with "/" separators; any other gets "\" and the tail as
// written. The tail keeps its letter case, because file names here are case-sensitive.
class CMappingList {
  public:
    // The list starts empty; the control calls LoadMappings when it is constructed. A bare
    // iniFile lives in the folder of initialisation files (see platform/profile/Profile.h).
    explicit CMappingList(const platform::MountTable& mounts,
                          std::string iniFile = "wendclient.ini");

    // Adds the entries of the file's section "Mapping", in file order, after the last entry
    // that came from the file (or at the end when there is none). A missing file or section
    // adds nothing; a value that does not parse leaves its key out.
    void LoadMappings();
    // Entries from the file stay together: one from the file goes right after the last such
    // entry; any other goes to the end.
    void AddMapping(std::string from, std::string to, bool reverse, bool fromIni);
    // After the Options dialog, whatever its result: the file's entries are read afresh and
    // now follow the entries the host added.
    void ReloadMappingsAfterOptions();

    // Forward: replaces the first matching "from" prefix by its "to". A universal name that
    // no entry matches becomes the local path of its share when that share is mounted here.
    // False, with the path unchanged, when neither applies.
    bool TranslateStoredPath(std::string& path) const;
    // The form to store: the universal name when the path lies on a network mount, then the
    // first reverse entry whose "to" prefix matches is replaced by its "from".
    std::string ToStoredPath(const std::string& path) const;

    void RemoveAll();
    // The file the mappings are read from, as named.
    const std::string& IniFile() const { return iniFile_; }
    const std::vector<MappingEntry>& Entries() const { return entries_; }
    // One line per entry, "from -> to [reverse] [ini]", for test failure messages.
    std::string Dump() const;

  private:
    const platform::MountTable& mounts_;
    std::string iniFile_;
    std::vector<MappingEntry> entries_;
};

}  // namespace orbel
