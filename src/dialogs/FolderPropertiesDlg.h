// The folder "Properties" dialog: shows a folder's name and lets the user give the folder a file
// extension, typed or chosen from the document types that can be created empty; and the whole
// folder properties action of the item list.
#pragma once

#include <cstdint>
#include <string>

#include "platform/framework/Dialog.h"

namespace orbel {

class CFolderMaintenance;

class CFolderPropertiesDlg final : public CDialog {
  public:
    explicit CFolderPropertiesDlg(HWND parent = kNoWindow);

    std::string m_folderName;
    // The extension without its dot; after OK at most three characters.
    std::string m_extension;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;
};

// Shows the dialog for the folder with the entry key and stores what the user confirmed: an
// extension that another folder holds is refused (the user is told) and nothing is written.
// True when the name and extension went to the store (which reports its own failures).
bool RunFolderProperties(HWND parent, CFolderMaintenance& folders, std::int32_t folderKey);

}  // namespace orbel
