// The file behind an entry: its tree row gives the resource and the pages, the resource row
// the stored path, and the drive mappings turn that into a path valid on this machine.
#include "src/store/ResourceLookup.h"

#include <cstdio>

#include "platform/Api.h"
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

CResourceLookup::CResourceLookup(CHostExchange& exchange, CStoreSite& site)
    : m_exchange(exchange), m_site(site) {}

int CResourceLookup::ReadTreeEntry(std::int32_t ownerId, std::int32_t entryNo) {
    m_exchange.m_treeKey1 = {ownerId, entryNo};
    if (m_exchange.SelectOleTree(KeyNo::Key1, Relationship::Equal) >= 1) return 1;
    if (m_exchange.ReadOleTree() >= 1) return 2;
    return 0;
}

std::int32_t CResourceLookup::GetResource() {
    const TreeEntry& entry = m_exchange.m_treeEntry;
    if (entry.IsItem != 1) {
        m_exchange.m_resourceRow.Path.clear();
        return 0;
    }
    m_exchange.m_resourceKey = entry.ResourceId;
    if (m_exchange.SelectOleRes(KeyNo::Key1, Relationship::Equal) > 0) {
        AfxMessageBox("Error GetResource:1");
        return m_exchange.LastResult();
    }
    if (m_exchange.ReadOleRes() > 0) AfxMessageBox("Error GetResource:2");
    return m_exchange.LastResult();
}

std::int32_t CResourceLookup::FindFolder(const TreeKey2& key) {
    m_exchange.m_treeKey2 = key;
    if (m_exchange.SelectOleTree(KeyNo::Key2, Relationship::Equal) >= 1) return -1;
    if (m_exchange.ReadOleTree() >= 1) return -1;
    return m_exchange.m_treeEntry.EntryNo;
}

bool CResourceLookup::GetResourceDetails(std::int32_t entryKey, std::string& path,
                                         std::int32_t& pageStart, std::int32_t& pageEnd,
                                         bool withMarkers, bool quietWithoutResource) {
    const std::int32_t owner = OwnerOfKey(entryKey, m_site.CurrentOleId(), m_site.ClassOleId());
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
    const bool mapped = m_site.TranslateStoredPath(path);
    if (!IsWebAddress(path)) {
        std::string storedLocation = stored;
        if (!parts.link.empty())
            if (auto at = storedLocation.find("!" + parts.link); at != std::string::npos)
                storedLocation.erase(at);
        // Only a mapped path has an original to fall back on: the file is looked for then.
        if (mapped && !FileExists(path) &&
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

}  // namespace orbel
