#include "platform/headless/HeadlessUserDriver.h"

#include "platform/headless/HeadlessPlatform.h"

namespace orbel::platform {

namespace {
// Repeat count 1; a key going up also has the previous-state and transition bits.
constexpr LPARAM kKeyDownFlags = 1;
constexpr LPARAM kKeyUpFlags = static_cast<LPARAM>(0xC0000001u);
constexpr LPARAM kAltDownFlag = 0x20000000;
}  // namespace

TreeControl* HeadlessUserDriver::Tree(HWND window) {
    return p_.CommonControls().Tree(window);
}

ListControl* HeadlessUserDriver::List(HWND window) {
    return p_.CommonControls().List(window);
}

ToolBarControl* HeadlessUserDriver::ToolBar(HWND window) {
    return p_.CommonControls().ToolBar(window);
}

bool HeadlessUserDriver::Takes(HWND window) const {
    return TakesInput(p_.Windows(), window);
}

void HeadlessUserDriver::PointAt(HWND window, POINT client) {
    const POINT screen = p_.Windows().ClientToScreen(window, client);
    const POINT now = p_.Windows().GetCursorPos();
    if (now.x != screen.x || now.y != screen.y) p_.Windows().UserMoveMouse(screen);
}

void HeadlessUserDriver::PressKey(HWND window, UINT key, bool shift, bool ctrl, bool alt) {
    if (!Takes(window)) return;
    // Posted, as the keyboard does, so that the message passes the hooks; modifiers go down
    // before the key and up after it.
    const HWND target = window;
    MessageLoop& loop = p_.Loop();
    const LPARAM altFlag = alt ? kAltDownFlag : 0;
    if (ctrl) loop.PostMessage(target, WM_KEYDOWN, VK_CONTROL, kKeyDownFlags);
    if (shift) loop.PostMessage(target, WM_KEYDOWN, VK_SHIFT, kKeyDownFlags);
    if (alt) loop.PostMessage(target, WM_SYSKEYDOWN, VK_MENU, kKeyDownFlags | altFlag);
    loop.PostMessage(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, kKeyDownFlags | altFlag);
    if (alt) loop.PostMessage(target, WM_KEYUP, VK_MENU, kKeyUpFlags);
    if (shift) loop.PostMessage(target, WM_KEYUP, VK_SHIFT, kKeyUpFlags);
    if (ctrl) loop.PostMessage(target, WM_KEYUP, VK_CONTROL, kKeyUpFlags);
}

void HeadlessUserDriver::MoveMouse(POINT screen) {
    p_.Windows().UserMoveMouse(screen);
}

void HeadlessUserDriver::MouseButton(UINT message, POINT screen) {
    HeadlessWindows& windows = p_.Windows();
    const HWND target =
        windows.GetCapture() ? windows.GetCapture() : windows.WindowFromPoint(screen);
    if (target && !Takes(target)) return;
    p_.Windows().UserMouseButton(message, screen);
}

bool HeadlessUserDriver::TreeSelect(HWND window, TreeItem item) {
    HeadlessTreeControl* tree = p_.CommonControls().Tree(window);
    if (!tree || !tree->Has(item) || !Takes(window)) return false;
    tree->UserSelect(item);
    return true;
}

bool HeadlessUserDriver::TreeExpand(HWND window, TreeItem item, bool expand) {
    HeadlessTreeControl* tree = p_.CommonControls().Tree(window);
    if (!tree || !tree->Has(item) || !Takes(window)) return false;
    tree->UserExpand(item, expand);
    return true;
}

bool HeadlessUserDriver::TreeRightClick(HWND window, TreeItem item, POINT client) {
    HeadlessTreeControl* tree = p_.CommonControls().Tree(window);
    if (!tree || (item && !tree->Has(item)) || !Takes(window)) return false;
    PointAt(window, client);
    tree->UserRightClick(item, client);
    return true;
}

bool HeadlessUserDriver::TreeBeginDrag(HWND window, TreeItem item, POINT client) {
    HeadlessTreeControl* tree = p_.CommonControls().Tree(window);
    if (!tree || !tree->Has(item) || !Takes(window)) return false;
    PointAt(window, client);
    tree->UserBeginDrag(item, client);
    return true;
}

bool HeadlessUserDriver::ListClick(HWND window, int row) {
    HeadlessListControl* list = p_.CommonControls().List(window);
    if (!list || row < -1 || row >= list->GetItemCount() || !Takes(window)) return false;
    list->UserClick(row);
    return true;
}

bool HeadlessUserDriver::ListToggleSelect(HWND window, int row) {
    HeadlessListControl* list = p_.CommonControls().List(window);
    if (!list || row < 0 || row >= list->GetItemCount() || !Takes(window)) return false;
    list->UserToggleSelect(row);
    return true;
}

bool HeadlessUserDriver::ListDoubleClick(HWND window, int row) {
    HeadlessListControl* list = p_.CommonControls().List(window);
    if (!list || row < 0 || row >= list->GetItemCount() || !Takes(window)) return false;
    list->UserDoubleClick(row);
    return true;
}

bool HeadlessUserDriver::ListRightClick(HWND window, int row, POINT client) {
    HeadlessListControl* list = p_.CommonControls().List(window);
    if (!list || row < -1 || row >= list->GetItemCount() || !Takes(window)) return false;
    PointAt(window, client);
    list->UserRightClick(row, client);
    return true;
}

bool HeadlessUserDriver::ListBeginDrag(HWND window, int row, POINT client) {
    HeadlessListControl* list = p_.CommonControls().List(window);
    if (!list || row < 0 || row >= list->GetItemCount() || !Takes(window)) return false;
    PointAt(window, client);
    list->UserBeginDrag(row, client);
    return true;
}

bool HeadlessUserDriver::ListDrop(HWND window, const DroppedData& data) {
    HeadlessListControl* list = p_.CommonControls().List(window);
    if (!list || !Takes(window)) return false;
    return list->UserDrop(data);
}

bool HeadlessUserDriver::TypeLabel(HWND window, const std::string& text) {
    if (!Takes(window)) return false;
    HeadlessEditBox* box = nullptr;
    if (HeadlessTreeControl* tree = p_.CommonControls().Tree(window))
        box = tree->EditBox();
    else if (HeadlessListControl* list = p_.CommonControls().List(window))
        box = list->EditBox();
    if (!box) return false;
    box->Type(text);
    return true;
}

bool HeadlessUserDriver::ToolBarClick(HWND window, UINT id) {
    HeadlessToolBarControl* bar = p_.CommonControls().ToolBar(window);
    return bar && Takes(window) && bar->UserClick(id);
}

}  // namespace orbel::platform
