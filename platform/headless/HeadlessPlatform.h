// The reference backend: standard library only, deterministic, inspectable.
#pragma once

#include "platform/Platform.h"
#include "platform/files/MemoryFileSystem.h"
#include "platform/files/PosixFileSystem.h"
#include "platform/headless/HeadlessControls.h"
#include "platform/headless/HeadlessDialogs.h"
#include "platform/headless/HeadlessLoop.h"
#include "platform/headless/HeadlessWindows.h"
#include "platform/headless/ScriptedUser.h"
#include "platform/registry/Registry.h"
#include "platform/shell/RecordingShell.h"

namespace orbel::platform {

class HeadlessPlatform final : public Platform {
  public:
    HeadlessPlatform();
    const char* Name() const override { return "headless"; }
    bool HasFeature(Feature feature) const override { return feature == Feature::VirtualClock; }
    HeadlessLoop& Loop() override { return loop_; }
    HeadlessWindows& Windows() override { return windows_; }
    ScriptedUser& User() override { return user_; }
    HeadlessControls& CommonControls() override { return controls_; }
    // Records shell requests instead of starting programs.
    RecordingShell& ShellService() override { return shell_; }
    // The real file system and registry: tests point them at temporary folders, or put a
    // file system in memory in place of the real one, for the rest of the platform's life.
    FileSystem& Files() override { return *files_; }
    MemoryFileSystem& UseMemoryFiles();
    Registry& Reg() override { return registry_; }
    HeadlessDialogs& DialogFactory() override { return dialogs_; }

    // Delivers messages until the loop has nothing left or a quit is taken; returns the number
    // of messages delivered. A posted quit is reported through Loop().LastQuitWasPosted().
    int RunUntilIdle();
    // Delivers messages whose time has come within `ms` milliseconds of the clock, then sets
    // the clock to that point.
    int RunFor(std::uint64_t ms);
    // Runs the idle handlers now, as when the queue runs empty (toolbars bring their buttons
    // up to date), for a host that changed state without a message.
    void RunIdleHandlers() { loop_.RunIdleHandlers(); }

    // The whole state, for failing tests.
    std::string Dump() const;

  private:
    HeadlessLoop loop_;
    HeadlessWindows windows_;
    ScriptedUser user_;
    HeadlessControls controls_;
    RecordingShell shell_;
    PosixFileSystem posixFiles_;
    std::unique_ptr<MemoryFileSystem> memoryFiles_;
    FileSystem* files_ = &posixFiles_;
    Registry registry_;
    HeadlessDialogs dialogs_{windows_, controls_};
};

// Installs a fresh headless platform and returns it.
HeadlessPlatform& InstallHeadlessPlatform();

}  // namespace orbel::platform
