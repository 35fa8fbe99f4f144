// Finding a form by what it was made from: a host or a test reaches the controls of a form
// inside another program's window the way a person finds them on the screen.
#pragma once

#include "platform/WindowSystem.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel::platform {

// The first form below `root`, searching depth first, made from template `templateId`; null
// when there is none.
LiveDialog* FindForm(const WindowSystem& windows, HWND root, UINT templateId);

}  // namespace orbel::platform
