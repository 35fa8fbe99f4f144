#include "platform/WindowTable.h"

#include <algorithm>

namespace orbel::platform {

const WindowTable::Record* WindowTable::Find(HWND window) const {
    auto it = windows_.find(window.value);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowTable::Record* WindowTable::Find(HWND window) {
    auto it = windows_.find(window.value);
    return it == windows_.end() ? nullptr : it->second.get();
}

HWND WindowTable::Insert(std::unique_ptr<Record> record, const std::function<void(HWND)>& made) {
    HWND handle{nextHandle_++};
    const HWND parent = record->parent;
    windows_.emplace(handle.value, std::move(record));
    if (Record* p = Find(parent)) p->children.push_back(handle);
    if (made) made(handle);
    if (SendMessage(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return kNoWindow;
    }
    // A new window learns its size right after its creation, as on the original platform.
    if (const Record* r = Find(handle))
        SendMessage(handle, WM_SIZE, 0, MAKELPARAM(r->rect.Width(), r->rect.Height()));
    return handle;
}

bool WindowTable::DestroyWindow(HWND window) {
    Record* r = Find(window);
    if (!r) return false;
    SendMessage(window, WM_DESTROY, 0, 0);
    // The procedure may have destroyed children already; take a fresh look each time.
    while (true) {
        r = Find(window);
        if (!r || r->children.empty()) break;
        DestroyWindow(r->children.back());
    }
    r = Find(window);
    if (!r) return true;
    if (Record* parent = Find(r->parent)) std::erase(parent->children, window);
    if (focus_ == window) focus_ = kNoWindow;
    if (capture_ == window) ReleaseCapture();
    auto node = windows_.extract(window.value);
    OnRemoved(window, *node.mapped());
    return true;
}

bool WindowTable::IsWindow(HWND window) const {
    return Find(window) != nullptr;
}

HWND WindowTable::GetParent(HWND window) const {
    const Record* r = Find(window);
    return r ? r->parent : kNoWindow;
}

std::vector<HWND> WindowTable::GetChildren(HWND window) const {
    const Record* r = Find(window);
    return r ? r->children : std::vector<HWND>{};
}

std::string WindowTable::GetClassName(HWND window) const {
    const Record* r = Find(window);
    return r ? r->className : std::string();
}

UINT WindowTable::GetDlgCtrlID(HWND window) const {
    const Record* r = Find(window);
    return r ? r->id : 0;
}

std::vector<HWND> WindowTable::TopWindows() const {
    std::vector<HWND> top;
    for (const auto& [handle, record] : windows_)
        if (!record->parent) top.push_back(HWND{handle});
    return top;
}

bool WindowTable::EnableWindow(HWND window, bool enable) {
    Record* r = Find(window);
    if (!r) return false;
    const bool wasDisabled = !r->enabled;
    if (r->enabled != enable) {
        r->enabled = enable;
        OnEnable(window, enable);
        SendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
    }
    return wasDisabled;
}

bool WindowTable::IsWindowEnabled(HWND window) const {
    const Record* r = Find(window);
    return r && r->enabled;
}

bool WindowTable::ShowWindow(HWND window, bool show) {
    Record* r = Find(window);
    if (!r) return false;
    const bool wasVisible = r->visible;
    r->visible = show;
    OnShow(window, show);
    return wasVisible;
}

bool WindowTable::IsWindowVisible(HWND window) const {
    for (const Record* r = Find(window); r; r = Find(r->parent)) {
        if (!r->visible) return false;
        if (!r->parent) return true;
    }
    return false;
}

HWND WindowTable::SetFocus(HWND window) {
    const HWND previous = focus_;
    if (window && !Find(window)) return previous;
    if (previous == window) return previous;
    MoveFocus(window);
    if (window) OnFocus(window);
    return previous;
}

void WindowTable::MoveFocus(HWND window) {
    const HWND previous = focus_;
    focus_ = window;
    if (previous && Find(previous))
        SendMessage(previous, WM_KILLFOCUS, static_cast<WPARAM>(window.value), 0);
    if (window) SendMessage(window, WM_SETFOCUS, static_cast<WPARAM>(previous.value), 0);
}

RECT WindowTable::GetClientRect(HWND window) const {
    const Record* r = Find(window);
    if (!r) return {};
    return RECT{0, 0, r->rect.Width(), r->rect.Height()};
}

RECT WindowTable::GetWindowRect(HWND window) const {
    const Record* r = Find(window);
    return r ? r->rect : RECT{};
}

bool WindowTable::MoveWindow(HWND window, const RECT& rect, bool repaint) {
    if (!Find(window) || !OnMove(window, rect, repaint)) return false;
    Record* r = Find(window);
    if (!r) return true;
    const bool resized = r->rect.Width() != rect.Width() || r->rect.Height() != rect.Height();
    r->rect = rect;
    if (resized) SendMessage(window, WM_SIZE, 0, MAKELPARAM(rect.Width(), rect.Height()));
    return true;
}

void WindowTable::Resized(HWND window, int width, int height) {
    Record* r = Find(window);
    if (!r || (r->rect.Width() == width && r->rect.Height() == height)) return;
    r->rect.right = r->rect.left + width;
    r->rect.bottom = r->rect.top + height;
    SendMessage(window, WM_SIZE, 0, MAKELPARAM(width, height));
}

void WindowTable::InvalidateRect(HWND window, const RECT* rect) {
    if (Find(window)) OnInvalidate(window, rect);
}

void WindowTable::UpdateWindow(HWND window) {
    if (Find(window)) OnUpdate(window);
}

LRESULT WindowTable::SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Find(window)) return 0;
    if (router_ && router_(window, message, wParam, lParam)) return 0;
    const Record* r = Find(window);
    if (!r || !r->proc) return 0;
    return r->proc->WindowProc(window, message, wParam, lParam);
}

Cursor WindowTable::SetCursor(Cursor cursor) {
    const Cursor previous = cursor_;
    if (cursor == previous) return previous;
    cursor_ = cursor;
    OnCursor(cursor);
    return previous;
}

HWND WindowTable::SetCapture(HWND window) {
    const HWND previous = capture_;
    if (window && !Find(window)) return previous;
    OnCapture(previous, window);
    capture_ = window;
    return previous;
}

bool WindowTable::ReleaseCapture() {
    OnCapture(capture_, kNoWindow);
    capture_ = kNoWindow;
    return true;
}

POINT WindowTable::ClientToScreen(HWND window, POINT point) const {
    for (const Record* r = Find(window); r; r = Find(r->parent)) {
        point.x += r->rect.left;
        point.y += r->rect.top;
    }
    return point;
}

POINT WindowTable::ScreenToClient(HWND window, POINT point) const {
    const POINT origin = ClientToScreen(window, POINT{});
    return POINT{point.x - origin.x, point.y - origin.y};
}

HWND WindowTable::ChildFromPoint(HWND window, POINT screen) const {
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

HWND WindowTable::WindowFromPoint(POINT screen) const {
    const std::vector<HWND> top = TopWindows();
    for (auto it = top.rbegin(); it != top.rend(); ++it)
        if (HWND hit = ChildFromPoint(*it, screen)) return hit;
    return kNoWindow;
}

}  // namespace orbel::platform
