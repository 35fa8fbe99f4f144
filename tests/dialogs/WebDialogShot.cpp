// web-dialog-shot PNG: opens the web browser dialog on the desktop at a page of its own, waits
// until the page has loaded, saves what the screen shows as PNG and cancels the dialog. Run
// under a virtual display to look at it.
#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/browser/BrowserIds.h"
#include "platform/qt/QtPlatform.h"
#include "src/dialogs/WebDialog.h"

namespace {

constexpr int kLongestWaitMs = 20000;
constexpr int kLookEveryMs = 100;

QWidget* BrowserWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->findChild<QAbstractButton*>() &&
            w->windowTitle() == "Quarterly figures")
            return w;
    return nullptr;
}

bool BrowserBusy() {
    auto browser = orbel::GetActiveObject(orbel::browser::kProgId);
    orbel::Variant busy;
    return !browser ||
           browser->Invoke(orbel::browser::members::kBusy, orbel::InvokeKind::PropertyGet, {},
                           &busy) != orbel::S_OK ||
           busy.Bool();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: web-dialog-shot PNG\n";
        return 2;
    }
    const std::string png = argv[1];
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("orbel-web-shot-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    setenv("ORBEL_REGISTRY", (home / "registry.reg").c_str(), 1);
    setenv("ORBEL_INI_DIR", (home / "ini").c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    std::ofstream(home / "figures.html")
        << "<html><head><title>Quarterly figures</title></head><body "
           "style='font-family:sans-serif'>"
           "<h1>Quarterly figures</h1><p>Orders rose by a tenth over the quarter.</p>"
           "<table border=1><tr><th>Month</th><th>Orders</th></tr><tr><td>July</td><td>120</td>"
           "</tr><tr><td>August</td><td>131</td></tr><tr><td>September</td><td>142</td></tr>"
           "</table></body></html>";
    if (!orbel::platform::StartQtApplication()) {
        std::cerr << "web-dialog-shot: no desktop\n";
        return 77;
    }
    orbel::platform::InstallQtPlatform(orbel::platform::QtUserMode::Person);
    std::string error;
    if (orbel::RegisterModule(ORBEL_BROWSER_MODULE_PATH, &error) != orbel::S_OK) {
        std::cerr << "web-dialog-shot: " << error << "\n";
        return 1;
    }

    int code = 1;
    int waited = 0;
    std::function<void()> look = [&] {
        QWidget* dialog = BrowserWindow();
        waited += kLookEveryMs;
        if ((!dialog || BrowserBusy()) && waited < kLongestWaitMs) {
            QTimer::singleShot(kLookEveryMs, look);
            return;
        }
        if (!dialog) {
            std::cerr << "web-dialog-shot: the page did not load\n";
            QApplication::exit(1);
            return;
        }
        // The page paints a moment after it has loaded.
        QTimer::singleShot(1000, [&, dialog] {
            QScreen* screen = QGuiApplication::primaryScreen();
            const QPixmap shot = screen->grabWindow(0).copy(dialog->frameGeometry());
            code = shot.save(QString::fromStdString(png)) ? 0 : 1;
            for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
                if (b->text() == "Cancel") b->click();
        });
    };
    QTimer::singleShot(kLookEveryMs, look);
    orbel::CWebDialog web;
    web.m_strAddress = "file://" + (home / "figures.html").string();
    web.DoModal();
    orbel::platform::UninstallPlatform();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return code;
}
