#include "bench/AdaptedControl.h"

#include <stdexcept>

#include "platform/headless/HeadlessPlatform.h"
#include "src/control/OrbelCtrl.h"
#include "src/control/OrbelIds.h"

namespace orbel::bench {

AdaptedControl::AdaptedControl(const std::string& storePath)
    : platform_(platform::InstallHeadlessPlatform()) {
    host::SqliteOpenResult opened = host::SqliteTableStore::Open(storePath);
    if (!opened) throw std::runtime_error(opened.error);
    store_ = std::move(opened.store);
    app_.InitInstance();
    if (!hostWindow_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 640, 480}, kNoWindow, 0))
        throw std::runtime_error("cannot create the host window");
    ctrl_ = std::make_shared<COrbelCtrl>();
    std::shared_ptr<IDispatch> control = ctrl_;
    adapter_ = std::make_shared<host::HostAdapter>(control, *store_, platform_.Loop());
    DWORD cookie = 0;
    HWND window;
    if (ctrl_->FindConnectionPoint(IidDOrbelEvents())->Advise(adapter_, cookie) != S_OK ||
        ctrl_->InPlaceActivate(hostWindow_.GetSafeHwnd(), RECT{0, 0, 600, 400}, window) != S_OK)
        throw std::runtime_error("cannot place the control");
}

AdaptedControl::~AdaptedControl() {
    ctrl_.reset();
    adapter_.reset();
    store_.reset();
    hostWindow_.DestroyWindow();
    app_.ExitInstance();
    platform::UninstallPlatform();
}

}  // namespace orbel::bench
