#include "src/dialogs/CreateSelectFileDlg.h"

#include "platform/files/FileApi.h"
#include "platform/framework/FileDialog.h"
#include "platform/text/Sprintf.h"
#include "src/dialogs/ShellNewLookup.h"
#include "src/panes/StoreFiles.h"
#include "src/panes/ViewList.h"
#include "src/resources/DialogTemplates.h"
#include "src/resources/StringTable.h"
#include "src/services/ShellServices.h"

namespace orbel {

CCreateSelectFileDlg::CCreateSelectFileDlg(CViewList& list, HWND parent)
    : CDialog(*FindDialogTemplate(IDD_CREATE_SELECT_FILE), parent), m_list(list) {}

bool CCreateSelectFileDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    GetDlgItem(IDC_AUTO_CREATE).EnableWindow(m_autoCreateAllowed);
    return true;
}

void CCreateSelectFileDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_FILE_NAME, m_fileName);
}

bool CCreateSelectFileDlg::OnCommand(UINT id, UINT code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_BROWSE:
                OnBrowse();
                return true;
            case IDC_MANUAL_CREATE:
                OnManualCreate();
                return true;
            case IDC_AUTO_CREATE:
                OnAutoCreate();
                return true;
            default:
                break;
        }
    }
    return CDialog::OnCommand(id, code);
}

void CCreateSelectFileDlg::ShowFileName(const std::string& path) {
    m_fileName = path;
    SetDlgItemText(IDC_FILE_NAME, path);
}

void CCreateSelectFileDlg::OnBrowse() {
    CFileDialog chooser(true, {}, {}, "All Files (*.*)|*.*||", GetSafeHwnd());
    chooser.m_initialDir = ChooserFolderOf(m_lastPath);
    if (chooser.DoModal() != IDOK) return;
    m_lastPath = chooser.GetPathName();
    ShowFileName(m_lastPath);
}

void CCreateSelectFileDlg::OnManualCreate() {
    ShowFileName({});
    const std::optional<ShellNewEntry> entry = LookupShellNew(m_fileType);
    const std::string description = entry ? DocumentTypeDescription(entry->typeName) : m_fileType;
    CFileDialog chooser(
        false, m_fileType.empty() ? std::string() : m_fileType.substr(1), {},
        Sprintf("%s (*%s)|*%s|All Files (*.*)|*.*||", description, m_fileType, m_fileType),
        GetSafeHwnd());
    chooser.m_initialDir = ChooserFolderOf(m_lastPath);
    if (chooser.DoModal() != IDOK) return;
    if (CreateFromTemplate(chooser.GetPathName(), entry ? entry->keyPath : std::string()))
        ShowFileName(chooser.GetPathName());
}

void CCreateSelectFileDlg::OnAutoCreate() {
    ShowFileName({});
    if (m_list.ObjectDir().empty()) {
        AfxMessageBox(LoadString(IDS_NO_OBJECT_DIR_AUTO_CREATE));
        return;
    }
    const std::optional<ShellNewEntry> entry = LookupShellNew(m_fileType);
    const std::string path =
        m_list.CreateStoreFile(m_fileType, entry ? entry->keyPath : std::string());
    if (!path.empty()) ShowFileName(path);
}

void CCreateSelectFileDlg::OnOK() {
    if (!UpdateData(true)) return;
    if (m_fileName.empty() || !FileExists(m_fileName)) {
        AfxMessageBox("Please select a valid file.");
        return;
    }
    m_entryKey = m_list.AddItemFromFileWithNotice(m_fileName);
    EndDialog(IDOK);
}

}  // namespace orbel
