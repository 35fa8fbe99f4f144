#include "host/container/ContainerPlatform.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessUserDriver.h"
#ifdef ORBEL_WITH_QT
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtUserDriver.h"
#endif

namespace orbel::host {

ContainerPlatform InstallContainerPlatform(bool gui, std::string* problem) {
    ContainerPlatform result;
    if (!gui) {
        platform::HeadlessPlatform& p = platform::InstallHeadlessPlatform();
        result.platform = &p;
        result.user = &p.User();
        result.driver = std::make_unique<platform::HeadlessUserDriver>(p);
        result.recordingShell = &p.ShellService();
        return result;
    }
#ifdef ORBEL_WITH_QT
    if (!platform::StartQtApplication()) {
        *problem = platform::DesktopProblem().value_or("no desktop");
        return result;
    }
    platform::QtPlatform& p = platform::InstallQtPlatform(platform::QtUserMode::Scripted);
    result.platform = &p;
    result.user = p.Scripted();
    result.driver = std::make_unique<platform::QtUserDriver>(p);
#else
    *problem = "this build has no desktop backend (configured with ORBEL_QT=OFF)";
#endif
    return result;
}

}  // namespace orbel::host
