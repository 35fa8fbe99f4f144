#include "platform/qt/QtPlatform.h"

#include <QApplication>

#include "platform/MenuMode.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtFileProperties.h"

namespace orbel::platform {

QtPlatform::QtPlatform(QtUserMode mode) : mode_(mode) {
    SetMounts(MountTable::ReadSystem());
    auto controls = MakeQtControls(windows_, loop_);
    dialogs_ = std::make_unique<QtDialogs>(windows_, *controls);
    windows_.SetControlRouter(
        [qt = controls.get()](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return qt->RouteMessage(window, message, wParam, lParam);
        });
    controls_ = std::move(controls);
    // A key pressed while a menu is open passes the message hooks as every key does, then the
    // menu's filter hooks.
    scripted_.SetKeyPresser([this](UINT key) {
        MSG msg{windows_.GetFocus(), WM_KEYDOWN, key, 1, 0};
        loop_.RunHooks(msg);
        return msg.message == WM_NULL || CallMsgFilter(msg, MSGF_MENU);
    });
    // The shell's "properties" verb shows the desktop's file-properties window.
    shell_.SetPropertiesPresenter([](const FileProperties& properties) {
        return ShowFileProperties(properties, QApplication::activeWindow());
    });
    // A late failure is found on a thread of the shell's; its caller tells the user from the
    // desktop's thread.
    shell_.SetLateFailureListener([](const ShellRequest& request, const ShellResult& result) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || !request.lateFailure) return;
        QMetaObject::invokeMethod(
            app, [late = request.lateFailure, result] { late(result); }, Qt::QueuedConnection);
    });
}

QtPlatform::~QtPlatform() {
    // The controls' widgets live in the windows' widgets: the controls go first.
    windows_.SetControlRouter(nullptr);
    dialogs_.reset();
    controls_.reset();
}

int QtPlatform::DeliverPending() {
    return DeliverWhile([this](MSG& msg) { return loop_.TakeWithoutWaiting(msg); });
}

bool QtPlatform::HasFeature(Feature feature) const {
    switch (feature) {
        case Feature::VirtualClock:
            return false;
        case Feature::Screen:
            return true;
        case Feature::PersonAnswers:
            return mode_ == QtUserMode::Person;
    }
    return false;
}

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
