// A host built against an installed Orbel and nothing else (pkg-config orbel): registers the
// installed control module, creates the control by its ProgID on the headless platform,
// answers it from an in-memory SQLite store through the host adapter and opens the store.
// Prints "opened: FolderChange(...)" and exits 0 when the control showed the store's top.
#include <iostream>
#include <string>

#include "host/adapter/HostAdapter.h"
#include "host/store/SqliteTableStore.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "platform/headless/HeadlessPlatform.h"

int main(int argc, char** argv) {
    using namespace orbel;
    if (argc != 2) {
        std::cerr << "usage: consumer MODULE\n";
        return 2;
    }
    platform::HeadlessPlatform& platform = platform::InstallHeadlessPlatform();
    std::string error;
    if (RegisterModule(argv[1], &error) != S_OK) {
        std::cerr << "consumer: cannot register " << argv[1] << ": " << error << "\n";
        return 1;
    }
    std::shared_ptr<IUnknown> object;
    if (HRESULT hr = CreateObject("ORBEL.OrbelCtrl.1", object); hr != S_OK) {
        std::cerr << "consumer: cannot create the control: " << ComErrorText(hr) << "\n";
        return 1;
    }
    auto dispatch = std::dynamic_pointer_cast<IDispatch>(object);
    auto inplace = std::dynamic_pointer_cast<IOleInPlaceObject>(object);
    auto points = std::dynamic_pointer_cast<IConnectionPointContainer>(object);
    auto opened = host::SqliteTableStore::Open(":memory:");
    if (!dispatch || !inplace || !points || !opened) {
        std::cerr << "consumer: no control, or no store: " << opened.error << "\n";
        return 1;
    }
    CWnd form;
    const RECT rect{0, 0, 640, 480};
    HWND window;
    if (!form.Create("ConsumerForm", "consumer", WS_VISIBLE, rect, kNoWindow, 0) ||
        inplace->InPlaceActivate(form.GetSafeHwnd(), rect, window) != S_OK) {
        std::cerr << "consumer: the control opened no window\n";
        return 1;
    }
    auto adapter = std::make_shared<host::HostAdapter>(dispatch, *opened.store, platform.Loop());
    // The adapter answers the events of the control's default source interface.
    Guid clsid;
    TypeLibrary library;
    CLSIDFromProgID("ORBEL.OrbelCtrl.1", clsid);
    LoadClassTypeLib(clsid, library);
    std::shared_ptr<IConnectionPoint> events;
    for (const TypeLibCoclass& c : library.coclasses)
        if (const TypeLibInterface* source = library.FindInterface(c.defaultSource);
            c.clsid == clsid && source)
            events = points->FindConnectionPoint(source->iid);
    DWORD cookie = 0;
    if (!events || events->Advise(adapter, cookie) != S_OK) {
        std::cerr << "consumer: the control takes no event sink\n";
        return 1;
    }
    const std::int32_t id = host::COrbelWrapper(dispatch).Initiate(2, 1);
    int status = 1;
    for (const host::UserEvent& e : adapter->UserEvents()) {
        if (e.name == "FolderChange" && id == 2) {
            std::cout << "opened: " << e.ToString() << "\n";
            status = 0;
        }
    }
    if (status) std::cerr << "consumer: Initiate returned " << id << " and no folder was shown\n";
    events->Unadvise(cookie);
    inplace->InPlaceDeactivate();
    form.DestroyWindow();
    adapter.reset();
    platform::UninstallPlatform();
    return status;
}
