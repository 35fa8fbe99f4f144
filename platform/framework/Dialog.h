// The framework's dialog: a C++ object with members that DoDataExchange moves into the controls
// when the dialog starts and back out when the user confirms, with validation that shows a
// message and keeps the dialog open. Subclasses name a template, override OnInitDialog,
// OnCommand and DoDataExchange, and are run with DoModal, or shown modeless with Create.
// Not a CWnd: the backend owns the dialog's window, and controls are reached by ID.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Api.h"
#include "platform/Win.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel {

class CDialog;

// One control of a running dialog, by ID: a handle, not an owner. Calls on a dialog that is not
// running, or on a control of another kind, do nothing and give an empty text, 0 or -1.
class CDlgItem {
  public:
    CDlgItem(platform::LiveDialog* dialog, UINT id) : dialog_(dialog), id_(id) {}
    UINT GetDlgCtrlID() const { return id_; }
    // The control exists in a running dialog.
    explicit operator bool() const { return dialog_ && dialog_->HasControl(id_); }

    std::string GetWindowText() const;
    void SetWindowText(std::string_view text);
    bool EnableWindow(bool enable = true);  // whether it was disabled before
    bool IsWindowEnabled() const;
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    void SetFocus();

    // Edits and drop-down combo boxes.
    void LimitText(int maxChars);
    void SetReadOnly(bool readOnly = true);
    // Check boxes.
    int GetCheck() const;
    void SetCheck(int state);
    // Combo boxes and list boxes.
    int AddString(std::string_view text);
    int GetCount() const;
    int GetCurSel() const;
    bool SetCurSel(int index);
    std::string GetLBText(int index) const;
    void ResetContent();
    // Tab controls.
    int InsertItem(int index, std::string_view text);
    int GetCurTab() const;
    bool SetCurTab(int index);
    // List controls.
    platform::ListControl* GetListControl();

  private:
    platform::LiveDialog* dialog_;
    UINT id_;
};

// Raised by CDataExchange::Fail and caught by UpdateData: the rest of the exchange is skipped.
struct CUserException {};

class CDataExchange {
  public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(&dialog) {}
    // The control the following exchange is about; a failure puts the focus there.
    void PrepareCtrl(UINT id) { m_idLastControl = id; }
    // Validation failed (the user has been told): the focus goes to the last control and the
    // exchange stops.
    [[noreturn]] void Fail();

    const bool m_bSaveAndValidate;  // true: controls to members
    CDialog* const m_pDlgWnd;
    UINT m_idLastControl = 0;
};

class CDialog : private platform::DialogOwner {
  public:
    CDialog(const platform::DialogTemplate& dialogTemplate, HWND parent = kNoWindow);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog; IDOK, IDCANCEL or the value given to EndDialog.
    int DoModal();
    // Shows the dialog modeless and returns at once: the program goes on while it stays up,
    // until DestroyWindow or the object goes. False when it is up already or ended while it
    // initialised. A modeless dialog that ends (its OK or Cancel) is hidden and stays ended.
    bool Create(HWND parent = kNoWindow);
    // Takes a modeless dialog down; false when none is up.
    bool DestroyWindow();
    bool IsModeless() const { return modeless_ != nullptr; }
    // The dialog ended (OK, Cancel, EndDialog) and has not been shown again since.
    bool IsEnded() const { return live_ && live_->IsEnded(); }
    // Puts the dialog's window in the middle of `over` (a window on screen).
    void CenterWindow(HWND over);
    // Paints the dialog now: for texts set while the program is busy.
    void UpdateWindow();
    // Moves member values into the controls (false) or validates and reads them back (true);
    // false when a validation failed.
    bool UpdateData(bool saveAndValidate = true);
    void EndDialog(int result);

    const platform::DialogTemplate& Template() const { return template_; }
    // The dialog's window while it runs, none otherwise.
    HWND GetSafeHwnd() const;
    CDlgItem GetDlgItem(UINT id) const { return CDlgItem(live_, id); }
    // The caption of the running dialog.
    void SetWindowText(std::string_view caption);
    // Greys or enables an item of the dialog's menu bar.
    void EnableMenuItem(UINT id, bool enable);
    // The client area below the menu bar, in pixels; empty while the dialog is not running.
    SIZE GetClientSize() const;
    // Places a control, or a child window the dialog made in its window, in the client area.
    void MoveDlgItem(UINT id, const RECT& rect);
    void MoveChildWindow(HWND child, const RECT& rect);
    std::string GetDlgItemText(UINT id) const { return GetDlgItem(id).GetWindowText(); }
    void SetDlgItemText(UINT id, std::string_view text) { GetDlgItem(id).SetWindowText(text); }

  protected:
    // The controls exist: the base moves the members into them. True lets the dialog put the
    // focus on its first control; false when the override has set the focus itself.
    virtual bool OnInitDialog();
    // The OK button: read and validate, then end with IDOK; a failed validation keeps the
    // dialog open.
    virtual void OnOK();
    virtual void OnCancel();
    // A control's notification (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE...); true when handled.
    // The base sends a click of IDOK to OnOK and of IDCANCEL to OnCancel.
    virtual bool OnCommand(UINT id, UINT code);
    virtual void DoDataExchange(CDataExchange& dx);
    // A resizable dialog's client area changed to cx by cy pixels.
    virtual void OnSize(int cx, int cy);

  private:
    void OnDialogInit(platform::LiveDialog& dialog) override;
    void OnDialogCommand(UINT id, UINT code) override;
    void OnDialogClose() override;
    void OnDialogSize(int cx, int cy) override;

    const platform::DialogTemplate& template_;
    HWND parent_;
    platform::LiveDialog* live_ = nullptr;  // while the dialog runs
    std::unique_ptr<platform::LiveDialog> modeless_;
};

// Exchange helpers. A text field shows the member; reading it back takes the text as it stands.
void DDX_Text(CDataExchange& dx, UINT id, std::string& value);
// An integer field: a text that is not a whole number in range shows "Please enter an
// integer." and fails.
void DDX_Text(CDataExchange& dx, UINT id, int& value);
// After DDX_Text: limits what the user can type; reading back, a longer text shows "Please
// enter no more than N characters." and fails.
void DDV_MaxChars(CDataExchange& dx, const std::string& value, int maxChars);
// Check boxes: 0 clear, 1 checked.
void DDX_Check(CDataExchange& dx, UINT id, int& value);
void DDX_Check(CDataExchange& dx, UINT id, bool& value);
// Combo boxes: showing chooses the first entry beginning with the text, without regard to
// letter case; when none does, a drop-down combo box shows the text itself. Reading back
// takes the edit text of a drop-down combo box, the chosen entry of a drop-down list.
void DDX_CBString(CDataExchange& dx, UINT id, std::string& value);
// The chosen entry's index (-1 for none) of a combo box or a list box.
void DDX_CBIndex(CDataExchange& dx, UINT id, int& index);
void DDX_LBIndex(CDataExchange& dx, UINT id, int& index);

}  // namespace orbel
