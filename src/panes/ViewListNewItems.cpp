// New items of the list that link to files: one file, every file of a directory, with the
// placeholder row that stands for an item while the store adds it.
#include "platform/Api.h"
#include "platform/files/FileApi.h"
#include "src/dialogs/CreateSelectFileDlg.h"
#include "src/panes/PaneSite.h"
#include "src/panes/StoreFiles.h"
#include "src/panes/ViewList.h"
#include "src/preview/ImagingProbe.h"
#include "src/services/ShellServices.h"
#include "src/store/RecordFormats.h"

namespace orbel {

void CViewList::CreateItem(const std::string& name, bool directory) {
    const std::int32_t savedFolderKey = m_folderKey;
    const std::string type =
        IsWebAddress(m_pendingResource) ? "url" : FileExtension(m_pendingResource);
    if (!type.empty()) {
        if (const std::int32_t folder = m_site->FolderForExtension(type); folder != 0)
            m_folderKey = folder;
    }
    m_extensionFolderKey = m_folderKey;
    const auto [parentOwner, parentEntry] = NewEntryParent();

    if (m_site->SubscriberMode()) {
        m_site->CreateNewItem(name, m_pendingResource, parentOwner, parentEntry, -1, -1);
    } else if (directory) {
        SelectDirectoryItems(name);
    } else if (!IsTiffFile(m_pendingResource)) {
        m_site->CreateNewItem(name.substr(0, kNameWidth), m_pendingResource, parentOwner,
                              parentEntry, -1, -1);
    } else if (!m_site->BatchMaint()) {
        m_site->CreateNewItem(
            name, m_pendingResource, parentOwner, parentEntry, 1,
            static_cast<std::int32_t>(PageCount(GetSafeHwnd(), m_pendingResource)));
    } else {
        // Batch maintenance processes a scanned file page by page: one item per page.
        const std::int32_t pages =
            ImagingControlsAvailable(GetSafeHwnd())
                ? static_cast<std::int32_t>(PageCount(GetSafeHwnd(), m_pendingResource))
                : 1;
        for (std::int32_t page = 1; page <= pages; ++page)
            m_site->CreateNewItem(name, m_pendingResource, parentOwner, parentEntry, page, page);
    }
    m_folderKey = savedFolderKey;
}

std::int32_t CViewList::AddItemFromFile(const std::string& path, const std::string& name) {
    if (!m_list || !m_site) return 0;
    std::string itemName = name;
    if (itemName.empty() &&
        CreateFile(path, platform::FileAccess::Read, platform::Disposition::OpenExisting))
        itemName = FileNamePart(path);
    return AddPendingItem(path, itemName, FileTypeImage(FileExtension(path)));
}

std::int32_t CViewList::AddPendingItem(const std::string& resource, const std::string& name,
                                       int image) {
    if (!m_list || !m_site) return 0;
    m_adding = true;
    m_pendingResource = resource;
    const int placeholder = m_list->InsertItem(m_list->GetItemCount(), "", image);
    CreateItem(name, false);
    m_list->DeleteItem(placeholder);
    m_pendingResource.clear();
    m_adding = false;

    std::int32_t key = 0;
    if (placeholder >= 0 && placeholder < m_list->GetItemCount()) {
        // The new item alone is selected, so that what the user does next is about it.
        for (int row : m_list->GetSelectedRows())
            m_list->SetItemState(row, 0, platform::kListSelected);
        const UINT both = platform::kListSelected | platform::kListFocused;
        m_list->SetItemState(placeholder, both, both);
        m_currentRow = placeholder;
        key = RowKey(placeholder);
        // An item filed in its extension's folder belongs to another listing.
        if (m_extensionFolderKey != m_folderKey) RemoveItem(key);
    }
    Invalidate();
    return key;
}

std::pair<std::int32_t, std::int32_t> CViewList::NewEntryParent() const {
    std::int32_t parentOwner = 0;
    if (m_folderKey != 0)
        parentOwner = IsClassEntryKey(m_folderKey) ? m_site->ClassOleId() : m_site->CurrentOleId();
    return {parentOwner, m_folderKey / 10};
}

std::int32_t CViewList::AddItemFromFileWithNotice(const std::string& path) {
    const std::int32_t key = AddItemFromFile(path, "");
    if (m_site && !m_site->DirectorySelect())
        m_site->SendMailGetResources(path, m_site->CurrentOleId(), "", "");
    return key;
}

void CViewList::SelectDirectoryItems(const std::string& directory) {
    if (!m_site) return;
    const std::string prefix =
        directory +
        (!directory.empty() && (directory.back() == '/' || directory.back() == '\\') ? "" : "/");
    if (auto entries = FindFiles(directory, "*.*")) {
        for (const platform::DirectoryEntry& entry : *entries) {
            if (entry.info.directory) continue;
            AddItemFromFileWithNotice(prefix + entry.name);
        }
    }
    if (m_site->DirectorySelect()) AfxMessageBox("Select Directory Complete");
}

std::string CViewList::CreateStoreFile(const std::string& extension,
                                       const std::string& shellNewKey) {
    const std::string path = NewStorePath(m_objectDir, extension, true);
    if (path.empty()) return path;
    if (!CreateFromTemplate(path, shellNewKey)) {
        DeleteFile(path);
        return {};
    }
    return path;
}

const CViewList::OleFileChoice* CViewList::GetOleFile(const std::string& fileType) {
    bool autoCreate = true;
    if (m_objectDir.empty() || !SetCurrentDirectory(m_objectDir)) {
        m_objectDir.clear();
        autoCreate = false;
    }
    if (m_browseDirectory.empty()) m_browseDirectory = m_objectDir;
    if (!m_oleFile) m_oleFile = std::make_unique<OleFileChoice>();
    *m_oleFile = OleFileChoice{};

    CCreateSelectFileDlg dialog(*this, GetSafeHwnd());
    dialog.m_autoCreateAllowed = autoCreate;
    dialog.m_fileType = fileType;
    dialog.m_lastPath = m_browseDirectory;
    const bool chosen = dialog.DoModal() == IDOK;
    m_browseDirectory = dialog.m_lastPath;
    if (!chosen) {
        m_oleFile.reset();
        return nullptr;
    }
    *m_oleFile = OleFileChoice{dialog.m_fileName, dialog.m_entryKey};
    return m_oleFile.get();
}

}  // namespace orbel
