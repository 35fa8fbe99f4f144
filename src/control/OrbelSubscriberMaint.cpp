// Subscriber maintenance: the people a document attached to the current item is mailed to are
// items of its own tree hung under the root of the "EMAIL" class, with their addresses as
// resource paths; groups are folders there. The mode shows them in the tree and list.
#include "src/control/MaintenanceClassRow.h"
#include "src/control/OrbelCtrl.h"
#include "src/panes/ViewList.h"

namespace orbel {

namespace {
constexpr const char* kSubscriberClass = "EMAIL";
constexpr const char* kAddressColumn = "Address";
constexpr int kAddressWidth = 170;
}  // namespace

void COrbelCtrl::EnterSubscriberMaint() {
    if (CViewList* list = ListView()) {
        platform::ListControl& columns = list->List();
        while (columns.GetColumnCount() > 1) columns.DeleteColumn(1);
        list->AddColumn(1, kAddressColumn, kAddressWidth);
    }
    InitiateSubscriberMaint(m_currentOleId, m_classOleId);
}

std::int32_t COrbelCtrl::InitiateSubscriberMaint(std::int32_t nOLEID, std::int32_t nClassOLEID) {
    // Only this call writes the pair that leaving restores: whatever the host opens meanwhile,
    // leaving returns to what was open when the mode was entered.
    m_subscriberOleId = nOLEID;
    m_subscriberClassOleId = nClassOLEID;
    m_subscriberMode = true;
    m_currentOleId = nOLEID;
    m_classOleId = nClassOLEID;
    BeginTreeDownload();
    EndTreeDownload();
    DeleteAllListViewItems();
    const std::int32_t subscriberClass = FindOrInsertMaintenanceClass(
        m_exchange, kSubscriberClass,
        "Error in InitiateSubscriberMaint(): Could not insert subscriber maintenance class.");
    if (subscriberClass == -1) {
        SetBusy(false);
        return -1;
    }
    m_classOleId = subscriberClass;
    // A tree that fails to load has said why; the mode is entered all the same.
    m_loader.GetCurrentTreeResources();
    if (CViewList* list = ListView()) list->SetFolderKey(true, 0);
    SetBusy(false);
    return m_currentOleId;
}

std::int32_t COrbelCtrl::LeaveSubscriberMaint() {
    m_subscriberMode = false;
    if (CViewList* list = ListView()) list->BuildColumns(this);
    return Initiate(m_subscriberOleId, m_subscriberClassOleId);
}

}  // namespace orbel
