// The file behind an entry: its tree row gives the resource and the pages, the resource row
// the stored path, and the drive mappings turn that into a path valid on this machine.
#include <cstdio>

#include "platform/Api.h"
#include "src/control/OrbelCtrl.h"
#include "src/panes/ViewList.h"
#include "src/services/ShellServices.h"
#include "src/store/StoredPath.h"

namespace orbel {

namespace {
std::string Format(const char* format, long a, long b, long c = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}
}  // namespace

bool COrbelCtrl::GetResourceDetails(std::int32_t entryKey, std::string& path,
                                    std::int32_t& pageStart, std::int32_t& pageEnd,
                                    bool withMarkers, bool quietWithoutResource) {
    const std::int32_t owner = OwnerOfKey(entryKey, m_currentOleId, m_classOleId);
    const std::int32_t entry = EntryNoOfKey(entryKey);
    if (int step = ReadTreeEntry(owner, entry)) {
        AfxMessageBox("Error GetResourceDetails:" + std::to_string(step));
        return false;
    }
    const TreeEntry row = m_exchange.m_treeEntry;
    if (row.OwnerId != owner || row.EntryNo != entry) {
        AfxMessageBox(Format("Failed to read tree entry for ID %ld, RecNo %ld", owner, entry));
        return false;
    }
    if (GetResource() != 0) {
        AfxMessageBox(Format("Failed to read Resource ID %ld, for tree entry ID %ld, RecNo %ld",
                             row.ResourceId, owner, entry));
        return false;
    }
    const std::string stored = m_exchange.m_resourceRow.Path;
    if (stored.empty()) {
        if (quietWithoutResource) return false;
        AfxMessageBox("Internal Error Resource is empty.");
        return false;
    }
    const StoredPathParts parts = SplitStoredPath(stored);
    path = parts.file;
    const bool mapped = m_mappingList.TranslateStoredPath(path);
    if (!IsWebAddress(path)) {
        std::string storedLocation = stored;
        if (!parts.link.empty())
            if (auto at = storedLocation.find("!" + parts.link); at != std::string::npos)
                storedLocation.erase(at);
        if (!FileExists(path) && mapped &&
            AfxMessageBox("Attachment could not be found at \n\n" + path +
                              "\n\nWould you like to try the original location of \n\n" +
                              storedLocation,
                          MB_YESNO) == IDYES) {
            // The file as it was stored, before its marker and link: those are added below
            // when asked for, and only once.
            path = parts.file;
        }
    }
    if (withMarkers) {
        if (parts.marker != "00") path += parts.marker;
        if (!parts.link.empty() && path.find("!" + parts.link) == std::string::npos)
            path += "!" + parts.link;
    }
    pageStart = row.PageStart;
    pageEnd = row.PageEnd;
    return true;
}

std::string COrbelCtrl::GetListViewData(std::int32_t nIndex) {
    std::string path;
    CViewList* list = ListPane();
    // A host that walks the list asks for every row: a folder's is answered without asking the
    // store, and a row that links to no file is answered empty without a message box.
    if (!list || nIndex < 0 || nIndex >= list->GetItemCount() || list->IsFolderRow(nIndex))
        return path;
    std::int32_t pageStart = 0, pageEnd = 0;
    GetResourceDetails(list->RowKey(nIndex), path, pageStart, pageEnd, true, true);
    return path;
}

}  // namespace orbel
