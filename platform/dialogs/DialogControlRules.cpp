#include "platform/dialogs/DialogControlRules.h"

#include "platform/automation/Variant.h"
#include "platform/controls/ListControl.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/text/Utf8.h"

namespace orbel::platform {

namespace {
using Kind = DialogControlKind;

std::string ControlName(UINT id) {
    return "control " + std::to_string(id);
}
}  // namespace

void DialogControlState::Start(const DialogControlTemplate& from) {
    source = &from;
    readOnly = (from.style & kDialogReadOnly) != 0;
    enabled = (from.style & kDialogDisabled) == 0;
    visible = (from.style & kDialogHidden) == 0;
}

bool IsKind(const DialogControlState* c, DialogControlKind kind) {
    return c && c->source->kind == kind;
}

bool IsCombo(const DialogControlState* c) {
    return IsKind(c, Kind::ComboDropDown) || IsKind(c, Kind::ComboDropDownList);
}

bool HasEntries(const DialogControlState* c) {
    return IsCombo(c) || IsKind(c, Kind::ListBox);
}

bool HoldsText(const DialogControlState* c) {
    return c && !IsKind(c, Kind::ComboDropDownList) && !IsKind(c, Kind::ListBox) &&
           !IsKind(c, Kind::TabControl) && !IsKind(c, Kind::ListControl);
}

bool TakesTyping(const DialogControlState* c) {
    return IsKind(c, Kind::Edit) || IsKind(c, Kind::ComboDropDown);
}

std::string_view TypedText(const DialogControlState& c, std::string_view text) {
    return c.limit > 0 ? FirstCharacters(text, static_cast<std::size_t>(c.limit)) : text;
}

UINT ChoiceNotification(const DialogControlState& c) {
    if (IsKind(&c, Kind::TabControl)) return TCN_SELCHANGE;
    return IsKind(&c, Kind::ListBox) ? LBN_SELCHANGE : CBN_SELCHANGE;
}

std::string RefuseUse(const DialogControlState* c, UINT id, bool ended) {
    if (ended) return "the dialog has ended";
    if (!c) return "there is no " + ControlName(id);
    if (!c->enabled) return ControlName(id) + " is disabled";
    if (!c->visible) return ControlName(id) + " is hidden";
    return {};
}

std::string RefuseTyping(const DialogControlState* c, UINT id, bool ended) {
    if (std::string why = RefuseUse(c, id, ended); !why.empty()) return why;
    if (!TakesTyping(c)) return ControlName(id) + " cannot be typed into";
    if (c->readOnly) return ControlName(id) + " is read-only";
    return {};
}

std::string RefuseChoosing(const DialogControlState* c, UINT id, bool ended) {
    if (std::string why = RefuseUse(c, id, ended); !why.empty()) return why;
    if (!HasEntries(c) && !IsKind(c, Kind::TabControl))
        return ControlName(id) + " has no entries to choose from";
    return {};
}

std::string RefuseNoEntry(UINT id, std::string_view text) {
    return ControlName(id) + " has no entry " + QuoteString(std::string(text));
}

std::string RefuseChecking(const DialogControlState* c, UINT id, bool ended) {
    if (std::string why = RefuseUse(c, id, ended); !why.empty()) return why;
    if (!IsKind(c, Kind::CheckBox)) return ControlName(id) + " is not a check box";
    return {};
}

std::string RefusePressing(const DialogControlState* c, UINT id, bool ended) {
    if (std::string why = RefuseUse(c, id, ended); !why.empty()) return why;
    if (!IsKind(c, Kind::CheckBox) && !IsKind(c, Kind::Button) && !IsKind(c, Kind::DefaultButton))
        return ControlName(id) + " is not a button";
    return {};
}

ListControlEvents& ListEventsOf(DialogOwner& owner, UINT id) {
    static ListControlEvents none;
    ListControlEvents* events = owner.ListEventsFor(id);
    return events ? *events : none;
}

}  // namespace orbel::platform
