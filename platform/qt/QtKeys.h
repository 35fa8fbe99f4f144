// Key codes between Qt and the platform's virtual keys, in one place each way.
#pragma once

#include "platform/Win.h"

namespace orbel::platform {

// The virtual key of a Qt key (Qt::Key); 0 for a key the platform has no code for.
UINT VirtualKeyFromQt(int qtKey);
// The Qt key (Qt::Key) of a virtual key; 0 for none.
int QtKeyFromVirtualKey(UINT key);

}  // namespace orbel::platform
