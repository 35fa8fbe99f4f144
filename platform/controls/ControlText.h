// The common controls as text, read through their interfaces only, so that every backend's
// controls read back the same way: a failing test, the test container's `tree`, `list` and
// `toolbar` commands, and the conformance suite comparing backends all use these.
#pragma once

#include <string>

#include "platform/controls/ListControl.h"
#include "platform/controls/ToolBarControl.h"
#include "platform/controls/TreeControl.h"

namespace orbel::platform {

// One line per item in pre-order, two spaces of indent per depth: `LABEL key=K image=I/S`,
// then ` current` on the selected item's line, ` drop` on the drop target's and ` editing` on
// the edited one's.
std::string DescribeTree(const TreeControl& tree);
// `columns: A | B`, then one line per row: `ROW key=K image=I [selected] [focused] [drop]
// [editing]: TEXT | TEXT`.
std::string DescribeList(const ListControl& list);
// One line per button, `ID "TEXT" [disabled] [checked] [hidden]`, or `separator`.
std::string DescribeToolBar(const ToolBarControl& bar);

}  // namespace orbel::platform
