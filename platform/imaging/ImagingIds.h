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

inline constexpr const char* kImgEditProgId = "OrbelImaging.Viewer.1";

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

}  // namespace orbel::imaging
