// The list's New item command (and the frame's "New OLE Item"): the Insert Object dialog's
// choice carried out, from a new document made from its type's template to every file of a
// directory.
#include "platform/Api.h"
#include "platform/files/FileApi.h"
#include "platform/text/Sprintf.h"
#include "src/dialogs/InsertObjectChoice.h"
#include "src/panes/PaneSite.h"
#include "src/panes/StoreFiles.h"
#include "src/panes/ViewList.h"
#include "src/resources/StringTable.h"
#include "src/services/ShellServices.h"

namespace orbel {

void CViewList::NewItem() {
    if (!m_site) return;
    const std::string objectDirFailure = LoadString(IDS_OBJECT_DIR_NOT_CURRENT);
    // Goes on when the directory cannot be made current: what follows names its files in full.
    MakeDirectoryCurrent(m_objectDir, objectDirFailure.c_str());
    if (m_site->SubscriberMode()) {
        NewSubscriber();
        return;
    }

    InsertObjectSetup setup;
    setup.browseDirectory = m_browseDirectory.empty() ? m_objectDir : m_browseDirectory;
    setup.autoOpen = m_autoOpen;
    setup.autoCreate = m_autoCreate;
    if (m_autoCreate && m_objectDir.empty()) {
        WarnAutoCreateWithoutObjectDir();
        setup.autoCreate = false;
        setup.autoCreateAllowed = false;
    }
    const std::optional<InsertObjectChoice> choice = RunInsertObject(GetSafeHwnd(), setup);
    if (!choice) return;
    if (const std::size_t slash = choice->lastFile.find_last_of('/'); slash != std::string::npos)
        m_browseDirectory = choice->lastFile.substr(0, slash);

    using Tab = InsertObjectChoice::Tab;
    std::string path;
    switch (choice->tab) {
        case Tab::CreateNew:
            if (choice->autoCreate) {
                if (m_objectDir.empty()) {
                    AfxMessageBox(LoadString(IDS_NO_OBJECT_DIR_AUTO_CREATE));
                    return;
                }
                path = CreateStoreFile(choice->extension, choice->shellNewKey);
                if (path.empty()) return;
            } else {
                path = choice->fileName;
                if (!CreateFromTemplate(path, choice->shellNewKey)) return;
            }
            break;
        case Tab::SelectDirectory:
            MakeDirectoryCurrent(choice->directory,
                                 "Failed to change to Selected directory %s.\nError %d.");
            CreateItem(choice->directory, true);
            MakeDirectoryCurrent(m_objectDir, objectDirFailure.c_str());
            return;
        case Tab::CreateFromFile:
            path = choice->fileName;
            break;
    }
    if (path.empty()) return;
    if (IsWebAddress(path)) {
        AddLinkItem(path, choice->displayName);
        Invalidate();
        return;
    }
    const std::int32_t key = AddItemFromFile(path, choice->displayName);
    if (!m_site->DirectorySelect())
        m_site->SendMailGetResources(path, m_site->CurrentOleId(), "", "");
    if (choice->tab == Tab::CreateNew && choice->autoOpen) OpenItem(key);
    Invalidate();
}

}  // namespace orbel
