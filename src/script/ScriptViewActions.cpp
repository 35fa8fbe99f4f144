// The script view's actions that reach outside the form: the user's editor, the Insert Script
// dialog, the context menu, the property window and the accelerators.
#include "platform/Api.h"
#include "platform/files/FileApi.h"
#include "platform/framework/Menu.h"
#include "platform/framework/WaitCursor.h"
#include "src/panes/StoreFiles.h"
#include "src/resources/DialogTemplates.h"
#include "src/resources/ListMenus.h"
#include "src/resources/StringTable.h"
#include "src/script/InsertScriptDlg.h"
#include "src/script/ScriptView.h"
#include "src/services/ShellServices.h"
#include "src/store/RecordFormats.h"

namespace orbel {

namespace {

// The editor the system names; the shell services start the user's own ($VISUAL, $EDITOR,
// else the desktop's text editor) with the path as one argument.
constexpr const char* kEditor = "NOTEPAD.EXE";

constexpr UINT ID_SCRIPT_MENU_OPEN = 31001;
constexpr UINT ID_SCRIPT_MENU_RENAME = 31002;
constexpr UINT ID_SCRIPT_MENU_PROPERTIES = 31003;

struct Accelerator {
    UINT key;
    UINT control;
};
// Alt with the letter. F and L put the focus on their lists; the others are the buttons.
constexpr Accelerator kAccelerators[] = {{'A', IDC_SCRIPT_ACCEPT},   {'C', IDC_SCRIPT_CREATE},
                                         {'D', IDC_SCRIPT_DELETE},   {'E', IDC_SCRIPT_EDIT},
                                         {'F', IDC_SCRIPT_FUNCTION}, {'L', IDC_SCRIPT_LANGUAGE},
                                         {'N', IDC_SCRIPT_RENAME},   {'R', IDC_SCRIPT_RUN}};

std::string FullPathName(const std::string& path) {
    if (path.starts_with('/')) return path;
    return GetCurrentDirectory() + "/" + path;
}

}  // namespace

void CScriptView::OpenResource(const std::string& path, bool properties) {
    if (path.empty()) return;
    CWaitCursor wait;
    if (properties) {
        if (FileExtension(path) == "url") {
            const DWORD attributes = GetFileAttributes(path);
            if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY))
                SetFileAttributes(path, attributes | FILE_ATTRIBUTE_READONLY);
        }
        ShellShowProperties(kNoWindow, path);
        return;
    }
    ShellRun(kNoWindow, std::string(kEditor) + " \"" + path + "\"", SW_SHOWNORMAL, "open");
}

std::string CScriptView::ScriptFile(bool withMarkers) const {
    std::string file;
    std::int32_t pageStart = 0, pageEnd = 0;
    if (m_control && m_currentCode != 0)
        static_cast<CPaneSite&>(*m_control)
            .GetResourceDetails(m_currentCode, file, pageStart, pageEnd, withMarkers, true);
    return file;
}

void CScriptView::OnEditScript() {
    ReadForm();
    if (m_scriptName.empty()) return;
    OpenResource(ScriptFile(false), false);
}

void CScriptView::OnProperties() {
    if (m_control) static_cast<CPaneSite&>(*m_control).ShowItemProperties(m_currentCode);
}

void CScriptView::OnCreateScript() {
    if (!m_control || !m_form) return;
    if (!MakeDirectoryCurrent(m_objectDir, LoadString(IDS_OBJECT_DIR_NOT_CURRENT).c_str()))
        m_objectDir.clear();
    CInsertScriptDlg dialog(GetSafeHwnd());
    dialog.m_directory = m_insertDirectory.empty() ? m_objectDir : m_insertDirectory;
    if (m_autoCreate && m_objectDir.empty()) WarnAutoCreateWithoutObjectDir();
    if (dialog.DoModal() != IDOK) {
        m_insertDirectory.clear();
        return;
    }
    m_insertDirectory = dialog.m_directory;
    if (dialog.m_fileName.empty()) return;
    // A name typed without a folder is the file made in the current directory: the item keeps
    // its full path, as every other resource path is.
    const std::string path = FullPathName(dialog.m_fileName);
    const bool classParent = m_parentCode % 10 == 1;
    const std::int32_t parentOwner =
        m_parentCode == 0 ? 0 : (classParent ? m_control->ClassOleId() : m_control->CurrentOleId());
    const std::int32_t before = m_currentCode;
    static_cast<CPaneSite&>(*m_control)
        .CreateNewItem(FileNamePart(path).substr(0, kNameWidth), path, parentOwner,
                       m_parentCode / 10, -1, -1);
    if (m_currentCode == before) return;
    const int row = RowOfCode(m_currentCode);
    platform::ListControl* list = ScriptList();
    if (!list || row < 0) return;
    for (int selected : list->GetSelectedRows())
        list->SetItemState(selected, 0, platform::kListSelected);
    const UINT both = platform::kListSelected | platform::kListFocused;
    list->SetItemState(row, both, both);
}

void CScriptView::OnListRightClick(int row, POINT) {
    if (row < 0 || !m_control) return;
    if (row != m_selected) OnSelectScript(row);
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_SCRIPT_MENU_OPEN, kMenuOpen);
    menu.AppendMenu(MF_STRING, ID_SCRIPT_MENU_RENAME, kMenuRename);
    menu.AppendMenu(MF_STRING, ID_SCRIPT_MENU_PROPERTIES, kMenuProperties);
    menu.SetDefaultItem(ID_SCRIPT_MENU_OPEN);
    const POINT at = GetCursorPos();
    // Escape belongs to the menu while it is open.
    m_control->SetContextMenu(true);
    menu.TrackPopupMenu(TPM_LEFTALIGN, at.x, at.y, this);
    m_control->SetContextMenu(false);
}

bool CScriptView::OnCommand(WPARAM wParam, LPARAM) {
    switch (static_cast<UINT>(LOWORD(static_cast<LPARAM>(wParam)))) {
        case ID_SCRIPT_MENU_OPEN:
            if (platform::ListControl* list = ScriptList(); list && m_selected >= 0) {
                m_form->SetText(IDC_SCRIPT_NAME, list->GetItemText(m_selected, 0));
                OnEditScript();
            }
            return true;
        case ID_SCRIPT_MENU_RENAME:
            OnRename();
            return true;
        case ID_SCRIPT_MENU_PROPERTIES:
            OnProperties();
            return true;
        default:
            return false;
    }
}

bool CScriptView::PreTranslateMessage(MSG& msg) {
    if (msg.message != WM_SYSKEYDOWN || !m_form) return false;
    for (const Accelerator& a : kAccelerators) {
        if (msg.wParam != a.key) continue;
        if (a.control == IDC_SCRIPT_FUNCTION || a.control == IDC_SCRIPT_LANGUAGE)
            m_form->SetFocus(a.control);
        else
            OnDialogCommand(a.control, BN_CLICKED);
        return true;
    }
    return false;
}

}  // namespace orbel
