#include "src/preview/ImageFrame.h"

#include <charconv>

#include "platform/MenuMode.h"
#include "platform/controls/ToolBarBase.h"
#include "platform/framework/IntegerExpected.h"
#include "platform/framework/Menu.h"
#include "platform/framework/SplitterWnd.h"
#include "platform/text/AsciiCase.h"
#include "src/preview/ImageView.h"
#include "src/resources/DialogTemplates.h"
#include "src/resources/ImageMenus.h"

namespace orbel {

namespace {
constexpr DWORD kMenuBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM |
                                CBRS_SIZE_DYNAMIC;  // 0x50002804 with the flat look
constexpr DWORD kPageBarStyle = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;  // 0x2800
constexpr UINT kPageBarId = 229;
// The menu toolbar's buttons are numbered from 1: 0 marks a separator on this platform's bars.
constexpr UINT kFirstMenuButton = 1;
constexpr UINT kLastMenuCommand = 256;

const char* PageBarCaption(UINT id) {
    switch (id) {
        case IDC_PREVPG:
            return "PREVPG";
        case IDC_NEXTPG:
            return "NEXTPG";
        case IDC_LEFT:
            return "LEFT";
        case IDC_RIGHT:
            return "RIGHT";
        case IDC_PRINT:
            return "PRINT";
        default:
            return "";
    }
}

// The menu's entries with the check marks their update handlers give.
UINT TrackPopup(const MenuPopup& popup, POINT at, CWnd* owner, CCmdTarget* target) {
    CMenu menu;
    menu.CreatePopupMenu();
    for (const MenuEntry& entry : popup.entries) {
        if (entry.id == 0) {
            menu.AppendMenu(MF_SEPARATOR);
            continue;
        }
        CCmdUI ui;
        ui.id = entry.id;
        target->OnCmdMsg(entry.id, &ui);
        menu.AppendMenu(MF_STRING | (ui.checked ? MF_CHECKED : MF_UNCHECKED), entry.id, entry.text);
    }
    const UINT chosen = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, at.x, at.y, owner);
    menu.DestroyMenu();
    if (chosen == 0) return 0;
    // A command its update handler disables is not carried out.
    CCmdUI ui;
    ui.id = chosen;
    target->OnCmdMsg(chosen, &ui);
    if (ui.enableChanged && !ui.enabled) return 0;
    target->OnCmdMsg(chosen, nullptr);
    return chosen;
}
}  // namespace

// ---------------------------------------------------------------------------------------
// The page bar

CPageBar::~CPageBar() {
    m_box.reset();
}

bool CPageBar::Create(CWnd* parent, CCmdTarget* owner) {
    if (!CToolBar::Create(parent, WS_CHILD | WS_VISIBLE | kPageBarStyle, kPageBarId, owner))
        return false;
    SetBarStyle(kPageBarStyle);
    ShowWindow(true);
    const ToolBarResource resource{
        kPageBarId, 16, 16, {IDC_PREVPG, IDC_NEXTPG, IDC_LEFT, IDC_RIGHT, IDC_PRINT}};
    if (!LoadToolBar(resource, [](UINT id) { return std::string(PageBarCaption(id)); }))
        return false;
    const platform::DialogTemplate* box = FindDialogTemplate(IDD_PAGE_BAR);
    if (!box) return false;
    m_box = platform::GetPlatform().DialogFactory().CreateForm(*box, *this, parent->GetSafeHwnd());
    return m_box != nullptr;
}

void CPageBar::OnDestroy() {
    m_box.reset();
    CToolBar::OnDestroy();
}

void CPageBar::SetPageNumber(int page) {
    m_pageNumber = page < 1 ? 0 : page;
    if (m_box) m_box->SetText(IDC_PAGEBOX, page < 1 ? std::string() : std::to_string(page));
}

std::string CPageBar::PageBoxText() const {
    if (m_box) return m_box->GetText(IDC_PAGEBOX);
    return m_pageNumber < 1 ? std::string() : std::to_string(m_pageNumber);
}

void CPageBar::EnableButtons(bool enable) {
    m_enabled = enable;
    if (m_box) m_box->EnableControl(IDC_PAGEBOX, enable);
    OnUpdateCmdUI();
}

void CPageBar::PlacePageBox() {
    if (!m_box || !GetSafeHwnd()) return;
    auto& windows = platform::GetPlatform().Windows();
    const RECT row = windows.GetWindowRect(GetSafeHwnd());
    const bool shown = IsShown() && row.Height() > 0;
    windows.ShowWindow(m_box->Window(), shown);
    if (!shown) return;
    const platform::DialogTemplate& t = m_box->Template();
    const int width = platform::DialogUnitsToPixels(RECT{0, 0, t.width, t.height}).Width();
    windows.MoveWindow(m_box->Window(), RECT{row.left, row.top, row.left + width, row.bottom},
                       true);
    MoveWindow(RECT{row.left + width, row.top, row.right, row.bottom});
}

bool CPageBar::InPageBox(HWND window) const {
    if (!m_box) return false;
    auto& windows = platform::GetPlatform().Windows();
    for (HWND w = window; w; w = windows.GetParent(w))
        if (w == m_box->Window()) return true;
    return false;
}

bool CPageBar::ReadPageNumber() {
    const std::string text = PageBoxText();
    int number = 0;
    // The box takes digits only, as a page number has no sign.
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (!digits || error != std::errc() || end != text.data() + text.size()) {
        ShowIntegerExpected();
        return false;
    }
    m_pageNumber = number;
    return true;
}

// ---------------------------------------------------------------------------------------
// The menu toolbar

namespace {
// The menu toolbar last made, which the message hook acts on, and the hook while installed.
CMenuToolBar* g_menuBar = nullptr;
platform::HookHandle g_menuHook = 0;

constexpr LPARAM kAltDown = 0x20000000;

// The letter a button text marks with "&" ("&Zoom": 'Z'), upper case; 0 for none.
UINT MnemonicOf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<UINT>(static_cast<unsigned char>(UpperAscii(text[i + 1])));
    }
    return 0;
}
}  // namespace

RECT CMenuToolBar::ButtonRect(UINT id) const {
    const auto* bar = dynamic_cast<const platform::ToolBarBase*>(&GetToolBarCtrl());
    return bar ? bar->GetButtonRect(id) : RECT{};
}

CMenuToolBar::CMenuToolBar() {
    g_menuBar = this;
}

CMenuToolBar::~CMenuToolBar() {
    if (g_menuBar == this) g_menuBar = nullptr;
}

bool CMenuToolBar::Create(CWnd* parent, CCmdTarget* owner) {
    if (!CToolBar::Create(parent, kMenuBarStyle, AFX_IDW_TOOLBAR, owner)) return false;
    ShowWindow(true);
    const auto& popups = FindMenuResource(IDR_IMAGE_MENU);
    // Text buttons; a bar of buttons 0 pixels high would not be seen here.
    ToolBarResource resource{IDR_IMAGE_MENU, 16, 16, {}};
    for (std::size_t i = 0; i < popups.size(); ++i)
        resource.buttons.push_back(kFirstMenuButton + static_cast<UINT>(i));
    return LoadToolBar(resource, [&popups](UINT id) {
        const std::size_t i = id - kFirstMenuButton;
        // At most 63 characters, the "&" markers kept.
        return i < popups.size() ? popups[i].text.substr(0, 63) : std::string();
    });
}

int CMenuToolBar::ButtonCount() const {
    return static_cast<int>(FindMenuResource(IDR_IMAGE_MENU).size());
}

void CMenuToolBar::TrackMenu(int index, CCmdTarget* target) {
    const auto& popups = FindMenuResource(IDR_IMAGE_MENU);
    if (index < 0 || index >= ButtonCount()) return;
    m_hotIndex = index;
    while (m_hotIndex >= 0 && GetSafeHwnd()) {
        m_switching = false;
        const int shown = m_hotIndex;
        const UINT id = kFirstMenuButton + static_cast<UINT>(shown);
        GetToolBarCtrl().CheckButton(id, true);
        const RECT button = ButtonRect(id);
        const POINT at = ClientToScreen(POINT{button.left, button.bottom});
        g_menuHook = platform::SetMessageFilterHook(&CMenuToolBar::MenuFilterHook);
        TrackPopup(popups[static_cast<std::size_t>(shown)], at, this, target);
        platform::UnhookMessageFilterHook(g_menuHook);
        g_menuHook = 0;
        if (GetSafeHwnd()) GetToolBarCtrl().CheckButton(id, false);
        // Leaving the menu ends the run unless the person moved on to a neighbour.
        if (!m_switching) m_hotIndex = -1;
    }
    m_hotIndex = -1;
}

bool CMenuToolBar::OpenMenuByKey(UINT key, CCmdTarget* target) {
    const auto& popups = FindMenuResource(IDR_IMAGE_MENU);
    for (std::size_t i = 0; i < popups.size(); ++i) {
        if (MnemonicOf(popups[i].text) != key) continue;
        const UINT id = kFirstMenuButton + static_cast<UINT>(i);
        if (!GetToolBarCtrl().IsButtonEnabled(id) || GetToolBarCtrl().IsButtonHidden(id))
            return false;
        TrackMenu(static_cast<int>(i), target);
        return true;
    }
    return false;
}

bool CMenuToolBar::MenuFilterHook(int code, MSG& msg) {
    return code == platform::MSGF_MENU && g_menuBar && g_menuBar->OnMenuInput(msg);
}

bool CMenuToolBar::OnMenuInput(MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        const int count = ButtonCount();
        switch (msg.wParam) {
            case VK_ESCAPE:
                m_hotIndex = -1;
                platform::EndMenu();
                return true;
            case VK_LEFT:
            case VK_RIGHT:
                m_hotIndex = (m_hotIndex + (msg.wParam == VK_LEFT ? count - 1 : 1)) % count;
                m_switching = true;
                platform::EndMenu();
                return true;
            default:
                return false;
        }
    }
    if (msg.message != WM_LBUTTONDOWN) return false;
    // Screen coordinates in menu mode.
    const POINT at = ScreenToClient(POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
    const UINT open = kFirstMenuButton + static_cast<UINT>(m_hotIndex);
    const RECT button = ButtonRect(open);
    const bool onOpenButton = m_hotIndex >= 0 && at.x >= button.left && at.x < button.right &&
                              at.y >= button.top && at.y < button.bottom;
    m_hotIndex = -1;
    if (!onOpenButton) return false;
    platform::EndMenu();
    return true;
}

// ---------------------------------------------------------------------------------------
// The frame

std::unique_ptr<CWnd> CImageFrame::CreateObject() {
    return std::make_unique<CImageFrame>();
}

CImageFrame::CImageFrame() = default;

CImageFrame::~CImageFrame() = default;

int CImageFrame::OnCreate() {
    if (!m_menuBar.Create(this, this)) return -1;
    if (!m_pageBar.Create(this, this)) return -1;
    DockControlBar(&m_menuBar);
    DockControlBar(&m_pageBar);
    if (CFrameWnd::OnCreate() != 0) return -1;
    RecalcLayout();
    return 0;
}

bool CImageFrame::OnCreateClient() {
    auto view = std::make_unique<CImageView>();
    view->SetFrame(this);
    if (!view->Create(CImageView::kClassName, std::string(), WS_CHILD | WS_VISIBLE, ClientArea(),
                      GetSafeHwnd(), AFX_IDW_PANE_FIRST))
        return false;
    m_view = std::move(view);
    return true;
}

void CImageFrame::EnableControls(bool enable) {
    m_controlsEnabled = enable;
    m_menuBar.OnUpdateCmdUI();
    m_pageBar.EnableButtons(enable);
}

void CImageFrame::TrackZoomMenu(POINT screen) {
    const auto& popups = FindMenuResource(IDR_ZOOM_MENU);
    if (!popups.empty()) TrackPopup(popups.front(), screen, this, this);
}

bool CImageFrame::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_SYSKEYDOWN && (msg.lParam & kAltDown) &&
        m_menuBar.OpenMenuByKey(static_cast<UINT>(msg.wParam), this))
        return true;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_TAB) &&
        m_pageBar.InPageBox(msg.hwnd)) {
        GoToTypedPage();
        // Tab still moves the focus on; Enter has done its work.
        return msg.wParam == VK_RETURN;
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

void CImageFrame::GoToTypedPage() {
    const bool read = m_pageBar.ReadPageNumber();
    CImageView* view = m_view.get();
    if (!view || !view->HasViewer() || !m_pageBar.ButtonsEnabled()) return;
    if (read)
        view->GoToPage(m_pageBar.PageNumber());
    else
        m_pageBar.SetPageNumber(static_cast<int>(view->Viewer()->GetPage()));
}

void CImageFrame::RecalcLayout() {
    CFrameWnd::RecalcLayout();
    m_pageBar.PlacePageBox();
}

bool CImageFrame::OnCmdMsg(UINT id, CCmdUI* ui) {
    CImageView* view = m_view.get();
    if (id >= kFirstMenuButton && id <= kLastMenuCommand) {
        if (ui)
            ui->Enable(m_controlsEnabled && view && view->HasViewer());
        else
            m_menuBar.TrackMenu(static_cast<int>(id - kFirstMenuButton), this);
        return true;
    }
    switch (id) {
        case IDC_PREVPG:
        case IDC_NEXTPG:
        case IDC_LEFT:
        case IDC_RIGHT:
        case IDC_PRINT:
            if (ui) {
                ui->Enable(m_pageBar.ButtonsEnabled());
                return true;
            }
            if (!view) return true;
            if (id == IDC_PREVPG) view->PreviousPage();
            if (id == IDC_NEXTPG) view->NextPage();
            if (id == IDC_LEFT) view->Rotate(-1);
            if (id == IDC_RIGHT) view->Rotate(1);
            if (id == IDC_PRINT) view->Print();
            return true;
        default:
            return view && view->OnCmdMsg(id, ui);
    }
}

}  // namespace orbel
