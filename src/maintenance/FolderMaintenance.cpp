#include "src/maintenance/FolderMaintenance.h"

#include "platform/Api.h"
#include "platform/framework/WaitCursor.h"
#include "platform/text/AsciiCase.h"
#include "src/resources/StringTable.h"

namespace orbel {

namespace {
constexpr const char* kDirectorySelectClass = "5";
}  // namespace

CFolderMaintenance::CFolderMaintenance(CHostExchange& exchange, CStoreSite& site,
                                       CResourceLookup& lookup, CEntryWriter& writer)
    : m_exchange(exchange), m_site(site), m_lookup(lookup), m_writer(writer) {}

bool CFolderMaintenance::CheckExtensionFree(const std::string& extension,
                                            const std::string& folderName) {
    bool taken = false;
    {
        CWaitCursor wait;
        for (const FolderListEntry& e : m_folders.Entries()) {
            if (!e.Type.empty() && EqualsIgnoringAsciiCase(e.Type, extension) &&
                !EqualsIgnoringAsciiCase(e.Name, folderName)) {
                taken = true;
                break;
            }
        }
    }
    if (taken) AfxMessageBox("This extension has already been allocated to a folder.");
    return taken;
}

std::int32_t CFolderMaintenance::FindFolderForExtension(const std::string& extension) {
    for (const FolderListEntry& e : m_folders.Entries())
        if (EqualsIgnoringAsciiCase(e.Type, extension)) return e.EntryNo * 10;
    return 0;
}

void CFolderMaintenance::GetFolderNameAndType(std::int32_t entryKey, std::string& name,
                                              std::string& type) {
    if (m_lookup.ReadTreeEntry(m_site.CurrentOleId(), EntryNoOfKey(entryKey)) != 0) return;
    name = m_exchange.m_treeEntry.Name;
    type = m_exchange.m_treeEntry.Type;
}

void CFolderMaintenance::ChangeFolderNameAndType(std::int32_t entryKey, const std::string& name,
                                                 const std::string& type) {
    m_writer.RewriteTreeEntry(m_site.CurrentOleId(), EntryNoOfKey(entryKey), "ChangeItem",
                              [&](TreeEntry& row) {
                                  row.Name = name;
                                  row.Type = type;
                              });
}

void CFolderMaintenance::DeleteFolderEntry(std::int32_t entryKey) {
    if (int step = m_lookup.ReadTreeEntry(m_site.CurrentOleId(), EntryNoOfKey(entryKey))) {
        AfxMessageBox("Error GetDelFolderData:" + std::to_string(step));
        return;
    }
    m_folders.RememberFolder(m_exchange.m_treeEntry, RememberMode::Remove);
    m_exchange.m_treeKey1 = {m_site.CurrentOleId(), EntryNoOfKey(entryKey)};
    if (m_exchange.DeleteOleTree() >= 1) {
        AfxMessageBox(LoadString(IDS_ERROR_DELETE_ENTRY));
        return;
    }
    m_site.RemoveTreeFolder(entryKey);
}

std::int32_t CFolderMaintenance::GetClassOLEID() {
    m_exchange.m_classKey = std::string(kDirectorySelectClass);
    if (m_exchange.SelectOleClass(KeyNo::Key1, Relationship::Equal) != kResultOk) {
        const std::int32_t id = m_exchange.GetNextOLEID();
        m_exchange.m_classRow = ClassRecord{kDirectorySelectClass, id};
        if (id == -1 || m_exchange.InsertOleClass() >= 1) {
            AfxMessageBox("Error in GetClassOLEID: Could not insert class.");
            m_site.FireBusy(false);
            return -1;
        }
        return id;
    }
    if (m_exchange.ReadOleClass() >= 1) return -1;
    return m_exchange.m_classRow.Value;
}

}  // namespace orbel
