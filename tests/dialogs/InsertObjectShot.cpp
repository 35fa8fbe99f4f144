// insert-object-shot PNG: opens the Insert Object dialog on the desktop with the document types
// the module registers on a fresh machine, goes to "Create &New" as a click on the tab does, saves
// what the screen shows as PNG and cancels the dialog. Run under a virtual display to look at it.
#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "platform/qt/QtPlatform.h"
#include "platform/registry/RegistryHive.h"
#include "src/dialogs/InsertObjectDlg.h"
#include "src/module/DocumentTemplates.h"

namespace {

QWidget* InsertObjectWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "Insert Object") return w;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: insert-object-shot PNG\n";
        return 2;
    }
    const std::string png = argv[1];
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("orbel-shot-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    setenv("ORBEL_REGISTRY", (home / "registry.reg").c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    {
        std::string error;
        if (!orbel::platform::RegistryHive::Update(
                orbel::platform::RegistryHive::DefaultPath(),
                [&](orbel::platform::RegistryHive& hive) {
                    return orbel::RegisterDocumentTemplates(hive, (home / "templates").string());
                },
                &error)) {
            std::cerr << "insert-object-shot: " << error << "\n";
            return 1;
        }
    }
    if (!orbel::platform::StartQtApplication()) {
        std::cerr << "insert-object-shot: no desktop\n";
        return 77;
    }
    orbel::platform::InstallQtPlatform(orbel::platform::QtUserMode::Person);

    int code = 1;
    QTimer::singleShot(500, [&] {
        QWidget* dialog = InsertObjectWindow();
        QTabBar* tabs = dialog ? dialog->findChild<QTabBar*>() : nullptr;
        if (!tabs) {
            std::cerr << "insert-object-shot: the dialog did not open\n";
            QApplication::exit(1);
            return;
        }
        tabs->setCurrentIndex(1);
        QTimer::singleShot(500, [&, dialog] {
            QScreen* screen = QGuiApplication::primaryScreen();
            const QPixmap shot = screen->grabWindow(0).copy(dialog->frameGeometry());
            code = shot.save(QString::fromStdString(png)) ? 0 : 1;
            for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
                if (b->text() == "&Cancel") b->click();
        });
    });
    orbel::CInsertObjectDlg insert;
    insert.m_autoCreateAllowed = true;
    insert.SetAutoOpen(true);
    insert.DoModal();
    orbel::platform::UninstallPlatform();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return code;
}
