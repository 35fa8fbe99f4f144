#include "platform/Api.h"

namespace orbel {

using platform::GetPlatform;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

platform::MessageBoxRequest MessageBoxRequestFromStyle(std::string text, std::string caption,
                                                       UINT type) {
    platform::MessageBoxRequest r;
    r.text = std::move(text);
    r.caption = std::move(caption);
    switch (type & 0xF) {
        case MB_OKCANCEL:
            r.buttons = MessageButtons::OkCancel;
            break;
        case MB_YESNOCANCEL:
            r.buttons = MessageButtons::YesNoCancel;
            break;
        case MB_YESNO:
            r.buttons = MessageButtons::YesNo;
            break;
        default:
            r.buttons = MessageButtons::Ok;
    }
    switch (type & 0xF0) {
        case MB_ICONHAND:
            r.icon = MessageIcon::Error;
            break;
        case MB_ICONQUESTION:
            r.icon = MessageIcon::Question;
            break;
        case MB_ICONEXCLAMATION:
            r.icon = MessageIcon::Warning;
            break;
        case MB_ICONASTERISK:
            r.icon = MessageIcon::Information;
            break;
        default:
            r.icon = MessageIcon::None;
    }
    return r;
}

int MessageAnswerToId(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return IDOK;
        case MessageAnswer::Cancel:
            return IDCANCEL;
        case MessageAnswer::Yes:
            return IDYES;
        case MessageAnswer::No:
            return IDNO;
    }
    return IDCANCEL;
}

int AfxMessageBox(const std::string& text, UINT type) {
    return MessageAnswerToId(
        GetPlatform().User().MessageBox(MessageBoxRequestFromStyle(text, "Orbel", type)));
}

void MessageBeep() {
    GetPlatform().User().MessageBeep();
}

POINT GetCursorPos() {
    return GetPlatform().Windows().GetCursorPos();
}

bool ReleaseCapture() {
    return GetPlatform().Windows().ReleaseCapture();
}

HWND WindowFromPoint(POINT screen) {
    return GetPlatform().Windows().WindowFromPoint(screen);
}

bool GetMessage(MSG& msg) {
    return GetPlatform().Loop().GetMessage(msg);
}

LRESULT DispatchMessage(const MSG& msg) {
    return GetPlatform().DispatchMessage(msg);
}

void PostQuitMessage(int exitCode) {
    GetPlatform().Loop().PostQuitMessage(exitCode);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT ms) {
    return GetPlatform().Loop().SetTimer(window, id, ms);
}

bool KillTimer(HWND window, UINT_PTR id) {
    return GetPlatform().Loop().KillTimer(window, id);
}

}  // namespace orbel
