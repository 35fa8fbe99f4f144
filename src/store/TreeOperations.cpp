// Loading the two trees of a store into the panes, listing a folder's contents, and creating,
// renaming, moving and deleting entries: each step a table request to the host.
#include "platform/Api.h"
#include "src/control/OrbelCtrl.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/resources/StringTable.h"
#include "src/services/ShellServices.h"

namespace orbel {

namespace {
// A new item whose entry number or entry row could not be had fails at the same step.
constexpr const char* kCreateNewItemEntryError = "Error CreateNewItem:4";

// The key-2 range of the children of one folder (or, with parent 0 and range to the last
// number, of every entry) of an owner.
TreeEntry Key2Start(std::int32_t owner, std::int32_t parentOwner, std::int32_t parentEntry) {
    TreeEntry e;
    e.OwnerId = owner;
    e.ParentOwnerId = parentOwner;
    e.ParentEntryNo = parentEntry;
    return e;
}
TreeEntry Key2End(std::int32_t owner, std::int32_t parentOwner, std::int32_t parentEntry) {
    TreeEntry e = Key2Start(owner, parentOwner, parentEntry);
    e.Name = std::string(kNameWidth, 'z');
    return e;
}
}  // namespace

void COrbelCtrl::AddRowToList(const TreeEntry& row, bool isClass, const std::string& resource) {
    // The script view takes the rows in script mode once it exists.
    if (CViewList* list = ListPane())
        list->AddItem(row.IsItem == 0, isClass, row.EntryNo, row.Name, row.Type, resource,
                      row.PageStart, row.PageEnd, Atol(row.Batch));
}

void COrbelCtrl::AddRowToTree(const TreeEntry& row, bool isClass) {
    if (!m_subscriberMode) m_folderList.RememberFolder(row, RememberMode::Add);
    if (row.IsItem == 0)
        AddTreeViewItem(true, isClass, row.EntryNo,
                        EntryKeyOf(row.ParentOwnerId, row.ParentEntryNo, m_classOleId), row.Name);
}

bool COrbelCtrl::OnTreeRow(std::int32_t result, const TreeEntry& row) {
    if (result != kResultRow) return true;
    if (row.ParentOwnerId != 0 && row.ParentOwnerId != m_currentOleId &&
        row.ParentOwnerId != m_classOleId)
        return false;
    const bool classPhase =
        m_treeLoadPass == TreeLoadPass::ClassTop || m_treeLoadPass == TreeLoadPass::ClassParents;
    if (!classPhase && m_directorySelect) return false;
    if (m_treeLoadPass == TreeLoadPass::ClassTop || m_treeLoadPass == TreeLoadPass::OwnTop) {
        // Every folder goes to the top first; the second pass hangs it under its parent.
        if (row.ParentEntryNo == 0) AddRowToList(row, classPhase, std::string());
        TreeEntry top = row;
        top.ParentOwnerId = 0;
        top.ParentEntryNo = 0;
        AddRowToTree(top, classPhase);
    } else if (CViewTree* tree = TreePane()) {
        const std::int32_t parentKey =
            EntryKeyOf(row.ParentOwnerId, row.ParentEntryNo, m_classOleId);
        if (row.IsItem != 0) {
            tree->SetFolderMark(parentKey, true);
        } else if (row.OwnerId != row.ParentOwnerId || row.EntryNo != row.ParentEntryNo) {
            SetTreeParent(EntryKeyOf(row.OwnerId, row.EntryNo, m_classOleId), parentKey);
        }
    }
    return false;
}

std::int32_t COrbelCtrl::SelectOwnerTree(std::int32_t ownerId, const RecordHandler& handler) {
    return m_exchange.SelectTableOleTree(2, Key2Start(ownerId, 0, 0),
                                         Key2End(ownerId, kLargestNumber, kLargestNumber), handler);
}

bool COrbelCtrl::GetTree() {
    m_folderList.RemoveAll();
    if (m_showResource || m_subscriberMode) {
        // Trees with their resources are loaded by the routing loaders, which the control
        // does not carry yet; say so rather than show a tree without them.
        AfxMessageBox("Error GetTree: trees with their resources cannot be loaded yet.");
        return false;
    }
    auto handler = [this](std::int32_t result, const TreeEntry& row) {
        return OnTreeRow(result, row);
    };
    struct Pass {
        TreeLoadPass pass;
        const char* message;
    };
    auto load = [&](std::int32_t owner, Pass first, Pass second) {
        for (const Pass& pass : {first, second}) {
            m_treeLoadPass = pass.pass;
            if (SelectOwnerTree(owner, handler) > kResultEndOfData) {
                AfxMessageBox(pass.message);
                return false;
            }
        }
        return true;
    };
    if (m_classOleId != 0 && !load(m_classOleId, {TreeLoadPass::ClassTop, "Error GetTree:1"},
                                   {TreeLoadPass::ClassParents, "Error GetTree:2"}))
        return false;
    if (!m_scriptMaint && !load(m_currentOleId, {TreeLoadPass::OwnTop, "Error GetTree:3"},
                                {TreeLoadPass::OwnParents, "Error GetTree:4"}))
        return false;
    return true;
}

void COrbelCtrl::ShowFolder(bool classTree, std::int32_t entryNo) {
    EnableControl(false);
    m_shownFolderOwner = classTree ? m_classOleId : m_currentOleId;
    if (!m_subscriberMode && entryNo == 0) m_shownFolderOwner = 0;
    m_shownFolderEntry = entryNo;
    DeleteAllListViewItems();
    GetNode(classTree);
    if (CViewList* list = ListPane()) list->SetFolderKey(classTree, m_shownFolderEntry);
    EnableControl(true);
}

bool COrbelCtrl::OnNodeRow(std::int32_t result, const TreeEntry& row) {
    if (result != kResultRow) return true;
    AddRowToList(row, m_nodeLoadPart, std::string());
    return false;
}

void COrbelCtrl::GetNode(bool classPart) {
    if (m_subscriberMode) {
        // The subscriber loader comes with subscriber maintenance.
        return;
    }
    if (m_showResource) {
        GetNodeResources(classPart);
        return;
    }
    auto handler = [this](std::int32_t result, const TreeEntry& row) {
        return OnNodeRow(result, row);
    };
    // The entries of one owner whose parent is the shown folder.
    auto selectChildren = [&](std::int32_t ownerId) {
        return m_exchange.SelectTableOleTree(
            2, Key2Start(ownerId, m_shownFolderOwner, m_shownFolderEntry),
            Key2End(ownerId, m_shownFolderOwner, m_shownFolderEntry), handler);
    };
    if (classPart) {
        m_nodeLoadPart = true;
        if (selectChildren(m_classOleId) > kResultEndOfData) {
            AfxMessageBox("Error GetNode:1");
            return;
        }
    }
    if (m_scriptMaint) return;
    m_nodeLoadPart = false;
    if (selectChildren(m_currentOleId) > kResultEndOfData) AfxMessageBox("Error GetNode:2");
}

bool COrbelCtrl::ReadNodeResources(std::int32_t ownerId, bool classFlag, int firstMessage) {
    auto fail = [&](int step) {
        AfxMessageBox("Error GetNodeResources:" + std::to_string(firstMessage + step));
        return false;
    };
    // "No such row" is where the folder's rows end: an empty folder, or one whose rows come
    // last in the table. Only a request that failed is an error.
    auto ended = [](std::int32_t result) { return result == kResultEndOfData; };
    TreeKey2& key = m_exchange.m_treeKey2;
    key.OwnerId = ownerId;
    key.ParentOwnerId = m_shownFolderOwner;
    key.ParentEntryNo = m_shownFolderEntry;
    // From the folder's first child on, whatever name an earlier lookup left in the buffer.
    key.Name.clear();
    std::int32_t result = m_exchange.SelectOleTree(2, kRelAtOrAfter);
    if (ended(result)) return true;
    if (result >= 1) return fail(0);
    result = m_exchange.ReadOleTree();
    if (ended(result)) return true;
    if (result >= 1) return fail(1);
    const TreeEntry& row = m_exchange.m_treeEntry;
    while (row.OwnerId2 == ownerId && row.ParentOwnerId == m_shownFolderOwner &&
           row.ParentEntryNo == m_shownFolderEntry) {
        if (GetResource() >= 1) return fail(2);
        AddRowToList(row, classFlag, m_exchange.m_resourceRow.Path);
        result = m_exchange.ReadOleTree();
        if (ended(result)) return true;
        if (result >= 1) return fail(3);
    }
    return true;
}

void COrbelCtrl::GetNodeResources(bool classPart) {
    if (classPart && !ReadNodeResources(m_classOleId, true, 1)) return;
    ReadNodeResources(m_currentOleId, false, 5);
}

std::int32_t COrbelCtrl::GetResource() {
    const TreeEntry& entry = m_exchange.m_treeEntry;
    if (entry.IsItem != 1) {
        m_exchange.m_resourceRow.Path.clear();
        return 0;
    }
    m_exchange.m_resourceKey = entry.ResourceId;
    if (m_exchange.SelectOleRes(1, kRelEqual) > 0) {
        AfxMessageBox("Error GetResource:1");
        return m_exchange.LastResult();
    }
    if (m_exchange.ReadOleRes() > 0) AfxMessageBox("Error GetResource:2");
    return m_exchange.LastResult();
}

std::int32_t COrbelCtrl::NextEntryNumber(std::int32_t ownerId) {
    m_exchange.m_treeKey1 = {ownerId, kLargestNumber};
    if (m_exchange.SelectOleTree(1, kRelAtOrBefore) != kResultOk) return 1;
    if (m_exchange.ReadOleTree() > 0) {
        AfxMessageBox("Error CreateNewItem:3");
        return -1;
    }
    const TreeEntry& row = m_exchange.m_treeEntry;
    return row.OwnerId == ownerId ? row.EntryNo + 1 : 1;
}

TreeEntry& COrbelCtrl::NewOwnEntry(std::int32_t entryNo, std::int32_t parentOwnerId,
                                   std::int32_t parentEntryNo, const std::string& name) {
    // A subscriber filed at the top goes to the top of the class tree.
    if (m_subscriberMode && parentOwnerId == 0) {
        parentOwnerId = m_classOleId;
        parentEntryNo = 0;
    }
    TreeEntry& row = m_exchange.m_treeEntry;
    row = TreeEntry{};
    row.OwnerId = m_currentOleId;
    row.EntryNo = entryNo;
    row.OwnerId2 = m_currentOleId;
    row.ParentOwnerId = parentOwnerId;
    row.ParentEntryNo = parentEntryNo;
    // The panes show the new entry from this row: with the name as the store gives it back.
    row.Name = StoredText(name, kNameWidth);
    return row;
}

std::int32_t COrbelCtrl::CreateNewFolder(const std::string& name, std::int32_t parentOwnerId,
                                         std::int32_t parentEntryNo) {
    const std::int32_t entryNo = NextEntryNumber(m_currentOleId);
    if (entryNo == -1) {
        AfxMessageBox("Error CreateNewFolder");
        return -1;
    }
    TreeEntry& row = NewOwnEntry(entryNo, parentOwnerId, parentEntryNo, name);
    if (m_exchange.InsertOleTree() >= 1) {
        AfxMessageBox("Error CreateNewFolder:2");
        return -1;
    }
    m_exchange.m_resourceRow = ResourceRecord{};
    const TreeEntry added = row;
    AddRowToList(added, false, std::string());
    AddRowToTree(added, false);
    if (CViewTree* tree = TreePane()) tree->RedrawNow();
    return entryNo;
}

void COrbelCtrl::CreateNewItem(const std::string& name, const std::string& path,
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
    const std::int32_t entryNo = NextEntryNumber(m_currentOleId);
    if (entryNo == -1) {
        AfxMessageBox(kCreateNewItemEntryError);
        return;
    }
    TreeEntry& row = NewOwnEntry(entryNo, parentOwnerId, parentEntryNo, name);
    row.ResourceId = resourceId;
    row.IsItem = 1;
    row.PageStart = pageStart == -1 ? 0 : pageStart;
    row.PageEnd = pageEnd == -1 ? 0 : pageEnd;
    row.Batch = m_batchMaint ? "00000000" : "";
    row.Type = IsWebAddress(path) ? "url" : FileExtension(path);
    if (m_exchange.InsertOleTree() >= 1) {
        AfxMessageBox(kCreateNewItemEntryError);
        return;
    }
    AddRowToList(row, false, m_exchange.m_resourceRow.Path);
}

int COrbelCtrl::ReadTreeEntry(std::int32_t ownerId, std::int32_t entryNo) {
    m_exchange.m_treeKey1 = {ownerId, entryNo};
    if (m_exchange.SelectOleTree(1, kRelEqual) >= 1) return 1;
    if (m_exchange.ReadOleTree() >= 1) return 2;
    return 0;
}

bool COrbelCtrl::RewriteTreeEntry(std::int32_t ownerId, std::int32_t entryNo, const char* operation,
                                  const std::function<void(TreeEntry&)>& change) {
    if (int step = ReadTreeEntry(ownerId, entryNo)) {
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

bool COrbelCtrl::ChangeItem(std::int32_t entryKey, const std::string& name, std::int32_t pageStart,
                            std::int32_t pageEnd) {
    return ChangeEntry(entryKey, name, std::pair{pageStart, pageEnd});
}

bool COrbelCtrl::ChangeItem(std::int32_t entryKey, const std::string& name) {
    return ChangeEntry(entryKey, name, std::nullopt);
}

bool COrbelCtrl::ChangeEntry(std::int32_t entryKey, const std::string& name,
                             std::optional<std::pair<std::int32_t, std::int32_t>> pages) {
    return RewriteTreeEntry(OwnerOfKey(entryKey, m_currentOleId, m_classOleId),
                            EntryNoOfKey(entryKey), "ChangeItem", [&](TreeEntry& row) {
                                row.Name = StoredText(name, kNameWidth);
                                if (!pages) return;
                                row.PageStart = pages->first;
                                row.PageEnd = pages->second;
                            });
}

bool COrbelCtrl::SetParent(std::int32_t entryKey, std::int32_t newParentKey) {
    std::int32_t newParentOwner;
    if (m_subscriberMode)
        newParentOwner =
            newParentKey != 0 && !IsClassEntryKey(newParentKey) ? m_currentOleId : m_classOleId;
    else
        newParentOwner = IsClassEntryKey(newParentKey) ? m_classOleId
                         : newParentKey != 0           ? m_currentOleId
                                                       : 0;
    return RewriteTreeEntry(OwnerOfKey(entryKey, m_currentOleId, m_classOleId),
                            EntryNoOfKey(entryKey), "SetParent", [&](TreeEntry& row) {
                                row.ParentOwnerId = newParentOwner;
                                row.ParentEntryNo = EntryNoOfKey(newParentKey);
                            });
}

void COrbelCtrl::DeleteEntry(std::int32_t entryKey) {
    m_exchange.m_treeKey1 = {m_currentOleId, EntryNoOfKey(entryKey)};
    if (m_exchange.DeleteOleTree() >= 1) {
        AfxMessageBox(LoadString(IDS_ERROR_DELETE_ENTRY));
        return;
    }
    // The script view removes its own entries in script mode, once it exists.
    if (CViewList* list = ListPane()) list->RemoveItem(entryKey);
    if (CViewTree* tree = TreePane()) tree->RemoveFolder(entryKey);
}

std::int32_t COrbelCtrl::FindFolder(const TreeKey2& key) {
    m_exchange.m_treeKey2 = key;
    if (m_exchange.SelectOleTree(2, kRelEqual) >= 1) return -1;
    if (m_exchange.ReadOleTree() >= 1) return -1;
    return m_exchange.m_treeEntry.EntryNo;
}

}  // namespace orbel
