// "Link Field to Excel Cell": the cell of a workbook that an item links to, typed, or chosen in
// the spreadsheet program with "Choose C&ell...", whose selection events fill the cell name.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/framework/Dialog.h"
#include "src/spreadsheet/ExcelDispatch.h"

namespace orbel {

class CWnd;

class CCellLinkDlg final : public CDialog {
  public:
    explicit CCellLinkDlg(HWND parent = kNoWindow);
    ~CCellLinkDlg() override;

    std::string m_prompt;    // control 202
    std::string m_cellName;  // control 239
    std::string m_workbookPath;
    // The control that runs the dialog; without one "Choose C&ell..." does nothing.
    CWnd* m_pControl = nullptr;
    std::string m_lastReference;

    // The program's selection changed: its first cell becomes the cell name.
    void OnSheetSelectionChange();

  protected:
    bool OnCommand(UINT id, UINT code) override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void OnChooseCell();
    void StartExcel();
    // Unadvises the sink and tells the program to quit, when it is held.
    void StopExcel();

    _Application m_app;
    std::shared_ptr<IConnectionPoint> m_connectionPoint;
    DWORD m_cookie = 0;
    std::shared_ptr<IConnectionPointContainer> m_connectionPointContainer;
};

// The process's one receiver of the program's application events.
std::shared_ptr<IDispatch> CellLinkEventSink();

// Runs the dialog for the list row's item: `rowText` names it in the prompt, `resourcePath` is
// its stored path (workbook, then "!" and the cell when linked). After OK `store` gets the
// workbook path and the cell name; after Cancel nothing is stored. True after OK.
bool RunCellLink(
    CWnd* control, const std::string& rowText, const std::string& resourcePath,
    const std::function<void(const std::string& workbook, const std::string& cell)>& store);

}  // namespace orbel
