// The control's dialog templates, as data the platform builds live dialogs from.
#pragma once

#include "platform/dialogs/DialogTemplate.h"

namespace orbel {

inline constexpr unsigned IDD_INSERT_OBJECT = 205;
inline constexpr unsigned IDD_PLEASE_WAIT = 206;  // small, over a list while it fills
inline constexpr unsigned IDD_CELL_LINK = 209;
inline constexpr unsigned IDD_EMAIL_NAME_ADDRESS = 230;
inline constexpr unsigned IDD_OPTIONS = 231;
inline constexpr unsigned IDD_WEB_BROWSER = 239;  // with the menu bar 251
inline constexpr unsigned IDD_FOLDER_PROPERTIES = 242;
inline constexpr unsigned IDD_SCRIPT_VIEW = 259;           // a form: the script maintenance view
inline constexpr unsigned IDD_PLEASE_WAIT_PROGRESS = 260;  // its text tells the progress
inline constexpr unsigned IDD_INSERT_SCRIPT = 262;
inline constexpr unsigned IDD_CREATE_SELECT_FILE = 269;
inline constexpr unsigned IDD_ATTACHMENT_PROPERTIES = 270;

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
// "Insert Object" (205), with IDC_FILE_NAME and IDC_BROWSE as above.
inline constexpr unsigned IDC_INSERT_TABS = 1079;
inline constexpr unsigned IDC_OBJECT_TYPE = 1081;
inline constexpr unsigned IDC_OBJECT_TYPE_LABEL = 1083;
inline constexpr unsigned IDC_FILE_NAME_LABEL = 1084;
inline constexpr unsigned IDC_DISPLAY_NAME_LABEL = 1085;
inline constexpr unsigned IDC_AUTO_CREATE_OBJECT = 1089;
inline constexpr unsigned IDC_AUTO_OPEN_OBJECT = 1090;
inline constexpr unsigned IDC_DISPLAY_NAME = 1091;
inline constexpr unsigned IDC_INTERNET = 4;
// The web browser dialog (239) and its menu bar (251).
inline constexpr unsigned IDC_WEB_GO = 3;
inline constexpr unsigned IDC_WEB_BROWSER = 222;
inline constexpr unsigned IDC_WEB_STATUS = 224;
inline constexpr unsigned IDC_WEB_ADDRESS_LABEL = 230;
inline constexpr unsigned IDC_WEB_ADDRESS = 235;
inline constexpr unsigned IDR_WEB_MENU = 251;
inline constexpr unsigned ID_WEB_BACK = 32802;
inline constexpr unsigned ID_WEB_FORWARD = 32803;
inline constexpr unsigned ID_WEB_STOP = 32804;
inline constexpr unsigned ID_WEB_REFRESH = 32805;
inline constexpr unsigned ID_WEB_SEARCH = 32806;
inline constexpr unsigned ID_WEB_HOME = 32807;
inline constexpr unsigned ID_WEB_PRINT = 32808;
// "Options"
inline constexpr unsigned IDC_OPTIONS_TAB = 214;
inline constexpr unsigned IDC_MAP_FROM = 212;
inline constexpr unsigned IDC_MAP_TO = 1090;
inline constexpr unsigned IDC_REVERSE_MAP = 213;
inline constexpr unsigned IDC_MAP_ADD = 208;
inline constexpr unsigned IDC_MAP_EDIT = 218;
inline constexpr unsigned IDC_MAP_DELETE = 217;
inline constexpr unsigned IDC_MAPPING_LIST = 215;
// "Attachment Properties"
inline constexpr unsigned IDC_ATTACHMENT_PATH = 243;
inline constexpr unsigned IDC_OPEN_FOLDER = 3;
inline constexpr unsigned IDC_ATTACHMENT_OPEN = 260;
inline constexpr unsigned IDC_ATTACHMENT_DETAILS = 261;
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
// "Insert Script" (262): the file name is IDC_FILE_NAME.
inline constexpr unsigned IDC_INSERT_SCRIPT_BROWSE = 258;
// "Please wait..." (260): the text its user rewrites.
inline constexpr unsigned IDC_PLEASE_WAIT_TEXT = platform::kStaticId;

// The template with the ID; null when the control has none.
const platform::DialogTemplate* FindDialogTemplate(unsigned id);

}  // namespace orbel
