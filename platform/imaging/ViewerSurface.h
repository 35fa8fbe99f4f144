// Where the viewer's page is drawn. The viewer keeps the state (which page, zoom, rotation,
// selection); a surface holds the one decoded page and paints it. The desktop's surface draws
// with Qt; without a desktop the viewer keeps only its state and decodes TIFF pages itself.
#pragma once

#include <memory>
#include <string>

#include "platform/Win.h"

namespace orbel::imaging {

class ImageFile;

// What the surface paints: the page turned and scaled, or a reason in place of it.
struct ViewerPicture {
    bool shown = false;      // a page is displayed
    std::string message;     // shown in place of the page (a format no reader understands)
    double zoom = 1.0;       // display pixels per page pixel
    int rotation = 0;        // degrees clockwise: 0, 90, 180, 270
    bool smooth = false;     // grey scaling: bilevel pages scaled smoothly into greys
    RECT selection{};        // in the window's client coordinates; empty for none
    bool selecting = false;  // the rectangle is being drawn
};

class ViewerSurface {
  public:
    virtual ~ViewerSurface();
    // The viewer's window exists; the surface draws into it from now on.
    virtual void Attach(HWND window) = 0;
    // Decodes page `page` of `file` and keeps it in place of the page it kept before; false
    // with the reason in `error` when the page cannot be decoded.
    virtual bool Load(const ImageFile& file, int page, std::string& error) = 0;
    // Forgets the decoded page.
    virtual void Clear() = 0;
    virtual void Paint(const ViewerPicture& picture) = 0;
};

// The surface of the installed platform: the desktop's on Qt, else one that only decodes.
std::unique_ptr<ViewerSurface> MakeViewerSurface();
// The surface without a desktop.
std::unique_ptr<ViewerSurface> MakeStateOnlySurface();

}  // namespace orbel::imaging
