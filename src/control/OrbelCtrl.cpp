#include "src/control/OrbelCtrl.h"

#include "platform/Api.h"
#include "platform/Platform.h"
#include "src/control/OrbelIds.h"
#include "src/module/OrbelApp.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/preview/FrameContainer.h"
#include "src/resources/StringTable.h"
#include "src/resources/Toolbars.h"
#include "src/script/ScriptView.h"

namespace orbel {

using platform::GetPlatform;

COrbelCtrl::COrbelCtrl()
    : m_exchange(*this),
      m_lookup(m_exchange, *this),
      m_writer(m_exchange, *this, m_lookup),
      m_loader(m_exchange, *this, m_lookup),
      m_maintenance(m_exchange, *this, m_lookup, m_writer),
      m_mappingList(GetPlatform().Mounts()) {
    InitializeIIDs(IidDOrbel(), IidDOrbelEvents());
    BuildDispatchMap();
    BuildEventMap();
    m_mappingList.LoadMappings();
    m_exchange.SetDirectIDRetrieval(false);
    m_browseTarget.clear();
}

COrbelCtrl::~COrbelCtrl() {
    // The panes go while the control is still whole: they may call on it as they close.
    if (GetSafeHwnd() && platform::HasPlatform()) DestroyWindow();
    m_maintenance.Folders().RemoveAll();
    m_systemScripts.clear();
    m_mappingList.RemoveAll();
}

// ---------------------------------------------------------------------------------------
// The control window

int COrbelCtrl::OnCreate() {
    if (COleControl::OnCreate() == -1) return -1;
    RECT rect = GetClientRect();
    rect.top += 30;
    m_frame = std::make_unique<CFrameContainer>();
    if (!m_frame->Create(GetSafeHwnd(), rect)) return -1;
    if (!m_toolBar.Create(m_frame.get(),
                          WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM,
                          AFX_IDW_TOOLBAR, m_frame.get()))
        return -1;
    if (!m_toolBar.LoadToolBar(*FindToolBarResource(IDR_TOOLBAR_NORMAL), LoadString)) return -1;
    m_toolBar.SetBarStyle(m_toolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_frame->DockControlBar(&m_toolBar);
    m_frame->RecalcLayout();
    m_frame->SetToolbar(&m_toolBar);
    COrbelApp::InstallKeyboardHook();
    return 0;
}

void COrbelCtrl::OnDestroy() {
    // The frame goes with the window; nothing may reach its panes after this.
    if (m_frame) m_frame->RemoveControlBar(&m_toolBar);
    COleControl::OnDestroy();
}

void COrbelCtrl::OnSize(int cx, int cy) {
    COleControl::OnSize(cx, cy);
    if (m_frame && m_frame->GetSafeHwnd()) {
        m_frame->MoveWindow(RECT{0, 0, cx, cy});
        m_frame->Invalidate();
    }
}

void COrbelCtrl::OnMouseMove(POINT point) {
    // Set again on every move so the hourglass stays while the window is disabled.
    GetPlatform().Windows().SetCursor(m_hCursor);
    COleControl::OnMouseMove(point);
}

void COrbelCtrl::OnTimer(UINT_PTR id) {
    m_exchange.OnTimer(id);
    COleControl::OnTimer(id);
}

void COrbelCtrl::OnDraw(const RECT&, const RECT& invalid) {
    // The control draws nothing itself: its child frame repaints over the invalid area.
    if (m_frame && m_frame->GetSafeHwnd()) m_frame->Invalidate(&invalid);
}

CViewTree* COrbelCtrl::TreeView() const {
    return m_frame ? m_frame->TreeView() : nullptr;
}

CViewList* COrbelCtrl::ListView() const {
    return m_frame ? m_frame->ListView() : nullptr;
}

CViewList* COrbelCtrl::ListPane() const {
    return m_mode == DisplayMode::ScriptMaint ? nullptr : ListView();
}

CScriptView* COrbelCtrl::ScriptPane() const {
    if (m_mode != DisplayMode::ScriptMaint || !m_frame) return nullptr;
    return dynamic_cast<CScriptView*>(m_frame->ScriptView());
}

CViewTree* COrbelCtrl::TreePane() const {
    return m_mode == DisplayMode::Normal ? TreeView() : nullptr;
}

void COrbelCtrl::SetToolbarForMode(DisplayMode mode) {
    unsigned resource = IDR_TOOLBAR_OTHER;
    switch (mode) {
        case DisplayMode::Normal:
            resource = IDR_TOOLBAR_NORMAL;
            break;
        case DisplayMode::FolderMaint:
            resource = IDR_TOOLBAR_FOLDER_MAINT;
            break;
        case DisplayMode::ScriptMaint:
            resource = IDR_TOOLBAR_SCRIPT_MAINT;
            break;
    }
    m_toolBar.LoadToolBar(*FindToolBarResource(resource), LoadString);
    if (mode == DisplayMode::ScriptMaint) m_toolBar.ShowWindow(false);
    if (m_frame) m_frame->RecalcLayout();
}

void COrbelCtrl::EnableToolbarButton(UINT id, bool enable) {
    if (m_toolBar.GetSafeHwnd()) m_toolBar.GetToolBarCtrl().EnableButton(id, enable);
}

void COrbelCtrl::SetBusy(bool busy) {
    m_busy = busy;
    FireBusy(busy);
}

bool COrbelCtrl::OnCmdMsg(UINT, CCmdUI*) {
    // The control's own command table is empty: its frame carries out the toolbar's commands.
    return false;
}

void COrbelCtrl::EnableControl(bool enable) {
    EnableWindow(enable);
    m_hCursor = enable ? platform::Cursor::Arrow : platform::Cursor::Hourglass;
    GetPlatform().Windows().SetCursor(m_hCursor);
}

bool COrbelCtrl::PreTranslateMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    const std::string target = GetPlatform().Windows().GetClassName(msg.hwnd);
    if (msg.wParam == VK_ESCAPE) {
        // Escape while a drag runs cancels the drag (the pane's key handling does that); it
        // would otherwise close the host in the middle of the user's move.
        const CViewTree* tree = TreeView();
        const bool dragging = tree && tree->Dragging();
        if (target != "CImgEdit" && target != "CImageView" && !m_labelEdit && !m_contextMenu &&
            !dragging) {
            FireExit();
            return true;
        }
        return COleControl::PreTranslateMessage(msg);
    }
    if (msg.wParam == VK_TAB) {
        // Tab only ever moves between the tree and the list, and never reaches the host.
        if (target == "CViewTree") {
            if (HWND list =
                    platform::FindDescendant(GetPlatform().Windows(), GetSafeHwnd(), "CViewList"))
                GetPlatform().Windows().SetFocus(list);
        } else if (target == "CViewList") {
            if (HWND tree =
                    platform::FindDescendant(GetPlatform().Windows(), GetSafeHwnd(), "CViewTree"))
                GetPlatform().Windows().SetFocus(tree);
        }
        return true;
    }
    return COleControl::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------------------
// Properties and methods

void COrbelCtrl::OnPropertyChanged() {
    SetModifiedFlag();
}

void COrbelCtrl::OnShowResourceChanged() {
    // A host that shows resources after the control was made gets the column for them; in
    // subscriber maintenance the addresses keep theirs until the mode is left.
    if (CViewList* list = ListPane(); list && !m_subscriberMode) list->BuildColumns(this);
    SetModifiedFlag();
}

void COrbelCtrl::OnAutoCreateChanged() {
    // The script view takes the value in script mode, once it exists.
    if (CViewList* list = ListPane()) list->SetAutoCreate(m_autoCreate);
    if (CScriptView* view = ScriptPane()) view->SetAutoCreate(m_autoCreate);
    SetModifiedFlag();
}

void COrbelCtrl::OnAutoOpenChanged() {
    if (CViewList* list = ListPane()) list->SetAutoOpen(m_autoOpen);
    if (CScriptView* view = ScriptPane()) view->SetAutoOpen(m_autoOpen);
    SetModifiedFlag();
}

void COrbelCtrl::SetScriptMaint(bool value) {
    m_scriptMaint = value;
    SetModifiedFlag();
}

void COrbelCtrl::RequestResult(std::int32_t nResult, const std::string& sData,
                               const std::string& sKey1, const std::string& sKey2,
                               const std::string& sKey3, const std::string& sKey4,
                               const std::string& sKey5, const std::string& sKey6,
                               const std::string& sKey7, const std::string& sKey8,
                               const std::string& sKey9, const std::string& sKey10) {
    m_exchange.RequestResult(
        nResult, {sData, sKey1, sKey2, sKey3, sKey4, sKey5, sKey6, sKey7, sKey8, sKey9, sKey10});
}

std::int32_t COrbelCtrl::RefreshTarnField(std::int32_t, std::int32_t, const std::string&) {
    return 0;
}

bool COrbelCtrl::QueryClose() {
    return m_exchange.QueryClose();
}

void COrbelCtrl::SetDirectIDRetrieval(bool bDirectIDRetrieval) {
    m_exchange.SetDirectIDRetrieval(bDirectIDRetrieval);
}

// ---------------------------------------------------------------------------------------
// The table conversation's side of the control

std::string COrbelCtrl::ToStoredPath(const std::string& path) const {
    return m_mappingList.ToStoredPath(path);
}

void COrbelCtrl::OnTreeRowUpdated(const TreeEntry& entry) {
    m_maintenance.Folders().RememberFolder(entry, RememberMode::Replace);
}

}  // namespace orbel
