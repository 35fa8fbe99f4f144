#include "platform/headless/HeadlessEditBox.h"

#include "platform/Platform.h"
#include "platform/text/Utf8.h"

namespace orbel::platform {

HeadlessEditBox::HeadlessEditBox(HWND parent, std::string text, EndHandler onEnd)
    : parent_(parent), text_(std::move(text)), onEnd_(std::move(onEnd)) {
    WindowSystem& windows = GetPlatform().Windows();
    CreateWindowParams params;
    params.className = "Edit";
    params.text = text_;
    params.rect = windows.GetClientRect(parent);
    params.parent = parent;
    window_ = windows.CreateWindow(params, this);
    if (window_) windows.SetFocus(window_);
}

HeadlessEditBox::~HeadlessEditBox() {
    Close();
}

void HeadlessEditBox::Close() {
    if (!window_ || !HasPlatform()) return;
    WindowSystem& windows = GetPlatform().Windows();
    HWND window = window_;
    window_ = kNoWindow;
    if (windows.GetFocus() == window && windows.IsWindow(parent_)) windows.SetFocus(parent_);
    windows.DestroyWindow(window);
}

std::string HeadlessEditBox::Cut(std::string_view text) const {
    if (limit_ == 0) return std::string(text);
    return std::string(FirstCharacters(text, static_cast<std::size_t>(limit_)));
}

void HeadlessEditBox::Limit(int characters) {
    limit_ = characters < 0 ? 0 : characters;
    text_ = Cut(text_);
}

void HeadlessEditBox::Type(std::string_view text) {
    text_ = Cut(text);
}

void HeadlessEditBox::End(bool cancel) {
    // The handler usually closes and drops this box: nothing here is touched after it runs.
    EndHandler handler = std::move(onEnd_);
    onEnd_ = nullptr;
    if (handler) handler(cancel ? std::nullopt : std::optional<std::string>(text_));
}

LRESULT HeadlessEditBox::WindowProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        End(wParam == VK_ESCAPE);
    return 0;
}

}  // namespace orbel::platform
