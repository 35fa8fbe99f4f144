#include "platform/dialogs/DialogTemplate.h"

namespace orbel::platform {

const char* DialogControlKindName(DialogControlKind kind) {
    switch (kind) {
        case DialogControlKind::Static:
            return "static";
        case DialogControlKind::Edit:
            return "edit";
        case DialogControlKind::Button:
            return "button";
        case DialogControlKind::DefaultButton:
            return "defbutton";
        case DialogControlKind::CheckBox:
            return "check";
        case DialogControlKind::ComboDropDown:
            return "combo";
        case DialogControlKind::ComboDropDownList:
            return "droplist";
        case DialogControlKind::ListBox:
            return "listbox";
        case DialogControlKind::ListControl:
            return "listctrl";
        case DialogControlKind::TabControl:
            return "tab";
        case DialogControlKind::GroupBox:
            return "group";
    }
    return "?";
}

const DialogControlTemplate* DialogTemplate::FindControl(UINT controlId) const {
    for (const DialogControlTemplate& c : controls)
        if (c.id == controlId) return &c;
    return nullptr;
}

RECT DialogUnitsToPixels(const RECT& units) {
    constexpr int kBaseX = 6;
    constexpr int kBaseY = 13;
    return RECT{units.left * kBaseX / 4, units.top * kBaseY / 8, units.right * kBaseX / 4,
                units.bottom * kBaseY / 8};
}

}  // namespace orbel::platform
