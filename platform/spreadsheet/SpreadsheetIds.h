// What the spreadsheet application component is registered under and the members its callers
// reach it by: the dispatch IDs of the spreadsheet program's published type library, and the
// application events interface whose connection point it offers.
#pragma once

#include "platform/Win.h"

namespace orbel::spreadsheet {

inline constexpr const char* kProgId = "Excel.Application";
inline constexpr const char* kClsidText = "{7E3A1C52-6B0D-4F8E-A1D3-2C5B9E0F4A17}";
// The same application on LibreOffice Calc, from a module of its own.
inline constexpr const char* kCalcClsidText = "{7E3A1C52-6B0D-4F8E-A1D3-2C5B9E0F4A18}";
inline constexpr const char* kAppEventsIidText = "{00024413-0000-0000-C000-000000000046}";

namespace app {
inline constexpr DISPID kWorkbooks = 0x23C;
inline constexpr DISPID kVisible = 0x22E;
inline constexpr DISPID kQuit = 0x12E;
inline constexpr DISPID kSelection = 0x93;
// Our own members, for whoever plays the person at the spreadsheet (a test, the container):
// the state as one line of text, and a selection made as the user makes it.
inline constexpr DISPID kDump = 1000;
inline constexpr DISPID kUserSelect = 1001;
}  // namespace app
namespace workbooks {
inline constexpr DISPID kOpen = 0x2AA;
// The file name and twelve optional arguments.
inline constexpr int kOpenArgCount = 13;
}  // namespace workbooks
namespace range {
inline constexpr DISPID kWorksheet = 0x15C;
inline constexpr DISPID kColumn = 0xF0;
inline constexpr DISPID kRow = 0x101;
}  // namespace range
namespace worksheet {
inline constexpr DISPID kName = 0x6E;
}  // namespace worksheet

// The application events the program raises; the selection change carries the sheet and the
// selected range.
namespace events {
inline constexpr DISPID kSheetSelectionChange = 1558;
}  // namespace events

// The error code the program raises with a description when a workbook cannot be opened or a
// selection is asked for with none open.
inline constexpr HRESULT kAppError = static_cast<HRESULT>(0x800A03EC);

}  // namespace orbel::spreadsheet
