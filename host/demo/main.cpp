// orbel-demo: the control on a desktop, over a store kept in an SQLite file. See DemoUsage().
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSettings>
#include <QWindow>
#include <iostream>
#include <memory>
#include <string>

#include "host/adapter/ProgramPaths.h"
#include "host/demo/ControlHost.h"
#include "host/demo/DemoOptions.h"
#include "host/demo/DemoPaths.h"
#include "host/demo/DemoWindow.h"
#include "host/demo/ScreenshotRun.h"
#include "host/store/StoreByName.h"
#include "host/wrapper/OrbelVersion.h"
#include "platform/qt/QtPlatform.h"

namespace {

using namespace orbel;
using namespace orbel::demo;

constexpr int kExitUsage = 2;
constexpr int kExitNoDesktop = 2;
constexpr int kExitFailed = 1;

int NoDesktop(const std::string& problem) {
    // An installed demo has the container beside it; a build tree has the first-light script.
    const std::filesystem::path container = host::ProgramDir() / "orbel-container";
    const std::string without =
        std::filesystem::exists(container)
            ? container.string() + " (see " + container.string() + " --help)"
            : "the test container (bash scripts/first-light.sh)";
    std::cerr << "orbel-demo: " << problem
              << "; run it under a virtual display (xvfb-run -a orbel-demo), or try the control "
                 "without a desktop with "
              << without << "\n";
    return kExitNoDesktop;
}

// Lets the window system show and paint the window (at most two seconds: a display that never
// exposes it must not stop the program).
void WaitUntilShown(QWidget& window) {
    QElapsedTimer waited;
    waited.start();
    while (window.windowHandle() && !window.windowHandle()->isExposed() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    window.repaint();
    QCoreApplication::processEvents();
}

// The store the user had open last, when it is still there.
std::filesystem::path LastStorePath() {
    const std::filesystem::path last = QSettings().value("stores/last").toString().toStdString();
    std::error_code ec;
    return !last.empty() && std::filesystem::is_regular_file(last, ec) ? last
                                                                       : std::filesystem::path();
}

int Run(const DemoOptions& options, int& argc, char** argv) {
    if (std::optional<std::string> problem = platform::DesktopProblem()) return NoDesktop(*problem);
    // The demo's own application object, gone before the process ends (a static one would be
    // torn down after the parts of Qt it needs). Insert Object's web browser shares its GL
    // context, which is asked for before the application starts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QGuiApplication::setOrganizationName("orbel");
    QGuiApplication::setApplicationName("orbel-demo");
    QGuiApplication::setApplicationDisplayName("Orbel demo");
    QGuiApplication::setDesktopFileName("orbel-demo");

    platform::QtPlatform& platform = platform::InstallQtPlatform(platform::QtUserMode::Person);
    int status = 0;
    {
        ControlHost host(platform);
        DemoWindow window(platform, host, SampleDocumentsIn(SamplesDir()));
        window.resize(1100, 760);
        window.show();
        std::string error;
        if (!window.CreateControl(error)) {
            std::cerr << "orbel-demo: " << error << "\n";
            if (options.screenshotPath.empty())
                QMessageBox::critical(&window, "Orbel demo", QString::fromStdString(error));
            status = kExitFailed;
        }
        // The demo store is made with the samples on the first run; a store named on the
        // command line is the user's own and starts empty. A person gets the store of the last
        // session back; an unattended screenshot run always starts from the demo store.
        std::string conninfo;
        const bool shared =
            host::KindOfStoreName(options.storePath, &conninfo) == host::StoreNameKind::Postgres;
        std::filesystem::path store = options.storePath;
        if (store.empty() && options.screenshotPath.empty()) store = LastStorePath();
        const bool named = !store.empty();
        if (!named) store = DefaultStorePath();
        std::unique_ptr<ScreenshotRun> shot;
        if (status == 0) {
            if (!options.screenshotPath.empty()) {
                if (!(shared ? window.OpenSharedStore(conninfo, &error)
                             : window.OpenStore(store, !named, &error))) {
                    std::cerr << "orbel-demo: cannot open "
                              << (shared ? "the shared store" : store.string()) << ": " << error
                              << "\n";
                    status = kExitFailed;
                } else {
                    shot =
                        std::make_unique<ScreenshotRun>(platform, window, host, options.selectPath,
                                                        options.scriptName, options.screenshotPath);
                    shot->ShowItem(options.itemName, options.pageText);
                    if (options.routing) shot->RouteSheet(window.Routing());
                    shot->Start();
                }
            } else if (shared) {
                WaitUntilShown(window);
                window.OpenSharedStore(conninfo);
            } else {
                // Opened once the window is on the screen and painted: a large store then loads
                // with its progress in the status bar, not behind a blank screen.
                WaitUntilShown(window);
                window.OpenStore(store, !named);
            }
        }
        if (status == 0) {
            MSG msg;
            while (platform.Loop().GetMessage(msg)) platform.DispatchMessage(msg);
            if (shot) status = shot->ExitCode();
        }
    }
    platform::UninstallPlatform();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const orbel::demo::ParsedOptions parsed = orbel::demo::ParseDemoOptions(
        std::span<const char* const>(const_cast<const char* const*>(argv) + 1,
                                     static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)));
    if (!parsed.options) {
        std::cerr << "orbel-demo: " << parsed.error << "\n" << orbel::demo::DemoUsage();
        return kExitUsage;
    }
    if (parsed.options->help) {
        std::cout << orbel::demo::DemoUsage();
        return 0;
    }
    if (parsed.options->version) {
        std::cout << "orbel-demo " << orbel::kOrbelVersion << "\n";
        return 0;
    }
    return Run(*parsed.options, argc, argv);
}
