#include "platform/imaging/ViewerSurface.h"

namespace orbel::imaging {

// This build has no desktop backend.
std::unique_ptr<ViewerSurface> MakeViewerSurface() {
    return MakeStateOnlySurface();
}

}  // namespace orbel::imaging
