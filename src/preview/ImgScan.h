// The scanner wrapper: the calls a scan makes on the scan component, each one dispatch ID.
#pragma once

#include <string>

#include "src/preview/ImagingControl.h"

namespace orbel {

class CImgScan final : public CImagingControl {
  public:
    bool Create(const std::string& name, DWORD style, const RECT& rect, HWND parent, UINT id);

    long OpenScanner();
    void SetFileType(long type);
    void SetMultiPage(bool multiPage);
    void SetPageOption(long option);
    void SetShowSetupBeforeScan(long show);
    void SetImage(const std::string& path);
    void SetScanTo(long scanTo);
    long StartScan();
    void CloseScanner();
};

// Whether a scan can begin here: the scan component can be made under `parent`, and it opens a
// scanner. Opening is slow where network scanners answer, so the caller keeps that answer.
enum class ScannerState { NoComponent, NoScanner, Ready };
ScannerState ProbeScanner(HWND parent);
inline bool ScannerAvailable(HWND parent) {
    return ProbeScanner(parent) == ScannerState::Ready;
}

}  // namespace orbel
