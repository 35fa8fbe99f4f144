// A control created in process on the headless platform, placed in a host window, with a
// recording sink through which the test plays the host.
#pragma once

#include <memory>
#include <string_view>

#include "platform/framework/Wnd.h"
#include "src/control/OrbelCtrl.h"
#include "src/module/OrbelApp.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::test {

class ControlTest : public HeadlessTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    COrbelCtrl& Ctrl() { return *ctrl_; }
    EventRecorder& Host() { return *sink_; }
    HWND HostWindow() const { return hostWindow_.GetSafeHwnd(); }

    // The host answers the pending request later, from the message loop, as a real host does.
    void PostReply(std::int32_t result, std::string data = {}, std::string key1 = {},
                   std::string key2 = {}, std::string key3 = {});
    // A property set or read the way a host does it, through the dispatch interface.
    void Put(std::string_view name, Variant value);
    Variant Get(std::string_view name);
    // Table events only, without the Yield that precedes each.
    std::vector<std::string> TableEvents() const;

    COrbelApp app_;
    CWnd hostWindow_;
    std::shared_ptr<COrbelCtrl> ctrl_;
    std::shared_ptr<EventRecorder> sink_;
};

}  // namespace orbel::test
