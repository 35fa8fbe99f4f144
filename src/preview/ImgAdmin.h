// The print administrator wrapper: the calls the image view makes to print the file it shows,
// each one dispatch ID.
#pragma once

#include <string>

#include "src/preview/ImagingControl.h"

namespace orbel {

class CImgAdmin final : public CImagingControl {
  public:
    bool Create(const std::string& name, DWORD style, const RECT& rect, HWND parent, UINT id);

    std::string GetImage() const;
    void SetImage(const std::string& path);
    // The owner window's handle goes as a long.
    void ShowPrintDialog(long owner);
    void PrintImage(long firstPage, long lastPage);
    // Every page of the file: all seven arguments missing.
    void PrintImage();
};

}  // namespace orbel
