#include "platform/shell/Shell.h"

#include <cerrno>

namespace orbel::platform {

Shell::~Shell() = default;

ShellResult Shell::Execute(const ShellRequest&) {
    return {SE_ERR_NOASSOC, {}};
}

std::string CanonicalVerb(std::string_view verb) {
    std::string out(verb);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out.empty() ? "open" : out;
}

int ShellErrorFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ELOOP:
            return SE_ERR_FNF;
        case ENOTDIR:
        case ENAMETOOLONG:
            return SE_ERR_PNF;
        case EACCES:
        case EPERM:
        case ETXTBSY:
        case EROFS:
            return SE_ERR_ACCESSDENIED;
        case ENOMEM:
        case EAGAIN:
        case E2BIG:
            return SE_ERR_OOM;
        case ENOEXEC:
        case ELIBBAD:
        case EISDIR:
        case EINVAL:
            return ERROR_BAD_FORMAT;
        default:
            return SE_ERR_NOASSOC;
    }
}

}  // namespace orbel::platform
