// "Insert Script": the file of a new script, typed or chosen. A name without a "." gets the
// scripts' own extension, and a file that is not there is made empty.
#pragma once

#include <string>

#include "platform/framework/Dialog.h"

namespace orbel {

class CInsertScriptDlg final : public CDialog {
  public:
    explicit CInsertScriptDlg(HWND parent = kNoWindow);

    std::string m_fileName;
    // Where Browse starts when nothing is typed yet.
    std::string m_directory;

  protected:
    bool OnCommand(UINT id, UINT code) override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void OnBrowse();
};

// The name with ".rcs" appended when it has no "." anywhere.
std::string WithScriptExtension(const std::string& name);

}  // namespace orbel
