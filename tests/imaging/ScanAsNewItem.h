// A scan driven the way a new item's scan drives the scanner component: opened, asked for one
// TIFF file of every sheet with its scan dialog first, then closed.
#pragma once

#include <string>

#include "src/preview/ImgScan.h"

namespace orbel::test {

// The scan's result; -1 when the component cannot be made under `parent`.
inline long ScanAsNewItem(HWND parent, const std::string& target) {
    CImgScan scanner;
    if (!scanner.Create("Scan", WS_CHILD, RECT{0, 0, 400, 300}, parent, 0)) return -1;
    scanner.OpenScanner();
    scanner.SetFileType(1);
    scanner.SetMultiPage(true);
    scanner.SetPageOption(1);
    scanner.SetShowSetupBeforeScan(1);
    scanner.SetImage(target);
    scanner.SetScanTo(0);
    const long result = scanner.StartScan();
    scanner.CloseScanner();
    scanner.DestroyWindow();
    return result;
}

}  // namespace orbel::test
