// The control's dispatch table: properties 1-10 and methods 11-44 in declaration order.
// Members whose behaviour the control does not carry yet are declared with their types and
// answer E_NOTIMPL.
#include "src/control/OrbelCtrl.h"

namespace orbel {

namespace {
using S = const std::string&;
using L = std::int32_t;
using B = bool;
}  // namespace

void COrbelCtrl::BuildDispatchMap() {
    DispatchMap& map = MutableDispatchMap();
    auto changed = [this] { OnPropertyChanged(); };

    map.Add(DispPropertyNotify("AutoCreate", 1, m_autoCreate, [this] { OnAutoCreateChanged(); }));
    map.Add(DispPropertyNotify("BatchMaint", 2, m_batchMaint, changed));
    map.Add(DispPropertyNotify("ShowResource", 3, m_showResource, changed));
    map.Add(DispPropertyNotify("ResponseTimeOut", 4, m_responseTimeOut, changed));
    map.Add(DispPropertyNotify("NotifySelectTiff", 5, m_notifySelectTiff, changed));
    map.Add(DispPropertyNotify("ScanMode", 6, m_scanMode, changed));
    map.Add(DispPropertyNotify("DirectorySelect", 7, m_directorySelect, changed));
    map.Add(DispPropertyNotify("AutoOpen", 8, m_autoOpen, [this] { OnAutoOpenChanged(); }));
    map.Add(DispPropertyNotify("ShowPreviewPane", 9, m_showPreviewPane, changed));
    map.Add(DispPropertyEx("ScriptMaint", 10, this, &COrbelCtrl::GetScriptMaint,
                           &COrbelCtrl::SetScriptMaint));

    map.Add(DispMethodPending<B, B, B, L, L, S>("AddTreeViewItem", 11));
    map.Add(DispMethodPending<B, B, B, L, S, S>("AddListViewItem", 12));
    map.Add(DispMethodPending<B, L, L, L, L>("SetImageDetails", 13));
    map.Add(DispMethodPending<B, L, S>("UpdateFolder", 14));
    map.Add(DispMethodPending<B, L, S>("UpdateListFolder", 15));
    map.Add(DispMethodPending<B, L, S>("UpdateTreeFolder", 16));
    map.Add(DispMethodPending<B, L, S, L, L, L>("UpdateItem", 17));
    map.Add(DispMethodPending<B, L>("SetListParent", 18));
    map.Add(DispMethodPending<B, L, L>("SetTreeParent", 19));
    map.Add(DispMethodPending<B, L>("DeleteTreeItem", 20));
    map.Add(DispMethodPending<B, L>("DeleteListItem", 21));
    map.Add(DispMethodPending<void>("DeleteAllListViewItems", 22));
    map.Add(DispMethodPending<void>("BeginTreeDownload", 23));
    map.Add(DispMethodPending<void>("EndTreeDownload", 24));
    map.Add(DispMethodPending<B, S>("RequestDeleteObject", 25));
    map.Add(DispMethodPending<B, S>("SetObjectDir", 26));
    map.Add(DispMethodPending<B, S>("ProcessTarnMessage", 27));
    map.Add(DispMethod("RequestResult", 28, this, &COrbelCtrl::RequestResult));
    map.Add(DispMethodPending<L, L, L>("Initiate", 29));
    map.Add(DispMethodPending<L, L, L, S, S>("InitiateFolderMaint", 30));
    map.Add(DispMethod("RefreshTarnField", 31, this, &COrbelCtrl::RefreshTarnField));
    map.Add(DispMethodPending<std::string, L>("GetListViewData", 32));
    map.Add(DispMethodPending<L>("GetListViewItemCount", 33));
    map.Add(DispMethodPending<L, L, L, S, S, B>("InitiateScriptMaint", 34));
    map.Add(DispMethodPending<L, B>("GetProcessedAttachmentCount", 35));
    map.Add(DispMethodPending<L>("GetScriptViewItemCount", 36));
    map.Add(DispMethodPending<std::string, L, B>("GetScriptViewData", 37));
    map.Add(DispMethodPending<void, B>("ShowScriptMaintenanceView", 38));
    map.Add(DispMethodPending<L, S>("GetOleFile", 39));
    map.Add(DispMethodPending<std::string, S, L>("SelectExcelCell", 40));
    map.Add(DispMethodPending<L, L>("GetListViewdwItem", 41));
    map.Add(DispMethod("QueryClose", 42, this, &COrbelCtrl::QueryClose));
    map.Add(DispMethod("SetDirectIDRetrieval", 43, this, &COrbelCtrl::SetDirectIDRetrieval));
    map.Add(DispMethodPending<void, S>("ShowItem", 44));
}

}  // namespace orbel
