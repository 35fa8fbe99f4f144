// orbel-demo: the control on a desktop, over a store kept in an SQLite file. See DemoUsage().
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <iostream>
#include <memory>
#include <string>

#include "host/demo/ControlHost.h"
#include "host/demo/DemoOptions.h"
#include "host/demo/DemoPaths.h"
#include "host/demo/DemoWindow.h"
#include "host/demo/ScreenshotRun.h"
#include "host/store/StoreByName.h"
#include "platform/qt/QtPlatform.h"

namespace {

using namespace orbel;
using namespace orbel::demo;

constexpr int kExitUsage = 2;
constexpr int kExitNoDesktop = 2;
constexpr int kExitFailed = 1;

int NoDesktop(const std::string& problem) {
    std::cerr << "orbel-demo: " << problem
              << "; run it under a virtual display (xvfb-run -a orbel-demo), or try the control "
                 "without a desktop with the test container (bash scripts/first-light.sh)\n";
    return kExitNoDesktop;
}

int Run(const DemoOptions& options, int& argc, char** argv) {
    if (std::optional<std::string> problem = platform::DesktopProblem()) return NoDesktop(*problem);
    // The demo's own application object, gone before the process ends (a static one would be
    // torn down after the parts of Qt it needs).
    QApplication app(argc, argv);
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
        // command line is the user's own and starts empty.
        const bool named = !options.storePath.empty();
        std::string conninfo;
        const bool shared =
            host::KindOfStoreName(options.storePath, &conninfo) == host::StoreNameKind::Postgres;
        const std::filesystem::path store =
            named ? std::filesystem::path(options.storePath) : DefaultStorePath();
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
                    shot = std::make_unique<ScreenshotRun>(
                        platform, window, host, options.selectPath, options.screenshotPath);
                    shot->Start();
                }
            } else if (shared) {
                window.OpenSharedStore(conninfo);
            } else {
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
    return Run(*parsed.options, argc, argv);
}
