#include "src/dialogs/AttachmentPropertiesDlg.h"

#include "platform/controls/ListControl.h"
#include "src/panes/ViewList.h"
#include "src/resources/DialogTemplates.h"
#include "src/services/ShellServices.h"

namespace orbel {

namespace {
constexpr int kShowWindow = 5;

// A path of a file system: a share, a drive, or a path of this system. Only these have a folder
// to show.
bool HasFolder(const std::string& path) {
    return path.starts_with("\\\\") || (path.size() >= 3 && path.compare(1, 2, ":\\") == 0) ||
           path.starts_with("/");
}
}  // namespace

CAttachmentPropertiesDlg::CAttachmentPropertiesDlg(CViewList& listView, HWND parent)
    : CDialog(*FindDialogTemplate(IDD_ATTACHMENT_PROPERTIES), parent), m_listView(listView) {}

bool CAttachmentPropertiesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    GetDlgItem(IDC_OPEN_FOLDER).ShowWindow(HasFolder(m_filePath));
    if (platform::ListControl* details = GetDlgItem(IDC_ATTACHMENT_DETAILS).GetListControl()) {
        details->SetViewStyle(platform::ListViewStyle::Report);
        details->InsertColumn(0, "Name", platform::ListAlign::Left, 100);
        details->InsertColumn(1, "Details", platform::ListAlign::Left, 210);
        auto addRow = [details](const char* name, const std::string& value) {
            const int row = details->InsertItem(details->GetItemCount(), name, -1);
            details->SetItemText(row, 1, value);
        };
        if (IsTiffFile(m_filePath)) {
            addRow("Page Start", std::to_string(m_pageStart));
            addRow("Page End", std::to_string(m_pageEnd));
            if (!m_batch.empty()) addRow("Batch", m_batch);
        }
    }
    SetDlgItemText(IDC_ATTACHMENT_PATH, m_filePath);
    return true;
}

bool CAttachmentPropertiesDlg::OnCommand(UINT id, UINT code) {
    if (code == BN_CLICKED && id == IDC_ATTACHMENT_OPEN) {
        OnOpen();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_OPEN_FOLDER) {
        OnOpenFolder();
        return true;
    }
    return CDialog::OnCommand(id, code);
}

void CAttachmentPropertiesDlg::OnCancel() {
    EndDialog(0);
}

bool CAttachmentPropertiesDlg::RefuseInvalidPath() const {
    if (IsFullPath(m_filePath)) return false;
    AfxMessageBox("Unable to Open " + m_filePath + "\n Not a valid Path.", MB_OK);
    return true;
}

void CAttachmentPropertiesDlg::OnOpen() {
    if (RefuseInvalidPath()) return;
    m_listView.OpenPath(m_filePath, m_pageStart, m_pageEnd, false);
}

void CAttachmentPropertiesDlg::OnOpenFolder() {
    if (RefuseInvalidPath()) return;
    // The shell services show the file selected in the desktop's file manager; the path stays
    // one argument whatever it holds.
    ShellRun(GetSafeHwnd(), "explorer /select," + m_filePath, kShowWindow, "open");
}

void RunAttachmentProperties(HWND parent, CViewList& listView, const std::string& path,
                             std::int32_t pageStart, std::int32_t pageEnd,
                             const std::string& batch) {
    CAttachmentPropertiesDlg dialog(listView, parent);
    dialog.m_filePath = path;
    dialog.m_pageStart = pageStart;
    dialog.m_pageEnd = pageEnd;
    dialog.m_batch = batch;
    dialog.DoModal();
}

}  // namespace orbel
