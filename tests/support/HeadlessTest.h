// Test fixture: a fresh headless platform per test, with the registry, initialisation files
// and XDG folders redirected into a temporary folder of the test's own. At the end, anything
// modal that the test did not answer, or answers it queued and nobody asked for, fails the
// test, and a failing test prints the platform's whole state.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"
#include "platform/headless/HeadlessPlatform.h"

namespace orbel::test {

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    platform::HeadlessPlatform& P() { return *platform_; }
    platform::ScriptedUser& User() { return platform_->User(); }
    const std::filesystem::path& TempDir() const { return temp_; }
    // The message boxes shown so far, as transcript lines.
    std::vector<std::string> Boxes() const;

  private:
    platform::HeadlessPlatform* platform_ = nullptr;
    std::filesystem::path temp_;
};

// An event sink that writes each event as `NAME(ARG, ...)` and lets the test act as the host
// on each one.
class EventRecorder final : public IDispatch {
  public:
    using Handler = std::function<void(DISPID id, std::span<const Variant> args)>;
    explicit EventRecorder(std::map<DISPID, std::string> names) : names_(std::move(names)) {}

    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

    void OnEvent(Handler handler) { handler_ = std::move(handler); }
    const std::vector<std::string>& Events() const { return events_; }
    void Clear() { events_.clear(); }

  private:
    std::map<DISPID, std::string> names_;
    std::vector<std::string> events_;
    Handler handler_;
};

// The temporary folder tree a test may write into.
std::filesystem::path MakeTempDir(const std::string& prefix);

}  // namespace orbel::test
