#include "platform/headless/HeadlessWindows.h"

namespace orbel::platform {

HWND HeadlessWindows::CreateWindow(const CreateWindowParams& params, WindowProcedure* proc) {
    if (params.parent && !Find(params.parent)) return kNoWindow;
    auto r = std::make_unique<HeadlessRecord>();
    r->className = params.className;
    r->text = params.text;
    r->parent = params.parent;
    r->id = params.id;
    r->rect = params.rect;
    r->enabled = (params.style & WS_DISABLED) == 0;
    r->visible = (params.style & WS_VISIBLE) != 0;
    r->proc = proc;
    return Insert(std::move(r));
}

bool HeadlessWindows::OnMove(HWND window, const RECT&, bool repaint) {
    if (repaint) OnInvalidate(window, nullptr);
    return true;
}

void HeadlessWindows::OnInvalidate(HWND window, const RECT*) {
    if (auto* r = static_cast<HeadlessRecord*>(Find(window))) ++r->invalidations;
}

int HeadlessWindows::InvalidateCount(HWND window) const {
    const auto* r = static_cast<const HeadlessRecord*>(Find(window));
    return r ? r->invalidations : 0;
}

void HeadlessWindows::UserMoveMouse(POINT screen) {
    UserMouseButton(WM_MOUSEMOVE, screen);
}

void HeadlessWindows::UserMouseButton(UINT message, POINT screen) {
    SetMousePos(screen);
    HWND target = GetCapture() ? GetCapture() : WindowFromPoint(screen);
    if (!target) return;
    const POINT local = ScreenToClient(target, screen);
    SendMessage(target, message, 0, MAKELPARAM(local.x, local.y));
}

void HeadlessWindows::DumpTree(HWND window, int depth, std::string& out) const {
    const Record* r = Find(window);
    if (!r) return;
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += r->className + " #" + std::to_string(r->id);
    if (!r->text.empty()) out += " \"" + r->text + "\"";
    out += " " + ToString(r->rect);
    if (!r->enabled) out += " disabled";
    if (!r->visible) out += " hidden";
    if (GetFocus() == window) out += " focus";
    out += "\n";
    for (HWND child : r->children) DumpTree(child, depth + 1, out);
}

std::string HeadlessWindows::Dump() const {
    std::string out;
    for (HWND top : TopWindows()) DumpTree(top, 0, out);
    out += std::string("cursor ") + CursorName(GetCursor()) + "\n";
    return out;
}

}  // namespace orbel::platform
