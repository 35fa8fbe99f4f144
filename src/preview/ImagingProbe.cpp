#include "src/preview/ImagingProbe.h"

namespace orbel {

bool ImagingControlsAvailable() {
    // No imaging components are built into the control yet, so none can be made: the preview
    // pane stays hidden and its toolbar button does nothing.
    return false;
}

}  // namespace orbel
