#include "platform/controls/KeyNavigation.h"

#include <algorithm>

namespace orbel::platform {

namespace {

// A page moves by the rows it shows, less the one that stays in sight, and always by one.
int PageStep(int pageRows) {
    return std::max(1, pageRows - 1);
}

TreeItem Walk(const TreeItems& items, TreeItem from, int steps, bool down) {
    TreeItem at = from;
    for (int i = 0; i < steps; ++i) {
        const TreeItem next = down ? items.NextShown(at) : items.PrevShown(at);
        if (next == kTreeNone) break;
        at = next;
    }
    return at;
}

TreeKeyStep Select(TreeItem item) {
    return TreeKeyStep{TreeKeyStep::Kind::Select, item};
}

}  // namespace

TreeKeyStep StepForTreeKey(const TreeItems& items, TreeItem selected, UINT key, int pageRows) {
    const bool moving = key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END ||
                        key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_RIGHT ||
                        key == VK_BACK;
    if (!items.Has(selected)) {
        if (moving && items.First() != kTreeNone) return Select(items.First());
        return {};
    }
    const bool open = items.IsExpanded(selected) && items.HasChildren(selected);
    switch (key) {
        case VK_UP:
            return Select(Walk(items, selected, 1, false));
        case VK_DOWN:
            return Select(Walk(items, selected, 1, true));
        case VK_PRIOR:
            return Select(Walk(items, selected, PageStep(pageRows), false));
        case VK_NEXT:
            return Select(Walk(items, selected, PageStep(pageRows), true));
        case VK_HOME:
            return Select(items.First());
        case VK_END:
            return Select(items.LastShown());
        case VK_RIGHT:
            if (open) return Select(items.FirstChild(selected));
            [[fallthrough]];
        case VK_ADD:
            if (!items.HasChildren(selected) || open) return {};
            return TreeKeyStep{TreeKeyStep::Kind::Expand, selected};
        case VK_LEFT:
            if (!open)
                return items.Parent(selected) ? Select(items.Parent(selected)) : TreeKeyStep{};
            [[fallthrough]];
        case VK_SUBTRACT:
            if (!open) return {};
            return TreeKeyStep{TreeKeyStep::Kind::Collapse, selected};
        case VK_BACK:
            return items.Parent(selected) ? Select(items.Parent(selected)) : TreeKeyStep{};
        default:
            return {};
    }
}

int RowForListKey(int count, int focused, UINT key, int pageRows, bool sideBySide) {
    if (count <= 0) return -1;
    const bool back = key == VK_UP || key == VK_PRIOR || (sideBySide && key == VK_LEFT);
    const bool forth = key == VK_DOWN || key == VK_NEXT || (sideBySide && key == VK_RIGHT);
    const bool ends = key == VK_HOME || key == VK_END;
    if (!back && !forth && !ends) return -1;
    if (focused < 0 || focused >= count) return 0;
    if (key == VK_HOME) return 0;
    if (key == VK_END) return count - 1;
    const int step = key == VK_PRIOR || key == VK_NEXT ? PageStep(pageRows) : 1;
    return std::clamp(focused + (back ? -step : step), 0, count - 1);
}

}  // namespace orbel::platform
