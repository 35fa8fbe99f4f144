// The hourglass for the length of a scope: shown when made, the cursor it replaced restored
// when it goes.
#pragma once

#include "platform/Platform.h"

namespace orbel {

class CWaitCursor {
  public:
    CWaitCursor()
        : previous_(platform::GetPlatform().Windows().SetCursor(platform::Cursor::Hourglass)) {}
    ~CWaitCursor() { platform::GetPlatform().Windows().SetCursor(previous_); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

  private:
    platform::Cursor previous_;
};

}  // namespace orbel
