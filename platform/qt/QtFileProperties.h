// The file-properties window of the desktop: what FileProperties gathered about a file or
// folder, one line to a row of a form, in a small window of its own that stays open beside
// the program (the shell's "properties" verb).
#pragma once

#include "platform/shell/FileProperties.h"

class QWidget;

namespace orbel::platform {

// Shows the window over `parent` (may be null) and returns at once; the window goes when the
// person closes it. True when it was shown.
bool ShowFileProperties(const FileProperties& properties, QWidget* parent);

}  // namespace orbel::platform
