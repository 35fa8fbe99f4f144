// The browser wrapper: the calls the web browser dialog makes on the browser component, each
// one dispatch ID of the browser control's interface.
#pragma once

#include <string>

#include "src/preview/ImagingControl.h"

namespace orbel {

class CWebB final : public CImagingControl {
  public:
    bool Create(const std::string& name, DWORD style, const RECT& rect, HWND parent, UINT id);
    bool AdviseEvents(std::shared_ptr<IDispatch> sink);

    void GoBack();
    void GoForward();
    void GoHome();
    void GoSearch();
    // The four optional arguments go as empty values.
    void Navigate(const std::string& url);
    void Stop();
    void Refresh();
    std::string GetLocationName() const;
    std::string GetLocationURL() const;
    void ExecWB(long command, long option);
};

}  // namespace orbel
