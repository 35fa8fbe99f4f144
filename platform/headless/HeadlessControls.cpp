#include "platform/headless/HeadlessControls.h"

namespace orbel::platform {

HeadlessControls::HeadlessControls()
    : RegisteringControls(std::make_shared<HeadlessControlRegistry>()) {}

bool HeadlessControls::RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HeadlessTreeControl* tree = Tree(window))
        return tree->OnWindowMessage(message, wParam, lParam);
    if (HeadlessListControl* list = List(window))
        return list->OnWindowMessage(message, wParam, lParam);
    return false;
}

std::string HeadlessControls::DragState() const {
    const auto& drag = Drag();
    if (!drag) return "none";
    std::string out =
        drag->image + " at (" + std::to_string(drag->at.x) + "," + std::to_string(drag->at.y) + ")";
    if (drag->entered) out += " entered";
    if (drag->shown) out += " shown";
    return out;
}

std::string HeadlessControls::Dump() const {
    std::string out;
    auto section = [&out](const char* kind, std::uint32_t window, const std::string& dump) {
        out += std::string(kind) + " in window " + std::to_string(window) + ":\n" + dump;
    };
    for (const auto& [window, tree] : Context().trees) section("tree", window, tree->Dump());
    for (const auto& [window, list] : Context().lists) section("list", window, list->Dump());
    for (const auto& [window, bar] : Context().toolBars) section("toolbar", window, bar->Dump());
    return out;
}

}  // namespace orbel::platform
