// A desktop host: a Qt main window whose central widget holds the control, answered from an
// SQLite store. With --quit-after-open it opens the store, prints the folder shown and ends,
// which is how its test runs it offscreen.
//
//   orbel-example-qt MODULE STORE [--quit-after-open]
#include <QApplication>
#include <QMainWindow>
#include <iostream>
#include <memory>
#include <string>

#include "host/adapter/EmbeddedControl.h"
#include "host/adapter/HostAdapter.h"
#include "host/store/SqliteTableStore.h"
#include "platform/qt/QtPlatform.h"

namespace {

using namespace orbel;

// Hands every event of the control to the adapter once there is one.
class Forward final : public IDispatch {
  public:
    std::shared_ptr<host::HostAdapter> adapter;
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        return adapter ? adapter->Invoke(id, kind, args, result) : S_OK;
    }
};

// The central widget's window procedure: the control follows the widget's size.
class FollowSize final : public platform::WindowProcedure {
  public:
    explicit FollowSize(host::EmbeddedControl& control) : control_(control) {}
    LRESULT WindowProc(HWND, UINT message, WPARAM, LPARAM lParam) override {
        if (message == WM_SIZE) control_.Resize(RECT{0, 0, LOWORD(lParam), HIWORD(lParam)});
        return 0;
    }

  private:
    host::EmbeddedControl& control_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: orbel-example-qt MODULE STORE [--quit-after-open]\n";
        return 2;
    }
    const bool quitAfterOpen = argc == 4 && std::string(argv[3]) == "--quit-after-open";
    QApplication app(argc, argv);
    platform::QtPlatform& platform = platform::InstallQtPlatform();
    auto opened = host::SqliteTableStore::Open(argv[2]);
    if (!opened) {
        std::cerr << "example: " << opened.error << "\n";
        return 1;
    }
    int status = 0;
    {
        QMainWindow window;
        window.setWindowTitle("Orbel example");
        window.setCentralWidget(new QWidget(&window));
        window.resize(900, 600);
        window.show();

        host::EmbeddedControl control;
        FollowSize follow(control);
        // The platform takes the widget as a window of its own to put the control in.
        const HWND form =
            platform.Windows().Adopt(window.centralWidget(), "ExampleForm", kNoWindow, 0, &follow);
        auto sink = std::make_shared<Forward>();
        std::string error;
        const QSize size = window.centralWidget()->size();
        if (!form || !control.Create(form, RECT{0, 0, size.width(), size.height()}, sink, {argv[1]},
                                     error)) {
            std::cerr << "example: " << (form ? error : "no window for the control") << "\n";
            return 1;
        }
        sink->adapter =
            std::make_shared<host::HostAdapter>(control.Dispatch(), *opened.store, platform.Loop());
        sink->adapter->TakeIdsFromStore();
        sink->adapter->OnUserEvent([&](const host::UserEvent& e) {
            if (e.name == "FolderChange") std::cout << "folder: " << e.ToString() << std::endl;
            // Escape in the control asks its host to close.
            if (e.name == "Exit") window.close();
        });
        const std::int32_t id = control.Control().Initiate(2, 1);
        if (id != 2) {
            std::cerr << "example: Initiate returned " << id << "\n";
            status = 1;
        }
        // The platform's loop runs the program: closing the window ends it.
        QObject::connect(&app, &QApplication::lastWindowClosed,
                         [&platform] { platform.Loop().PostQuitMessage(0); });
        if (quitAfterOpen || status) platform.Loop().PostQuitMessage(status);
        MSG msg;
        while (platform.Loop().GetMessage(msg)) platform.DispatchMessage(msg);

        control.Destroy();
        sink->adapter.reset();
        platform.Windows().DestroyWindow(form);
    }
    platform::UninstallPlatform();
    return status;
}
