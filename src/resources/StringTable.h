// The control's string table: texts shown to users and registered with the system, by ID.
#pragma once

#include <string>

namespace orbel {

inline constexpr unsigned IDS_ORBEL = 1;                // type name of the control
inline constexpr unsigned IDS_ORBEL_PPG = 2;            // type name of the property page
inline constexpr unsigned IDS_ORBEL_PPG_CAPTION = 200;  // caption of the property page
// Texts of the shell's result codes, 201-217 (see ShellErrorText in src/services).
inline constexpr unsigned IDS_SHELL_ERROR_FIRST = 201;
inline constexpr unsigned IDS_SHELL_ERROR_LAST = 217;
// Refusals and failures that both panes, or both the tree and its maintenance, show.
inline constexpr unsigned IDS_NO_EDIT_CLASS_ITEM = 230;
inline constexpr unsigned IDS_NO_DELETE_CLASS_ITEM = 231;
inline constexpr unsigned IDS_ERROR_DELETE_ENTRY = 232;
// New items: refusals and failures that more than one road to a new file shows.
inline constexpr unsigned IDS_NO_OBJECT_DIR_AUTO_CREATE = 240;
inline constexpr unsigned IDS_OBJECT_DIR_NOT_CURRENT = 241;  // directory, error number

// The text of a string resource; empty when there is none with that ID.
std::string LoadString(unsigned id);

}  // namespace orbel
