#include "src/store/TreeLoader.h"

#include "platform/Api.h"

namespace orbel {

namespace {
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

CTreeLoader::CTreeLoader(CHostExchange& exchange, CStoreSite& site, CResourceLookup& lookup)
    : m_exchange(exchange), m_site(site), m_lookup(lookup) {}

bool CTreeLoader::OnTreeRow(std::int32_t result, const TreeEntry& row) {
    if (result != kResultRow) return true;
    if (row.ParentOwnerId != 0 && row.ParentOwnerId != m_site.CurrentOleId() &&
        row.ParentOwnerId != m_site.ClassOleId())
        return false;
    const bool classPhase = m_pass == Pass::ClassTop || m_pass == Pass::ClassParents;
    if (!classPhase && m_site.DirectorySelect()) return false;
    if (m_pass == Pass::ClassTop || m_pass == Pass::OwnTop) {
        // Every folder goes to the top first; the second pass hangs it under its parent.
        if (row.ParentEntryNo == 0) m_site.AddListRow(row, classPhase, std::string());
        TreeEntry top = row;
        top.ParentOwnerId = 0;
        top.ParentEntryNo = 0;
        AddRowToTree(m_site, top, classPhase);
    } else {
        HangUnderParent(row);
    }
    return false;
}

void CTreeLoader::HangUnderParent(const TreeEntry& row) {
    const std::int32_t parentKey =
        EntryKeyOf(row.ParentOwnerId, row.ParentEntryNo, m_site.ClassOleId());
    if (row.IsItem != 0) {
        m_site.MarkTreeFolder(parentKey);
    } else if (row.OwnerId != row.ParentOwnerId || row.EntryNo != row.ParentEntryNo) {
        m_site.MoveTreeFolder(EntryKeyOf(row.OwnerId, row.EntryNo, m_site.ClassOleId()), parentKey);
    }
}

std::int32_t CTreeLoader::SelectOwnerTree(std::int32_t ownerId, const RecordHandler& handler) {
    return m_exchange.SelectTableOleTree(KeyNo::Key2, Key2Start(ownerId, 0, 0),
                                         Key2End(ownerId, kLargestNumber, kLargestNumber), handler);
}

bool CTreeLoader::GetTree() {
    m_site.ForgetFolders();
    if (m_site.ShowResource() || m_site.SubscriberMode()) return GetTreeResources();
    auto handler = [this](std::int32_t result, const TreeEntry& row) {
        return OnTreeRow(result, row);
    };
    struct Step {
        Pass pass;
        const char* message;
    };
    auto load = [&](std::int32_t owner, Step first, Step second) {
        for (const Step& step : {first, second}) {
            m_pass = step.pass;
            if (SelectOwnerTree(owner, handler) > kResultEndOfData) {
                AfxMessageBox(step.message);
                return false;
            }
        }
        return true;
    };
    if (m_site.ClassOleId() != 0 && !load(m_site.ClassOleId(), {Pass::ClassTop, "Error GetTree:1"},
                                          {Pass::ClassParents, "Error GetTree:2"}))
        return false;
    if (!m_site.ScriptMaint() && !load(m_site.CurrentOleId(), {Pass::OwnTop, "Error GetTree:3"},
                                       {Pass::OwnParents, "Error GetTree:4"}))
        return false;
    return true;
}

void CTreeLoader::ShowFolder(bool classTree, std::int32_t entryNo) {
    m_site.EnableControl(false);
    m_shownFolderOwner = classTree ? m_site.ClassOleId() : m_site.CurrentOleId();
    if (!m_site.SubscriberMode() && entryNo == 0) m_shownFolderOwner = 0;
    m_shownFolderEntry = entryNo;
    m_site.ClearList();
    GetNode(classTree);
    m_site.SetListFolder(classTree, m_shownFolderEntry);
    m_site.EnableControl(true);
}

bool CTreeLoader::OnNodeRow(std::int32_t result, const TreeEntry& row) {
    if (result != kResultRow) return true;
    m_site.AddListRow(row, m_nodeLoadPart, std::string());
    return false;
}

void CTreeLoader::GetNode(bool classPart) {
    if (m_site.SubscriberMode()) {
        GetSubsNodeResources(classPart);
        return;
    }
    if (m_site.ShowResource()) {
        GetNodeResources(classPart);
        return;
    }
    auto handler = [this](std::int32_t result, const TreeEntry& row) {
        return OnNodeRow(result, row);
    };
    // The entries of one owner whose parent is the shown folder.
    auto selectChildren = [&](std::int32_t ownerId) {
        return m_exchange.SelectTableOleTree(
            KeyNo::Key2, Key2Start(ownerId, m_shownFolderOwner, m_shownFolderEntry),
            Key2End(ownerId, m_shownFolderOwner, m_shownFolderEntry), handler);
    };
    if (classPart) {
        m_nodeLoadPart = true;
        if (selectChildren(m_site.ClassOleId()) > kResultEndOfData) {
            AfxMessageBox("Error GetNode:1");
            return;
        }
    }
    if (m_site.ScriptMaint()) return;
    m_nodeLoadPart = false;
    if (selectChildren(m_site.CurrentOleId()) > kResultEndOfData) AfxMessageBox("Error GetNode:2");
}

}  // namespace orbel
