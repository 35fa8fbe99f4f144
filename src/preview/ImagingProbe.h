// Whether the imaging controls (page view, administration, scanning) can be made on this
// machine. The preview pane and its toolbar button exist only when they can.
#pragma once

namespace orbel {

bool ImagingControlsAvailable();

}  // namespace orbel
