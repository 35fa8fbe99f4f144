// The shell calls of the control code, in the platform's vocabulary; each forwards to the
// installed platform's shell.
#pragma once

#include <functional>
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

using ShellLateFailure = std::function<void(const platform::ShellResult&)>;

// A command the system composed: file may name a program, started with the parameters. Above
// 32 on success, else the failure code (Shell.h); reason, when given, receives what the shell
// knows beyond the code, in plain words, or nothing. late is called from the message loop
// when a request that counted as started fails after all.
int ShellExecute(HWND parent, std::string_view verb, std::string_view file,
                 std::string_view parameters, std::string_view directory, int show,
                 std::string* reason = nullptr, ShellLateFailure late = {});
// A document, folder or address that came as data (a stored path): opened with the program of
// its type and never started itself, whatever its name, bits or contents. Results as above.
int ShellOpenDocument(HWND parent, std::string_view verb, std::string_view path, int show,
                      std::string* reason = nullptr, ShellLateFailure late = {});
// Fills info.hInstApp; true when it is above 32.
bool ShellExecuteEx(SHELLEXECUTEINFO& info);

}  // namespace orbel
