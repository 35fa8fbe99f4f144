// One platform per process, installed by whoever owns main (a host, a test fixture), the way
// an application object picks its windowing backend. Everything else reaches it through
// GetPlatform().
#pragma once

#include <cstdint>
#include <memory>

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
    // The mount table behind universal names of network paths.
    virtual const MountTable& Mounts() = 0;
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

  private:
    std::uint64_t instanceId_;
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
