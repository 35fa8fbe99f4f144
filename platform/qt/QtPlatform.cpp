#include "platform/qt/QtPlatform.h"

#include <QApplication>

#include "platform/headless/HeadlessControls.h"
#include "platform/headless/HeadlessDialogs.h"
#include "platform/headless/HeadlessWindows.h"

namespace orbel::platform {

namespace {
// Stand-ins until the desktop's own controls and dialogs exist.
HeadlessWindows& StandInWindows() {
    static HeadlessWindows windows;
    return windows;
}
}  // namespace

QtPlatform::QtPlatform(QtUserMode mode) : mode_(mode), mounts_(MountTable::ReadSystem()) {
    auto controls = std::make_unique<HeadlessControls>();
    dialogs_ = std::make_unique<HeadlessDialogs>(StandInWindows(), *controls);
    controls_ = std::move(controls);
    // A key pressed while a menu is open passes the message hooks as every key does.
    scripted_.SetKeyPresser([this](UINT key) {
        MSG msg{windows_.GetFocus(), WM_KEYDOWN, key, 1, 0};
        loop_.RunHooks(msg);
    });
}

QtPlatform::~QtPlatform() = default;

UserInteraction& QtPlatform::User() {
    if (mode_ == QtUserMode::Scripted) return scripted_;
    return person_;
}

QtPlatform& InstallQtPlatform(QtUserMode mode) {
    auto platform = std::make_unique<QtPlatform>(mode);
    QtPlatform& ref = *platform;
    InstallPlatform(std::move(platform));
    return ref;
}

}  // namespace orbel::platform
