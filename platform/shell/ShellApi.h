// The shell calls of the control code, in the platform's vocabulary; each forwards to the
// installed platform's shell.
#pragma once

#include <string>
#include <string_view>

#include "platform/Win.h"
#include "platform/shell/Shell.h"

namespace orbel {

inline constexpr DWORD SEE_MASK_INVOKEIDLIST = 0x0000000C;

// The extended request. Its size field is what the caller sets (60 in the original layout);
// the result lands in hInstApp.
struct SHELLEXECUTEINFO {
    DWORD cbSize = 0;
    DWORD fMask = 0;
    HWND hwnd;
    std::string lpVerb;
    std::string lpFile;
    std::string lpParameters;
    std::string lpDirectory;
    int nShow = SW_HIDE;
    int hInstApp = 0;
};

// Above 32 on success, else the failure code (Shell.h).
int ShellExecute(HWND parent, std::string_view verb, std::string_view file,
                 std::string_view parameters, std::string_view directory, int show);
// Fills info.hInstApp; true when it is above 32.
bool ShellExecuteEx(SHELLEXECUTEINFO& info);

}  // namespace orbel
