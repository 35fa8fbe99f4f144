#include "platform/imaging/ImageFile.h"
#include "platform/imaging/PagePrinter.h"
#include "platform/imaging/ViewerSurface.h"

namespace orbel::imaging {

ViewerSurface::~ViewerSurface() = default;
PagePrinter::~PagePrinter() = default;

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

class StateOnlyPrinter final : public PagePrinter {
  public:
    bool Print(const ImageFile& file, int first, int last, const platform::PrintChoice&,
               std::string& error) override {
        if (file.Format() != ImageFormat::Tiff) return true;
        for (int page = first; page <= last; ++page)
            if (!file.DecodeTiffPage(page, error)) return false;
        return true;
    }
};

}  // namespace

std::unique_ptr<PagePrinter> MakeStateOnlyPrinter() {
    return std::make_unique<StateOnlyPrinter>();
}

std::unique_ptr<ViewerSurface> MakeStateOnlySurface() {
    return std::make_unique<StateOnlySurface>();
}

}  // namespace orbel::imaging
