#include "src/control/OrbelPropPage.h"

#include "src/resources/DialogTemplates.h"
#include "src/resources/StringTable.h"

namespace orbel {

std::string COrbelPropPage::Caption() const {
    return LoadString(IDS_ORBEL_PPG_CAPTION);
}

int COrbelPropPage::DialogWidth() const {
    return FindDialogTemplate(IDD_PROPPAGE_ORBEL)->width;
}

int COrbelPropPage::DialogHeight() const {
    return FindDialogTemplate(IDD_PROPPAGE_ORBEL)->height;
}

std::string COrbelPropPage::StaticText() const {
    return FindDialogTemplate(IDD_PROPPAGE_ORBEL)->controls.front().text;
}

}  // namespace orbel
