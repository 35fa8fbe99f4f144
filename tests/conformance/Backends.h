// The conformance suite runs every test against each backend: the headless reference and the
// desktop on Qt (offscreen). A behaviour that differs between them is a fault in one of them.
// Each test gets a fresh platform with the scripted user answering what is modal and a user
// driver acting as the person; at the end anything modal left unanswered, or answers nobody
// asked for, fails the test.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/Platform.h"
#include "platform/UserDriver.h"
#include "platform/headless/ScriptedUser.h"

namespace orbel::test {

struct HeadlessBackend {
    static platform::Platform& Install();
    static platform::ScriptedUser& User(platform::Platform& p);
    static std::unique_ptr<platform::UserDriver> MakeDriver(platform::Platform& p);
    // Delivers what is queued now and what falls due at this moment, without waiting.
    static void Pump(platform::Platform& p);
    // Delivers messages as `ms` milliseconds pass on the loop's clock.
    static void RunFor(platform::Platform& p, unsigned ms);
    // The window whose keys the keyboard hands to the top window `top` now.
    static HWND KeyboardFocus(platform::Platform& p, HWND top);
};

struct QtBackend {
    static platform::Platform& Install();
    static platform::ScriptedUser& User(platform::Platform& p);
    static std::unique_ptr<platform::UserDriver> MakeDriver(platform::Platform& p);
    static void Pump(platform::Platform& p);
    static void RunFor(platform::Platform& p, unsigned ms);
    static HWND KeyboardFocus(platform::Platform& p, HWND top);
};

class BackendNames {
  public:
    template <class T>
    static std::string GetName(int) {
        if constexpr (std::is_same_v<T, HeadlessBackend>) return "headless";
        return "qt";
    }
};

using Backends = ::testing::Types<HeadlessBackend, QtBackend>;

template <class Backend>
class ConformanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform_ = &Backend::Install();
        driver_ = Backend::MakeDriver(*platform_);
    }
    void TearDown() override {
        platform::ScriptedUser& user = User();
        for (const std::string& f : user.Failures()) ADD_FAILURE() << "modal: " << f;
        for (const std::string& u : user.Unmet()) ADD_FAILURE() << "never asked: " << u;
        driver_.reset();
        platform::UninstallPlatform();
    }

    platform::Platform& P() { return *platform_; }
    platform::ScriptedUser& User() { return Backend::User(*platform_); }
    platform::UserDriver& Driver() { return *driver_; }
    void Pump() { Backend::Pump(*platform_); }
    void RunFor(unsigned ms) { Backend::RunFor(*platform_, ms); }
    bool IsQt() const { return std::is_same_v<Backend, QtBackend>; }

    // A shown window of its own at the screen rectangle, with the procedure (may be null).
    HWND MakeTopWindow(RECT rect, platform::WindowProcedure* proc = nullptr,
                       const char* className = "TestFrame") {
        platform::CreateWindowParams params;
        params.className = className;
        params.style = WS_VISIBLE;
        params.rect = rect;
        return P().Windows().CreateWindow(params, proc);
    }
    // A shown child window filling most of `parent`.
    HWND MakeChildWindow(HWND parent, RECT rect, platform::WindowProcedure* proc = nullptr,
                         const char* className = "TestPane", UINT id = 0) {
        platform::CreateWindowParams params;
        params.className = className;
        params.rect = rect;
        params.parent = parent;
        params.id = id;
        return P().Windows().CreateWindow(params, proc);
    }

  private:
    platform::Platform* platform_ = nullptr;
    std::unique_ptr<platform::UserDriver> driver_;
};

}  // namespace orbel::test
