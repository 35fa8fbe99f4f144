#include "src/dialogs/EmailNameAddressDlg.h"

#include "src/resources/DialogTemplates.h"

namespace orbel {

CEmailNameAddressDlg::CEmailNameAddressDlg(HWND parent)
    : CDialog(*FindDialogTemplate(IDD_EMAIL_NAME_ADDRESS), parent) {}

void CEmailNameAddressDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_EMAIL_NAME, m_name);
    DDX_Text(dx, IDC_EMAIL_ADDRESS, m_address);
}

std::optional<Subscriber> RunEmailNameAddress(HWND parent, const Subscriber& shown) {
    CEmailNameAddressDlg dialog(parent);
    dialog.m_name = shown.name;
    dialog.m_address = shown.address;
    if (dialog.DoModal() != IDOK) return std::nullopt;
    return Subscriber{dialog.m_name, dialog.m_address};
}

}  // namespace orbel
