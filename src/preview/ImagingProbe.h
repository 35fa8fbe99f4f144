// Whether the imaging components (page view, printing, scanning) can be made on this machine:
// a hidden viewer is made under `parent` and destroyed at once. The preview pane and its
// toolbar button work only when it can be made.
#pragma once

#include <string>

#include "platform/Win.h"

namespace orbel {

bool ImagingControlsAvailable(HWND parent);

}  // namespace orbel

namespace orbel {

// The number of pages of an image file, as a hidden viewer under `parent` reads it; 1 when no
// viewer can be made.
long PageCount(HWND parent, const std::string& path);

}  // namespace orbel
