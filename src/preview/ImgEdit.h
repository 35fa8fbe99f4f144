// The viewer wrapper: the calls the image view and the page counter make on the viewer
// component, each one dispatch ID.
#pragma once

#include <string>

#include "src/preview/ImagingControl.h"

namespace orbel {

class CImgEdit final : public CImagingControl {
  public:
    bool Create(const std::string& name, DWORD style, const RECT& rect, HWND parent, UINT id);
    bool AdviseEvents(std::shared_ptr<IDispatch> sink);

    std::string GetImage() const;
    void SetImage(const std::string& path);
    void SetScrollOrigin(long value);
    long GetPage() const;
    void SetPage(long page);
    long GetDisplayScaleAlgorithm() const;
    void SetDisplayScaleAlgorithm(long scaling);
    bool GetImageDisplayed() const;
    long GetImageResolutionX() const;
    long GetImageResolutionY() const;
    long GetPageCount() const;
    void SetSelectionRectangle(bool allowed);
    short GetPageType() const;
    void SetAutoRefresh(bool refresh);

    void Display();
    void Refresh();
    void RotateLeft();
    void RotateRight();
    void ZoomToSelection();
    void DisplayBlankImage(long width, long height, long xResolution, long yResolution,
                           short pageType);
    void FitTo(short mode, bool repaint);
    // The viewer's state as one line, for tests and the test container.
    std::string Dump();
};

}  // namespace orbel
