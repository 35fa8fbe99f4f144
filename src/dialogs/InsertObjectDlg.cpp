#include "src/dialogs/InsertObjectDlg.h"

#include <optional>

#include "platform/files/FileApi.h"
#include "platform/framework/FileDialog.h"
#include "platform/text/Sprintf.h"
#include "platform/text/Utf8.h"
#include "src/dialogs/ShellNewLookup.h"
#include "src/dialogs/WaitWindow.h"
#include "src/dialogs/WebDialog.h"
#include "src/resources/DialogTemplates.h"
#include "src/services/ShellServices.h"

namespace orbel {

namespace {
// A tab control's headers and border, in dialog units, as its client rectangle leaves them out.
constexpr int kTabHeader = 14;
constexpr int kTabBorder = 4;
constexpr int kMargin = 7;
constexpr int kLabelIndent = 10;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kFieldHeight = 14;
constexpr int kLabelHeight = 8;
constexpr int kCheckHeight = 10;

constexpr const char* kAllFilesFilter = "All Files (*.*)|*.*||";
constexpr const char* kFolderBrowserTitle = "Please select a directory or folder:";
// A page's title longer than this is cut for the display name.
constexpr std::size_t kTitleChars = 30;

void Place(platform::DialogTemplate& t, UINT id, int x, int y, int cx, int cy) {
    for (platform::DialogControlTemplate& c : t.controls)
        if (c.id == id) c.rect = RECT{x, y, x + cx, y + cy};
}

// The folder part of a file path; empty for a bare name.
std::string FolderOfFile(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOfFile(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

platform::DialogTemplate LayOutInsertObject(const platform::DialogTemplate& resource) {
    platform::DialogTemplate t = resource;
    const platform::DialogControlTemplate* tabs = t.FindControl(IDC_INSERT_TABS);
    if (!tabs) return t;
    const RECT tab = tabs->rect;
    const RECT client{tab.left + kTabBorder, tab.top + kTabHeader, tab.right - kTabBorder,
                      tab.bottom - kTabBorder};

    const int buttonX = client.right - kMargin - kButtonWidth;
    Place(t, IDOK, buttonX, client.top + 6, kButtonWidth, kButtonHeight);
    Place(t, IDCANCEL, buttonX, client.top + 24, kButtonWidth, kButtonHeight);
    Place(t, IDC_BROWSE, buttonX, client.top + 48, kButtonWidth, kButtonHeight);
    Place(t, IDC_INTERNET, buttonX, client.top + 66, kButtonWidth, kButtonHeight);

    const int x = client.left + kLabelIndent;
    const int width = buttonX - kMargin - x;
    Place(t, IDC_FILE_NAME_LABEL, x, client.top + 6, width, kLabelHeight);
    Place(t, IDC_FILE_NAME, x, client.top + 16, width, kFieldHeight);
    Place(t, IDC_DISPLAY_NAME_LABEL, x, client.top + 36, width, kLabelHeight);
    Place(t, IDC_DISPLAY_NAME, x, client.top + 46, width, kFieldHeight);

    const int openY = client.bottom - 6 - kCheckHeight;
    const int createY = openY - 2 - kCheckHeight;
    Place(t, IDC_OBJECT_TYPE_LABEL, x, client.top + 6, width, kLabelHeight);
    Place(t, IDC_OBJECT_TYPE, x, client.top + 16, width, createY - 4 - (client.top + 16));
    Place(t, IDC_AUTO_CREATE_OBJECT, x, createY, width, kCheckHeight);
    Place(t, IDC_AUTO_OPEN_OBJECT, x, openY, width, kCheckHeight);

    t.width = tab.right + kMargin;
    t.height = tab.bottom + kMargin;
    return t;
}

CInsertObjectDlg::CInsertObjectDlg(HWND parent)
    : InsertObjectLayout{LayOutInsertObject(*FindDialogTemplate(IDD_INSERT_OBJECT))},
      CDialog(laidOut, parent) {}

void CInsertObjectDlg::SetAutoCreate(bool on) {
    m_autoCreate = on;
    if (GetSafeHwnd()) GetDlgItem(IDC_AUTO_CREATE_OBJECT).SetCheck(on ? 1 : 0);
}

void CInsertObjectDlg::SetAutoOpen(bool on) {
    m_autoOpen = on;
    if (GetSafeHwnd()) GetDlgItem(IDC_AUTO_OPEN_OBJECT).SetCheck(on ? 1 : 0);
}

bool CInsertObjectDlg::OnInitDialog() {
    CDlgItem tabs = GetDlgItem(IDC_INSERT_TABS);
    tabs.InsertItem(0, "Create From &File");
    tabs.InsertItem(1, "Create &New");
    tabs.InsertItem(2, "Select &Directory");
    CDialog::OnInitDialog();
    tabs.SetCurTab(kFromFile);
    ShowTab(kFromFile);
    return true;
}

void CInsertObjectDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_FILE_NAME, m_fileName);
    DDX_Text(dx, IDC_DISPLAY_NAME, m_displayName);
    DDX_Check(dx, IDC_AUTO_CREATE_OBJECT, m_autoCreate);
    DDX_Check(dx, IDC_AUTO_OPEN_OBJECT, m_autoOpen);
}

bool CInsertObjectDlg::OnCommand(UINT id, UINT code) {
    if (id == IDC_INSERT_TABS && code == TCN_SELCHANGE) {
        ShowTab(GetDlgItem(IDC_INSERT_TABS).GetCurTab());
        return true;
    }
    if (code == BN_CLICKED && id == IDC_BROWSE) {
        OnBrowse();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_INTERNET) {
        OnInternet();
        return true;
    }
    return CDialog::OnCommand(id, code);
}

void CInsertObjectDlg::ShowTab(int tab) {
    m_tab = tab;
    const bool types = tab == kCreateNew;
    const bool file = tab == kFromFile;
    for (UINT id :
         {IDC_OBJECT_TYPE_LABEL, IDC_OBJECT_TYPE, IDC_AUTO_CREATE_OBJECT, IDC_AUTO_OPEN_OBJECT})
        GetDlgItem(id).ShowWindow(types);
    for (UINT id : {IDC_FILE_NAME_LABEL, IDC_FILE_NAME, IDC_BROWSE})
        GetDlgItem(id).ShowWindow(!types);
    for (UINT id : {IDC_DISPLAY_NAME_LABEL, IDC_DISPLAY_NAME, IDC_INTERNET})
        GetDlgItem(id).ShowWindow(file);
    if (file) {
        SetDlgItemText(IDC_FILE_NAME_LABEL, "Fil&e Name : ");
        SetDlgItemText(IDC_DISPLAY_NAME_LABEL, "Displa&y Name : ");
    } else if (tab == kSelectDirectory) {
        SetDlgItemText(IDC_FILE_NAME_LABEL, "Directory Name : ");
    } else {
        GetDlgItem(IDC_AUTO_CREATE_OBJECT).EnableWindow(m_autoCreateAllowed);
        GetDlgItem(IDC_AUTO_OPEN_OBJECT).EnableWindow(true);
        if (!m_typesFilled) FillObjectTypes();
    }
}

void CInsertObjectDlg::FillObjectTypes() {
    m_typesFilled = true;
    CWaitWindow wait(IDD_PLEASE_WAIT, GetSafeHwnd(), IDC_OBJECT_TYPE);
    CDlgItem list = GetDlgItem(IDC_OBJECT_TYPE);
    for (const CreatableType& type : CreatableTypes()) {
        list.AddString(type.description);
        m_typeExtensions.push_back(type.extension);
    }
}

void CInsertObjectDlg::OnBrowse() {
    if (m_tab == kSelectDirectory) {
        const std::string saved = GetCurrentDirectory();
        const std::optional<std::string> folder =
            BrowseForFolder(GetSafeHwnd(), GetDlgItemText(IDC_FILE_NAME), kFolderBrowserTitle);
        SetCurrentDirectory(saved);
        if (folder) {
            m_fileName = *folder;
            SetDlgItemText(IDC_FILE_NAME, m_fileName);
        }
        return;
    }
    CFileDialog chooser(true, {}, {}, kAllFilesFilter, GetSafeHwnd());
    chooser.m_initialDir = m_lastFile.empty() ? m_browseDirectory : FolderOfFile(m_lastFile);
    if (chooser.DoModal() != IDOK) return;
    m_lastFile = chooser.GetPathName();
    m_fileName = m_lastFile;
    m_displayName = NameOfFile(m_lastFile);
    SetDlgItemText(IDC_FILE_NAME, m_fileName);
    SetDlgItemText(IDC_DISPLAY_NAME, m_displayName);
}

void CInsertObjectDlg::OnInternet() {
    const std::string typed = GetDlgItemText(IDC_FILE_NAME);
    const bool address = typed.starts_with("http:") || typed.starts_with("www") ||
                         typed.starts_with("file:") || typed.starts_with("ftp:");
    CWebDialog web(GetSafeHwnd());
    web.m_strAddress = address ? typed : std::string();
    if (web.DoModal() != IDOK) return;
    m_fileName = web.m_strAddress;
    m_displayName = std::string(FirstCharacters(web.m_strTitle, kTitleChars));
    SetDlgItemText(IDC_FILE_NAME, m_fileName);
    SetDlgItemText(IDC_DISPLAY_NAME, m_displayName);
}

bool CInsertObjectDlg::AskNewFilePath() {
    const int selection = GetDlgItem(IDC_OBJECT_TYPE).GetCurSel();
    const std::string description =
        selection < 0 ? std::string() : GetDlgItem(IDC_OBJECT_TYPE).GetLBText(selection);
    const std::string& ext = m_extension;
    CFileDialog chooser(false, ext.empty() ? std::string() : ext.substr(1),
                        m_lastFile.empty() ? std::string() : FolderOfFile(m_lastFile) + "/*.*",
                        Sprintf("%s (*%s)|*%s|All Files (*.*)|*.*||", description, ext, ext),
                        GetSafeHwnd());
    if (chooser.DoModal() != IDOK) return false;
    m_fileName = chooser.GetPathName();
    m_displayName = NameOfFile(m_fileName);
    return true;
}

void CInsertObjectDlg::OnOK() {
    if (!UpdateData(true)) return;
    if (m_tab == kCreateNew) {
        const int selection = GetDlgItem(IDC_OBJECT_TYPE).GetCurSel();
        m_extension = selection < 0 ? std::string() : m_typeExtensions[selection];
        const std::optional<ShellNewEntry> entry =
            m_extension.empty() ? std::nullopt : LookupShellNew(m_extension);
        m_shellNewKey = entry ? entry->keyPath : std::string();
        if (!m_autoCreate && !AskNewFilePath()) return;
    } else if (m_tab == kFromFile) {
        if (!IsWebAddress(m_fileName) && !FileExists(m_fileName)) {
            AfxMessageBox("Please enter a valid Filename.");
            return;
        }
    } else if (m_tab == kSelectDirectory) {
        const DWORD attributes = GetFileAttributes(m_fileName);
        if (m_fileName.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
            !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            AfxMessageBox("Please enter a valid Directory.");
            return;
        }
    }
    EndDialog(IDOK);
}

}  // namespace orbel
