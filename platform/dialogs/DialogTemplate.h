// A dialog as data: its caption, its size and its controls, each with an ID, a kind, a text and
// a rectangle in dialog units. The system keeps its own templates as such data; a backend makes
// a live dialog from one (Dialogs.h).
// Not for: what the controls hold while the dialog runs (LiveDialog).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/UserInteraction.h"
#include "platform/Win.h"

namespace orbel::platform {

enum class DialogControlKind {
    Static,
    Edit,
    Button,
    DefaultButton,
    CheckBox,
    ComboDropDown,      // an edit field with a list to choose from
    ComboDropDownList,  // a list to choose from, nothing typed
    ListBox,
    ListControl,
    TabControl,
    GroupBox,
};
// "static", "edit", "button", "defbutton", "check", "combo", "droplist", "listbox",
// "listctrl", "tab", "group": the kind as dumps show it.
const char* DialogControlKindName(DialogControlKind kind);

// Style flags of a control.
inline constexpr DWORD kDialogReadOnly = 0x1;   // edit: shown, not typed into
inline constexpr DWORD kDialogMultiline = 0x2;  // edit: line breaks are part of the text
inline constexpr DWORD kDialogDisabled = 0x4;   // starts disabled
inline constexpr DWORD kDialogHidden = 0x8;     // starts hidden

// The ID of labels that nothing refers to; several controls of a dialog may have it.
inline constexpr UINT kStaticId = 65535;

struct DialogControlTemplate {
    UINT id = kStaticId;
    DialogControlKind kind = DialogControlKind::Static;
    std::string text;
    RECT rect;  // dialog units; for combo boxes the height includes the dropped list
    DWORD style = 0;
};

struct DialogFont {
    std::string face;
    int pointSize = 8;
};

struct DialogTemplate {
    UINT id = 0;
    std::string caption;
    int width = 0;  // dialog units
    int height = 0;
    std::optional<DialogFont> font;  // none: the backend's dialog font
    std::vector<DialogControlTemplate> controls;
    // A menu bar of one level above the controls: each item a command; none for no bar.
    std::vector<MenuItem> menu = {};
    // A sizing border and the boxes that minimise and maximise it; the owner places the
    // controls on each size change.
    bool resizable = false;

    // The first control with the ID; null when there is none.
    const DialogControlTemplate* FindControl(UINT controlId) const;
};

// Dialog units in pixels, with the base units of the 8-point dialog font (a horizontal unit is
// a quarter of the average character width of 6 pixels, a vertical unit an eighth of the
// character height of 13 pixels).
RECT DialogUnitsToPixels(const RECT& units);

}  // namespace orbel::platform
