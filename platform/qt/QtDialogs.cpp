#include "platform/qt/QtDialogs.h"

#include "platform/qt/QtDialog.h"
#include "platform/qt/QtWindows.h"

namespace orbel::platform {

QtDialogs::QtDialogs(QtWindows& windows, Controls& controls)
    : windows_(windows), controls_(controls) {}

std::unique_ptr<LiveDialog> QtDialogs::CreateDialog(const DialogTemplate& dialogTemplate,
                                                    DialogOwner& owner, HWND parent) {
    QWidget* ownerWidget = parent ? windows_.Widget(parent) : nullptr;
    return std::make_unique<QtDialog>(dialogTemplate, owner, windows_, controls_, ownerWidget,
                                      alive_);
}

std::unique_ptr<LiveDialog> QtDialogs::CreateForm(const DialogTemplate& formTemplate,
                                                  DialogOwner& owner, HWND parent) {
    return DialogBase::Initialised(std::make_unique<QtDialog>(formTemplate, owner, windows_,
                                                              controls_, nullptr, alive_, parent));
}

}  // namespace orbel::platform
