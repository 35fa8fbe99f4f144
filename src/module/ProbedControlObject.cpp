#include "src/control/OrbelStoreProbe.h"
#include "src/module/ControlObject.h"

namespace orbel {

std::shared_ptr<IUnknown> NewOrbelControl() {
    return NewProbedControl();
}

}  // namespace orbel
