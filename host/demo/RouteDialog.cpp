#include "host/demo/RouteDialog.h"

#include <algorithm>
#include <cstdio>

#include "platform/Api.h"

namespace orbel::demo {

namespace {

using platform::DialogControlKind;
using platform::DialogControlTemplate;

DialogControlTemplate Control(UINT id, DialogControlKind kind, const char* text, int x, int y,
                              int cx, int cy) {
    return DialogControlTemplate{id, kind, text, RECT{x, y, x + cx, y + cy}, 0};
}

DialogControlTemplate Label(const char* text, int x, int y, int cx) {
    return Control(platform::kStaticId, DialogControlKind::Static, text, x, y, cx, 8);
}

std::string TrimmedRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    return text;
}

std::string Number8(std::int32_t n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08d", std::clamp(n, 0, 99999999));
    return digits;
}

// The user's own words for what is missing, shown before the field gets the focus back.
void Require(CDataExchange& dx, bool ok, const char* message) {
    if (!dx.m_bSaveAndValidate || ok) return;
    AfxMessageBox(message);
    dx.Fail();
}

}  // namespace

std::string AttachReply(const AttachRoute& route) {
    std::string ledger = route.ledger.substr(0, kLedgerWidth);
    ledger.resize(kLedgerWidth, ' ');
    return "h" + ledger + TrimmedRight(route.account) + " " + Number8(route.tree);
}

std::string EmailReply(const std::string& address) {
    return "h" + std::string(kLedgerWidth, ' ') + address + " " + Number8(0);
}

bool LooksLikeAddress(const std::string& text) {
    const std::size_t at = text.find('@');
    if (at == std::string::npos || at == 0 || at + 1 == text.size() || text.front() == '-')
        return false;
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= ' ' || u == 0x7f || c == ',' || c == ';' || c == '<' || c == '>';
    });
}

const platform::DialogTemplate& AttachToTemplate() {
    using K = DialogControlKind;
    static const platform::DialogTemplate t{
        IDD_DEMO_ATTACH_TO,
        "Attach To",
        260,
        92,
        std::nullopt,
        {
            Label("Attach the document to the &tree", 7, 7, 190),
            Control(IDC_ROUTE_TREE, K::ComboDropDownList, "", 7, 17, 190, 80),
            Label("&Ledger", 7, 37, 60),
            Control(IDC_ROUTE_LEDGER, K::Edit, "", 7, 47, 60, 14),
            Label("&Account", 73, 37, 124),
            Control(IDC_ROUTE_ACCOUNT, K::Edit, "", 73, 47, 124, 14),
            Control(IDOK, K::DefaultButton, "OK", 203, 7, 50, 14),
            Control(IDCANCEL, K::Button, "Cancel", 203, 24, 50, 14),
        }};
    return t;
}

const platform::DialogTemplate& EmailToTemplate() {
    using K = DialogControlKind;
    static const platform::DialogTemplate t{
        IDD_DEMO_EMAIL_TO,
        "Email To",
        260,
        50,
        std::nullopt,
        {
            Label("Mail the document to this &e-mail address", 7, 7, 190),
            Control(IDC_ROUTE_ADDRESS, K::Edit, "", 7, 17, 190, 14),
            Control(IDOK, K::DefaultButton, "OK", 203, 7, 50, 14),
            Control(IDCANCEL, K::Button, "Cancel", 203, 24, 50, 14),
        }};
    return t;
}

CAttachToDlg::CAttachToDlg(std::span<const RoutingTree> trees, HWND parent)
    : CDialog(AttachToTemplate(), parent), trees_(trees) {}

bool CAttachToDlg::OnInitDialog() {
    CDlgItem list = GetDlgItem(IDC_ROUTE_TREE);
    for (const RoutingTree& tree : trees_) list.AddString(tree.name);
    return CDialog::OnInitDialog();
}

void CAttachToDlg::DoDataExchange(CDataExchange& dx) {
    DDX_CBIndex(dx, IDC_ROUTE_TREE, m_tree);
    Require(dx, m_tree >= 0 && static_cast<std::size_t>(m_tree) < trees_.size(),
            "Please choose the tree to attach the document to.");
    DDX_Text(dx, IDC_ROUTE_LEDGER, m_ledger);
    DDV_MaxChars(dx, m_ledger, kLedgerWidth);
    Require(dx, !TrimmedRight(m_ledger).empty(), "Please enter the ledger.");
    DDX_Text(dx, IDC_ROUTE_ACCOUNT, m_account);
    DDV_MaxChars(dx, m_account, kAccountWidth);
}

CEmailToDlg::CEmailToDlg(HWND parent) : CDialog(EmailToTemplate(), parent) {}

void CEmailToDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_ROUTE_ADDRESS, m_address);
    Require(dx, LooksLikeAddress(m_address),
            "Please enter one e-mail address, as name@example.org.");
}

std::optional<std::string> AskRoute(const std::string& action, std::span<const RoutingTree> trees,
                                    HWND parent) {
    if (action == "ATTACH") {
        CAttachToDlg dialog(trees, parent);
        if (dialog.DoModal() != IDOK) return std::nullopt;
        return AttachReply({trees[static_cast<std::size_t>(dialog.m_tree)].oleId, dialog.m_ledger,
                            dialog.m_account});
    }
    CEmailToDlg dialog(parent);
    if (dialog.DoModal() != IDOK) return std::nullopt;
    return EmailReply(dialog.m_address);
}

}  // namespace orbel::demo
