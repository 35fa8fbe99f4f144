#include "src/dialogs/InsertObjectChoice.h"

#include "src/dialogs/InsertObjectDlg.h"

namespace orbel {

namespace {
InsertObjectRunner& Runner() {
    static InsertObjectRunner runner;
    return runner;
}

std::optional<InsertObjectChoice> RunDialog(HWND parent, const InsertObjectSetup& setup) {
    CInsertObjectDlg dialog(parent);
    dialog.m_browseDirectory = setup.browseDirectory;
    dialog.m_autoCreateAllowed = setup.autoCreateAllowed;
    dialog.SetAutoCreate(setup.autoCreate);
    dialog.SetAutoOpen(setup.autoOpen);
    if (dialog.DoModal() != IDOK) return std::nullopt;

    InsertObjectChoice choice;
    choice.displayName = dialog.m_displayName;
    choice.autoCreate = dialog.AutoCreate();
    choice.autoOpen = dialog.AutoOpen();
    choice.lastFile = dialog.m_lastFile;
    switch (dialog.m_tab) {
        case CInsertObjectDlg::kCreateNew:
            choice.tab = InsertObjectChoice::Tab::CreateNew;
            choice.extension = dialog.m_extension;
            choice.shellNewKey = dialog.m_shellNewKey;
            choice.fileName = dialog.m_fileName;
            break;
        case CInsertObjectDlg::kSelectDirectory:
            choice.tab = InsertObjectChoice::Tab::SelectDirectory;
            choice.directory = dialog.m_fileName;
            break;
        default:
            choice.tab = InsertObjectChoice::Tab::CreateFromFile;
            choice.fileName = dialog.m_fileName;
            break;
    }
    return choice;
}
}  // namespace

std::optional<InsertObjectChoice> RunInsertObject(HWND parent, const InsertObjectSetup& setup) {
    return Runner() ? Runner()(parent, setup) : RunDialog(parent, setup);
}

void SetInsertObjectRunner(InsertObjectRunner runner) {
    Runner() = std::move(runner);
}

}  // namespace orbel
