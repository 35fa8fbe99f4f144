// One home for the type information of the control interfaces, and the handlers an owner does
// not override: they do nothing and refuse nothing.
#include "platform/controls/Controls.h"

namespace orbel::platform {

Controls::~Controls() = default;
std::optional<Icon> Controls::ExtractIcon(const std::string& file, int index) {
    if (file.empty() || index < 0) return std::nullopt;
    return Icon{file + "," + std::to_string(index)};
}
ImageList::~ImageList() = default;
TreeControl::~TreeControl() = default;
ListControl::~ListControl() = default;
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

ToolBarControlEvents::~ToolBarControlEvents() = default;
void ToolBarControlEvents::OnToolButtonClicked(UINT) {}

}  // namespace orbel::platform
