#include "platform/shell/ShellApi.h"

#include "platform/Platform.h"

namespace orbel {

int ShellExecute(HWND, std::string_view verb, std::string_view file, std::string_view parameters,
                 std::string_view directory, int show) {
    platform::ShellRequest request;
    request.verb = verb;
    request.file = file;
    request.parameters = parameters;
    request.directory = directory;
    request.show = show;
    return platform::GetPlatform().ShellService().Execute(request);
}

bool ShellExecuteEx(SHELLEXECUTEINFO& info) {
    platform::ShellRequest request;
    request.verb = info.lpVerb;
    request.file = info.lpFile;
    request.parameters = info.lpParameters;
    request.directory = info.lpDirectory;
    request.show = info.nShow;
    request.invokeIdList = (info.fMask & SEE_MASK_INVOKEIDLIST) == SEE_MASK_INVOKEIDLIST;
    info.hInstApp = platform::GetPlatform().ShellService().Execute(request);
    return info.hInstApp > 32;
}

}  // namespace orbel
