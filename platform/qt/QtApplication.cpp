// The process's QApplication for hosts that do not make their own (tests, the container).
#include <QApplication>
#include <cstdlib>
#include <string>

#include "platform/qt/QtPlatform.h"

namespace orbel::platform {

std::optional<std::string> DesktopProblem() {
    if (qApp) return std::nullopt;
    const char* qpa = std::getenv("QT_QPA_PLATFORM");
    const std::string platform = qpa ? qpa : "";
    // The offscreen and minimal platforms need no display.
    if (platform.rfind("offscreen", 0) == 0 || platform.rfind("minimal", 0) == 0)
        return std::nullopt;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool hasX11 = x11 && *x11;
    const bool hasWayland = wayland && *wayland;
    if (platform.rfind("xcb", 0) == 0 && !hasX11) return "no X display (DISPLAY is not set)";
    if (platform.rfind("wayland", 0) == 0 && !hasWayland)
        return "no Wayland display (WAYLAND_DISPLAY is not set)";
    if (platform.empty() && !hasX11 && !hasWayland)
        return "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    return std::nullopt;
}

bool StartQtApplication() {
    if (qApp) return true;
    if (DesktopProblem()) return false;
    static int argc = 1;
    static char name[] = "orbel";
    static char* argv[] = {name, nullptr};
    // The web browser component, loaded later as a module, draws its pages with a GL context
    // shared with the application's, which can only be asked for before the application starts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Lives as long as the process and is never destroyed: Qt allows one application object
    // per process, and destroying it at exit runs after parts of Qt it needs are gone.
    static QApplication* app = new QApplication(argc, argv);
    return app != nullptr;
}

}  // namespace orbel::platform
