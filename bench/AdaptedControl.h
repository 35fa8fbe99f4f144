// A control on the headless backend in a host window, with the reference host's adapter
// answering every table event from a SQLite store as a host does (each answer posted to the
// message loop). Benchmarks that have the control write through the host use it.
#pragma once

#include <memory>
#include <string>

#include "host/adapter/HostAdapter.h"
#include "host/store/SqliteTableStore.h"
#include "platform/framework/Wnd.h"
#include "src/module/OrbelApp.h"

namespace orbel {
class COrbelCtrl;
namespace platform {
class HeadlessPlatform;
}
}  // namespace orbel

namespace orbel::bench {

class AdaptedControl {
  public:
    explicit AdaptedControl(const std::string& storePath);
    ~AdaptedControl();
    AdaptedControl(const AdaptedControl&) = delete;
    AdaptedControl& operator=(const AdaptedControl&) = delete;

    COrbelCtrl& Control() { return *ctrl_; }
    platform::HeadlessPlatform& Platform() { return platform_; }
    host::HostAdapter& Host() { return *adapter_; }

  private:
    platform::HeadlessPlatform& platform_;
    std::unique_ptr<host::SqliteTableStore> store_;
    COrbelApp app_;
    CWnd hostWindow_;
    std::shared_ptr<COrbelCtrl> ctrl_;
    std::shared_ptr<host::HostAdapter> adapter_;
};

}  // namespace orbel::bench
