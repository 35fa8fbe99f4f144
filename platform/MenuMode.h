// Menu mode: while a popup menu is tracked, the input it takes for itself (keys, left clicks)
// passes the thread's message-filter hooks first, and the program can end the menu as
// cancelling the mode does. Each backend's menu enters the mode for as long as it is open.
// Not for: the menu's items or the answer (UserInteraction::TrackPopupMenu).
#pragma once

#include <functional>

#include "platform/MessageLoop.h"
#include "platform/Win.h"

namespace orbel::platform {

// Sees a message of a modal loop of the platform before that loop acts on it, with the loop's
// code; true consumes it. Mouse messages carry the point in screen coordinates there.
using MessageFilterHook = std::function<bool(int code, MSG& msg)>;
inline constexpr int MSGF_MENU = 2;

HookHandle SetMessageFilterHook(MessageFilterHook hook);
bool UnhookMessageFilterHook(HookHandle hook);
// Offers the message to the filter hooks, the newest first: true when one consumed it.
bool CallMsgFilter(MSG& msg, int code);

// Closes the popup menu being tracked: TrackPopupMenu returns 0 once the input it is handling
// is done. Nothing while no menu is open.
void EndMenu();

// A backend's menu is open from construction to destruction; `close` closes it.
class MenuModeScope {
  public:
    explicit MenuModeScope(std::function<void()> close);
    ~MenuModeScope();
    void Close();
    MenuModeScope(const MenuModeScope&) = delete;
    MenuModeScope& operator=(const MenuModeScope&) = delete;

  private:
    std::function<void()> close_;
    MenuModeScope* outer_;
};

}  // namespace orbel::platform
