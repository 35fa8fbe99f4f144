#include "src/store/EntryWriter.h"

#include "platform/Api.h"
#include "src/resources/StringTable.h"
#include "src/services/ShellServices.h"

namespace orbel {

namespace {
// A new item whose entry number or entry row could not be had fails at the same step.
constexpr const char* kCreateNewItemEntryError = "Error CreateNewItem:4";
}  // namespace

CEntryWriter::CEntryWriter(CHostExchange& exchange, CStoreSite& site, CResourceLookup& lookup)
    : m_exchange(exchange), m_site(site), m_lookup(lookup) {}

std::int32_t CEntryWriter::NextEntryNumber(std::int32_t ownerId) {
    m_exchange.m_treeKey1 = {ownerId, kLargestNumber};
    if (m_exchange.SelectOleTree(KeyNo::Key1, Relationship::AtOrBefore) != kResultOk) return 1;
    if (m_exchange.ReadOleTree() > 0) {
        AfxMessageBox("Error CreateNewItem:3");
        return -1;
    }
    const TreeEntry& row = m_exchange.m_treeEntry;
    return row.OwnerId == ownerId ? row.EntryNo + 1 : 1;
}

TreeEntry& CEntryWriter::NewEntry(std::int32_t ownerId, std::int32_t entryNo,
                                  std::int32_t parentOwnerId, std::int32_t parentEntryNo,
                                  const std::string& name) {
    // A subscriber filed at the top goes to the top of the class tree.
    if (m_site.SubscriberMode() && parentOwnerId == 0) {
        parentOwnerId = m_site.ClassOleId();
        parentEntryNo = 0;
    }
    TreeEntry& row = m_exchange.m_treeEntry;
    row = TreeEntry{};
    row.OwnerId = ownerId;
    row.EntryNo = entryNo;
    row.OwnerId2 = ownerId;
    row.ParentOwnerId = parentOwnerId;
    row.ParentEntryNo = parentEntryNo;
    // The panes show the new entry from this row: with the name as the store gives it back.
    row.Name = StoredText(name, kNameWidth);
    return row;
}

std::int32_t CEntryWriter::CreateNewFolder(const std::string& name, std::int32_t parentOwnerId,
                                           std::int32_t parentEntryNo) {
    return CreateFolderOf(m_site.CurrentOleId(), name, parentOwnerId, parentEntryNo);
}

std::int32_t CEntryWriter::CreateFolderOf(std::int32_t ownerId, const std::string& name,
                                          std::int32_t parentOwnerId, std::int32_t parentEntryNo) {
    const std::int32_t entryNo = NextEntryNumber(ownerId);
    if (entryNo == -1) {
        AfxMessageBox("Error CreateNewFolder");
        return -1;
    }
    TreeEntry& row = NewEntry(ownerId, entryNo, parentOwnerId, parentEntryNo, name);
    if (m_exchange.InsertOleTree() >= 1) {
        AfxMessageBox("Error CreateNewFolder:2");
        return -1;
    }
    m_exchange.m_resourceRow = ResourceRecord{};
    const TreeEntry added = row;
    m_site.AddListRow(added, false, std::string());
    AddRowToTree(m_site, added, false);
    m_site.RedrawTree();
    return entryNo;
}

void CEntryWriter::CreateNewItem(const std::string& name, const std::string& path,
                                 std::int32_t parentOwnerId, std::int32_t parentEntryNo,
                                 std::int32_t pageStart, std::int32_t pageEnd) {
    const std::int32_t resourceId = m_exchange.GetNextResourceID();
    if (resourceId == -1) {
        AfxMessageBox("Error CreateNewItem:1");
        return;
    }
    m_exchange.m_resourceRow = ResourceRecord{resourceId, path};
    if (m_exchange.InsertOleRes() >= 1) {
        AfxMessageBox("Error CreateNewItem:2");
        return;
    }
    const std::int32_t entryNo = NextEntryNumber(m_site.CurrentOleId());
    if (entryNo == -1) {
        AfxMessageBox(kCreateNewItemEntryError);
        return;
    }
    TreeEntry& row = NewEntry(m_site.CurrentOleId(), entryNo, parentOwnerId, parentEntryNo, name);
    row.ResourceId = resourceId;
    row.IsItem = 1;
    row.PageStart = pageStart == -1 ? 0 : pageStart;
    row.PageEnd = pageEnd == -1 ? 0 : pageEnd;
    row.Batch = m_site.BatchMaint() ? "00000000" : "";
    row.Type = IsWebAddress(path) ? "url" : FileExtension(path);
    if (m_exchange.InsertOleTree() >= 1) {
        AfxMessageBox(kCreateNewItemEntryError);
        return;
    }
    m_site.AddListRow(row, false, m_exchange.m_resourceRow.Path);
}

bool CEntryWriter::RewriteTreeEntry(std::int32_t ownerId, std::int32_t entryNo,
                                    const char* operation,
                                    const std::function<void(TreeEntry&)>& change) {
    if (int step = m_lookup.ReadTreeEntry(ownerId, entryNo)) {
        AfxMessageBox(std::string("Error ") + operation + ":" + std::to_string(step));
        return false;
    }
    change(m_exchange.m_treeEntry);
    if (m_exchange.UpdateOleTree() >= 1) {
        AfxMessageBox(std::string("Error ") + operation + ":3");
        return false;
    }
    return true;
}

bool CEntryWriter::ChangeItem(std::int32_t entryKey, const std::string& name,
                              std::int32_t pageStart, std::int32_t pageEnd) {
    return ChangeEntry(entryKey, name, std::pair{pageStart, pageEnd});
}

bool CEntryWriter::ChangeItem(std::int32_t entryKey, const std::string& name) {
    return ChangeEntry(entryKey, name, std::nullopt);
}

bool CEntryWriter::ChangeEntry(std::int32_t entryKey, const std::string& name,
                               std::optional<std::pair<std::int32_t, std::int32_t>> pages) {
    return RewriteTreeEntry(OwnerOfKey(entryKey, m_site.CurrentOleId(), m_site.ClassOleId()),
                            EntryNoOfKey(entryKey), "ChangeItem", [&](TreeEntry& row) {
                                row.Name = StoredText(name, kNameWidth);
                                if (!pages) return;
                                row.PageStart = pages->first;
                                row.PageEnd = pages->second;
                            });
}

bool CEntryWriter::SetParent(std::int32_t entryKey, std::int32_t newParentKey) {
    std::int32_t newParentOwner;
    if (m_site.SubscriberMode())
        newParentOwner = newParentKey != 0 && !IsClassEntryKey(newParentKey) ? m_site.CurrentOleId()
                                                                             : m_site.ClassOleId();
    else
        newParentOwner = IsClassEntryKey(newParentKey) ? m_site.ClassOleId()
                         : newParentKey != 0           ? m_site.CurrentOleId()
                                                       : 0;
    return RewriteTreeEntry(OwnerOfKey(entryKey, m_site.CurrentOleId(), m_site.ClassOleId()),
                            EntryNoOfKey(entryKey), "SetParent", [&](TreeEntry& row) {
                                row.ParentOwnerId = newParentOwner;
                                row.ParentEntryNo = EntryNoOfKey(newParentKey);
                            });
}

void CEntryWriter::DeleteEntry(std::int32_t entryKey) {
    m_exchange.m_treeKey1 = {m_site.CurrentOleId(), EntryNoOfKey(entryKey)};
    if (m_exchange.DeleteOleTree() >= 1) {
        AfxMessageBox(LoadString(IDS_ERROR_DELETE_ENTRY));
        return;
    }
    m_site.RemoveListRow(entryKey);
    m_site.RemoveTreeFolder(entryKey);
}

}  // namespace orbel
