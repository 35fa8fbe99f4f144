// The control's dialog templates, as data the platform builds live dialogs from.
#pragma once

#include "platform/dialogs/DialogTemplate.h"

namespace orbel {

inline constexpr unsigned IDD_PLEASE_WAIT = 206;  // small, over a list while it fills
inline constexpr unsigned IDD_CELL_LINK = 209;
inline constexpr unsigned IDD_EMAIL_NAME_ADDRESS = 230;
inline constexpr unsigned IDD_FOLDER_PROPERTIES = 242;
inline constexpr unsigned IDD_SCRIPT_VIEW = 259;           // a form: the script maintenance view
inline constexpr unsigned IDD_PLEASE_WAIT_PROGRESS = 260;  // its text tells the progress
inline constexpr unsigned IDD_CREATE_SELECT_FILE = 269;

// "Properties" (folder)
inline constexpr unsigned IDC_FOLDER_NAME = 226;
inline constexpr unsigned IDC_FOLDER_EXTENSION = 236;
// "Link Field to Excel Cell"
inline constexpr unsigned IDC_CHOOSE_CELL = 201;
inline constexpr unsigned IDC_CELL_PROMPT = 202;
inline constexpr unsigned IDC_CELL_NAME = 239;
// "Email Name and Address"
inline constexpr unsigned IDC_EMAIL_NAME = 207;
inline constexpr unsigned IDC_EMAIL_ADDRESS = 208;
// "Create/Select a File"
inline constexpr unsigned IDC_FILE_NAME = 1088;
inline constexpr unsigned IDC_BROWSE = 3;
inline constexpr unsigned IDC_MANUAL_CREATE = 4;
inline constexpr unsigned IDC_AUTO_CREATE = 5;
// The script maintenance view (259).
inline constexpr unsigned IDC_SCRIPT_RENAME = 8;
inline constexpr unsigned IDC_SCRIPT_RUN = 3;
inline constexpr unsigned IDC_SCRIPT_EDIT = 4;
inline constexpr unsigned IDC_SCRIPT_CREATE = 5;
inline constexpr unsigned IDC_SCRIPT_ACCEPT = 7;
inline constexpr unsigned IDC_SCRIPT_DELETE = 6;
inline constexpr unsigned IDC_SCRIPT_LANGUAGE = 253;
inline constexpr unsigned IDC_SCRIPT_RESOURCE = 258;
inline constexpr unsigned IDC_SCRIPT_FUNCTION = 251;
inline constexpr unsigned IDC_SYSTEM_SCRIPTS = 257;
inline constexpr unsigned IDC_SCRIPT_LIST = 249;
inline constexpr unsigned IDC_SCRIPT_NAME = 243;
// "Please wait..." (260): the text its user rewrites.
inline constexpr unsigned IDC_PLEASE_WAIT_TEXT = platform::kStaticId;

// The template with the ID; null when the control has none.
const platform::DialogTemplate* FindDialogTemplate(unsigned id);

}  // namespace orbel
