#include "platform/framework/Dialog.h"

#include <algorithm>
#include <charconv>

#include "platform/Platform.h"
#include "platform/WindowSystem.h"
#include "platform/framework/IntegerExpected.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/Utf8.h"

namespace orbel {

using platform::DialogControlKind;

// ---- CDlgItem ----

std::string CDlgItem::GetWindowText() const {
    return dialog_ ? dialog_->GetText(id_) : std::string();
}

void CDlgItem::SetWindowText(std::string_view text) {
    if (dialog_) dialog_->SetText(id_, text);
}

bool CDlgItem::EnableWindow(bool enable) {
    if (!dialog_) return false;
    const bool wasDisabled = !dialog_->IsControlEnabled(id_);
    dialog_->EnableControl(id_, enable);
    return wasDisabled;
}

bool CDlgItem::IsWindowEnabled() const {
    return dialog_ && dialog_->IsControlEnabled(id_);
}

void CDlgItem::ShowWindow(bool show) {
    if (dialog_) dialog_->ShowControl(id_, show);
}

bool CDlgItem::IsWindowVisible() const {
    return dialog_ && dialog_->IsControlVisible(id_);
}

void CDlgItem::SetFocus() {
    if (dialog_) dialog_->SetFocus(id_);
}

void CDlgItem::LimitText(int maxChars) {
    if (dialog_) dialog_->LimitText(id_, maxChars);
}

void CDlgItem::SetReadOnly(bool readOnly) {
    if (dialog_) dialog_->SetReadOnly(id_, readOnly);
}

int CDlgItem::GetCheck() const {
    return dialog_ ? dialog_->GetCheck(id_) : 0;
}

void CDlgItem::SetCheck(int state) {
    if (dialog_) dialog_->SetCheck(id_, state);
}

int CDlgItem::AddString(std::string_view text) {
    return dialog_ ? dialog_->AddString(id_, text) : -1;
}

int CDlgItem::GetCount() const {
    return dialog_ ? dialog_->GetCount(id_) : 0;
}

int CDlgItem::GetCurSel() const {
    return dialog_ ? dialog_->GetCurSel(id_) : -1;
}

bool CDlgItem::SetCurSel(int index) {
    return dialog_ && dialog_->SetCurSel(id_, index);
}

std::string CDlgItem::GetLBText(int index) const {
    return dialog_ ? dialog_->GetItemText(id_, index) : std::string();
}

void CDlgItem::ResetContent() {
    if (dialog_) dialog_->ResetContent(id_);
}

int CDlgItem::InsertItem(int index, std::string_view text) {
    return dialog_ ? dialog_->InsertTab(id_, index, text) : -1;
}

int CDlgItem::GetCurTab() const {
    return dialog_ ? dialog_->GetCurTab(id_) : -1;
}

bool CDlgItem::SetCurTab(int index) {
    return dialog_ && dialog_->SetCurTab(id_, index);
}

platform::ListControl* CDlgItem::GetListControl() {
    return dialog_ ? dialog_->GetListControl(id_) : nullptr;
}

// ---- CDataExchange ----

void CDataExchange::Fail() {
    if (m_idLastControl) m_pDlgWnd->GetDlgItem(m_idLastControl).SetFocus();
    throw CUserException{};
}

// ---- CDialog ----

CDialog::CDialog(const platform::DialogTemplate& dialogTemplate, HWND parent)
    : template_(dialogTemplate), parent_(parent) {}

CDialog::~CDialog() {
    DestroyWindow();
}

int CDialog::DoModal() {
    if (live_) return -1;  // already running
    const int result = platform::RunModalDialog(template_, *this, parent_);
    live_ = nullptr;
    return result;
}

bool CDialog::Create(HWND parent) {
    if (live_) return false;
    parent_ = parent;
    modeless_ = platform::ShowModelessDialog(template_, *this, parent_);
    if (!modeless_) live_ = nullptr;
    return modeless_ != nullptr;
}

bool CDialog::DestroyWindow() {
    if (!modeless_) return false;
    platform::CloseModelessDialog(modeless_);
    live_ = nullptr;
    return true;
}

void CDialog::CenterWindow(HWND over) {
    const HWND window = GetSafeHwnd();
    if (!window) return;
    platform::WindowSystem& windows = platform::GetPlatform().Windows();
    const RECT own = windows.GetWindowRect(window);
    RECT area{0, 0, 0, 0};
    if (over && windows.IsWindow(over)) {
        const RECT client = windows.GetClientRect(over);
        const POINT origin = windows.ClientToScreen(over, POINT{client.left, client.top});
        area = RECT{origin.x, origin.y, origin.x + client.Width(), origin.y + client.Height()};
    }
    const int left = area.left + (area.Width() - own.Width()) / 2;
    const int top = area.top + (area.Height() - own.Height()) / 2;
    windows.MoveWindow(window, RECT{left, top, left + own.Width(), top + own.Height()}, true);
}

void CDialog::UpdateWindow() {
    if (const HWND window = GetSafeHwnd()) platform::GetPlatform().Windows().UpdateWindow(window);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (!live_) return false;
    CDataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const CUserException&) {
        return false;
    }
    return true;
}

void CDialog::EndDialog(int result) {
    if (!live_) return;
    live_->EndDialog(result);
    // No modal run takes a modeless dialog down when it ends.
    if (modeless_) platform::GetPlatform().Windows().ShowWindow(live_->Window(), false);
}

HWND CDialog::GetSafeHwnd() const {
    return live_ ? live_->Window() : kNoWindow;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(UINT id, UINT code) {
    if (code != BN_CLICKED) return false;
    if (id == static_cast<UINT>(IDOK)) {
        OnOK();
        return true;
    }
    if (id == static_cast<UINT>(IDCANCEL)) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnDialogInit(platform::LiveDialog& dialog) {
    live_ = &dialog;
    if (!OnInitDialog()) return;
    // The first control a user can reach gets the focus.
    for (const platform::DialogControlTemplate& c : template_.controls) {
        if (c.kind == DialogControlKind::Static || c.kind == DialogControlKind::GroupBox) continue;
        if (!dialog.IsControlEnabled(c.id) || !dialog.IsControlVisible(c.id)) continue;
        dialog.SetFocus(c.id);
        break;
    }
}

void CDialog::OnDialogCommand(UINT id, UINT code) {
    OnCommand(id, code);
}

void CDialog::OnDialogClose() {
    OnCancel();
}

void CDialog::OnDialogSize(int cx, int cy) {
    OnSize(cx, cy);
}

void CDialog::OnSize(int, int) {}

void CDialog::SetWindowText(std::string_view caption) {
    if (live_) live_->SetCaption(caption);
}

void CDialog::EnableMenuItem(UINT id, bool enable) {
    if (live_) live_->EnableMenuItem(id, enable);
}

SIZE CDialog::GetClientSize() const {
    return live_ ? live_->GetClientSize() : SIZE{};
}

void CDialog::MoveDlgItem(UINT id, const RECT& rect) {
    if (live_) live_->MoveControl(id, rect);
}

void CDialog::MoveChildWindow(HWND child, const RECT& rect) {
    if (live_) live_->MoveChild(child, rect);
}

// ---- Exchange helpers ----

namespace {
std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool IsKind(CDataExchange& dx, UINT id, DialogControlKind kind) {
    const platform::DialogControlTemplate* c = dx.m_pDlgWnd->Template().FindControl(id);
    return c && c->kind == kind;
}
}  // namespace

void DDX_Text(CDataExchange& dx, UINT id, std::string& value) {
    dx.PrepareCtrl(id);
    CDlgItem item = dx.m_pDlgWnd->GetDlgItem(id);
    if (dx.m_bSaveAndValidate)
        value = item.GetWindowText();
    else
        item.SetWindowText(value);
}

void ShowIntegerExpected() {
    AfxMessageBox("Please enter an integer.");
}

void DDX_Text(CDataExchange& dx, UINT id, int& value) {
    dx.PrepareCtrl(id);
    CDlgItem item = dx.m_pDlgWnd->GetDlgItem(id);
    if (!dx.m_bSaveAndValidate) {
        item.SetWindowText(std::to_string(value));
        return;
    }
    const std::string text = item.GetWindowText();
    std::string_view digits = Trimmed(text);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int parsed = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        ShowIntegerExpected();
        dx.Fail();
    }
    value = parsed;
}

void DDV_MaxChars(CDataExchange& dx, const std::string& value, int maxChars) {
    if (!dx.m_bSaveAndValidate) {
        if (dx.m_idLastControl) dx.m_pDlgWnd->GetDlgItem(dx.m_idLastControl).LimitText(maxChars);
        return;
    }
    if (CharacterCount(value) > static_cast<std::size_t>(std::max(0, maxChars))) {
        AfxMessageBox("Please enter no more than " + std::to_string(maxChars) + " characters.");
        dx.Fail();
    }
}

void DDX_Check(CDataExchange& dx, UINT id, int& value) {
    dx.PrepareCtrl(id);
    CDlgItem item = dx.m_pDlgWnd->GetDlgItem(id);
    if (dx.m_bSaveAndValidate)
        value = item.GetCheck();
    else
        item.SetCheck(value);
}

void DDX_Check(CDataExchange& dx, UINT id, bool& value) {
    int state = value ? 1 : 0;
    DDX_Check(dx, id, state);
    value = state != 0;
}

void DDX_CBString(CDataExchange& dx, UINT id, std::string& value) {
    dx.PrepareCtrl(id);
    CDlgItem item = dx.m_pDlgWnd->GetDlgItem(id);
    if (dx.m_bSaveAndValidate) {
        value = item.GetWindowText();
        return;
    }
    const int count = item.GetCount();
    for (int i = 0; !value.empty() && i < count; ++i) {
        const std::string entry = item.GetLBText(i);
        if (entry.size() >= value.size() &&
            EqualsIgnoringAsciiCase(std::string_view(entry).substr(0, value.size()), value)) {
            item.SetCurSel(i);
            return;
        }
    }
    item.SetCurSel(-1);
    if (IsKind(dx, id, DialogControlKind::ComboDropDown)) item.SetWindowText(value);
}

void DDX_CBIndex(CDataExchange& dx, UINT id, int& index) {
    dx.PrepareCtrl(id);
    CDlgItem item = dx.m_pDlgWnd->GetDlgItem(id);
    if (dx.m_bSaveAndValidate)
        index = item.GetCurSel();
    else
        item.SetCurSel(index);
}

void DDX_LBIndex(CDataExchange& dx, UINT id, int& index) {
    DDX_CBIndex(dx, id, index);
}

}  // namespace orbel
