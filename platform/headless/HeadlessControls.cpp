#include "platform/headless/HeadlessControls.h"

namespace orbel::platform {

HeadlessImageList::HeadlessImageList(std::string strip, int width, int height, int cells)
    : width_(width), height_(height) {
    for (int i = 0; i < cells; ++i) images_.push_back(strip + "#" + std::to_string(i));
}

int HeadlessImageList::Add(const Icon& icon) {
    images_.push_back(icon.name);
    return GetImageCount() - 1;
}

bool HeadlessImageList::Replace(int index, const Icon& icon) {
    if (index < 0 || index > GetImageCount()) return false;
    if (index == GetImageCount())
        images_.push_back(icon.name);
    else
        images_[static_cast<std::size_t>(index)] = icon.name;
    return true;
}

std::string HeadlessImageList::Describe(int index) const {
    if (index < 0 || index >= GetImageCount()) return {};
    return images_[static_cast<std::size_t>(index)];
}

HeadlessControls::HeadlessControls() : registry_(std::make_shared<HeadlessControlRegistry>()) {}

std::unique_ptr<TreeControl> HeadlessControls::CreateTreeControl(HWND window,
                                                                 TreeControlEvents& events) {
    return std::make_unique<HeadlessTreeControl>(registry_, window, events);
}

std::unique_ptr<ListControl> HeadlessControls::CreateListControl(HWND window,
                                                                 ListControlEvents& events) {
    return std::make_unique<HeadlessListControl>(registry_, window, events);
}

std::unique_ptr<ToolBarControl> HeadlessControls::CreateToolBarControl(
    HWND window, ToolBarControlEvents& events) {
    return std::make_unique<HeadlessToolBarControl>(registry_, window, events);
}

std::unique_ptr<ImageList> HeadlessControls::CreateImageList(const std::string& strip, int width,
                                                             int height, int cells) {
    return std::make_unique<HeadlessImageList>(strip, width, height, cells);
}

std::optional<Icon> HeadlessControls::ExtractIcon(const std::string& file, int index) {
    if (file.empty() || index < 0) return std::nullopt;
    return Icon{file + "," + std::to_string(index)};
}

namespace {
template <class Model>
Model* Lookup(const std::map<std::uint32_t, Model*>& map, HWND window) {
    auto it = map.find(window.value);
    return it == map.end() ? nullptr : it->second;
}
}  // namespace

HeadlessTreeControl* HeadlessControls::Tree(HWND window) const {
    return Lookup(registry_->trees, window);
}

HeadlessListControl* HeadlessControls::List(HWND window) const {
    return Lookup(registry_->lists, window);
}

HeadlessToolBarControl* HeadlessControls::ToolBar(HWND window) const {
    return Lookup(registry_->toolBars, window);
}

bool HeadlessControls::RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HeadlessTreeControl* tree = Tree(window))
        return tree->OnWindowMessage(message, wParam, lParam);
    if (HeadlessListControl* list = List(window))
        return list->OnWindowMessage(message, wParam, lParam);
    return false;
}

bool HeadlessControls::BeginDrag(const ImageList& images, int index, POINT hotSpot) {
    if (index < 0 || index >= images.GetImageCount()) return false;
    (void)hotSpot;
    drag_ = DragImage{images.Describe(index), {}, false, false};
    return true;
}

bool HeadlessControls::DragEnter(HWND, POINT screen) {
    if (!drag_) return false;
    drag_->at = screen;
    drag_->entered = true;
    drag_->shown = true;
    return true;
}

bool HeadlessControls::DragMove(POINT screen) {
    if (!drag_) return false;
    drag_->at = screen;
    return true;
}

bool HeadlessControls::DragLeave(HWND) {
    if (!drag_) return false;
    drag_->entered = false;
    drag_->shown = false;
    return true;
}

void HeadlessControls::EndDrag() {
    drag_.reset();
}

bool HeadlessControls::DragShowNolock(bool show) {
    if (!drag_) return false;
    drag_->shown = show;
    return true;
}

std::string HeadlessControls::DragState() const {
    if (!drag_) return "none";
    std::string out = drag_->image + " at (" + std::to_string(drag_->at.x) + "," +
                      std::to_string(drag_->at.y) + ")";
    if (drag_->entered) out += " entered";
    if (drag_->shown) out += " shown";
    return out;
}

std::string HeadlessControls::Dump() const {
    std::string out;
    auto section = [&out](const char* kind, std::uint32_t window, const std::string& dump) {
        out += std::string(kind) + " in window " + std::to_string(window) + ":\n" + dump;
    };
    for (const auto& [window, tree] : registry_->trees) section("tree", window, tree->Dump());
    for (const auto& [window, list] : registry_->lists) section("list", window, list->Dump());
    for (const auto& [window, bar] : registry_->toolBars) section("toolbar", window, bar->Dump());
    return out;
}

}  // namespace orbel::platform
