// What a person sees in a live dialog, as lines a transcript can hold: each control that has
// an ID of its own, with its text and state, and the rows of its list controls.
// Not for: laying the dialog out or acting on it.
#pragma once

#include <string>
#include <vector>

namespace orbel::platform {

class LiveDialog;

// `ID KIND "TEXT"` with ` checked`, ` disabled`, ` hidden` as they apply; a list control's
// rows follow as DescribeList gives them, indented.
std::vector<std::string> DescribeDialog(LiveDialog& dialog);

}  // namespace orbel::platform
