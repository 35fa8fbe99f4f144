// The control's dispatch table: properties 1-10 and methods 11-44 in declaration order.
// Members whose behaviour the control does not carry yet are declared with their types and
// answer E_NOTIMPL.
#include "src/control/OrbelCtrl.h"

namespace orbel {

namespace {
using S = const std::string&;
using L = std::int32_t;
}  // namespace

void COrbelCtrl::BuildDispatchMap() {
    DispatchMap& map = MutableDispatchMap();
    auto changed = [this] { OnPropertyChanged(); };

    map.Add(DispPropertyNotify("AutoCreate", 1, m_autoCreate, [this] { OnAutoCreateChanged(); }));
    map.Add(DispPropertyNotify("BatchMaint", 2, m_batchMaint, changed));
    map.Add(
        DispPropertyNotify("ShowResource", 3, m_showResource, [this] { OnShowResourceChanged(); }));
    map.Add(DispPropertyNotify("ResponseTimeOut", 4, m_responseTimeOut, changed));
    map.Add(DispPropertyNotify("NotifySelectTiff", 5, m_notifySelectTiff, changed));
    map.Add(DispPropertyNotify("ScanMode", 6, m_scanMode, changed));
    map.Add(DispPropertyNotify("DirectorySelect", 7, m_directorySelect, changed));
    map.Add(DispPropertyNotify("AutoOpen", 8, m_autoOpen, [this] { OnAutoOpenChanged(); }));
    map.Add(DispPropertyNotify("ShowPreviewPane", 9, m_showPreviewPane, changed));
    map.Add(DispPropertyEx("ScriptMaint", 10, this, &COrbelCtrl::GetScriptMaint,
                           &COrbelCtrl::SetScriptMaint));

    map.Add(DispMethod("AddTreeViewItem", 11, this, &COrbelCtrl::AddTreeViewItem));
    map.Add(DispMethod("AddListViewItem", 12, this, &COrbelCtrl::AddListViewItem));
    map.Add(DispMethod("SetImageDetails", 13, this, &COrbelCtrl::SetImageDetails));
    map.Add(DispMethod("UpdateFolder", 14, this, &COrbelCtrl::UpdateFolder));
    map.Add(DispMethod("UpdateListFolder", 15, this, &COrbelCtrl::UpdateListFolder));
    map.Add(DispMethod("UpdateTreeFolder", 16, this, &COrbelCtrl::UpdateTreeFolder));
    map.Add(DispMethod("UpdateItem", 17, this, &COrbelCtrl::UpdateItem));
    map.Add(DispMethod("SetListParent", 18, this, &COrbelCtrl::SetListParent));
    map.Add(DispMethod("SetTreeParent", 19, this, &COrbelCtrl::SetTreeParent));
    map.Add(DispMethod("DeleteTreeItem", 20, this, &COrbelCtrl::DeleteTreeItem));
    map.Add(DispMethod("DeleteListItem", 21, this, &COrbelCtrl::DeleteListItem));
    map.Add(DispMethod("DeleteAllListViewItems", 22, this, &COrbelCtrl::DeleteAllListViewItems));
    map.Add(DispMethod("BeginTreeDownload", 23, this, &COrbelCtrl::BeginTreeDownload));
    map.Add(DispMethod("EndTreeDownload", 24, this, &COrbelCtrl::EndTreeDownload));
    map.Add(DispMethod("RequestDeleteObject", 25, this, &COrbelCtrl::RequestDeleteObject));
    map.Add(DispMethod("SetObjectDir", 26, this, &COrbelCtrl::SetObjectDir));
    map.Add(DispMethod("ProcessTarnMessage", 27, this, &COrbelCtrl::ProcessTarnMessage));
    map.Add(DispMethod("RequestResult", 28, this, &COrbelCtrl::RequestResult));
    map.Add(DispMethod("Initiate", 29, this, &COrbelCtrl::Initiate));
    map.Add(DispMethod("InitiateFolderMaint", 30, this, &COrbelCtrl::InitiateFolderMaint));
    map.Add(DispMethod("RefreshTarnField", 31, this, &COrbelCtrl::RefreshTarnField));
    map.Add(DispMethod("GetListViewData", 32, this, &COrbelCtrl::GetListViewData));
    map.Add(DispMethod("GetListViewItemCount", 33, this, &COrbelCtrl::GetListViewItemCount));
    map.Add(DispMethod("InitiateScriptMaint", 34, this, &COrbelCtrl::InitiateScriptMaint));
    map.Add(DispMethod("GetProcessedAttachmentCount", 35, this,
                       &COrbelCtrl::GetProcessedAttachmentCount));
    map.Add(DispMethod("GetScriptViewItemCount", 36, this, &COrbelCtrl::GetScriptViewItemCount));
    map.Add(DispMethod("GetScriptViewData", 37, this, &COrbelCtrl::GetScriptViewData));
    map.Add(
        DispMethod("ShowScriptMaintenanceView", 38, this, &COrbelCtrl::ShowScriptMaintenanceView));
    map.Add(DispMethod("GetOleFile", 39, this, &COrbelCtrl::GetOleFile));
    map.Add(DispMethod("SelectExcelCell", 40, this, &COrbelCtrl::SelectExcelCell));
    map.Add(DispMethod("GetListViewdwItem", 41, this, &COrbelCtrl::GetListViewdwItem));
    map.Add(DispMethod("QueryClose", 42, this, &COrbelCtrl::QueryClose));
    map.Add(DispMethod("SetDirectIDRetrieval", 43, this, &COrbelCtrl::SetDirectIDRetrieval));
    map.Add(DispMethod("ShowItem", 44, this, &COrbelCtrl::ShowItem));
}

}  // namespace orbel
