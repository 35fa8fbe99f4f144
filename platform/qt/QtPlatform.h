// The desktop backend: Qt 6 Widgets under every platform interface. A person answers what is
// modal, or the scripted user does (GUI tests run offscreen with no real clicks).
// Needs a QApplication: a host makes its own, or calls StartQtApplication first.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/controls/Controls.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/files/PosixFileSystem.h"
#include "platform/headless/ScriptedUser.h"
#include "platform/qt/QtLoop.h"
#include "platform/qt/QtUser.h"
#include "platform/qt/QtWindows.h"
#include "platform/registry/Registry.h"
#include "platform/shell/LinuxShell.h"

namespace orbel::platform {

// Who answers message boxes, menus and dialogs.
enum class QtUserMode { Person, Scripted };

class QtPlatform final : public Platform {
  public:
    explicit QtPlatform(QtUserMode mode = QtUserMode::Person);
    ~QtPlatform() override;
    const char* Name() const override { return "qt"; }
    bool HasFeature(Feature feature) const override;
    QtLoop& Loop() override { return loop_; }
    QtWindows& Windows() override { return windows_; }
    UserInteraction& User() override;
    Controls& CommonControls() override { return *controls_; }
    Shell& ShellService() override { return shell_; }
    PosixFileSystem& Files() override { return files_; }
    Registry& Reg() override { return registry_; }
    Dialogs& DialogFactory() override { return *dialogs_; }
    // Delivers what is queued and what Qt has pending, without waiting; returns how many
    // messages were delivered. For tests, benchmarks and a host that drives the loop itself.
    int DeliverPending();
    // The scripted user, when that is who answers; null for a person.
    ScriptedUser* Scripted() { return mode_ == QtUserMode::Scripted ? &scripted_ : nullptr; }

  private:
    QtUserMode mode_;
    QtLoop loop_;
    QtWindows windows_{loop_};
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Dialogs> dialogs_;
    QtUser person_{windows_, loop_};
    ScriptedUser scripted_;
    PosixFileSystem files_;
    Registry registry_;
    LinuxShell shell_{&registry_};
};

// Why no desktop can be shown in this process (no display and no offscreen platform asked
// for), as one line; nothing when one can.
std::optional<std::string> DesktopProblem();
// Makes the process's QApplication when there is none yet (tests, the container): offscreen
// when QT_QPA_PLATFORM says so. False when no desktop can be shown (see DesktopProblem).
bool StartQtApplication();
// Installs a fresh desktop platform and returns it; needs a QApplication.
QtPlatform& InstallQtPlatform(QtUserMode mode = QtUserMode::Person);

}  // namespace orbel::platform
