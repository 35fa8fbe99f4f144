#include "src/maintenance/FolderList.h"

#include <algorithm>

namespace orbel {

void CFolderList::RememberFolder(const TreeEntry& entry, RememberMode mode) {
    if (entry.IsItem != 0) return;
    if (mode != RememberMode::Add) {
        auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const FolderListEntry& f) {
            return f.OwnerId == entry.OwnerId && f.EntryNo == entry.EntryNo;
        });
        if (it != m_entries.end()) m_entries.erase(it);
        if (mode == RememberMode::Remove) return;
    }
    m_entries.push_back({entry.OwnerId, entry.EntryNo, entry.ParentOwnerId, entry.ParentEntryNo,
                         entry.Name, entry.Type});
}

}  // namespace orbel
