#include "src/resources/DialogTemplates.h"

#include <vector>

#include "platform/Api.h"
#include "src/control/OrbelPropPage.h"
#include "src/preview/ImageFrame.h"
#include "src/resources/StringTable.h"

namespace orbel {

namespace {
using platform::DialogControlKind;
using platform::DialogControlTemplate;
using platform::DialogTemplate;

// Both waiting dialogs say the same.
constexpr const char* kPleaseWait = "Please wait...";
using platform::kStaticId;

// A control at (x, y) of cx by cy dialog units.
DialogControlTemplate Control(unsigned id, DialogControlKind kind, const char* text, int x, int y,
                              int cx, int cy, DWORD style = 0) {
    return DialogControlTemplate{id, kind, text, RECT{x, y, x + cx, y + cy}, style};
}

DialogControlTemplate Label(const char* text, int x, int y, int cx, int cy) {
    return Control(kStaticId, DialogControlKind::Static, text, x, y, cx, cy);
}

std::vector<DialogTemplate> MakeTemplates() {
    using K = DialogControlKind;
    std::vector<DialogTemplate> all;

    all.push_back(
        {IDD_PROPPAGE_ORBEL,
         LoadString(IDS_ORBEL_PPG_CAPTION),
         250,
         66,
         std::nullopt,
         {Label("Orbel Control has no properties to set at design time.", 7, 25, 236, 8)}});

    // Where the controls of Insert Object lie here does not matter: the dialog lays them out
    // inside its tab when it starts.
    all.push_back(
        {IDD_INSERT_OBJECT,
         "Insert Object",
         300,
         150,
         std::nullopt,
         {
             Control(IDC_INSERT_TABS, K::TabControl, "", 7, 7, 286, 136),
             Control(IDC_FILE_NAME_LABEL, K::Static, "Fil&e name", 14, 24, 100, 8),
             Control(IDC_FILE_NAME, K::Edit, "", 14, 34, 200, 14),
             Control(IDC_DISPLAY_NAME_LABEL, K::Static, "Displa&y Name", 14, 52, 100, 8),
             Control(IDC_DISPLAY_NAME, K::Edit, "", 14, 62, 200, 14),
             Control(IDC_OBJECT_TYPE_LABEL, K::Static, "&Object Type", 14, 24, 100, 8),
             Control(IDC_OBJECT_TYPE, K::ListBox, "", 14, 34, 200, 70),
             Control(IDC_AUTO_CREATE_OBJECT, K::CheckBox, "&Auto Create Object", 14, 108, 100, 10),
             Control(IDC_AUTO_OPEN_OBJECT, K::CheckBox, "Auto O&pen Object", 14, 120, 100, 10),
             Control(IDC_BROWSE, K::Button, "&Browse", 230, 62, 50, 14),
             Control(IDC_INTERNET, K::Button, "&Internet", 230, 80, 50, 14),
             Control(IDOK, K::DefaultButton, "&Ok", 230, 24, 50, 14),
             Control(IDCANCEL, K::Button, "&Cancel", 230, 42, 50, 14),
         }});

    all.push_back({IDD_PLEASE_WAIT, "", 82, 17, std::nullopt, {Label(kPleaseWait, 7, 5, 68, 8)}});

    all.push_back({IDD_CELL_LINK,
                   "Link Field to Excel Cell",
                   202,
                   101,
                   std::nullopt,
                   {
                       Control(IDC_CELL_PROMPT, K::Static, "", 7, 7, 188, 42),
                       Label("Cell Name", 7, 56, 40, 8),
                       Control(IDC_CELL_NAME, K::Edit, "", 50, 54, 145, 14),
                       Control(IDC_CHOOSE_CELL, K::Button, "Choose C&ell...", 7, 80, 60, 14),
                       Control(IDOK, K::DefaultButton, "OK", 89, 80, 50, 14),
                       Control(IDCANCEL, K::Button, "Cancel", 145, 80, 50, 14),
                   }});

    // The controls stand where the dialog's layout puts them at this size; the browser itself
    // (222) is made by the dialog, and the menu bar is menu 251.
    {
        DialogTemplate web{IDD_WEB_BROWSER,
                           "Web Browser",
                           400,
                           250,
                           std::nullopt,
                           {
                               Control(IDC_WEB_ADDRESS_LABEL, K::Static, "Address", 3, 207, 30, 15),
                               Control(IDC_WEB_ADDRESS, K::Edit, "", 37, 207, 310, 15),
                               Control(IDC_WEB_GO, K::Button, "GO", 357, 207, 40, 15),
                               Control(IDC_WEB_STATUS, K::Static, "", 3, 228, 294, 15),
                               Control(IDOK, K::DefaultButton, "OK", 313, 228, 40, 15),
                               Control(IDCANCEL, K::Button, "Cancel", 357, 228, 40, 15),
                           }};
        web.menu = {{ID_WEB_HOME, "Home"},       {ID_WEB_BACK, "Back"},
                    {ID_WEB_FORWARD, "Forward"}, {ID_WEB_STOP, "Stop"},
                    {ID_WEB_REFRESH, "Refresh"}, {ID_WEB_SEARCH, "Search"},
                    {ID_WEB_PRINT, "Print"}};
        web.resizable = true;
        all.push_back(std::move(web));
    }

    all.push_back({IDD_EMAIL_NAME_ADDRESS,
                   "Email Name and Address",
                   274,
                   81,
                   std::nullopt,
                   {
                       Label("Name", 7, 7, 200, 8),
                       Control(IDC_EMAIL_NAME, K::Edit, "", 7, 17, 200, 14),
                       Label("Email Address", 7, 37, 200, 8),
                       Control(IDC_EMAIL_ADDRESS, K::Edit, "", 7, 47, 200, 14),
                       Control(IDOK, K::DefaultButton, "OK", 217, 7, 50, 14),
                       Control(IDCANCEL, K::Button, "Cancel", 217, 24, 50, 14),
                   }});

    all.push_back({IDD_FOLDER_PROPERTIES,
                   "Properties",
                   257,
                   66,
                   std::nullopt,
                   {
                       Label("Folder Name", 7, 7, 120, 8),
                       Control(IDC_FOLDER_NAME, K::Static, "", 7, 17, 184, 10),
                       Label("Associated File Extension", 7, 33, 120, 8),
                       Control(IDC_FOLDER_EXTENSION, K::ComboDropDown, "", 7, 43, 184, 80),
                       Control(IDOK, K::DefaultButton, "OK", 200, 7, 50, 14),
                       Control(IDCANCEL, K::Button, "Cancel", 200, 24, 50, 14),
                   }});

    all.push_back({IDD_SCRIPT_VIEW,
                   "",
                   300,
                   200,
                   std::nullopt,
                   {
                       Control(IDC_SCRIPT_LIST, K::ListControl, "", 7, 7, 140, 120),
                       Label("System Scripts", 7, 131, 140, 8),
                       Control(IDC_SYSTEM_SCRIPTS, K::ListBox, "", 7, 141, 140, 52),
                       Label("Script Name", 155, 7, 138, 8),
                       Control(IDC_SCRIPT_NAME, K::Edit, "", 155, 17, 138, 12),
                       Label("&Language", 155, 33, 138, 8),
                       Control(IDC_SCRIPT_LANGUAGE, K::ComboDropDown, "", 155, 43, 138, 60),
                       Label("Resource", 155, 60, 138, 8),
                       Control(IDC_SCRIPT_RESOURCE, K::Edit, "", 155, 70, 138, 12),
                       Label("Start &Function", 155, 86, 138, 8),
                       Control(IDC_SCRIPT_FUNCTION, K::ComboDropDown, "", 155, 96, 138, 60),
                       Control(IDC_SCRIPT_RENAME, K::Button, "Re&name", 155, 116, 44, 14),
                       Control(IDC_SCRIPT_RUN, K::Button, "&Run", 202, 116, 44, 14),
                       Control(IDC_SCRIPT_EDIT, K::Button, "&Edit", 249, 116, 44, 14),
                       Control(IDC_SCRIPT_CREATE, K::Button, "&Create", 155, 134, 44, 14),
                       Control(IDC_SCRIPT_ACCEPT, K::Button, "&Accept", 202, 134, 44, 14),
                       Control(IDC_SCRIPT_DELETE, K::Button, "&Delete", 249, 134, 44, 14),
                   }});

    // The page bar's page box; its buttons are the bar's own.
    all.push_back({IDD_PAGE_BAR,
                   "",
                   32,
                   14,
                   std::nullopt,
                   {Control(IDC_PAGEBOX, K::Edit, "", 2, 1, 28, 12)}});

    all.push_back(
        {IDD_PLEASE_WAIT_PROGRESS, "", 167, 17, std::nullopt, {Label(kPleaseWait, 7, 5, 153, 8)}});

    // The tab's controls stand where the tab's page puts them: columns 10 and 175 units in,
    // labels 30 and edits 50 units down, the list from 80 units down to 10 above its bottom.
    all.push_back({IDD_OPTIONS,
                   "Options",
                   430,
                   232,
                   std::nullopt,
                   {
                       Control(IDC_OPTIONS_TAB, K::TabControl, "", 5, 5, 420, 200),
                       Control(209, K::Static, "&From ", 15, 35, 150, 8),
                       Control(IDC_MAP_FROM, K::Edit, "", 15, 55, 150, 12),
                       Control(211, K::Static, "&To", 180, 35, 150, 8),
                       Control(IDC_MAP_TO, K::Edit, "", 180, 55, 150, 12),
                       Control(IDC_REVERSE_MAP, K::CheckBox, "&Reverse Map", 335, 56, 50, 10),
                       Control(IDC_MAP_ADD, K::Button, "&Add", 390, 54, 30, 14),
                       Control(IDC_MAPPING_LIST, K::ListControl, "", 15, 85, 400, 110),
                       Control(IDC_MAP_EDIT, K::Button, "&Edit", 5, 212, 50, 14),
                       Control(IDC_MAP_DELETE, K::Button, "&Delete", 60, 212, 50, 14),
                       Control(IDOK, K::DefaultButton, "&Ok", 320, 212, 50, 14),
                       Control(IDCANCEL, K::Button, "&Cancel", 375, 212, 50, 14),
                   }});

    all.push_back(
        {IDD_ATTACHMENT_PROPERTIES,
         "Attachment Properties",
         232,
         169,
         std::nullopt,
         {
             Label("&File: ", 7, 9, 22, 8),
             Control(IDC_ATTACHMENT_PATH, K::Edit, "", 30, 7, 195, 12, platform::kDialogReadOnly),
             Control(IDC_OPEN_FOLDER, K::Button, "Open Folde&r", 120, 25, 50, 14),
             Control(IDC_ATTACHMENT_OPEN, K::Button, "&Open", 175, 25, 50, 14),
             Control(kStaticId, K::GroupBox, "Other Information", 7, 45, 218, 98),
             Control(IDC_ATTACHMENT_DETAILS, K::ListControl, "", 14, 57, 204, 80),
             Control(IDCANCEL, K::DefaultButton, "Close", 175, 148, 50, 14),
         }});

    all.push_back({IDD_INSERT_SCRIPT,
                   "Insert Script",
                   250,
                   58,
                   std::nullopt,
                   {
                       Label("Fil&e name", 7, 7, 180, 8),
                       Control(IDC_FILE_NAME, K::Edit, "", 7, 17, 180, 14),
                       Control(IDC_INSERT_SCRIPT_BROWSE, K::Button, "&Browse", 193, 17, 50, 14),
                       Control(IDOK, K::DefaultButton, "&Ok", 137, 37, 50, 14),
                       Control(IDCANCEL, K::Button, "&Cancel", 193, 37, 50, 14),
                   }});

    all.push_back({IDD_CREATE_SELECT_FILE,
                   "Create/Select a File",
                   267,
                   97,
                   std::nullopt,
                   {
                       Label("Fil&e name", 7, 7, 190, 8),
                       Control(IDC_FILE_NAME, K::Edit, "", 7, 17, 190, 14),
                       Control(IDC_BROWSE, K::Button, "&Browse", 205, 17, 55, 14),
                       Label("Or, create a new file in a specified directory -", 7, 40, 190, 8),
                       Control(IDC_MANUAL_CREATE, K::Button, "Manual &Create", 205, 37, 55, 14),
                       Label("Or, automatically create the file -", 7, 58, 190, 8),
                       Control(IDC_AUTO_CREATE, K::Button, "&Auto Create", 205, 55, 55, 14),
                       Control(IDOK, K::DefaultButton, "OK", 149, 76, 50, 14),
                       Control(IDCANCEL, K::Button, "Cancel", 210, 76, 50, 14),
                   }});
    return all;
}
}  // namespace

const platform::DialogTemplate* FindDialogTemplate(unsigned id) {
    static const std::vector<DialogTemplate> templates = MakeTemplates();
    for (const DialogTemplate& t : templates)
        if (t.id == id) return &t;
    return nullptr;
}

}  // namespace orbel
