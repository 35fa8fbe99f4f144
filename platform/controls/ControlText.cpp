#include "platform/controls/ControlText.h"

#include <algorithm>

namespace orbel::platform {

namespace {
void DescribeItem(const TreeControl& tree, TreeItem item, int depth, std::string& out) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    int image = 0;
    int selectedImage = 0;
    tree.GetItemImage(item, image, selectedImage);
    out += tree.GetItemText(item) + " key=" + std::to_string(tree.GetItemData(item)) +
           " image=" + std::to_string(image) + "/" + std::to_string(selectedImage);
    if (item == tree.GetSelectedItem()) out += " current";
    if (item == tree.GetDropHilightItem()) out += " drop";
    if (item == tree.GetEditItem()) out += " editing";
    out += "\n";
    for (TreeItem child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
        DescribeItem(tree, child, depth + 1, out);
}
}  // namespace

std::string DescribeTree(const TreeControl& tree) {
    std::string out;
    for (TreeItem item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item))
        DescribeItem(tree, item, 0, out);
    return out;
}

std::string DescribeList(const ListControl& list) {
    std::string out = "columns:";
    for (int c = 0; c < list.GetColumnCount(); ++c)
        out += (c == 0 ? " " : " | ") + list.GetColumnTitle(c);
    out += "\n";
    const int shown = std::max(1, list.GetColumnCount());
    const int editRow = list.GetEditRow();
    for (int r = 0; r < list.GetItemCount(); ++r) {
        const UINT state = list.GetItemState(r, kListSelected | kListFocused | kListDropHilited);
        out += std::to_string(r) + " key=" + std::to_string(list.GetItemData(r)) +
               " image=" + std::to_string(list.GetItemImage(r));
        if (state & kListSelected) out += " selected";
        if (state & kListFocused) out += " focused";
        if (state & kListDropHilited) out += " drop";
        if (r == editRow) out += " editing";
        out += ":";
        for (int c = 0; c < shown; ++c) out += (c == 0 ? " " : " | ") + list.GetItemText(r, c);
        out += "\n";
    }
    return out;
}

std::string DescribeToolBar(const ToolBarControl& bar) {
    std::string out;
    for (const ToolButton& b : bar.Buttons()) {
        if (b.id == 0) {
            out += "separator\n";
            continue;
        }
        out += std::to_string(b.id) + " \"" + b.text + "\"";
        if (!bar.IsButtonEnabled(b.id)) out += " disabled";
        if (bar.IsButtonChecked(b.id)) out += " checked";
        if (bar.IsButtonHidden(b.id)) out += " hidden";
        out += "\n";
    }
    return out;
}

}  // namespace orbel::platform
