#include "platform/imaging/ViewerSurface.h"

namespace orbel::imaging {

// This build has no desktop backend.
std::unique_ptr<ViewerSurface> MakeViewerSurface() {
    return MakeStateOnlySurface();
}

}  // namespace orbel::imaging

#include "platform/imaging/PagePrinter.h"

namespace orbel::imaging {

std::unique_ptr<PagePrinter> MakePagePrinter() {
    return MakeStateOnlyPrinter();
}

}  // namespace orbel::imaging
