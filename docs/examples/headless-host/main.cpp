// A host without a window system: opens a table store (an SQLite file, or a new store in memory),
// embeds the control on the headless platform, opens the store's trees and prints the folder
// the control shows and the rows of its list. Exits 0 when the control opened the store.
//
//   orbel-example-headless MODULE [STORE [OLE_ID CLASS_OLE_ID]]
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "host/adapter/EmbeddedControl.h"
#include "host/adapter/HostAdapter.h"
#include "host/store/SqliteTableStore.h"
#include "platform/framework/Wnd.h"
#include "platform/headless/HeadlessPlatform.h"

int main(int argc, char** argv) {
    using namespace orbel;
    if (argc != 2 && argc != 3 && argc != 5) {
        std::cerr << "usage: orbel-example-headless MODULE [STORE [OLE_ID CLASS_OLE_ID]]\n";
        return 2;
    }
    const std::string storePath = argc >= 3 ? argv[2] : ":memory:";
    const std::int32_t oleId = argc == 5 ? std::atoi(argv[3]) : 2;
    const std::int32_t classOleId = argc == 5 ? std::atoi(argv[4]) : 1;

    platform::HeadlessPlatform& platform = platform::InstallHeadlessPlatform();
    auto opened = host::SqliteTableStore::Open(storePath);
    if (!opened) {
        std::cerr << "example: " << opened.error << "\n";
        return 1;
    }

    // The control lives in a window of the host's; the adapter answers its table events from
    // the store and keeps the events meant for the host's user.
    CWnd form;
    const RECT rect{0, 0, 640, 480};
    if (!form.Create("ExampleForm", "example", WS_VISIBLE, rect, kNoWindow, 0)) {
        std::cerr << "example: no window for the control\n";
        return 1;
    }
    host::EmbeddedControl control;
    std::shared_ptr<host::HostAdapter> adapter;
    // A sink that hands every event to the adapter once there is one.
    struct Forward final : IDispatch {
        std::shared_ptr<host::HostAdapter>* adapter;
        HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
        HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                       Variant* result) override {
            return *adapter ? (*adapter)->Invoke(id, kind, args, result) : S_OK;
        }
    };
    auto sink = std::make_shared<Forward>();
    sink->adapter = &adapter;
    std::string error;
    if (!control.Create(form.GetSafeHwnd(), rect, sink, {argv[1]}, error)) {
        std::cerr << "example: " << error << "\n";
        return 1;
    }
    adapter =
        std::make_shared<host::HostAdapter>(control.Dispatch(), *opened.store, platform.Loop());
    // Several programs may share a store: every new ID comes from the store itself.
    adapter->TakeIdsFromStore();

    host::COrbelWrapper orbel = control.Control();
    const std::int32_t id = orbel.Initiate(oleId, classOleId);
    int status = 1;
    for (const host::UserEvent& e : adapter->UserEvents()) {
        if (e.name != "FolderChange") continue;
        std::cout << "folder: " << e.ToString() << "\n";
        status = id == oleId ? 0 : 1;
    }
    const std::int32_t rows = orbel.GetListViewItemCount();
    for (std::int32_t row = 0; row < rows; ++row)
        std::cout << "row " << row << ": " << orbel.GetListViewData(row) << "\n";
    if (status) std::cerr << "example: Initiate returned " << id << " and showed no folder\n";

    control.Destroy();
    form.DestroyWindow();
    adapter.reset();
    platform::UninstallPlatform();
    return status;
}
