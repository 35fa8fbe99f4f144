// What the user may do to a live dialog's controls, the same on every backend: which kinds of
// control take typing, entries or a check, what typing keeps under a limit counted in
// characters, which notification a choice sends, and the texts with which the User* calls of
// LiveDialog refuse. Each backend's control record starts with the state these rules read.
// Not for: what a control shows or holds (its text, entries, check), which the backends keep
// in their own ways.
#pragma once

#include <string>
#include <string_view>

#include "platform/Win.h"
#include "platform/dialogs/DialogTemplate.h"

namespace orbel::platform {

class DialogOwner;
class ListControlEvents;

// A control of a live dialog as the rules see it. A backend's control record derives from it.
struct DialogControlState {
    const DialogControlTemplate* source = nullptr;
    // How many characters the user may type into an edit or drop-down combo box; 0 for no
    // limit.
    int limit = 0;
    bool readOnly = false;
    bool enabled = true;
    bool visible = true;

    // Takes the template's control with the states its style starts it in.
    void Start(const DialogControlTemplate& from);
};

// The kind tests take no control (null) as of no kind.
bool IsKind(const DialogControlState* c, DialogControlKind kind);
bool IsCombo(const DialogControlState* c);
// Combo boxes and list boxes.
bool HasEntries(const DialogControlState* c);
// Whether the program's SetText applies: not to lists of entries, tabs or list controls.
bool HoldsText(const DialogControlState* c);
// Edits and drop-down combo boxes: what the user types into, and what LimitText limits.
bool TakesTyping(const DialogControlState* c);

// What typing the text into the control leaves: the text cut at the control's limit.
std::string_view TypedText(const DialogControlState& c, std::string_view text);
// The notification a choice in the control sends: a tab, a list box's or a combo box's.
UINT ChoiceNotification(const DialogControlState& c);

// Why the user cannot do the thing to control `id` (null: the dialog has none); empty when
// they can. `ended` is whether the dialog has ended.
std::string RefuseUse(const DialogControlState* c, UINT id, bool ended);
std::string RefuseTyping(const DialogControlState* c, UINT id, bool ended);
// Choosing: the control must have entries or tabs; NoEntry then names a text it lacks.
std::string RefuseChoosing(const DialogControlState* c, UINT id, bool ended);
std::string RefuseNoEntry(UINT id, std::string_view text);
std::string RefuseChecking(const DialogControlState* c, UINT id, bool ended);
// Pressing: a button, or a check box (which pressing toggles).
std::string RefusePressing(const DialogControlState* c, UINT id, bool ended);

// Where list control `id` of the owner's dialog sends its notifications: where the owner says,
// else nowhere.
ListControlEvents& ListEventsOf(DialogOwner& owner, UINT id);

}  // namespace orbel::platform
