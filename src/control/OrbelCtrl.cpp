#include "src/control/OrbelCtrl.h"

#include "platform/Api.h"
#include "platform/Platform.h"
#include "src/control/OrbelIds.h"
#include "src/module/OrbelApp.h"

namespace orbel {

using platform::GetPlatform;

COrbelCtrl::COrbelCtrl() : m_exchange(*this), m_mappingList(GetPlatform().Mounts()) {
    InitializeIIDs(IidDOrbel(), IidDOrbelEvents());
    BuildDispatchMap();
    BuildEventMap();
    m_mappingList.LoadMappings();
    m_exchange.SetDirectIDRetrieval(false);
    m_browseTarget.clear();
}

COrbelCtrl::~COrbelCtrl() {
    m_folderList.RemoveAll();
    m_systemScripts.clear();
    m_mappingList.RemoveAll();
}

// ---------------------------------------------------------------------------------------
// The control window

int COrbelCtrl::OnCreate() {
    if (COleControl::OnCreate() == -1) return -1;
    // The frame container with the toolbar, the splitters and the panes is built here, in a
    // rectangle 30 pixels below the top of the client area, once those panes exist.
    COrbelApp::InstallKeyboardHook();
    return 0;
}

void COrbelCtrl::OnSize(int cx, int cy) {
    COleControl::OnSize(cx, cy);
    // The frame container, when there is one, fills the client area (0, 0, cx, cy).
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

void COrbelCtrl::OnDraw(const RECT&, const RECT&) {
    // The control draws nothing itself: its child frame repaints over the invalid area.
}

void COrbelCtrl::EnableControl(bool enable) {
    EnableWindow(enable);
    m_hCursor = enable ? platform::Cursor::Arrow : platform::Cursor::Hourglass;
    GetPlatform().Windows().SetCursor(m_hCursor);
}

namespace {
// The first window of a class below `root`, searching depth first.
HWND FindDescendant(HWND root, const std::string& className) {
    auto& windows = GetPlatform().Windows();
    for (HWND child : windows.GetChildren(root)) {
        if (windows.GetClassName(child) == className) return child;
        if (HWND found = FindDescendant(child, className)) return found;
    }
    return kNoWindow;
}
}  // namespace

bool COrbelCtrl::PreTranslateMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    const std::string target = GetPlatform().Windows().GetClassName(msg.hwnd);
    if (msg.wParam == VK_ESCAPE) {
        if (target != "CImgEdit" && target != "CImageView" && !m_labelEdit && !m_contextMenu) {
            FireExit();
            return true;
        }
        return COleControl::PreTranslateMessage(msg);
    }
    if (msg.wParam == VK_TAB) {
        // Tab only ever moves between the tree and the list, and never reaches the host.
        if (target == "CViewTree") {
            if (HWND list = FindDescendant(GetSafeHwnd(), "CViewList"))
                GetPlatform().Windows().SetFocus(list);
        } else if (target == "CViewList") {
            if (HWND tree = FindDescendant(GetSafeHwnd(), "CViewTree"))
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

void COrbelCtrl::OnAutoCreateChanged() {
    // The object list pane (or the script view in script mode) takes the value when it exists.
    SetModifiedFlag();
}

void COrbelCtrl::OnAutoOpenChanged() {
    // The object list pane (or the script view in script mode) takes the value when it exists.
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
    m_folderList.RememberFolder(entry, RememberMode::Replace);
}

}  // namespace orbel
