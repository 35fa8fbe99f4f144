// One platform per process, installed by whoever owns main (a host, a test fixture), the way
// an application object picks its windowing backend. Everything else reaches it through
// GetPlatform().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "platform/MessageLoop.h"
#include "platform/UserInteraction.h"
#include "platform/WindowSystem.h"
#include "platform/network/MountTable.h"

namespace orbel::platform {

class Controls;
class Dialogs;
class FileSystem;
class Registry;
class Shell;

// What a backend can do beyond what every backend does, so that a caller asks instead of a
// backend writing empty bodies (as a windowing plugin reports its capabilities).
enum class Feature {
    // The loop's clock is virtual: a wait costs no time, the clock jumps to the next timer.
    VirtualClock,
    // Windows are shown on a screen, where painting, the drag image and the cursor are seen.
    Screen,
    // A person answers what is modal; without it a script does.
    PersonAnswers,
};

class Platform {
  public:
    Platform();
    virtual ~Platform();
    // Unique for every platform installed in this process, even one at the address of an
    // earlier one: state tied to a platform (a message hook) can tell it is still there.
    std::uint64_t InstanceId() const { return instanceId_; }
    virtual const char* Name() const = 0;
    virtual MessageLoop& Loop() = 0;
    virtual WindowSystem& Windows() = 0;
    virtual UserInteraction& User() = 0;
    // The common controls: tree, list, toolbar, image lists (platform/controls/Controls.h).
    virtual Controls& CommonControls() = 0;
    // Whether the backend has the feature; none by default.
    virtual bool HasFeature(Feature feature) const;
    // The mount table behind universal names of network paths: none until some are given.
    const MountTable& Mounts() const { return mounts_; }
    // A desktop reads the system's mounts; tests give their own.
    void SetMounts(MountTable mounts) { mounts_ = std::move(mounts); }
    // Opening documents, folders, addresses and programs (platform/shell/Shell.h).
    virtual Shell& ShellService() = 0;
    // The file system (platform/files/FileSystem.h).
    virtual FileSystem& Files() = 0;
    // Registry reads: the hive file over the view from freedesktop data
    // (platform/registry/Registry.h).
    virtual Registry& Reg() = 0;
    // Makes live dialogs from templates (platform/dialogs/Dialogs.h).
    virtual Dialogs& DialogFactory() = 0;

    // Delivers a message taken from the loop: a task runs, a window message goes to its
    // window's procedure.
    LRESULT DispatchMessage(const MSG& msg);

  protected:
    // Delivers each message `take` gives until it gives none; how many it delivered.
    int DeliverWhile(const std::function<bool(MSG&)>& take);

  private:
    std::uint64_t instanceId_;
    MountTable mounts_;
};

// Installs the process's platform, replacing (and destroying) the one before.
void InstallPlatform(std::unique_ptr<Platform> platform);
// Removes and destroys the installed platform.
void UninstallPlatform();
bool HasPlatform();
// The installed platform; using it before one is installed is a programming error (aborts
// with a message).
Platform& GetPlatform();

}  // namespace orbel::platform
