// One home for the type information of the control interfaces, the handlers an owner does not
// override (they do nothing and refuse nothing), and what a list that is not drawn answers.
#include "platform/controls/Controls.h"

#include <algorithm>

namespace orbel::platform {

Controls::~Controls() = default;
std::optional<Icon> Controls::ExtractIcon(const std::string& file, int index) {
    if (file.empty() || index < 0) return std::nullopt;
    return Icon{file + "," + std::to_string(index)};
}
ImageList::~ImageList() = default;
TreeControl::~TreeControl() = default;
ListControl::~ListControl() = default;
int ListControl::FindItem(DWORD data, int after) const {
    for (int row = std::max(after + 1, 0); row < GetItemCount(); ++row)
        if (GetItemData(row) == data) return row;
    return -1;
}
int ListControl::HitTest(POINT, UINT* flags) const {
    if (flags) *flags = kListHitNowhere;
    return -1;
}
bool ListControl::GetItemRect(int, RECT&, bool) const {
    return false;
}
bool ListControl::EditLabel(int) {
    return false;
}
bool ListControl::LimitEditText(int) {
    return false;
}
int ListControl::GetEditRow() const {
    return -1;
}
std::unique_ptr<ImageList> ListControl::CreateDragImage(int) {
    return nullptr;
}
void ListControl::RedrawItems(int, int) {}
void ListControl::SetImageLists(const ImageList*, const ImageList*) {}
void ListControl::RedrawNow() {}
ToolBarControl::~ToolBarControl() = default;

TreeControlEvents::~TreeControlEvents() = default;
void TreeControlEvents::OnTreeSelChanged(TreeItem, TreeItem) {}
bool TreeControlEvents::OnTreeItemExpanding(TreeItem, bool) {
    return false;
}
bool TreeControlEvents::OnTreeBeginLabelEdit(TreeItem) {
    return false;
}
bool TreeControlEvents::OnTreeEndLabelEdit(TreeItem, const std::optional<std::string>& text) {
    return text.has_value();
}
void TreeControlEvents::OnTreeKeyDown(UINT) {}
void TreeControlEvents::OnTreeBeginDrag(TreeItem, POINT) {}
void TreeControlEvents::OnTreeRightClick(TreeItem, POINT) {}

ListControlEvents::~ListControlEvents() = default;
void ListControlEvents::OnListItemChanged(int, UINT, UINT) {}
void ListControlEvents::OnListKeyDown(UINT) {}
void ListControlEvents::OnListDoubleClick(int) {}
void ListControlEvents::OnListRightClick(int, POINT) {}
bool ListControlEvents::OnListBeginLabelEdit(int) {
    return false;
}
bool ListControlEvents::OnListEndLabelEdit(int, const std::optional<std::string>& text) {
    return text.has_value();
}
void ListControlEvents::OnListBeginDrag(int, POINT) {}
void ListControlEvents::OnListDrop(const DroppedData&) {}

ToolBarControlEvents::~ToolBarControlEvents() = default;
void ToolBarControlEvents::OnToolButtonClicked(UINT) {}

}  // namespace orbel::platform
