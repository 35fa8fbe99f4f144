// Command routing: a command ID from a toolbar button or a menu goes to a target that either
// carries it out or, asked to update, says whether it is enabled and checked.
#pragma once

#include "platform/Win.h"

namespace orbel {

// The state of one command as its update handler leaves it. Only what a handler changed is
// applied: a command with a handler but no update handler keeps the state it has.
struct CCmdUI {
    UINT id = 0;
    bool enabled = true;
    bool checked = false;
    bool enableChanged = false;
    bool checkChanged = false;
    void Enable(bool on = true) {
        enabled = on;
        enableChanged = true;
    }
    void SetCheck(bool on = true) {
        checked = on;
        checkChanged = true;
    }
};

class CCmdTarget {
  public:
    virtual ~CCmdTarget();
    // With no `ui`: carries the command out. With `ui`: runs its update handler, if any. True
    // when the target has a handler for the ID (for either); a button whose command no target
    // handles is disabled.
    virtual bool OnCmdMsg(UINT id, CCmdUI* ui);
};

}  // namespace orbel
