// Script maintenance: the control as a script editor. The script view takes the list's place,
// and the script folder (and subfolder) of the script class's tree is found or made and shown.
#include "platform/Api.h"
#include "src/control/MaintenanceClassRow.h"
#include "src/control/OrbelCtrl.h"
#include "src/panes/ViewList.h"
#include "src/preview/FrameContainer.h"
#include "src/script/ScriptView.h"
#include "src/store/StoredPath.h"

namespace orbel {

namespace {
constexpr const char* kScriptMaintClass = "4";
const CRuntimeClass kScriptViewClass{CScriptView::kClassName, &CScriptView::CreateObject};
}  // namespace

std::int32_t COrbelCtrl::InitiateScriptMaint(std::int32_t nOLEID, std::int32_t nClassOLEID,
                                             const std::string& sFolder,
                                             const std::string& sSubFolder, bool bVisible) {
    SetBusy(true);
    m_currentOleId = nOLEID;
    m_classOleId = nClassOLEID;
    m_scriptMaint = true;
    m_scriptViewShown = bVisible;
    const std::string objectDir = ListView() ? ListView()->ObjectDir() : std::string();
    m_mode = DisplayMode::ScriptMaint;
    // A second call finds the view in place already. The form needs the whole pane: the
    // preview goes first.
    if (m_frame && !ScriptPane()) {
        m_frame->ShowPreviewPane(false);
        m_frame->ShowScriptView(0, 0, kScriptViewClass);
    }
    SetObjectDir(objectDir);
    SetToolbarForMode(DisplayMode::ScriptMaint);
    m_systemScripts.clear();
    FireOnGetSystemScripts();
    if (CScriptView* view = ScriptPane()) view->FillSystemScripts();

    if (nClassOLEID == 4) {
        const std::int32_t s = FindOrInsertMaintenanceClass(
            m_exchange, kScriptMaintClass,
            "Error in InitiateScriptMaint(): Could not insert script maintenance class.");
        if (s == -1) {
            SetBusy(false);
            return -1;
        }
        // A lookup that fails makes the folder, in the script class's own tree.
        auto findOrCreate = [&](std::int32_t parentOwner, std::int32_t parentEntry,
                                const std::string& name) {
            std::int32_t entry = m_lookup.FindFolder(TreeKey2{s, parentOwner, parentEntry, name});
            if (entry == -1) entry = m_writer.CreateFolderOf(s, name, parentOwner, parentEntry);
            return entry;
        };
        std::int32_t entry = findOrCreate(0, 0, sFolder);
        if (!sSubFolder.empty() && entry != -1) entry = findOrCreate(s, entry, sSubFolder);
        m_currentOleId = s;
        m_classOleId = s;
        m_loader.ShowFolder(true, entry);
        EnableControl(true);
    }
    SetBusy(false);
    return m_currentOleId;
}

void COrbelCtrl::LeaveScriptMaint() {
    const CScriptView* view = ScriptPane();
    if (!view) return;
    const std::string objectDir = view->ObjectDir();
    m_frame->ShowListView();
    m_mode = DisplayMode::Normal;
    if (CViewList* list = ListView()) {
        list->SetObjectDir(objectDir);
        list->SetAutoCreate(m_autoCreate);
        list->SetAutoOpen(m_autoOpen);
    }
}

std::int32_t COrbelCtrl::GetScriptViewItemCount() {
    const CScriptView* view = ScriptPane();
    return view ? view->GetItemCount() : 0;
}

std::string COrbelCtrl::GetScriptViewData(std::int32_t nIndex, bool bNameOnly) {
    const CScriptView* view = ScriptPane();
    if (!view || nIndex < 0 || nIndex >= view->GetItemCount()) return {};
    const std::string name = view->ItemName(nIndex);
    if (bNameOnly) return name;
    std::string path;
    std::int32_t pageStart = 0, pageEnd = 0;
    m_lookup.GetResourceDetails(view->ItemCode(nIndex), path, pageStart, pageEnd, true, true);
    return path + "::" + name;
}

void COrbelCtrl::ShowScriptMaintenanceView(bool bShow) {
    m_scriptViewShown = bShow;
    if (!bShow) return;
    if (CScriptView* view = ScriptPane()) {
        view->ShowWindow(true);
        // System scripts the host named since the view was filled are shown now.
        if (!view->ShowsSystemScripts(m_systemScripts)) view->FillSystemScripts();
        view->SeparateSystemScripts();
    }
}

bool COrbelCtrl::SetScriptResource(std::int32_t entryKey, const std::string& scriptFile,
                                   const std::string& function) {
    std::string file;
    std::int32_t pageStart = 0, pageEnd = 0;
    if (!m_lookup.GetResourceDetails(entryKey, file, pageStart, pageEnd, false)) return false;
    return StoreLookedUpResourcePath(scriptFile, function);
}

bool COrbelCtrl::RewriteResourcePath(std::int32_t entryKey,
                                     const std::function<MarkedPath(const std::string&)>& change) {
    std::string path;
    std::int32_t pageStart = 0, pageEnd = 0;
    if (!m_lookup.GetResourceDetails(entryKey, path, pageStart, pageEnd, true)) return false;
    const MarkedPath changed = change(path);
    return StoreLookedUpResourcePath(changed.file, changed.link);
}

bool COrbelCtrl::StoreLookedUpResourcePath(const std::string& file, const std::string& link) {
    m_exchange.m_resourceRow.Path = JoinStoredPath(file, link);
    return m_exchange.UpdateOleRes() == kResultOk;
}

}  // namespace orbel
