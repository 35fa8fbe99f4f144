#include "src/module/ControlObject.h"

#include "src/control/OrbelCtrl.h"

namespace orbel {

std::shared_ptr<IUnknown> NewOrbelControl() {
    return std::make_shared<COrbelCtrl>();
}

}  // namespace orbel
