#include "src/script/InsertScriptDlg.h"

#include "platform/Api.h"
#include "platform/files/FileApi.h"
#include "platform/framework/FileDialog.h"
#include "src/resources/DialogTemplates.h"
#include "src/services/ShellServices.h"

namespace orbel {

std::string WithScriptExtension(const std::string& name) {
    if (name.empty() || name.find('.') != std::string::npos) return name;
    return name + ".rcs";
}

CInsertScriptDlg::CInsertScriptDlg(HWND parent)
    : CDialog(*FindDialogTemplate(IDD_INSERT_SCRIPT), parent) {}

void CInsertScriptDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_FILE_NAME, m_fileName);
}

bool CInsertScriptDlg::OnCommand(UINT id, UINT code) {
    if (id == IDC_INSERT_SCRIPT_BROWSE && code == BN_CLICKED) {
        OnBrowse();
        return true;
    }
    return CDialog::OnCommand(id, code);
}

void CInsertScriptDlg::OnBrowse() {
    const std::string typed = GetDlgItemText(IDC_FILE_NAME);
    CFileDialog chooser(true, {}, {}, "All Files (*.*)|*.*||", GetSafeHwnd());
    chooser.m_initialDir = typed.empty() ? m_directory : ChooserFolderOf(typed);
    if (chooser.DoModal() != IDOK) return;
    m_fileName = chooser.GetPathName();
    SetDlgItemText(IDC_FILE_NAME, m_fileName);
}

void CInsertScriptDlg::OnOK() {
    if (!UpdateData(true)) return;
    if (!m_fileName.empty()) {
        m_fileName = WithScriptExtension(m_fileName);
        SetDlgItemText(IDC_FILE_NAME, m_fileName);
        // Made when missing, never emptied when there.
        if (!CreateFile(m_fileName, platform::FileAccess::ReadWrite,
                        platform::Disposition::OpenAlways)) {
            AfxMessageBox("File could not be created");
            return;
        }
        m_directory = ChooserFolderOf(m_fileName);
    }
    EndDialog(IDOK);
}

}  // namespace orbel
