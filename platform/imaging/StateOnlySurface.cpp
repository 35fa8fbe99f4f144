#include "platform/imaging/ImageFile.h"
#include "platform/imaging/ViewerSurface.h"

namespace orbel::imaging {

ViewerSurface::~ViewerSurface() = default;

namespace {

// Without a desktop nothing is drawn. A TIFF page is still decoded, so that a damaged page is
// reported as it would be on a screen; BMP, GIF and JPEG are decoded only by the desktop's
// readers, and here their headers stand for them.
class StateOnlySurface final : public ViewerSurface {
  public:
    void Attach(HWND) override {}
    bool Load(const ImageFile& file, int page, std::string& error) override {
        if (file.Format() != ImageFormat::Tiff) return true;
        return file.DecodeTiffPage(page, error).has_value();
    }
    void Clear() override {}
    void Paint(const ViewerPicture&) override {}
};

}  // namespace

std::unique_ptr<ViewerSurface> MakeStateOnlySurface() {
    return std::make_unique<StateOnlySurface>();
}

}  // namespace orbel::imaging
