#include "src/dialogs/FolderPropertiesDlg.h"

#include "platform/text/AsciiCase.h"
#include "platform/text/Utf8.h"
#include "src/dialogs/ShellNewLookup.h"
#include "src/maintenance/FolderMaintenance.h"
#include "src/resources/DialogTemplates.h"

namespace orbel {

namespace {
// A folder's extension is three characters at most: an entry "DOC - description" gives
// "DOC", and a longer typed extension is cut.
constexpr std::size_t kExtensionLength = 3;
}  // namespace

CFolderPropertiesDlg::CFolderPropertiesDlg(HWND parent)
    : CDialog(*FindDialogTemplate(IDD_FOLDER_PROPERTIES), parent) {}

bool CFolderPropertiesDlg::OnInitDialog() {
    // The members go in before the list is filled, so the field shows the folder's extension
    // as stored rather than the first entry that begins with it.
    CDialog::OnInitDialog();
    CDlgItem types = GetDlgItem(IDC_FOLDER_EXTENSION);
    for (const CreatableType& type : CreatableTypes())
        types.AddString(UpperedAscii(std::string_view(type.extension).substr(1)) + " - " +
                        type.description);
    return true;
}

void CFolderPropertiesDlg::OnOK() {
    if (!UpdateData(true)) return;
    m_extension = std::string(FirstCharacters(m_extension, kExtensionLength));
    EndDialog(IDOK);
}

void CFolderPropertiesDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_FOLDER_NAME, m_folderName);
    DDX_CBString(dx, IDC_FOLDER_EXTENSION, m_extension);
}

bool RunFolderProperties(HWND parent, CFolderMaintenance& folders, std::int32_t folderKey) {
    CFolderPropertiesDlg dialog(parent);
    folders.GetFolderNameAndType(folderKey, dialog.m_folderName, dialog.m_extension);
    if (dialog.DoModal() != IDOK) return false;
    if (folders.CheckExtensionFree(dialog.m_extension, dialog.m_folderName)) return false;
    folders.ChangeFolderNameAndType(folderKey, dialog.m_folderName, dialog.m_extension);
    return true;
}

}  // namespace orbel
