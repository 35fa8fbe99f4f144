// The calls the control code makes of its platform, in the platform's own vocabulary. Each
// forwards to the installed platform.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "platform/Win.h"

namespace orbel {

// Message box styles and answers.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONASTERISK = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The one place where style bits become buttons and an icon, and answers become IDs.
platform::MessageBoxRequest MessageBoxRequestFromStyle(std::string text, std::string caption,
                                                       UINT type);
int MessageAnswerToId(platform::MessageAnswer answer);

// The application's message box: its caption is the application's name.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
void MessageBeep();

// The mouse.
POINT GetCursorPos();
bool ReleaseCapture();
HWND WindowFromPoint(POINT screen);

bool GetMessage(MSG& msg);
// Nothing to translate here: keys arrive as key messages only.
inline void TranslateMessage(const MSG&) {}
LRESULT DispatchMessage(const MSG& msg);
void PostQuitMessage(int exitCode);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT ms);
bool KillTimer(HWND window, UINT_PTR id);

}  // namespace orbel
