// Out-of-line destructors give each interface one home for its type information, which the
// host and the control module share across the module boundary.
#include "platform/MessageLoop.h"
#include "platform/Platform.h"
#include "platform/UserDriver.h"
#include "platform/UserInteraction.h"
#include "platform/WindowSystem.h"
#include "platform/automation/Dispatch.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel {

IUnknown::~IUnknown() = default;

HRESULT InvokeByName(IDispatch& object, std::string_view name, InvokeKind kind,
                     std::vector<Variant> args, Variant* result) {
    DISPID id = 0;
    HRESULT hr = object.GetIDsOfNames(name, id);
    if (FAILED(hr)) return hr;
    return object.Invoke(id, kind, args, result);
}

namespace platform {

MessageLoop::~MessageLoop() = default;
WindowProcedure::~WindowProcedure() = default;
WindowSystem::~WindowSystem() = default;
UserDriver::~UserDriver() = default;

HWND FindDescendant(const WindowSystem& windows, HWND root, std::string_view className) {
    for (HWND child : windows.GetChildren(root)) {
        if (windows.GetClassName(child) == className) return child;
        if (HWND found = FindDescendant(windows, child, className)) return found;
    }
    return kNoWindow;
}

bool TakesInput(const WindowSystem& windows, HWND window) {
    if (!windows.IsWindow(window)) return false;
    for (HWND w = window; w; w = windows.GetParent(w))
        if (!windows.IsWindowEnabled(w)) return false;
    return true;
}

UserInteraction::~UserInteraction() = default;
void UserInteraction::MessageBeep() {}
void UserInteraction::ShowModelessDialog(LiveDialog& dialog) {
    GetPlatform().Windows().ShowWindow(dialog.Window(), true);
}
void UserInteraction::ModelessDialogClosing(LiveDialog&) {}
std::optional<std::string> UserInteraction::ChooseFile(const FileChooserRequest&) {
    return std::nullopt;
}

const char* ChooserKindName(ChooserKind kind) {
    switch (kind) {
        case ChooserKind::Open:
            return "open";
        case ChooserKind::Save:
            return "save";
        case ChooserKind::Folder:
            return "folder";
    }
    return "?";
}

const char* CursorName(Cursor c) {
    switch (c) {
        case Cursor::Arrow:
            return "arrow";
        case Cursor::Hourglass:
            return "hourglass";
    }
    return "?";
}

const char* ButtonsName(MessageButtons b) {
    switch (b) {
        case MessageButtons::Ok:
            return "OK";
        case MessageButtons::OkCancel:
            return "OKCANCEL";
        case MessageButtons::YesNo:
            return "YESNO";
        case MessageButtons::YesNoCancel:
            return "YESNOCANCEL";
    }
    return "?";
}

const char* IconName(MessageIcon i) {
    switch (i) {
        case MessageIcon::None:
            return "";
        case MessageIcon::Error:
            return "ERROR";
        case MessageIcon::Question:
            return "QUESTION";
        case MessageIcon::Warning:
            return "WARNING";
        case MessageIcon::Information:
            return "INFORMATION";
    }
    return "?";
}

const char* AnswerName(MessageAnswer a) {
    switch (a) {
        case MessageAnswer::Ok:
            return "OK";
        case MessageAnswer::Cancel:
            return "CANCEL";
        case MessageAnswer::Yes:
            return "YES";
        case MessageAnswer::No:
            return "NO";
    }
    return "?";
}

MessageAnswer DismissalAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

}  // namespace platform
}  // namespace orbel
