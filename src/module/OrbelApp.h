// The control module's application object and its module-wide keyboard hook: the hook hands
// every key taken from the thread's queue to the pre-translation of the windows it was sent
// to, so the control sees Esc and Tab before the host does.
#pragma once

namespace orbel {

class COrbelApp {
  public:
    // Start-up: no keyboard hook yet.
    bool InitInstance();
    // Exit: removes the keyboard hook when one is installed.
    int ExitInstance();

    // Installs the hook for the current thread unless one is installed already; called by the
    // first control window created.
    static void InstallKeyboardHook();
    static bool KeyboardHookInstalled();
    static void RemoveKeyboardHook();
};

}  // namespace orbel
