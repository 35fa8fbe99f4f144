#include "src/control/OrbelPropPage.h"

#include "src/resources/StringTable.h"

namespace orbel {

std::string COrbelPropPage::Caption() const {
    return LoadString(IDS_ORBEL_PPG_CAPTION);
}

std::string COrbelPropPage::StaticText() const {
    return "Orbel Control has no properties to set at design time.";
}

}  // namespace orbel
