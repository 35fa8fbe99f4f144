// The platform a container run installs: the headless backend, or with --gui the desktop one
// (a visible window) with the scripted user answering what is modal in both.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/UserDriver.h"
#include "platform/headless/ScriptedUser.h"
#include "platform/shell/RecordingShell.h"

namespace orbel::host {

struct ContainerPlatform {
    platform::Platform* platform = nullptr;
    platform::ScriptedUser* user = nullptr;
    std::unique_ptr<platform::UserDriver> driver;
    // Shell requests are recorded and printed headless; the desktop carries them out.
    platform::RecordingShell* recordingShell = nullptr;
};

// Installs the platform; with `gui`, nothing when no desktop can be shown (why in *problem).
ContainerPlatform InstallContainerPlatform(bool gui, std::string* problem);

}  // namespace orbel::host
