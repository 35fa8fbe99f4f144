// The class IDs the imaging components are registered under, and the members of the viewer
// that both its callers and the component itself name.
#pragma once

#include "platform/Win.h"
#include "platform/automation/Guid.h"

namespace orbel::imaging {

inline constexpr const char* kClsidImgEditText = "{6D940280-9F11-11CE-83FD-02608C3EC08A}";
inline constexpr const char* kClsidImgAdminText = "{009541A0-3B81-101C-92F3-040224009C02}";
inline constexpr const char* kClsidImgScanText = "{84926CA0-2941-101C-816F-0E6013114B7F}";
// The viewer's own interfaces, which only this module's objects carry.
inline constexpr const char* kIidViewerText = "{5B0C2E61-8F4A-4C7E-9D21-3A7E1B6C0A01}";
inline constexpr const char* kIidViewerEventsText = "{5B0C2E62-8F4A-4C7E-9D21-3A7E1B6C0A01}";

inline constexpr const char* kIidAdminText = "{5B0C2E63-8F4A-4C7E-9D21-3A7E1B6C0A01}";
inline constexpr const char* kIidAdminEventsText = "{5B0C2E64-8F4A-4C7E-9D21-3A7E1B6C0A01}";

inline constexpr const char* kImgEditProgId = "OrbelImaging.Viewer.1";
inline constexpr const char* kImgAdminProgId = "OrbelImaging.Admin.1";
inline constexpr const char* kIidScanText = "{5B0C2E65-8F4A-4C7E-9D21-3A7E1B6C0A01}";
inline constexpr const char* kIidScanEventsText = "{5B0C2E66-8F4A-4C7E-9D21-3A7E1B6C0A01}";
inline constexpr const char* kImgScanProgId = "OrbelImaging.Scan.1";

inline Guid ParsedGuid(const char* text) {
    return *Guid::Parse(text);
}

// The viewer's members, by dispatch ID.
namespace viewer {
inline constexpr DISPID kImage = 1;
inline constexpr DISPID kScrollOrigin = 3;
inline constexpr DISPID kPage = 6;
inline constexpr DISPID kDisplayScaling = 17;
inline constexpr DISPID kImageDisplayed = 18;
inline constexpr DISPID kXResolution = 22;
inline constexpr DISPID kYResolution = 23;
inline constexpr DISPID kPageCount = 25;
inline constexpr DISPID kSelectionAllowed = 33;
inline constexpr DISPID kPageType = 34;
inline constexpr DISPID kAutoRefresh = 38;
inline constexpr DISPID kDisplay = 301;
inline constexpr DISPID kRefresh = 319;
inline constexpr DISPID kRotateLeft = 320;
inline constexpr DISPID kRotateRight = 321;
inline constexpr DISPID kZoomToSelection = 330;
inline constexpr DISPID kDisplayBlank = 349;
inline constexpr DISPID kPrint = 351;
inline constexpr DISPID kFit = 352;
// The state as one line of text, for tests and the test container.
inline constexpr DISPID kDump = 1000;
inline constexpr DISPID kSelectionRectEvent = 4;
inline constexpr DISPID kMouseUpEvent = -607;
// Display scaling values.
inline constexpr long kScalingPlain = 0;
inline constexpr long kScalingGrey = 2;
}  // namespace viewer

// The print administrator's members.
namespace admin {
inline constexpr DISPID kImage = 4;
inline constexpr DISPID kShowPrintDialog = 104;
inline constexpr DISPID kPrint = 351;
inline constexpr DISPID kDump = 1000;
}  // namespace admin

// The scanner's members, in the order its caller sets them.
namespace scan {
inline constexpr DISPID kImage = 1;          // the TIFF file a scan writes
inline constexpr DISPID kScanTo = 4;         // 0: into the file only
inline constexpr DISPID kFileType = 9;       // 1: TIFF
inline constexpr DISPID kMultiPage = 13;     // every sheet of a run into one file
inline constexpr DISPID kPageOption = 14;    // 1 a new file, 2 the file as it is
inline constexpr DISPID kShowSetup = 16;     // the scan dialog before scanning
inline constexpr DISPID kOpenScanner = 100;  // 0 when a device opened
inline constexpr DISPID kStartScan = 102;    // 0 when at least one page was written
inline constexpr DISPID kCloseScanner = 103;
inline constexpr DISPID kDump = 1000;
// The scan dialog's template and controls.
inline constexpr UINT kSetupDialog = 4100;
inline constexpr UINT kDeviceBox = 4101;
inline constexpr UINT kSourceBox = 4102;
inline constexpr UINT kModeBox = 4103;
inline constexpr UINT kResolutionBox = 4104;
// The progress window shown while a scan runs, and its text.
inline constexpr UINT kProgressDialog = 4110;
inline constexpr UINT kProgressText = 4111;
}  // namespace scan

}  // namespace orbel::imaging
