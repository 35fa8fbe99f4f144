#include "platform/headless/HeadlessTree.h"

#include <utility>

#include "platform/controls/ControlText.h"
#include "platform/headless/HeadlessControls.h"

namespace orbel::platform {

HeadlessTreeControl::HeadlessTreeControl(std::weak_ptr<HeadlessControlRegistry> registry,
                                         HWND window, TreeControlEvents& events)
    : TreeControlBase(events),
      registration_(std::move(registry), &HeadlessControlRegistry::trees, window, this) {}

bool HeadlessTreeControl::UserEditLabel(TreeItem item, std::optional<std::string> text) {
    if (GetEditItem() != item && !EditLabel(item)) return false;
    HeadlessEditBox* box = labelEdit_.Box();
    if (!box) return false;
    const std::string before = GetItemText(item);
    if (text) box->Type(*text);
    box->End(!text);
    return Has(item) && GetItemText(item) != before;
}

// The headless tree draws one item per row of kRowHeight pixels, indented kIndent pixels per
// level (and one level for the lines at the top), an icon of kIconWidth, then the label at
// kCharWidth pixels per character.
namespace {
constexpr int kRowHeight = 20;
constexpr int kIndent = 19;
constexpr int kIconWidth = 16;
constexpr int kCharWidth = 7;
constexpr int kLabelPadding = 4;

// Where the parts of a shown row lie, in client coordinates.
struct RowBox {
    int top = 0;
    int iconLeft = 0;
    int labelLeft = 0;
    int labelRight = 0;
};

RowBox BoxOf(std::size_t row, int depth, const std::string& label) {
    RowBox box;
    box.top = static_cast<int>(row) * kRowHeight;
    box.iconLeft = (depth + 1) * kIndent;
    box.labelLeft = box.iconLeft + kIconWidth;
    box.labelRight = box.labelLeft + static_cast<int>(label.size()) * kCharWidth + kLabelPadding;
    return box;
}
}  // namespace

bool HeadlessTreeControl::GetItemRect(TreeItem item, RECT& rect, bool textOnly) const {
    const auto shown = Items().ShownItems();
    for (std::size_t row = 0; row < shown.size(); ++row) {
        if (shown[row].item != item) continue;
        const RowBox box = BoxOf(row, shown[row].depth, Items().Text(item));
        rect = RECT{textOnly ? box.labelLeft : 0, box.top, box.labelRight, box.top + kRowHeight};
        return true;
    }
    return false;
}

TreeItem HeadlessTreeControl::HitTest(POINT point, UINT* flags) const {
    UINT where = kTreeHitNowhere;
    TreeItem hit = kTreeNone;
    if (point.y >= 0 && point.x >= 0) {
        const auto shown = Items().ShownItems();
        const auto row = static_cast<std::size_t>(point.y / kRowHeight);
        if (row < shown.size()) {
            hit = shown[row].item;
            const RowBox box = BoxOf(row, shown[row].depth, Items().Text(hit));
            where =
                TreeHitOnRow(point.x, TreeRowParts{box.iconLeft - kIconWidth / 2 - 4, box.iconLeft,
                                                   box.labelLeft, box.labelRight});
        }
    }
    if (flags) *flags = where;
    return hit;
}

std::unique_ptr<ImageList> HeadlessTreeControl::CreateDragImage(TreeItem item) {
    if (!Items().Has(item)) return nullptr;
    // The icon and the label, as the item's row shows them.
    const std::string text = Items().Text(item);
    const RowBox box = BoxOf(0, 0, text);
    return std::make_unique<HeadlessImageList>("drag \"" + text + "\"",
                                               box.labelRight - box.iconLeft, kRowHeight, 1);
}

bool HeadlessTreeControl::OpenEditBox(TreeItem, const std::string& text, EditEnd end) {
    labelEdit_.Open(Window(), text, std::move(end));
    return true;
}

bool HeadlessTreeControl::LimitEditBox(int characters) {
    if (!labelEdit_.Box()) return false;
    labelEdit_.Box()->Limit(characters);
    return true;
}

int HeadlessTreeControl::PageRows() const {
    return registration_.PageRows(kRowHeight);
}

bool HeadlessTreeControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_KEYDOWN) return false;
    KeyDown(static_cast<UINT>(wParam));
    return true;
}

std::string HeadlessTreeControl::Dump() const {
    return DescribeTree(*this);
}

}  // namespace orbel::platform
