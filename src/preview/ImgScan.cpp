#include "src/preview/ImgScan.h"

#include "platform/imaging/ImagingIds.h"

namespace orbel {

using namespace imaging::scan;

namespace {
long Long(const Variant& v) {
    auto n = v.ChangeType(VarType::I4);
    return n ? n->I4() : -1;
}
Variant I4(long v) {
    return Variant(static_cast<std::int32_t>(v));
}
}  // namespace

bool CImgScan::Create(const std::string& name, DWORD style, const RECT& rect, HWND parent,
                      UINT id) {
    return CreateControl(imaging::ParsedGuid(imaging::kClsidImgScanText), name, style, rect, parent,
                         id);
}

long CImgScan::OpenScanner() {
    return Long(InvokeHelper(kOpenScanner));
}
void CImgScan::SetFileType(long type) {
    SetProperty(kFileType, I4(type));
}
void CImgScan::SetMultiPage(bool multiPage) {
    SetProperty(kMultiPage, Variant(multiPage));
}
void CImgScan::SetPageOption(long option) {
    SetProperty(kPageOption, I4(option));
}
void CImgScan::SetShowSetupBeforeScan(long show) {
    SetProperty(kShowSetup, I4(show));
}
void CImgScan::SetImage(const std::string& path) {
    SetProperty(kImage, Variant(path));
}
void CImgScan::SetScanTo(long scanTo) {
    SetProperty(kScanTo, I4(scanTo));
}
long CImgScan::StartScan() {
    return Long(InvokeHelper(kStartScan));
}
void CImgScan::CloseScanner() {
    InvokeHelper(kCloseScanner);
}

ScannerState ProbeScanner(HWND parent) {
    CImgScan probe;
    if (!probe.Create("Scan", WS_CHILD, RECT{0, 0, 1, 1}, parent, 0))
        return ScannerState::NoComponent;
    const bool opened = probe.OpenScanner() == 0;
    probe.CloseScanner();
    probe.DestroyWindow();
    return opened ? ScannerState::Ready : ScannerState::NoScanner;
}

}  // namespace orbel
