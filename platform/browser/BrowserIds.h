// What the web browser component is registered under and the members its callers reach it by:
// the dispatch IDs of the browser control's published automation interface and of its events.
#pragma once

#include "platform/Win.h"

namespace orbel::browser {

inline constexpr const char* kClsidText = "{8856F961-340A-11D0-A96B-00C04FD705A2}";
inline constexpr const char* kProgId = "Orbel.WebBrowser.1";
inline constexpr const char* kIidText = "{5C1B7D1E-2F0A-4C6B-9E57-0B8D3A61F2C4}";
inline constexpr const char* kEventsIidText = "{5C1B7D1F-2F0A-4C6B-9E57-0B8D3A61F2C4}";

namespace members {
inline constexpr DISPID kGoBack = 100;
inline constexpr DISPID kGoForward = 101;
inline constexpr DISPID kGoHome = 102;
inline constexpr DISPID kGoSearch = 103;
inline constexpr DISPID kNavigate = 104;
inline constexpr DISPID kStop = 106;
inline constexpr DISPID kRefresh = -550;
inline constexpr DISPID kLocationName = 210;
inline constexpr DISPID kLocationURL = 211;
inline constexpr DISPID kExecWB = 502;
// Whether a page is still loading: read by whoever waits for the browser (a test, the test
// container), not by the dialog.
inline constexpr DISPID kBusy = 212;
// Our own: the state as one line, for tests and the test container.
inline constexpr DISPID kDump = 1000;
}  // namespace members

// ExecWB's print command, and its option that leaves the prompting to the browser.
inline constexpr std::int32_t kCmdPrint = 6;
inline constexpr std::int32_t kPromptDefault = 0;

namespace events {
inline constexpr DISPID kStatusTextChange = 102;
inline constexpr DISPID kDownloadComplete = 104;
inline constexpr DISPID kCommandStateChange = 105;
inline constexpr DISPID kDownloadBegin = 106;
inline constexpr DISPID kProgressChange = 108;
inline constexpr DISPID kTitleChange = 113;
inline constexpr DISPID kNavigateComplete2 = 252;
inline constexpr DISPID kDocumentComplete = 259;
}  // namespace events

// CommandStateChange's commands: whether the browser can go forward, and back.
inline constexpr std::int32_t kCommandForward = 1;
inline constexpr std::int32_t kCommandBack = 2;

}  // namespace orbel::browser
