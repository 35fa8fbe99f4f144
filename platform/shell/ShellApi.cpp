#include "platform/shell/ShellApi.h"

#include "platform/Platform.h"

namespace orbel {

namespace {

int Execute(const platform::ShellRequest& request, std::string* reason) {
    platform::ShellResult result = platform::GetPlatform().ShellService().Execute(request);
    if (reason) *reason = std::move(result.reason);
    return result.code;
}

}  // namespace

int ShellExecute(HWND, std::string_view verb, std::string_view file, std::string_view parameters,
                 std::string_view directory, int show, std::string* reason, ShellLateFailure late) {
    platform::ShellRequest request;
    request.verb = verb;
    request.file = file;
    request.parameters = parameters;
    request.directory = directory;
    request.show = show;
    request.lateFailure = std::move(late);
    return Execute(request, reason);
}

int ShellOpenDocument(HWND, std::string_view verb, std::string_view path, int show,
                      std::string* reason, ShellLateFailure late) {
    platform::ShellRequest request;
    request.verb = verb;
    request.file = path;
    request.show = show;
    request.target = platform::ShellTarget::Document;
    request.lateFailure = std::move(late);
    return Execute(request, reason);
}

bool ShellExecuteEx(SHELLEXECUTEINFO& info) {
    platform::ShellRequest request;
    request.verb = info.lpVerb;
    request.file = info.lpFile;
    request.parameters = info.lpParameters;
    request.directory = info.lpDirectory;
    request.show = info.nShow;
    request.invokeIdList = (info.fMask & SEE_MASK_INVOKEIDLIST) == SEE_MASK_INVOKEIDLIST;
    info.hInstApp = platform::GetPlatform().ShellService().Execute(request).code;
    return info.hInstApp > 32;
}

}  // namespace orbel
