// The framework's file dialog (open or save) and the shell's folder browser, both run through
// the one modal funnel (UserInteraction::ChooseFile).
#pragma once

#include <optional>
#include <string>

#include "platform/Win.h"

namespace orbel {

class CFileDialog {
  public:
    // `filter` as the framework writes it: "Text (*.txt)|*.txt|All Files (*.*)|*.*||". An open
    // dialog takes only a file that exists; a save dialog asks before a file is replaced.
    CFileDialog(bool openFileDialog, std::string defaultExtension = {}, std::string fileName = {},
                std::string filter = {}, HWND parent = kNoWindow);
    // IDOK with a chosen path, or IDCANCEL.
    int DoModal();
    // The chosen path after IDOK.
    const std::string& GetPathName() const { return m_pathName; }

    // Where the dialog starts; empty: the directory of the file name given, else the current
    // directory.
    std::string m_initialDir;

  private:
    bool m_open;
    std::string m_defaultExtension;
    std::string m_pathName;
    std::string m_filter;
    HWND m_parent;
};

// The folder browser under the given title: the chosen folder's path, or nothing when the user
// cancelled.
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& startDirectory,
                                           const std::string& title);

}  // namespace orbel
