// "Create/Select a File": the host asks for a document of a given type, and the user picks an
// existing file, makes one where they choose, or has one made in the Object Store from the
// type's template; on OK the file becomes a new item of the folder shown.
#pragma once

#include <cstdint>
#include <string>

#include "platform/framework/Dialog.h"

namespace orbel {

class CViewList;

class CCreateSelectFileDlg final : public CDialog {
  public:
    CCreateSelectFileDlg(CViewList& list, HWND parent = kNoWindow);

    std::string m_fileName;
    // Where the file chooser starts: this folder, or the folder of this file.
    std::string m_lastPath;
    bool m_autoCreateAllowed = true;
    std::string m_fileType;  // the extension asked for, with its dot
    // After OK: the item the file became.
    std::int32_t m_entryKey = 0;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code) override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void OnBrowse();
    void OnManualCreate();
    void OnAutoCreate();
    // The chosen or created file becomes the file name shown.
    void ShowFileName(const std::string& path);

    CViewList& m_list;
};

}  // namespace orbel
