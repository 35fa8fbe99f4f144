// Identifiers the control is registered and called by.
#pragma once

#include "platform/Win.h"
#include "platform/automation/Guid.h"

namespace orbel {

inline const char* const kOrbelProgId = "ORBEL.OrbelCtrl.1";
inline const char* const kOrbelPropPageProgId = "ORBEL.OrbelPropPage.1";
inline const char* const kClsidOrbelText = "{77173955-7239-11D2-B2A4-0060084F9CC1}";
inline const char* const kClsidOrbelPropPageText = "{77173956-7239-11D2-B2A4-0060084F9CC1}";
inline const char* const kLibidOrbelText = "{77173952-7239-11D2-B2A4-0060084F9CC1}";
inline const char* const kIidDOrbelText = "{77173953-7239-11D2-B2A4-0060084F9CC1}";
inline const char* const kIidDOrbelEventsText = "{77173954-7239-11D2-B2A4-0060084F9CC1}";

Guid ClsidOrbel();
Guid ClsidOrbelPropPage();
Guid LibidOrbel();
Guid IidDOrbel();
Guid IidDOrbelEvents();

inline constexpr DWORD kOrbelMiscStatus = 0x20591;
inline constexpr unsigned short kTypeLibMajor = 1;
inline constexpr unsigned short kTypeLibMinor = 0;

// Events of _DOrbelEvents, by DISPID.
enum OrbelEventId : DISPID {
    eventidReadNextRecord = 1,
    eventidDeleteRecord = 2,
    eventidSetTablePos = 3,
    eventidYield = 4,
    eventidSelectTable = 5,
    eventidInsertRecord = 6,
    eventidUpdateRecord = 7,
    eventidFolderChange = 8,
    eventidButtonScan = 9,
    eventidSelectTiff = 10,
    eventidBusy = 11,
    eventidExit = 12,
    eventidAttachOrEmail = 13,
    eventidDeleteFolder = 14,
    eventidSendEmail = 15,
    eventidOnGetSystemScripts = 16,
    eventidOnViewFile = 17,
    eventidGetNextOLEID = 18,
    eventidGetNextResourceID = 19,
    // Fired, but not declared in the type library.
    eventidSelectAttachment = 20,
};

}  // namespace orbel
