#include "src/control/OrbelIds.h"

namespace orbel {

Guid ClsidOrbel() {
    return *Guid::Parse(kClsidOrbelText);
}
Guid ClsidOrbelPropPage() {
    return *Guid::Parse(kClsidOrbelPropPageText);
}
Guid LibidOrbel() {
    return *Guid::Parse(kLibidOrbelText);
}
Guid IidDOrbel() {
    return *Guid::Parse(kIidDOrbelText);
}
Guid IidDOrbelEvents() {
    return *Guid::Parse(kIidDOrbelEventsText);
}

}  // namespace orbel
