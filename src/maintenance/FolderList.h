// The folders the control has put in the tree, with their associated file extensions: what
// lets it refuse one extension to two folders and find the folder a new file belongs in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "src/store/RecordFormats.h"

namespace orbel {

struct FolderListEntry {
    std::int32_t OwnerId = 0;
    std::int32_t EntryNo = 0;
    std::int32_t ParentOwnerId = 0;
    std::int32_t ParentEntryNo = 0;
    std::string Name;
    std::string Type;
    bool operator==(const FolderListEntry&) const = default;
};

enum class RememberMode { Add = 0, Replace = 1, Remove = 2 };

class CFolderList {
  public:
    // Item rows are never entered. Replace and Remove first drop the first element with the
    // row's owner and entry number; Add and Replace then append the row.
    void RememberFolder(const TreeEntry& entry, RememberMode mode);
    void RemoveAll() { m_entries.clear(); }
    const std::vector<FolderListEntry>& Entries() const { return m_entries; }

  private:
    std::vector<FolderListEntry> m_entries;
};

}  // namespace orbel
