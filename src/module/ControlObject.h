// The control object a module's class factory hands out. The module hosts install makes the
// plain control; the test module links a maker of a control that also runs store operations.
#pragma once

#include <memory>

#include "platform/automation/Dispatch.h"

namespace orbel {

std::shared_ptr<IUnknown> NewOrbelControl();

}  // namespace orbel
