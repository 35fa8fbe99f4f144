#include "platform/browser/BrowserEngine.h"

namespace orbel::browser {

// This build has no desktop backend.
std::unique_ptr<BrowserEngine> MakeBrowserEngine() {
    return MakePageModel();
}

}  // namespace orbel::browser
