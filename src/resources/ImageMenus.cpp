#include "src/resources/ImageMenus.h"

namespace orbel {

namespace {
const MenuEntry kBestFit{32775, "Best Fit"};
const MenuEntry kFitToWidth{32777, "Fit To Width"};
const MenuEntry kFitToHeight{32778, "Fit To Height"};
const MenuEntry kActualSize{32779, "Actual Size"};
const MenuEntry kZoomToSelection{32780, "Zoom To Selection"};
const MenuEntry kScaleToGrey{32781, "Scale To Grey"};
}  // namespace

const std::vector<MenuPopup>& FindMenuResource(UINT id) {
    static const std::vector<MenuPopup> kImage = {
        {"&View", {kScaleToGrey}},
        {"&Zoom", {kBestFit, kFitToWidth, kFitToHeight, kActualSize, kZoomToSelection}},
        {"&Page",
         {{32782, "Next Page"},
          {32783, "Previous Page"},
          {32784, "First Page"},
          {32785, "Last Page"}}},
    };
    static const std::vector<MenuPopup> kZoom = {
        {"Zoom",
         {kBestFit,
          kFitToWidth,
          kFitToHeight,
          kActualSize,
          kZoomToSelection,
          {0, ""},
          kScaleToGrey}},
    };
    static const std::vector<MenuPopup> kNone;
    if (id == IDR_IMAGE_MENU) return kImage;
    if (id == IDR_ZOOM_MENU) return kZoom;
    return kNone;
}

}  // namespace orbel
