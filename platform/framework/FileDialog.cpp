#include "platform/framework/FileDialog.h"

#include "platform/Api.h"
#include "platform/Platform.h"
#include "platform/UserInteraction.h"

namespace orbel {

CFileDialog::CFileDialog(bool openFileDialog, std::string defaultExtension, std::string fileName,
                         std::string filter, HWND parent)
    : m_open(openFileDialog),
      m_defaultExtension(std::move(defaultExtension)),
      m_pathName(std::move(fileName)),
      m_filter(std::move(filter)),
      m_parent(parent) {}

int CFileDialog::DoModal() {
    platform::FileChooserRequest request;
    request.kind = m_open ? platform::ChooserKind::Open : platform::ChooserKind::Save;
    request.filter = m_filter;
    request.directory = m_initialDir;
    if (request.directory.empty()) {
        const std::size_t slash = m_pathName.find_last_of('/');
        if (slash != std::string::npos) request.directory = m_pathName.substr(0, slash);
    }
    request.defaultExtension = m_defaultExtension;
    request.owner = m_parent;
    std::optional<std::string> chosen = platform::GetPlatform().User().ChooseFile(request);
    if (!chosen) return IDCANCEL;
    m_pathName = std::move(*chosen);
    return IDOK;
}

std::optional<std::string> BrowseForFolder(HWND owner, const std::string& startDirectory,
                                           const std::string& title) {
    platform::FileChooserRequest request;
    request.kind = platform::ChooserKind::Folder;
    request.directory = startDirectory;
    request.title = title;
    request.owner = owner;
    return platform::GetPlatform().User().ChooseFile(request);
}

}  // namespace orbel
