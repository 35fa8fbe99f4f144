// Loading with each item's resource: the rows are walked by key 2 one read at a time, since
// every item's resource row is read between two rows of the tree.
#include <map>

#include "platform/Api.h"
#include "platform/framework/WaitCursor.h"
#include "src/store/TreeLoader.h"

namespace orbel {

namespace {
// "No such row" is where an owner's rows end: an empty tree or folder, or one whose rows come
// last in the table. Only a request that failed is an error.
bool Ended(std::int32_t result) {
    return result == kResultEndOfData;
}
void Say(const std::string& message) {
    if (!message.empty()) AfxMessageBox(message);
}
std::string Numbered(const std::string& operation, int number) {
    return "Error " + operation + ":" + std::to_string(number);
}
}  // namespace

CTreeLoader::Walked CTreeLoader::Walk(const TreeKey2& start, const WalkMessages& messages,
                                      const std::function<bool(const TreeEntry&)>& inRange,
                                      const std::function<bool(const TreeEntry&)>& onRow) {
    m_exchange.m_treeKey2 = start;
    std::int32_t result = m_exchange.SelectOleTree(KeyNo::Key2, Relationship::AtOrAfter);
    if (Ended(result)) return Walked::Done;
    if (result >= 1) {
        Say(messages.position);
        return Walked::StartFailed;
    }
    result = m_exchange.ReadOleTree();
    if (Ended(result)) return Walked::Done;
    if (result >= 1) {
        Say(messages.firstRead);
        return Walked::StartFailed;
    }
    const TreeEntry& row = m_exchange.m_treeEntry;
    while (inRange(row)) {
        if (!onRow(row)) return Walked::RowFailed;
        result = m_exchange.ReadOleTree();
        if (Ended(result)) return Walked::Done;
        if (result >= 1) {
            Say(messages.nextRead);
            return Walked::ReadFailed;
        }
    }
    return Walked::Done;
}

bool CTreeLoader::GetTreeResources() {
    // A store without a class tree loads its own tree alone, as it does without resources.
    if (m_site.ClassOleId() != 0 && !GetClassTreeResources()) return false;
    return GetCurrentTreeResources();
}

bool CTreeLoader::GetClassTreeResources() {
    const std::int32_t classId = m_site.ClassOleId();
    if (classId == 0) return false;
    const std::string op = "GetTreeResources";
    auto inRange = [classId](const TreeEntry& row) { return row.OwnerId2 == classId; };
    const Walked first =
        Walk(TreeKey2{classId, 0, 0, {}}, {Numbered(op, 1), Numbered(op, 2), Numbered(op, 4)},
             inRange, [&](const TreeEntry& stored) {
                 if (m_lookup.GetResource() >= 1) {
                     AfxMessageBox(Numbered(op, 3));
                     return false;
                 }
                 TreeEntry row = stored;
                 if (row.ParentOwnerId == 0)
                     m_site.AddListRow(row, true, m_exchange.m_resourceRow.Path);
                 // Every folder goes to the top first; the second sweep hangs it under its parent.
                 row.ParentOwnerId = 0;
                 row.ParentEntryNo = 0;
                 AddRowToTree(m_site, row, true);
                 return true;
             });
    if (first != Walked::Done) return false;
    return Walk(TreeKey2{classId, 0, 0, {}}, {{}, {}, Numbered(op, 7)}, inRange,
                [this](const TreeEntry& row) {
                    HangUnderParent(row);
                    return true;
                }) == Walked::Done;
}

bool CTreeLoader::GetCurrentTreeResources() {
    const std::int32_t own = m_site.CurrentOleId();
    const std::int32_t classId = m_site.ClassOleId();
    const bool subscribers = m_site.SubscriberMode();
    CWaitCursor wait;
    auto inRange = [own](const TreeEntry& row) { return row.OwnerId2 == own; };
    // Rows hung under another item's tree are not this tree's; in subscriber maintenance the
    // documents at the top are not subscribers.
    auto taken = [&](const TreeEntry& row) {
        const std::int32_t parent = row.ParentOwnerId;
        if (parent != 0 && parent != own && parent != classId) return false;
        return !(subscribers && parent == 0);
    };
    // The groups shown, each with the entry of the group it is in (0 at the top).
    std::vector<std::pair<std::int32_t, std::int32_t>> groups;
    const Walked first = Walk(TreeKey2{own, 0, 0, {}}, {}, inRange, [&](const TreeEntry& stored) {
        if (!taken(stored)) return true;
        if (m_lookup.GetResource() >= 1) {
            AfxMessageBox(Numbered("GetTreeResources", 10));
            return false;
        }
        TreeEntry row = stored;
        if (!subscribers) {
            if (row.ParentOwnerId == 0)
                m_site.AddListRow(row, false, m_exchange.m_resourceRow.Path);
            row.ParentOwnerId = 0;
        } else {
            if (row.ParentOwnerId == classId)
                m_site.AddListRow(row, false, m_exchange.m_resourceRow.Path);
            if (row.IsItem == 0)
                groups.emplace_back(row.EntryNo,
                                    row.ParentOwnerId == classId ? 0 : row.ParentEntryNo);
        }
        row.ParentEntryNo = 0;
        AddRowToTree(m_site, row, false);
        return true;
    });
    if (first == Walked::StartFailed || first == Walked::RowFailed) return false;
    const bool hung = Walk(TreeKey2{own, 0, 0, {}}, {}, inRange, [&](const TreeEntry& row) {
                          if (taken(row)) HangUnderParent(row);
                          return true;
                      }) == Walked::Done;
    if (subscribers) RemoveStrayGroups(groups);
    return hung;
}

void CTreeLoader::RemoveStrayGroups(
    const std::vector<std::pair<std::int32_t, std::int32_t>>& groups) {
    const std::map<std::int32_t, std::int32_t> parentOf(groups.begin(), groups.end());
    for (const auto& [entry, parent] : groups) {
        std::int32_t at = parent;
        // A chain longer than the groups there are has met a loop.
        for (std::size_t steps = 0; at != 0 && steps <= groups.size(); ++steps) {
            auto up = parentOf.find(at);
            if (up == parentOf.end()) break;
            at = up->second;
        }
        if (at != 0)
            m_site.RemoveTreeFolder(EntryKeyOf(m_site.CurrentOleId(), entry, m_site.ClassOleId()));
    }
}

bool CTreeLoader::ReadNodeResources(std::int32_t ownerId, bool classFlag,
                                    const std::string& operation, int firstMessage,
                                    bool quietStart) {
    const std::int32_t parentOwner = m_shownFolderOwner;
    const std::int32_t parentEntry = m_shownFolderEntry;
    WalkMessages messages{Numbered(operation, firstMessage), Numbered(operation, firstMessage + 1),
                          Numbered(operation, firstMessage + 3)};
    if (quietStart) messages.position = messages.firstRead = {};
    // From the folder's first child on, whatever name an earlier lookup left in the buffer.
    return Walk(
               TreeKey2{ownerId, parentOwner, parentEntry, {}}, messages,
               [&](const TreeEntry& row) {
                   return row.OwnerId2 == ownerId && row.ParentOwnerId == parentOwner &&
                          row.ParentEntryNo == parentEntry;
               },
               [&](const TreeEntry& row) {
                   if (m_lookup.GetResource() >= 1) {
                       AfxMessageBox(Numbered(operation, firstMessage + 2));
                       return false;
                   }
                   m_site.AddListRow(row, classFlag, m_exchange.m_resourceRow.Path);
                   return true;
               }) == Walked::Done;
}

void CTreeLoader::GetNodeResources(bool classPart) {
    const std::string op = "GetNodeResources";
    if (classPart && !ReadNodeResources(m_site.ClassOleId(), true, op, 1, false)) return;
    ReadNodeResources(m_site.CurrentOleId(), false, op, 5, false);
}

void CTreeLoader::GetSubsNodeResources(bool classNode) {
    CWaitCursor wait;
    const std::string op = "GetSubsNodeResources";
    if (classNode && !ReadNodeResources(m_site.ClassOleId(), true, op, 1, true)) return;
    ReadNodeResources(m_site.CurrentOleId(), false, op, 5, true);
}

}  // namespace orbel
