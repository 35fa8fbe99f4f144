// "Options": its one tab, "&Mappings", edits the drive mappings in place in the mapping section
// of the initialisation file; what "&Add" and "&Delete" wrote stays written whatever button
// closes the dialog.
#pragma once

#include <string>

#include "platform/controls/ListControl.h"
#include "platform/framework/Dialog.h"

namespace orbel {

class COptionsDlg final : public CDialog, private platform::ListControlEvents {
  public:
    // `iniFile` as the mapping list names it: a bare name lives in the folder of
    // initialisation files.
    explicit COptionsDlg(std::string iniFile, HWND parent = kNoWindow);

    std::string m_from;
    std::string m_to;
    bool m_reverse = false;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code) override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    platform::ListControlEvents* ListEventsFor(UINT id) override;
    void OnListItemChanged(int row, UINT oldState, UINT newState) override;

    platform::ListControl* Maps();
    void FillFromFile();
    void OnEdit();
    void OnAdd();
    void OnDelete(bool ask);

    std::string m_iniFile;
    int m_selectedRow = -1;
    bool m_rowAdded = false;
    bool m_tabPrepared = false;
};

}  // namespace orbel
