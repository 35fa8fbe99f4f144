// The control's one property page: caption "General", a dialog holding a single text. The
// control has no design-time properties, so the page only tells so.
#pragma once

#include <string>

#include "platform/automation/Dispatch.h"

namespace orbel {

inline constexpr unsigned IDD_PROPPAGE_ORBEL = 200;

class COrbelPropPage final : public virtual IUnknown {
  public:
    std::string Caption() const;
    unsigned DialogId() const { return IDD_PROPPAGE_ORBEL; }
    // The dialog's size in dialog units and its text, from its template.
    int DialogWidth() const;
    int DialogHeight() const;
    std::string StaticText() const;
};

}  // namespace orbel
