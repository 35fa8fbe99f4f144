#include "platform/PrintDialog.h"

#include "platform/UserInteraction.h"

namespace orbel::platform {

PrinterChooser::~PrinterChooser() = default;

std::optional<PrintChoice> ChoosePrinter(UserInteraction& user, const PrintDialogRequest& request) {
    auto* chooser = dynamic_cast<PrinterChooser*>(&user);
    if (!chooser) return std::nullopt;
    return chooser->ChoosePrinter(request);
}

}  // namespace orbel::platform
