// The item list's context-menu commands and the texts their items show.
#pragma once

#include "platform/Win.h"

namespace orbel {

inline constexpr UINT ID_LIST_NEW_ITEM = 32748;
inline constexpr UINT ID_LIST_NEW_FOLDER = 32749;
inline constexpr UINT ID_LIST_LARGE_ICONS = 32750;
inline constexpr UINT ID_LIST_SMALL_ICONS = 32751;
inline constexpr UINT ID_LIST_LIST = 32752;
inline constexpr UINT ID_LIST_DETAILS = 32753;
inline constexpr UINT ID_LIST_ITEM_PROPERTIES = 32754;
inline constexpr UINT ID_LIST_OPEN = 32755;
inline constexpr UINT ID_LIST_LINK_SPREADSHEET = 32756;
inline constexpr UINT ID_LIST_ATTACH_TO = 32757;
inline constexpr UINT ID_LIST_EMAIL_TO = 32758;
inline constexpr UINT ID_LIST_RENAME = 32759;
inline constexpr UINT ID_LIST_EDIT_SUBSCRIBER = 32760;
inline constexpr UINT ID_LIST_CLEAR_ATTACH_TO = 32761;
inline constexpr UINT ID_LIST_CLEAR_EMAIL_TO = 32762;
inline constexpr UINT ID_LIST_RENAME_FOLDER = 32768;
inline constexpr UINT ID_LIST_FOLDER_PROPERTIES = 32769;
inline constexpr UINT ID_LIST_FIRST_COMMAND = ID_LIST_NEW_ITEM;
inline constexpr UINT ID_LIST_LAST_COMMAND = ID_LIST_FOLDER_PROPERTIES;

inline constexpr const char* kMenuRename = "Rename";
inline constexpr const char* kMenuProperties = "Properties";
inline constexpr const char* kMenuNewItem = "New Item";
inline constexpr const char* kMenuEditItem = "Edit Item";
inline constexpr const char* kMenuOpen = "Open";
inline constexpr const char* kMenuAttachTo = "Attach To ";
inline constexpr const char* kMenuClearAttachTo = "Clear Attach To ";
inline constexpr const char* kMenuEmailTo = "Email To ";
inline constexpr const char* kMenuClearEmailTo = "Clear Email To ";
inline constexpr const char* kMenuLinkSpreadsheet = "Link to spreadsheet cell...";
inline constexpr const char* kMenuNewOleItem = "New OLE Item";
inline constexpr const char* kMenuNewFolder = "New Folder";
inline constexpr const char* kMenuLargeIcons = "Large Icons";
inline constexpr const char* kMenuSmallIcons = "Small Icons";
inline constexpr const char* kMenuList = "List";
inline constexpr const char* kMenuDetails = "Details";

}  // namespace orbel
