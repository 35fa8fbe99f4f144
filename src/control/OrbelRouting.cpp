// Routing a document to the subscribers of a tree: attaching it to that tree as a new item and
// telling the host once per subscriber reached, breadth-first through the groups under the
// tree's "EMAIL" class root.
#include <deque>

#include "platform/Api.h"
#include "platform/framework/WaitCursor.h"
#include "src/control/OrbelCtrl.h"
#include "src/services/ShellServices.h"

namespace orbel {

namespace {
constexpr const char* kEmailClass = "EMAIL";

// A group still to be walked: its own key and the key of its parent.
struct SendQueueEntry {
    std::int32_t ownerId = 0;
    std::int32_t entryNo = 0;
    std::int32_t parentOwnerId = 0;
    std::int32_t parentEntryNo = 0;
};
}  // namespace

bool COrbelCtrl::AttachItem(const std::string& name, const std::string& path, std::int32_t treeId,
                            const std::string& ledger, const std::string& account) {
    const std::int32_t resourceId = m_exchange.GetNextResourceID();
    if (resourceId == -1) {
        AfxMessageBox("Error AttachItem:1");
        return false;
    }
    m_exchange.m_resourceRow = ResourceRecord{resourceId, path};
    if (m_exchange.InsertOleRes() >= 1) {
        AfxMessageBox("Error AttachItem:2");
        return false;
    }
    // A resource inserted above stays when a later step fails: the host may still link it.
    const std::int32_t entryNo = m_writer.NextEntryNumber(treeId);
    if (entryNo == -1) {
        AfxMessageBox("Error AttachItem:3");
        return false;
    }
    TreeEntry& row = m_exchange.m_treeEntry;
    row = TreeEntry{};
    row.OwnerId = treeId;
    row.EntryNo = entryNo;
    row.OwnerId2 = treeId;
    row.Name = name;
    row.ResourceId = resourceId;
    row.IsItem = 1;
    row.Batch = m_batchMaint ? "00000000" : "";
    row.Type = FileExtension(path);
    if (m_exchange.InsertOleTree() >= 1) {
        AfxMessageBox("Error AttachItem:4");
        return false;
    }
    SendMailGetResources(path, treeId, ledger, account);
    return true;
}

void COrbelCtrl::SendMailGetResources(const std::string& message, std::int32_t treeId,
                                      const std::string& ledger, const std::string& account) {
    // A store that never had a subscriber has no class for them: nothing to send, nothing to
    // say.
    m_exchange.m_classKey = kEmailClass;
    if (m_exchange.SelectOleClass(KeyNo::Key1, Relationship::Equal) != kResultOk) return;
    m_exchange.ReadOleClass();
    const std::int32_t emailClass = m_exchange.m_classRow.Value;

    m_exchange.m_treeKey2 = TreeKey2{treeId, emailClass, 0, ""};
    if (m_exchange.SelectOleTree(KeyNo::Key2, Relationship::AtOrAfter) != kResultOk) return;
    if (m_exchange.ReadOleTree() > 0) {
        AfxMessageBox("Error SendMailGetResources:2");
        return;
    }

    CWaitCursor wait;
    std::deque<SendQueueEntry> queue;
    // One row of a level: a subscriber is told about, a group waits its turn in the queue.
    auto take = [&](bool firstLevel) {
        const TreeEntry& row = m_exchange.m_treeEntry;
        if (row.IsItem == 0) {
            queue.push_back({row.OwnerId, row.EntryNo, row.ParentOwnerId, row.ParentEntryNo});
            return;
        }
        if (m_lookup.GetResource() != kResultOk) {
            if (firstLevel) AfxMessageBox("Error SendMailGetResources:3");
            return;
        }
        const std::string receiver = m_exchange.m_resourceRow.Path;
        if (m_directorySelect)
            FireSendEmail(receiver, message, ledger, account, "Y");
        else
            FireSendEmail(receiver, message, "", "", "N");
    };

    // The first level's rows hang under the class root, whatever their parent entry says.
    while (m_exchange.m_treeEntry.OwnerId2 == treeId &&
           m_exchange.m_treeEntry.ParentOwnerId == emailClass) {
        take(true);
        if (m_exchange.ReadOleTree() > 0) break;
    }
    // Groups found while walking a group join the end of the queue: breadth-first.
    while (!queue.empty()) {
        const SendQueueEntry group = queue.front();
        queue.pop_front();
        m_exchange.m_treeKey2 = TreeKey2{treeId, group.ownerId, group.entryNo, ""};
        if (m_exchange.SelectOleTree(KeyNo::Key2, Relationship::AtOrAfter) != kResultOk) {
            AfxMessageBox("Error SendMailGetResources:5");
            continue;
        }
        if (m_exchange.ReadOleTree() > 0) {
            AfxMessageBox("Error SendMailGetResources:6");
            continue;
        }
        while (m_exchange.m_treeEntry.OwnerId2 == treeId &&
               m_exchange.m_treeEntry.ParentOwnerId == group.ownerId &&
               m_exchange.m_treeEntry.ParentEntryNo == group.entryNo) {
            take(false);
            if (m_exchange.ReadOleTree() > 0) break;
        }
    }
}

std::int32_t COrbelCtrl::GetProcessedAttachmentCount(bool bProcessed) {
    CViewList* list = ListPane();
    return list ? list->GetProcessedAttachmentCount(bProcessed) : 0;
}

}  // namespace orbel
