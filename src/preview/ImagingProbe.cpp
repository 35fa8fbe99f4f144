#include "src/preview/ImagingProbe.h"

#include "src/preview/ImgEdit.h"

namespace orbel {

namespace {
constexpr UINT kViewerId = 104;
}

bool ImagingControlsAvailable(HWND parent) {
    CImgEdit probe;
    const bool made = probe.Create("Image", WS_CHILD, RECT{0, 0, 1, 1}, parent, kViewerId);
    probe.DestroyWindow();
    return made;
}

}  // namespace orbel

namespace orbel {

long PageCount(HWND parent, const std::string& path) {
    constexpr UINT kPageCounterId = 102;
    CImgEdit counter;
    if (!counter.Create("Image", WS_CHILD, RECT{0, 0, 1, 1}, parent, kPageCounterId)) return 1;
    counter.SetImage(path);
    const long pages = counter.GetPageCount();
    counter.DestroyWindow();
    return pages;
}

}  // namespace orbel
