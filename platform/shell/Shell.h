// Opening documents, folders, addresses and programs the way the original platform's shell
// does, with its result codes: above 32 is success, 32 and below say what failed.
// Not for: sending mail (the mail service) or showing anything inside the control.
#pragma once

#include <functional>
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

// What the file of a request is. Only a command line that the system put together itself may
// name a program to start; a path that came from stored data is opened with the program of
// its type, however it is named, whatever its permission bits or first bytes, and never split.
enum class ShellTarget {
    Command,   // file and parameters come from a command the system composed
    Document,  // file is one document, folder or address taken as data; no parameters
};

struct ShellResult {
    int code = 0;  // see the codes above
    // Why a request failed, in plain words, when the shell knows more than its code says:
    // "No program is set up to open this kind of file. (xdg-open: no method available ...)".
    std::string reason;
};

struct ShellRequest {
    std::string verb;  // "open", "properties"...; empty means "open"
    std::string file;  // a document, folder, address or program
    std::string parameters;
    std::string directory;  // for a relative file and the started program; empty: current
    int show = SW_SHOWNORMAL;
    // The request came as an extended one naming its verb through the item's verb list
    // (SEE_MASK_INVOKEIDLIST), the way the "properties" verb is asked for.
    bool invokeIdList = false;
    ShellTarget target = ShellTarget::Command;
    // Called from the message loop when the request counted as started but failed after all
    // (an opener that ran past its grace); empty: nobody is told.
    std::function<void(const ShellResult&)> lateFailure;
};

// The verb as the shell understands it: lower case, "open" when empty.
std::string CanonicalVerb(std::string_view verb);

// The result code for a start that failed with errno: 2, 3, 5, 8 or 11, else SE_ERR_NOASSOC.
int ShellErrorFromErrno(int error);

class Shell {
  public:
    virtual ~Shell();
    // Carries out the request, or says why it could not. By default there is no program for
    // anything, as on a machine with nothing to start: a backend or test double that starts
    // nothing need not say so.
    virtual ShellResult Execute(const ShellRequest& request);
};

}  // namespace orbel::platform
