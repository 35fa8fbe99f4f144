#include "platform/framework/CmdTarget.h"

namespace orbel {

CCmdTarget::~CCmdTarget() = default;

bool CCmdTarget::OnCmdMsg(UINT, CCmdUI*) {
    return false;
}

}  // namespace orbel
