// Opening documents, folders, addresses and programs the way the original platform's shell
// does, with its result codes: above 32 is success, 32 and below say what failed.
// Not for: sending mail (the mail service) or showing anything inside the control.
#pragma once

#include <string>
#include <string_view>

#include "platform/Win.h"

namespace orbel {

// Show commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

// Shell result codes. Any value above 32 means the request was carried out.
inline constexpr int SE_ERR_FNF = 2;           // file not found
inline constexpr int SE_ERR_PNF = 3;           // path not found
inline constexpr int SE_ERR_ACCESSDENIED = 5;  // access denied
inline constexpr int SE_ERR_OOM = 8;           // out of memory
inline constexpr int ERROR_BAD_FORMAT = 11;    // not a program this system can run
inline constexpr int SE_ERR_NOASSOC = 31;      // no program for the type
inline constexpr int kShellStarted = 42;       // what a successful request returns

}  // namespace orbel

namespace orbel::platform {

struct ShellRequest {
    std::string verb;  // "open", "properties"...; empty means "open"
    std::string file;  // a document, folder, address or program
    std::string parameters;
    std::string directory;  // for a relative file and the started program; empty: current
    int show = SW_SHOWNORMAL;
    // The request came as an extended one naming its verb through the item's verb list
    // (SEE_MASK_INVOKEIDLIST), the way the "properties" verb is asked for.
    bool invokeIdList = false;
};

// The verb as the shell understands it: lower case, "open" when empty.
std::string CanonicalVerb(std::string_view verb);

// The result code for a start that failed with errno: 2, 3, 5, 8 or 11, else SE_ERR_NOASSOC.
int ShellErrorFromErrno(int error);

class Shell {
  public:
    virtual ~Shell();
    // Carries out the request; returns a result code (see above).
    virtual int Execute(const ShellRequest& request) = 0;
};

}  // namespace orbel::platform
