#include "src/dialogs/InsertObjectChoice.h"

#include "platform/Api.h"

namespace orbel {

namespace {
InsertObjectRunner& Runner() {
    static InsertObjectRunner runner;
    return runner;
}
}  // namespace

std::optional<InsertObjectChoice> RunInsertObject(HWND parent, const InsertObjectSetup& setup) {
    if (Runner()) return Runner()(parent, setup);
    AfxMessageBox("The Insert Object dialog is not available in this version of the control.");
    return std::nullopt;
}

void SetInsertObjectRunner(InsertObjectRunner runner) {
    Runner() = std::move(runner);
}

}  // namespace orbel
