// The script maintenance view: the form that takes the item list's place while the control is
// in script maintenance. It lists the scripts of the selected script folder and the host's
// system scripts, shows the selected script's resource, language and start function, and
// runs, accepts, renames and deletes scripts through the control.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"
#include "platform/controls/ListControl.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/framework/Wnd.h"
#include "src/control/OrbelCtrl.h"

namespace orbel {

class COrbelCtrl;

class CScriptView final : public CWnd,
                          private platform::DialogOwner,
                          private platform::ListControlEvents {
  public:
    static constexpr const char* kClassName = "CScriptView";
    static std::unique_ptr<CWnd> CreateObject();

    CScriptView();
    ~CScriptView() override;

    // Given by the frame once the view exists; the first update follows.
    void SetControl(COrbelCtrl* control) { m_control = control; }
    void OnInitialUpdate();

    // The control's list operations in script maintenance.
    void AddItem(bool folder, bool classItem, std::int32_t id, const std::string& name,
                 const std::string& resource);
    void DeleteItem(std::int32_t code);
    void DeleteAll();
    void SetParentCode(bool classItem, std::int32_t id);
    void SetAutoCreate(bool on) { m_autoCreate = on; }
    void SetAutoOpen(bool on) { m_autoOpen = on; }
    void SetObjectDir(const std::string& directory);
    const std::string& ObjectDir() const { return m_objectDir; }
    void FillSystemScripts();
    // Whether the system-script list shows exactly these entries.
    bool ShowsSystemScripts(const std::vector<SystemScriptEntry>& entries) const;
    void SeparateSystemScripts();

    // What the host reads of the script list.
    int GetItemCount() const;
    std::string ItemName(int index) const;
    std::int32_t ItemCode(int index) const;

    // The buttons.
    void OnAccept();
    void OnRun();
    void OnRename();
    void OnDelete();
    // Opens the script's file with the user's editor.
    void OnEditScript();
    // Asks for a file with the Insert Script dialog and makes it a script of the folder shown.
    void OnCreateScript();
    // The control's item properties of the current script.
    void OnProperties();
    // A path taken from data, through the shell: its property window, or the editor with the
    // path as its one argument. An empty path does nothing.
    static void OpenResource(const std::string& path, bool properties);

    // The form as text: scripts with their codes, system scripts, detail fields, enabled
    // buttons.
    std::string Dump() const;
    platform::LiveDialog* Form() const { return m_form.get(); }

  protected:
    int OnCreate() override;
    void OnSize(int cx, int cy) override;
    // The view's accelerators, Alt with a letter, before any other handling.
    bool PreTranslateMessage(MSG& msg) override;
    // The context menu's choices.
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    void OnDialogInit(platform::LiveDialog& dialog) override;
    void OnDialogCommand(UINT id, UINT code) override;
    void OnDialogClose() override {}
    platform::ListControlEvents* ListEventsFor(UINT id) override;

    void OnListItemChanged(int row, UINT oldState, UINT newState) override;
    void OnListRightClick(int row, POINT point) override;
    bool OnListEndLabelEdit(int row, const std::optional<std::string>& text) override;

    platform::ListControl* ScriptList() const;
    void OnSelectScript(int row);
    void OnSelectSystemScript();
    void LoadDetails(std::int32_t code);
    void ClearDetails();
    void EnableDetails(bool enable);
    // The form's values into the members, as the form exchange reads them.
    void ReadForm();
    void ListProcedures();
    void AddLanguage(const std::string& language);
    int RowOfCode(std::int32_t code) const;
    // The current script's resource path, with or without the link and marker.
    std::string ScriptFile(bool withMarkers) const;
    static std::string Trimmed(const std::string& text);

    std::unique_ptr<platform::LiveDialog> m_form;
    std::shared_ptr<IDispatch> m_scriptControl;  // the form's script control, for listing
    std::string m_scriptName;
    std::string m_startFunction;
    std::string m_resource;
    std::string m_language;
    std::int32_t m_currentCode = 0;
    COrbelCtrl* m_control = nullptr;
    int m_selected = -1;
    std::int32_t m_parentCode = 0;
    bool m_autoCreate = false;
    bool m_autoOpen = false;
    std::string m_objectDir;
    std::string m_insertDirectory;  // where the Insert Script dialog was last used
    bool m_selecting = false;       // the program changes the selection: no notification handling
    // The item data of each system-script line: the code of the store script of that name.
    std::vector<std::int32_t> m_systemCodes;
};

}  // namespace orbel
