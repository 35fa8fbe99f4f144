// What the arrow, page, Home and End keys and + and - do in a tree and in a list, in one place
// for every backend. A backend hands a key here once the owner has heard of it, with the rows
// one page of its window shows, and the step is taken the way a person's click or a click on
// the expand button takes it, so that the owner hears the same notifications.
// Not for: the keys the owner acts on (Delete, F2, Enter, Escape, Tab), or typing into an edit
// box.
#pragma once

#include "platform/Win.h"
#include "platform/controls/TreeControl.h"
#include "platform/controls/TreeItems.h"

namespace orbel::platform {

// A key's step in a tree: select an item, or expand or collapse one.
struct TreeKeyStep {
    enum class Kind { None, Select, Expand, Collapse };
    Kind kind = Kind::None;
    TreeItem item = kTreeNone;
};

// Up and Down go to the item shown above and below; Home and End to the first and last shown;
// Page Up and Page Down a page of rows up and down. Right expands a collapsed item and goes to
// the first child of an expanded one, Left collapses an expanded item and goes to the parent
// of a collapsed one; + and - only expand and collapse; Backspace goes to the parent. Without
// a selection every moving key goes to the first item.
TreeKeyStep StepForTreeKey(const TreeItems& items, TreeItem selected, UINT key, int pageRows);

// The row a key moves a list's focus and selection to, -1 for none: Up and Down one row, Home
// and End to either end, Page Up and Page Down a page of rows; Left and Right one row in the
// styles that lay rows out side by side (`sideBySide`), nothing in the report. Without a
// focused row every moving key goes to the first row.
int RowForListKey(int count, int focused, UINT key, int pageRows, bool sideBySide);

// Takes a tree key's step on a backend's tree, through its UserSelect and UserExpand.
template <class Tree>
void NavigateTree(Tree& tree, const TreeItems& items, UINT key, int pageRows) {
    const TreeKeyStep step = StepForTreeKey(items, tree.GetSelectedItem(), key, pageRows);
    switch (step.kind) {
        case TreeKeyStep::Kind::Select:
            tree.UserSelect(step.item);
            break;
        case TreeKeyStep::Kind::Expand:
        case TreeKeyStep::Kind::Collapse:
            tree.UserExpand(step.item, step.kind == TreeKeyStep::Kind::Expand);
            break;
        case TreeKeyStep::Kind::None:
            break;
    }
}

// Takes a list key's step on a backend's list: the row is clicked.
template <class List>
void NavigateList(List& list, int focused, UINT key, int pageRows, bool sideBySide) {
    const int row = RowForListKey(list.GetItemCount(), focused, key, pageRows, sideBySide);
    if (row >= 0) list.UserClick(row);
}

}  // namespace orbel::platform
