#include "platform/headless/HeadlessList.h"

#include "platform/controls/ControlText.h"
#include "platform/headless/HeadlessControls.h"

namespace orbel::platform {

HeadlessListControl::HeadlessListControl(std::weak_ptr<HeadlessControlRegistry> registry,
                                         HWND window, ListControlEvents& events)
    : ListControlBase(events),
      registration_(std::move(registry), &HeadlessControlRegistry::lists, window, this) {}

bool HeadlessListControl::UserEditLabel(int row, std::optional<std::string> text) {
    if (GetEditRow() != row && !EditLabel(row)) return false;
    HeadlessEditBox* box = labelEdit_.Box();
    if (!box) return false;
    const std::string before = GetItemText(row, 0);
    const int count = GetItemCount();
    if (text) box->Type(*text);
    box->End(!text);
    return GetItemCount() == count && Valid(row) && GetItemText(row, 0) != before;
}

// The headless list draws every view style as the report view: a header of kRowHeight
// pixels, then one row of kRowHeight pixels each; the first column holds an icon of
// kIconWidth and the label.
namespace {
constexpr int kRowHeight = 20;
constexpr int kIconWidth = 16;
constexpr int kDefaultFirstColumn = 100;
}  // namespace

int HeadlessListControl::FirstColumnWidth() const {
    return GetColumnCount() == 0 ? kDefaultFirstColumn : GetColumnWidth(0);
}

int HeadlessListControl::PageRows() const {
    // The header takes one row's height of the window.
    return registration_.PageRows(kRowHeight) - 1;
}

int HeadlessListControl::HitTest(POINT point, UINT* flags) const {
    UINT where = kListHitNowhere;
    int hit = -1;
    if (point.x >= 0 && point.y >= kRowHeight && point.x < FirstColumnWidth()) {
        const int row = (point.y - kRowHeight) / kRowHeight;
        if (Valid(row)) {
            hit = row;
            where = point.x < kIconWidth ? kListHitOnIcon : kListHitOnLabel;
        }
    }
    if (flags) *flags = where;
    return hit;
}

bool HeadlessListControl::GetItemRect(int row, RECT& rect, bool labelOnly) const {
    if (!Valid(row)) return false;
    const int top = kRowHeight * (row + 1);
    rect = RECT{labelOnly ? kIconWidth : 0, top, FirstColumnWidth(), top + kRowHeight};
    return true;
}

void HeadlessListControl::OpenEditBox(int, const std::string& text) {
    labelEdit_.Open(Window(), text,
                    [this](std::optional<std::string> typed) { FinishEdit(std::move(typed)); });
}

bool HeadlessListControl::LimitEditText(int characters) {
    if (!labelEdit_.Box()) return false;
    labelEdit_.Box()->Limit(characters);
    return true;
}

std::unique_ptr<ImageList> HeadlessListControl::CreateDragImage(int row) {
    if (!Valid(row)) return nullptr;
    return std::make_unique<HeadlessImageList>("drag \"" + GetItemText(row, 0) + "\"",
                                               FirstColumnWidth(), kRowHeight, 1);
}

void HeadlessListControl::RedrawItems(int first, int last) {
    if (first <= last) ++redraws_;
}

bool HeadlessListControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_KEYDOWN) return false;
    KeyDown(static_cast<UINT>(wParam));
    return true;
}

std::string HeadlessListControl::Dump() const {
    return DescribeList(*this);
}

}  // namespace orbel::platform
