// Opening a store: the normal mode with both trees, and folder maintenance, which lists one
// named subfolder of a class tree kept for the purpose.
#include "platform/Api.h"
#include "src/control/MaintenanceClassRow.h"
#include "src/control/OrbelCtrl.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/preview/FrameContainer.h"

namespace orbel {

namespace {
constexpr const char* kFolderMaintClass = "2";
constexpr const char* kLinkInfo = "Link Info";
}  // namespace

std::int32_t FindOrInsertMaintenanceClass(CHostExchange& exchange, const std::string& className,
                                          const std::string& insertError) {
    exchange.m_classKey = className;
    if (exchange.SelectOleClass(KeyNo::Key1, Relationship::Equal) == kResultOk) {
        exchange.ReadOleClass();
        return exchange.m_classRow.Value;
    }
    const std::int32_t newClass = exchange.GetNextOLEID();
    exchange.m_classRow = ClassRecord{className, newClass};
    if (newClass == -1 || exchange.InsertOleClass() >= 1) {
        AfxMessageBox(insertError);
        return -1;
    }
    return newClass;
}

std::int32_t COrbelCtrl::Initiate(std::int32_t nOLEID, std::int32_t nClassOLEID) {
    LeaveScriptMaint();
    m_mode = DisplayMode::Normal;
    BeginTreeDownload();
    EndTreeDownload();
    DeleteAllListViewItems();
    m_currentOleId = nOLEID;
    m_classOleId = nClassOLEID;
    if (m_directorySelect) {
        const std::int32_t directoryClass = m_maintenance.GetClassOLEID();
        if (directoryClass == -1) return -1;
        m_currentOleId = directoryClass;
        m_classOleId = directoryClass;
    }
    if (m_currentOleId == 0) {
        m_currentOleId = m_exchange.GetNextOLEID();
        if (m_currentOleId == -1) return -1;
    }
    if (!m_loader.GetTree()) return -1;
    if (CViewList* list = ListView()) {
        list->MarkProcessedRows();
        list->SetFolderKey(false, 0);
    }
    FireFolderChange("\\All");
    if (CFrameContainer* frame = Frame()) frame->ClearStalePreview();
    EnableControl(true);
    if (CViewTree* tree = TreeView()) tree->SetFocus();
    return m_currentOleId;
}

std::int32_t COrbelCtrl::InitiateFolderMaint(std::int32_t nOLEID, std::int32_t nClassOLEID,
                                             const std::string& szFolder,
                                             const std::string& szSubFolder) {
    SetBusy(true);
    // Every way out ends the busy state; a failure returns -1.
    auto fail = [this] {
        SetBusy(false);
        return -1;
    };
    LeaveScriptMaint();
    m_currentOleId = nOLEID;
    m_classOleId = nClassOLEID;
    if (m_frame) {
        CSplitterWnd& outer = m_frame->OuterSplitter();
        outer.ModifyStyle(0, 0x1);
        outer.RecalcLayout();
    }
    SetToolbarForMode(DisplayMode::FolderMaint);
    // A host that opens folder maintenance again (another subfolder) keeps one such column.
    if (CViewList* list = ListView())
        if (list->List().GetColumnCount() <= 4 || list->List().GetColumnTitle(4) != kLinkInfo)
            list->AddColumn(4, kLinkInfo, 70);
    m_mode = DisplayMode::FolderMaint;
    if (nOLEID == 0) {
        m_currentOleId = m_exchange.GetNextOLEID();
        if (m_currentOleId == -1) {
            return fail();
        }
    }
    if (nClassOLEID == 2) {
        const std::int32_t f = FindOrInsertMaintenanceClass(
            m_exchange, kFolderMaintClass,
            "Error in InitiateFolderMaint(): Could not insert folder maintenance class.");
        if (f == -1) return fail();
        // The folders are made in F's own tree.
        auto findOrCreate = [&](std::int32_t parentOwner, std::int32_t parentEntry,
                                const std::string& name) {
            std::int32_t entry = m_lookup.FindFolder(TreeKey2{f, parentOwner, parentEntry, name});
            if (entry == -1) entry = m_writer.CreateFolderOf(f, name, parentOwner, parentEntry);
            return entry;
        };
        const std::int32_t folder = findOrCreate(0, 0, szFolder);
        if (folder == -1) {
            // Without the folder the subfolder would be made under entry -1, an orphan row.
            return fail();
        }
        const std::int32_t subFolder = findOrCreate(f, folder, szSubFolder);
        if (subFolder == -1) {
            return fail();
        }
        m_classOleId = f;
        m_loader.ShowFolder(true, subFolder);
    }
    SetBusy(false);
    return m_currentOleId;
}

}  // namespace orbel
