#include "src/script/ScriptView.h"

#include "platform/Api.h"
#include "platform/Platform.h"
#include "platform/automation/ComRuntime.h"
#include "src/control/OrbelCtrl.h"
#include "src/resources/DialogTemplates.h"
#include "src/script/ScriptControlIface.h"
#include "src/script/ScriptGeneration.h"

namespace orbel {

namespace {

constexpr UINT kDetailControls[] = {IDC_SCRIPT_RUN,      IDC_SCRIPT_DELETE,  IDC_SCRIPT_EDIT,
                                    IDC_SCRIPT_ACCEPT,   IDC_SCRIPT_RENAME,  IDC_SCRIPT_FUNCTION,
                                    IDC_SCRIPT_LANGUAGE, IDC_SCRIPT_RESOURCE};
constexpr UINT kButtons[] = {IDC_SCRIPT_RENAME, IDC_SCRIPT_RUN,    IDC_SCRIPT_EDIT,
                             IDC_SCRIPT_CREATE, IDC_SCRIPT_ACCEPT, IDC_SCRIPT_DELETE};
constexpr int kLabelLimit = 30;

std::int32_t CodeOf(bool classItem, std::int32_t id) {
    return id * 10 + (classItem ? 1 : 0);
}

}  // namespace

std::unique_ptr<CWnd> CScriptView::CreateObject() {
    return std::make_unique<CScriptView>();
}

CScriptView::CScriptView() = default;

CScriptView::~CScriptView() {
    m_form.reset();
}

int CScriptView::OnCreate() {
    if (CWnd::OnCreate() == -1) return -1;
    const platform::DialogTemplate* form = FindDialogTemplate(IDD_SCRIPT_VIEW);
    if (!form) return -1;
    m_form = platform::GetPlatform().DialogFactory().CreateForm(*form, *this, GetSafeHwnd());
    return m_form ? 0 : -1;
}

void CScriptView::OnSize(int cx, int cy) {
    CWnd::OnSize(cx, cy);
    if (m_form)
        platform::GetPlatform().Windows().MoveWindow(m_form->Window(), RECT{0, 0, cx, cy}, true);
}

void CScriptView::OnDialogInit(platform::LiveDialog& dialog) {
    dialog.AddString(IDC_SCRIPT_LANGUAGE, "VBScript");
    dialog.SetReadOnly(IDC_SCRIPT_NAME, true);
}

void CScriptView::OnInitialUpdate() {
    platform::ListControl* list = ScriptList();
    if (!list) return;
    // The one column is as wide as the list.
    const RECT listRect =
        platform::DialogUnitsToPixels(m_form->Template().FindControl(IDC_SCRIPT_LIST)->rect);
    list->InsertColumn(0, "Script", platform::ListAlign::Left, listRect.Width());
    list->SetViewStyle(platform::ListViewStyle::Report);
    // The form's own script control lists the procedures of a selected script.
    std::shared_ptr<IUnknown> object;
    if (SUCCEEDED(CoCreateInstance(*Guid::Parse(kScriptControlClsidText), object)))
        m_scriptControl = std::dynamic_pointer_cast<IDispatch>(object);
    EnableDetails(false);
}

platform::ListControlEvents* CScriptView::ListEventsFor(UINT id) {
    return id == IDC_SCRIPT_LIST ? this : nullptr;
}

platform::ListControl* CScriptView::ScriptList() const {
    return m_form ? m_form->GetListControl(IDC_SCRIPT_LIST) : nullptr;
}

// ---------------------------------------------------------------------------------------
// The control's list operations

std::string CScriptView::Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void CScriptView::AddItem(bool folder, bool classItem, std::int32_t id, const std::string& name,
                          const std::string& resource) {
    if (folder) return;
    platform::ListControl* list = ScriptList();
    if (!list || !m_control) return;
    const std::int32_t code = CodeOf(classItem, id);
    bool isSystem = false;
    if (m_control->ScriptViewShown()) {
        const auto& systems = m_control->SystemScripts();
        for (std::size_t i = 0; i < systems.size() && i < m_systemCodes.size(); ++i) {
            if (Trimmed(name) == Trimmed(systems[i][3])) {
                m_systemCodes[i] = code;
                isSystem = true;
            }
        }
    }
    if (!isSystem) {
        const int row = list->InsertItem(list->GetItemCount(), name, 0);
        list->SetItemData(row, static_cast<DWORD>(code));
    }
    m_currentCode = code;
    if (m_control->ScriptViewShown()) AddLanguage(ParseScriptDescriptor(resource).language);
}

void CScriptView::AddLanguage(const std::string& language) {
    if (language.empty() || !m_form) return;
    for (int i = 0; i < m_form->GetCount(IDC_SCRIPT_LANGUAGE); ++i)
        if (m_form->GetItemText(IDC_SCRIPT_LANGUAGE, i).starts_with(language)) return;
    m_form->AddString(IDC_SCRIPT_LANGUAGE, language);
}

int CScriptView::RowOfCode(std::int32_t code) const {
    platform::ListControl* list = ScriptList();
    return list ? list->FindItem(static_cast<DWORD>(code)) : -1;
}

void CScriptView::DeleteItem(std::int32_t code) {
    platform::ListControl* list = ScriptList();
    const int row = RowOfCode(code);
    if (!list || row < 0) return;
    list->DeleteItem(row);
    if (row == m_selected) m_selected = -1;
    ClearDetails();
}

void CScriptView::DeleteAll() {
    if (platform::ListControl* list = ScriptList()) list->DeleteAllItems();
    m_selected = -1;
}

void CScriptView::SetParentCode(bool classItem, std::int32_t id) {
    m_parentCode = id == 0 ? 0 : CodeOf(classItem, id);
}

void CScriptView::SetObjectDir(const std::string& directory) {
    m_objectDir = directory;
    while (!m_objectDir.empty() && (m_objectDir.back() == ' ' || m_objectDir.back() == '\t'))
        m_objectDir.pop_back();
}

void CScriptView::FillSystemScripts() {
    if (!m_form || !m_control) return;
    m_form->ResetContent(IDC_SYSTEM_SCRIPTS);
    m_systemCodes.clear();
    for (const SystemScriptEntry& entry : m_control->SystemScripts()) {
        m_form->AddString(IDC_SYSTEM_SCRIPTS, entry[3]);
        m_systemCodes.push_back(0);
    }
}

bool CScriptView::ShowsSystemScripts(const std::vector<SystemScriptEntry>& entries) const {
    if (!m_form || m_form->GetCount(IDC_SYSTEM_SCRIPTS) != static_cast<int>(entries.size()))
        return false;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (m_form->GetItemText(IDC_SYSTEM_SCRIPTS, static_cast<int>(i)) != entries[i][3])
            return false;
    return true;
}

void CScriptView::SeparateSystemScripts() {
    platform::ListControl* list = ScriptList();
    if (!list || !m_control) return;
    const auto& systems = m_control->SystemScripts();
    for (int row = list->GetItemCount() - 1; row >= 0; --row) {
        const std::string text = list->GetItemText(row, 0);
        for (std::size_t i = 0; i < systems.size() && i < m_systemCodes.size(); ++i) {
            if (text != systems[i][3]) continue;
            m_systemCodes[i] = static_cast<std::int32_t>(list->GetItemData(row));
            list->DeleteItem(row);
            if (m_selected == row) m_selected = -1;
            break;
        }
    }
}

int CScriptView::GetItemCount() const {
    platform::ListControl* list = ScriptList();
    return list ? list->GetItemCount() : 0;
}

std::string CScriptView::ItemName(int index) const {
    platform::ListControl* list = ScriptList();
    return list ? list->GetItemText(index, 0) : std::string();
}

std::int32_t CScriptView::ItemCode(int index) const {
    platform::ListControl* list = ScriptList();
    return list ? static_cast<std::int32_t>(list->GetItemData(index)) : 0;
}

// ---------------------------------------------------------------------------------------
// Selecting and the detail fields

void CScriptView::OnListItemChanged(int row, UINT oldState, UINT newState) {
    constexpr UINT kSelected = platform::kListSelected;
    if (m_selecting || (newState & kSelected) == 0 || (oldState & kSelected) != 0) return;
    OnSelectScript(row);
}

void CScriptView::OnSelectScript(int row) {
    ClearDetails();
    ReadForm();
    platform::ListControl* list = ScriptList();
    if (!list || row < 0) return;
    m_scriptName = list->GetItemText(row, 0);
    m_currentCode = static_cast<std::int32_t>(list->GetItemData(row));
    m_selected = row;
    m_form->SetText(IDC_SCRIPT_NAME, m_scriptName);
    LoadDetails(m_currentCode);
    m_form->SetCurSel(IDC_SYSTEM_SCRIPTS, -1);
}

void CScriptView::OnSelectSystemScript() {
    ReadForm();
    ClearDetails();
    platform::ListControl* list = ScriptList();
    m_selecting = true;
    for (int row : list ? list->GetSelectedRows() : std::vector<int>{})
        list->SetItemState(row, 0, platform::kListSelected);
    m_selecting = false;
    m_selected = -1;
    const int line = m_form->GetCurSel(IDC_SYSTEM_SCRIPTS);
    if (line < 0) return;
    m_scriptName = m_form->GetItemText(IDC_SYSTEM_SCRIPTS, line);
    m_currentCode = static_cast<std::size_t>(line) < m_systemCodes.size() ? m_systemCodes[line] : 0;
    m_form->SetText(IDC_SCRIPT_NAME, m_scriptName);
    if (m_currentCode != 0)
        LoadDetails(m_currentCode);
    else
        EnableDetails(false);
}

void CScriptView::EnableDetails(bool enable) {
    if (!m_form) return;
    for (UINT id : kDetailControls) m_form->EnableControl(id, enable);
}

void CScriptView::LoadDetails(std::int32_t code) {
    EnableDetails(true);
    std::string path;
    std::int32_t pageStart = 0, pageEnd = 0;
    m_form->SetReadOnly(IDC_SCRIPT_RESOURCE, false);
    static_cast<CPaneSite&>(*m_control)
        .GetResourceDetails(code, path, pageStart, pageEnd, true, true);
    m_resource = path;
    if (path.find('!') != std::string::npos) {
        const ScriptDescriptor d = ParseScriptDescriptor(path);
        m_resource = d.file;
        m_language = d.language;
        if (!m_language.empty()) ListProcedures();
        m_startFunction = d.function;
    }
    m_form->SetReadOnly(IDC_SCRIPT_RESOURCE, true);
    m_form->SetText(IDC_SCRIPT_RESOURCE, m_resource);
    m_form->SetText(IDC_SCRIPT_LANGUAGE, m_language);
    m_form->SetText(IDC_SCRIPT_FUNCTION, m_startFunction);
}

void CScriptView::ClearDetails() {
    m_scriptName.clear();
    m_language.clear();
    m_startFunction.clear();
    m_resource.clear();
    if (!m_form) return;
    m_form->ResetContent(IDC_SCRIPT_FUNCTION);
    m_form->SetReadOnly(IDC_SCRIPT_RESOURCE, false);
    m_form->SetText(IDC_SCRIPT_NAME, "");
    m_form->SetText(IDC_SCRIPT_LANGUAGE, "");
    m_form->SetText(IDC_SCRIPT_FUNCTION, "");
    m_form->SetText(IDC_SCRIPT_RESOURCE, "");
}

void CScriptView::ReadForm() {
    if (!m_form) return;
    m_scriptName = m_form->GetText(IDC_SCRIPT_NAME);
    m_language = m_form->GetText(IDC_SCRIPT_LANGUAGE);
    m_startFunction = m_form->GetText(IDC_SCRIPT_FUNCTION);
    m_resource = m_form->GetText(IDC_SCRIPT_RESOURCE);
}

void CScriptView::ListProcedures() {
    m_form->ResetContent(IDC_SCRIPT_FUNCTION);
    if (!m_scriptControl) return;
    for (const std::string& name :
         ListScriptProcedures(*m_scriptControl, m_language, ScriptFile(false)))
        m_form->AddString(IDC_SCRIPT_FUNCTION, name);
}

// ---------------------------------------------------------------------------------------
// The buttons

void CScriptView::OnDialogCommand(UINT id, UINT code) {
    if (id == IDC_SYSTEM_SCRIPTS && code == LBN_SELCHANGE) {
        OnSelectSystemScript();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_SCRIPT_ACCEPT:
            OnAccept();
            break;
        case IDC_SCRIPT_RUN:
            OnRun();
            break;
        case IDC_SCRIPT_RENAME:
            OnRename();
            break;
        case IDC_SCRIPT_DELETE:
            OnDelete();
            break;
        case IDC_SCRIPT_EDIT:
            OnEditScript();
            break;
        case IDC_SCRIPT_CREATE:
            OnCreateScript();
            break;
        default:
            break;
    }
}

void CScriptView::OnAccept() {
    ReadForm();
    if (m_currentCode == 0 || m_scriptName.empty()) return;
    if (m_language.empty()) {
        AfxMessageBox("Please specify a Script Language");
        m_form->SetFocus(IDC_SCRIPT_LANGUAGE);
        return;
    }
    m_control->SetScriptResource(m_currentCode,
                                 ScriptFile(false) + "!" + m_language + "#" + m_startFunction, "");
    AddLanguage(m_language);
    if (m_form->GetCount(IDC_SCRIPT_FUNCTION) == 0) ListProcedures();
    ClearDetails();
}

void CScriptView::OnRun() {
    ReadForm();
    std::string file;
    if (!m_language.empty() && !m_startFunction.empty()) file = ScriptFile(false);
    if (RunScript(m_language, m_startFunction, file) == ScriptRunOutcome::NoFunction)
        ClearDetails();
}

void CScriptView::OnRename() {
    platform::ListControl* list = ScriptList();
    if (!list || m_selected < 0) return;
    platform::GetPlatform().Windows().SetFocus(m_form->Window());
    list->LimitEditText(kLabelLimit);
    list->EditLabel(m_selected);
}

bool CScriptView::OnListEndLabelEdit(int row, const std::optional<std::string>& text) {
    if (!text || !m_control) return false;
    platform::ListControl* list = ScriptList();
    const auto code = static_cast<std::int32_t>(list->GetItemData(row));
    const bool renamed = static_cast<CPaneSite&>(*m_control).ChangeItem(code, *text);
    if (renamed) list->SetItemText(row, 0, *text);
    SeparateSystemScripts();
    return renamed;
}

void CScriptView::OnDelete() {
    if (!m_control || m_currentCode == 0) return;
    static_cast<CPaneSite&>(*m_control).DeleteEntry(m_currentCode);
    const int line = m_form->GetCurSel(IDC_SYSTEM_SCRIPTS);
    if (line >= 0 && static_cast<std::size_t>(line) < m_systemCodes.size()) m_systemCodes[line] = 0;
    m_form->SetCurSel(IDC_SYSTEM_SCRIPTS, -1);
}

// ---------------------------------------------------------------------------------------
// The form as text

std::string CScriptView::Dump() const {
    std::string out = "scripts:";
    platform::ListControl* list = ScriptList();
    for (int row = 0; list && row < list->GetItemCount(); ++row)
        out += " \"" + list->GetItemText(row, 0) + "\"=" + std::to_string(list->GetItemData(row)) +
               (row == m_selected ? "*" : "");
    out += "\nsystem scripts:";
    for (int i = 0; m_form && i < m_form->GetCount(IDC_SYSTEM_SCRIPTS); ++i)
        out += " \"" + m_form->GetItemText(IDC_SYSTEM_SCRIPTS, i) + "\"=" +
               std::to_string(static_cast<std::size_t>(i) < m_systemCodes.size() ? m_systemCodes[i]
                                                                                 : 0);
    if (!m_form) return out;
    out += "\nname \"" + m_form->GetText(IDC_SCRIPT_NAME) + "\" language \"" +
           m_form->GetText(IDC_SCRIPT_LANGUAGE) + "\" resource \"" +
           m_form->GetText(IDC_SCRIPT_RESOURCE) + "\" function \"" +
           m_form->GetText(IDC_SCRIPT_FUNCTION) + "\"";
    out += "\nfunctions:";
    for (int i = 0; i < m_form->GetCount(IDC_SCRIPT_FUNCTION); ++i)
        out += " \"" + m_form->GetItemText(IDC_SCRIPT_FUNCTION, i) + "\"";
    out += "\nlanguages:";
    for (int i = 0; i < m_form->GetCount(IDC_SCRIPT_LANGUAGE); ++i)
        out += " \"" + m_form->GetItemText(IDC_SCRIPT_LANGUAGE, i) + "\"";
    out += "\nenabled:";
    for (UINT id : kButtons)
        if (m_form->IsControlEnabled(id)) out += " " + std::to_string(id);
    return out;
}

}  // namespace orbel
