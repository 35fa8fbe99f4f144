// The preview pane as text, for test containers: what it shows, and its page bar.
#pragma once

#include <string>

namespace orbel {

class CFrameContainer;

// "hidden", "empty", or the file, page, zoom mode, grey scaling, rotation and selection.
std::string DescribePreview(CFrameContainer* frame);
// The page bar's buttons, a line each, then `page box "TEXT"`; "hidden" without a pane.
std::string DescribePageBar(CFrameContainer* frame);

}  // namespace orbel
