#include "src/dialogs/OptionsDlg.h"

#include <algorithm>
#include <array>

#include "platform/dialogs/DialogTemplate.h"
#include "platform/profile/Profile.h"
#include "platform/text/AsciiCase.h"
#include "src/resources/DialogTemplates.h"

namespace orbel {

namespace {

constexpr std::string_view kSection = "Mapping";
constexpr int kFromColumnWidth = 200;
constexpr int kToColumnMargin = 205;

// A value read as "%[^','],%s" reads it: the target up to the first comma or apostrophe, and
// after the comma the flag, up to the first blank.
struct OptionsValue {
    std::string to;
    std::string flag;
};
OptionsValue ScanValue(std::string_view value) {
    OptionsValue out;
    const std::size_t end = value.find_first_of(",'");
    out.to = std::string(value.substr(0, end));
    if (out.to.empty() || end == std::string_view::npos || value[end] != ',') return out;
    std::string_view rest = value.substr(end + 1);
    const std::size_t start = rest.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return out;
    rest.remove_prefix(start);
    out.flag = std::string(rest.substr(0, rest.find_first_of(" \t\r\n")));
    return out;
}

template <std::size_t N>
std::string ReadValue(std::string_view key, const std::string& iniFile) {
    std::array<char, N> buffer{};
    const DWORD length = platform::GetPrivateProfileString(kSection, key, "", buffer, iniFile);
    return std::string(buffer.data(), std::min<std::size_t>(length, N - 1));
}

std::string TrimmedRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    return text;
}

}  // namespace

COptionsDlg::COptionsDlg(std::string iniFile, HWND parent)
    : CDialog(*FindDialogTemplate(IDD_OPTIONS), parent), m_iniFile(std::move(iniFile)) {}

platform::ListControlEvents* COptionsDlg::ListEventsFor(UINT id) {
    return id == IDC_MAPPING_LIST ? this : nullptr;
}

platform::ListControl* COptionsDlg::Maps() {
    return GetDlgItem(IDC_MAPPING_LIST).GetListControl();
}

bool COptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    GetDlgItem(IDC_OPTIONS_TAB).InsertItem(0, "&Mappings");
    if (platform::ListControl* maps = Maps()) {
        maps->SetViewStyle(platform::ListViewStyle::Report);
        const RECT place =
            platform::DialogUnitsToPixels(Template().FindControl(IDC_MAPPING_LIST)->rect);
        maps->InsertColumn(0, "From", platform::ListAlign::Left, kFromColumnWidth);
        maps->InsertColumn(1, "To", platform::ListAlign::Left,
                           (place.right - place.left) - kToColumnMargin);
    }
    if (!m_tabPrepared) {
        m_tabPrepared = true;
        FillFromFile();
    }
    return true;
}

void COptionsDlg::FillFromFile() {
    platform::ListControl* maps = Maps();
    if (!maps) return;
    std::array<char, 250> names{};
    const DWORD length =
        platform::GetPrivateProfileString(kSection, std::nullopt, "", names, m_iniFile);
    std::string_view list(names.data(), std::min<std::size_t>(length, names.size()));
    while (!list.empty()) {
        const std::size_t end = list.find('\0');
        const std::string key(list.substr(0, end));
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
        if (key.empty()) continue;
        const int row = maps->InsertItem(maps->GetItemCount(), key, -1);
        maps->SetItemText(row, 1, ScanValue(ReadValue<250>(key, m_iniFile)).to);
    }
}

void COptionsDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_MAP_FROM, m_from);
    DDX_Text(dx, IDC_MAP_TO, m_to);
    DDX_Check(dx, IDC_REVERSE_MAP, m_reverse);
}

void COptionsDlg::OnListItemChanged(int row, UINT, UINT newState) {
    if (newState & platform::kListSelected) m_selectedRow = row;
}

bool COptionsDlg::OnCommand(UINT id, UINT code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_MAP_EDIT:
                OnEdit();
                return true;
            case IDC_MAP_ADD:
                OnAdd();
                return true;
            case IDC_MAP_DELETE:
                OnDelete(true);
                return true;
            default:
                break;
        }
    }
    return CDialog::OnCommand(id, code);
}

void COptionsDlg::OnEdit() {
    platform::ListControl* maps = Maps();
    if (!maps || m_selectedRow < 0 || m_selectedRow >= maps->GetItemCount()) return;
    m_from = maps->GetItemText(m_selectedRow, 0);
    m_to = maps->GetItemText(m_selectedRow, 1);
    const OptionsValue value = ScanValue(ReadValue<255>(m_from, m_iniFile));
    m_to = TrimmedRight(value.to);
    m_reverse = TrimmedRight(value.flag) == "Y";
    UpdateData(false);
    m_rowAdded = false;
    GetDlgItem(IDC_MAP_FROM).SetFocus();
}

void COptionsDlg::OnAdd() {
    platform::ListControl* maps = Maps();
    if (!maps || !UpdateData(true)) return;
    if (m_selectedRow >= 0) {
        OnDelete(false);
        m_rowAdded = false;
    } else {
        m_rowAdded = true;
    }
    if (m_from.empty() && m_to.empty()) return;
    const std::string from = UpperedAscii(m_from);
    for (int row = 0; row < maps->GetItemCount(); ++row) {
        if (row != m_selectedRow && UpperedAscii(maps->GetItemText(row, 0)) == from) {
            AfxMessageBox("There is already an existing map in the list.");
            return;
        }
    }
    const int row = maps->InsertItem(maps->GetItemCount(), m_from, -1);
    maps->SetItemText(row, 1, m_to);
    // A failed write leaves the row shown but not stored, without a word.
    platform::WritePrivateProfileString(kSection, m_from, m_to + "," + (m_reverse ? "Y" : "N"),
                                        m_iniFile);
    m_from.clear();
    m_to.clear();
    m_reverse = false;
    UpdateData(false);
    GetDlgItem(IDC_MAP_FROM).SetFocus();
    m_rowAdded = true;
}

void COptionsDlg::OnDelete(bool ask) {
    platform::ListControl* maps = Maps();
    if (!maps || m_selectedRow < 0 || m_selectedRow >= maps->GetItemCount()) return;
    if (ask && AfxMessageBox("Are you sure you wish to delete this Map", MB_YESNO) != IDYES) return;
    const std::string key = maps->GetItemText(m_selectedRow, 0);
    if (key.empty()) return;
    if (!platform::WritePrivateProfileString(kSection, key, std::nullopt, m_iniFile)) return;
    maps->DeleteItem(m_selectedRow);
    m_selectedRow = -1;
}

}  // namespace orbel
