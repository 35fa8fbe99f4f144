#include "platform/headless/HeadlessWindows.h"

#include <algorithm>

namespace orbel::platform {

const HeadlessWindows::Record* HeadlessWindows::Find(HWND window) const {
    auto it = windows_.find(window.value);
    return it == windows_.end() ? nullptr : &it->second;
}

HeadlessWindows::Record* HeadlessWindows::Find(HWND window) {
    auto it = windows_.find(window.value);
    return it == windows_.end() ? nullptr : &it->second;
}

HWND HeadlessWindows::CreateWindow(const CreateWindowParams& params, WindowProcedure* proc) {
    if (params.parent && !Find(params.parent)) return kNoWindow;
    HWND handle{nextHandle_++};
    Record r;
    r.className = params.className;
    r.text = params.text;
    r.parent = params.parent;
    r.id = params.id;
    r.rect = params.rect;
    r.enabled = (params.style & WS_DISABLED) == 0;
    r.visible = (params.style & WS_VISIBLE) != 0;
    r.proc = proc;
    windows_.emplace(handle.value, std::move(r));
    if (Record* parent = Find(params.parent)) parent->children.push_back(handle);
    if (SendMessage(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return kNoWindow;
    }
    // A new window learns its size right after its creation, as on the original platform.
    if (IsWindow(handle))
        SendMessage(handle, WM_SIZE, 0, MAKELPARAM(params.rect.Width(), params.rect.Height()));
    return handle;
}

bool HeadlessWindows::DestroyWindow(HWND window) {
    Record* r = Find(window);
    if (!r) return false;
    SendMessage(window, WM_DESTROY, 0, 0);
    // The procedure may have destroyed children already; take a fresh copy each time.
    while (true) {
        r = Find(window);
        if (!r || r->children.empty()) break;
        DestroyWindow(r->children.back());
    }
    r = Find(window);
    if (!r) return true;
    if (Record* parent = Find(r->parent)) std::erase(parent->children, window);
    if (focus_ == window) focus_ = kNoWindow;
    if (capture_ == window) capture_ = kNoWindow;
    windows_.erase(window.value);
    return true;
}

bool HeadlessWindows::IsWindow(HWND window) const {
    return Find(window) != nullptr;
}

HWND HeadlessWindows::GetParent(HWND window) const {
    const Record* r = Find(window);
    return r ? r->parent : kNoWindow;
}

std::vector<HWND> HeadlessWindows::GetChildren(HWND window) const {
    const Record* r = Find(window);
    return r ? r->children : std::vector<HWND>{};
}

std::string HeadlessWindows::GetClassName(HWND window) const {
    const Record* r = Find(window);
    return r ? r->className : std::string();
}

UINT HeadlessWindows::GetDlgCtrlID(HWND window) const {
    const Record* r = Find(window);
    return r ? r->id : 0;
}

bool HeadlessWindows::EnableWindow(HWND window, bool enable) {
    Record* r = Find(window);
    if (!r) return false;
    bool wasDisabled = !r->enabled;
    if (r->enabled != enable) {
        r->enabled = enable;
        SendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
    }
    return wasDisabled;
}

bool HeadlessWindows::IsWindowEnabled(HWND window) const {
    const Record* r = Find(window);
    return r && r->enabled;
}

bool HeadlessWindows::ShowWindow(HWND window, bool show) {
    Record* r = Find(window);
    if (!r) return false;
    bool wasVisible = r->visible;
    r->visible = show;
    return wasVisible;
}

bool HeadlessWindows::IsWindowVisible(HWND window) const {
    for (const Record* r = Find(window); r; r = Find(r->parent)) {
        if (!r->visible) return false;
        if (!r->parent) return true;
    }
    return false;
}

HWND HeadlessWindows::SetFocus(HWND window) {
    HWND previous = focus_;
    if (window && !Find(window)) return previous;
    if (previous == window) return previous;
    focus_ = window;
    if (previous && Find(previous))
        SendMessage(previous, WM_KILLFOCUS, static_cast<WPARAM>(window.value), 0);
    if (window) SendMessage(window, WM_SETFOCUS, static_cast<WPARAM>(previous.value), 0);
    return previous;
}

RECT HeadlessWindows::GetClientRect(HWND window) const {
    const Record* r = Find(window);
    if (!r) return {};
    return RECT{0, 0, r->rect.Width(), r->rect.Height()};
}

RECT HeadlessWindows::GetWindowRect(HWND window) const {
    const Record* r = Find(window);
    return r ? r->rect : RECT{};
}

bool HeadlessWindows::MoveWindow(HWND window, const RECT& rect, bool repaint) {
    Record* r = Find(window);
    if (!r) return false;
    bool resized = r->rect.Width() != rect.Width() || r->rect.Height() != rect.Height();
    r->rect = rect;
    if (repaint) ++r->invalidations;
    if (resized) SendMessage(window, WM_SIZE, 0, MAKELPARAM(rect.Width(), rect.Height()));
    return true;
}

void HeadlessWindows::InvalidateRect(HWND window, const RECT*) {
    if (Record* r = Find(window)) ++r->invalidations;
}

int HeadlessWindows::InvalidateCount(HWND window) const {
    const Record* r = Find(window);
    return r ? r->invalidations : 0;
}

LRESULT HeadlessWindows::SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Find(window)) return 0;
    if (router_ && router_(window, message, wParam, lParam)) return 0;
    const Record* r = Find(window);
    if (!r || !r->proc) return 0;
    return r->proc->WindowProc(window, message, wParam, lParam);
}

HWND HeadlessWindows::SetCapture(HWND window) {
    HWND previous = capture_;
    if (!window || Find(window)) capture_ = window;
    return previous;
}

bool HeadlessWindows::ReleaseCapture() {
    capture_ = kNoWindow;
    return true;
}

POINT HeadlessWindows::ClientToScreen(HWND window, POINT point) const {
    for (const Record* r = Find(window); r; r = Find(r->parent)) {
        point.x += r->rect.left;
        point.y += r->rect.top;
    }
    return point;
}

POINT HeadlessWindows::ScreenToClient(HWND window, POINT point) const {
    const POINT origin = ClientToScreen(window, POINT{});
    return POINT{point.x - origin.x, point.y - origin.y};
}

HWND HeadlessWindows::ChildFromPoint(HWND window, POINT screen) const {
    const Record* r = Find(window);
    if (!r || !r->visible) return kNoWindow;
    const POINT local = ScreenToClient(window, screen);
    if (local.x < 0 || local.y < 0 || local.x >= r->rect.Width() || local.y >= r->rect.Height())
        return kNoWindow;
    // The window made last lies on top.
    for (auto it = r->children.rbegin(); it != r->children.rend(); ++it)
        if (HWND hit = ChildFromPoint(*it, screen)) return hit;
    return window;
}

HWND HeadlessWindows::WindowFromPoint(POINT screen) const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (!it->second.parent)
            if (HWND hit = ChildFromPoint(HWND{it->first}, screen)) return hit;
    return kNoWindow;
}

void HeadlessWindows::UserMoveMouse(POINT screen) {
    mouse_ = screen;
    HWND target = capture_ ? capture_ : WindowFromPoint(screen);
    if (!target) return;
    const POINT local = ScreenToClient(target, screen);
    SendMessage(target, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
}

void HeadlessWindows::UserMouseButton(UINT message, POINT screen) {
    mouse_ = screen;
    HWND target = capture_ ? capture_ : WindowFromPoint(screen);
    if (!target) return;
    const POINT local = ScreenToClient(target, screen);
    SendMessage(target, message, 0, MAKELPARAM(local.x, local.y));
}

Cursor HeadlessWindows::SetCursor(Cursor cursor) {
    Cursor previous = cursor_;
    cursor_ = cursor;
    return previous;
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
    if (focus_ == window) out += " focus";
    out += "\n";
    for (HWND child : r->children) DumpTree(child, depth + 1, out);
}

std::string HeadlessWindows::Dump() const {
    std::string out;
    for (const auto& [handle, record] : windows_)
        if (!record.parent) DumpTree(HWND{handle}, 0, out);
    out += std::string("cursor ") + CursorName(cursor_) + "\n";
    return out;
}

}  // namespace orbel::platform
