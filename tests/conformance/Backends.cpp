#include "tests/conformance/Backends.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessUserDriver.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtUserDriver.h"

namespace orbel::test {

platform::Platform& HeadlessBackend::Install() {
    return platform::InstallHeadlessPlatform();
}

platform::ScriptedUser& HeadlessBackend::User(platform::Platform& p) {
    return static_cast<platform::HeadlessPlatform&>(p).User();
}

std::unique_ptr<platform::UserDriver> HeadlessBackend::MakeDriver(platform::Platform& p) {
    return std::make_unique<platform::HeadlessUserDriver>(
        static_cast<platform::HeadlessPlatform&>(p));
}

void HeadlessBackend::Pump(platform::Platform& p) {
    static_cast<platform::HeadlessPlatform&>(p).RunFor(0);
}

void HeadlessBackend::RunFor(platform::Platform& p, unsigned ms) {
    static_cast<platform::HeadlessPlatform&>(p).RunFor(ms);
}

HWND HeadlessBackend::KeyboardFocus(platform::Platform& p, HWND) {
    return p.Windows().GetFocus();
}

// The top window's own focus widget: an offscreen window never becomes the active one.
HWND QtBackend::KeyboardFocus(platform::Platform& p, HWND top) {
    auto& windows = static_cast<platform::QtPlatform&>(p).Windows();
    QWidget* widget = windows.Widget(top);
    QWidget* focus = widget ? widget->window()->focusWidget() : nullptr;
    return focus && focus->isEnabled() ? windows.WindowOf(focus) : kNoWindow;
}

platform::Platform& QtBackend::Install() {
    // The suite needs no display: the offscreen platform unless a display run asks for one.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!platform::StartQtApplication()) {
        ADD_FAILURE() << "no desktop: " << platform::DesktopProblem().value_or("?");
        std::abort();
    }
    return platform::InstallQtPlatform(platform::QtUserMode::Scripted);
}

platform::ScriptedUser& QtBackend::User(platform::Platform& p) {
    return *static_cast<platform::QtPlatform&>(p).Scripted();
}

std::unique_ptr<platform::UserDriver> QtBackend::MakeDriver(platform::Platform& p) {
    return std::make_unique<platform::QtUserDriver>(static_cast<platform::QtPlatform&>(p));
}

void QtBackend::Pump(platform::Platform& p) {
    static_cast<platform::QtPlatform&>(p).DeliverPending();
}

void QtBackend::RunFor(platform::Platform& p, unsigned ms) {
    auto& qt = static_cast<platform::QtPlatform&>(p);
    const std::uint64_t end = qt.Loop().Now() + ms;
    // Wakes the wait below at the end at the latest.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    MSG msg;
    while (qt.Loop().Now() < end) {
        if (qt.Loop().TakeWithoutWaiting(msg)) {
            qt.DispatchMessage(msg);
            continue;
        }
        deadline.start(static_cast<int>(end - qt.Loop().Now()));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    Pump(p);
}

}  // namespace orbel::test
