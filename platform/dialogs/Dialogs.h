// Dialogs made from templates: the backend builds a live dialog, its owner fills and reads the
// controls by ID and ends it, and the modal run goes through the one modal funnel
// (UserInteraction::RunModalDialog), where a person or the scripted user acts on it.
// Not for: laying controls out or drawing them (the backend's business), or what a dialog
// means (the framework's CDialog and the system's dialogs).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Win.h"
#include "platform/dialogs/DialogTemplate.h"

namespace orbel {

// Notification codes with which a control tells its dialog what the user did, with the values
// the original platform gives them.
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT EN_CHANGE = 0x0300;
inline constexpr UINT CBN_SELCHANGE = 1;
inline constexpr UINT CBN_EDITCHANGE = 5;
inline constexpr UINT LBN_SELCHANGE = 1;
inline constexpr UINT TCN_SELCHANGE = static_cast<UINT>(-551);

}  // namespace orbel

namespace orbel::platform {

class ListControl;
class ListControlEvents;
class LiveDialog;

// The object a dialog reports to (the framework's CDialog).
class DialogOwner {
  public:
    virtual ~DialogOwner();
    // The controls exist and hold their template texts; the dialog is not shown yet.
    virtual void OnDialogInit(LiveDialog& dialog) = 0;
    // The user did something to control `id`: a button was clicked, an edit's text changed,
    // another entry or tab was chosen.
    virtual void OnDialogCommand(UINT id, UINT code) = 0;
    // The user asks to close the dialog without a button (Escape, the close box).
    virtual void OnDialogClose() = 0;
    // Where list control `id` sends its notifications; null for nowhere.
    virtual ListControlEvents* ListEventsFor(UINT id);
    // A resizable dialog's client area (below its menu bar) changed to cx by cy pixels.
    virtual void OnDialogSize(int cx, int cy);
};

// A dialog while it exists. Calls naming a control the template does not have, or one of a
// kind the call does not apply to, do nothing and give an empty text, 0 or -1. Only what the
// user does notifies the owner; changes the program makes do not.
class LiveDialog {
  public:
    virtual ~LiveDialog();
    // The live dialog or form whose window this is; null for any other window.
    static LiveDialog* FromWindow(HWND window);
    virtual const DialogTemplate& Template() const = 0;
    virtual HWND Window() const = 0;
    virtual bool HasControl(UINT id) const = 0;

    // Text of a static, button, group or edit; the edit text of a drop-down combo box; the
    // chosen entry's text of a drop-down list or list box.
    virtual std::string GetText(UINT id) const = 0;
    virtual void SetText(UINT id, std::string_view text) = 0;
    // Edits and drop-down combo boxes: the user cannot type more characters than this; 0 for
    // no limit. Text the program sets is not cut.
    virtual void LimitText(UINT id, int maxChars) = 0;
    virtual void SetReadOnly(UINT id, bool readOnly) = 0;
    // Check boxes: 0 clear, 1 checked.
    virtual int GetCheck(UINT id) const = 0;
    virtual void SetCheck(UINT id, int state) = 0;

    // Combo boxes and list boxes. Entries keep the order they were added in; AddString gives
    // the new entry's index. Choosing an entry of a drop-down combo box puts its text in the
    // edit field; -1 chooses none.
    virtual int AddString(UINT id, std::string_view text) = 0;
    virtual int GetCount(UINT id) const = 0;
    virtual int GetCurSel(UINT id) const = 0;
    virtual bool SetCurSel(UINT id, int index) = 0;
    virtual std::string GetItemText(UINT id, int index) const = 0;
    virtual void ResetContent(UINT id) = 0;

    // Tab controls.
    virtual int InsertTab(UINT id, int index, std::string_view text) = 0;
    virtual int GetCurTab(UINT id) const = 0;
    virtual bool SetCurTab(UINT id, int index) = 0;

    // The list control of a list control entry, living in a window of its own.
    virtual ListControl* GetListControl(UINT id) = 0;

    virtual void EnableControl(UINT id, bool enable) = 0;
    virtual bool IsControlEnabled(UINT id) const = 0;
    virtual void ShowControl(UINT id, bool show) = 0;
    virtual bool IsControlVisible(UINT id) const = 0;
    virtual void SetFocus(UINT id) = 0;
    // The control with the focus; 0 for none.
    virtual UINT GetFocus() const = 0;

    // The caption the window shows now (the template's until the program sets another).
    virtual std::string GetCaption() const = 0;
    virtual void SetCaption(std::string_view text) = 0;
    // Items of the template's menu bar: greyed ones cannot be chosen. An ID the bar does not
    // have is never enabled.
    virtual void EnableMenuItem(UINT id, bool enable) = 0;
    virtual bool IsMenuItemEnabled(UINT id) const = 0;
    // The client area below the menu bar, in pixels.
    virtual SIZE GetClientSize() const = 0;
    // Where a control lies in the client area, in pixels; empty for no such control.
    virtual RECT GetControlRect(UINT id) const = 0;
    virtual void MoveControl(UINT id, const RECT& rect) = 0;
    // Moves a window the owner made as a child of the dialog's window to a rectangle of the
    // client area.
    virtual void MoveChild(HWND child, const RECT& rect) = 0;

    // The dialog closes once the call that ends it has returned to the modal run.
    virtual void EndDialog(int result) = 0;
    virtual bool IsEnded() const = 0;
    virtual int Result() const = 0;

    // What a person does, with the notifications it causes. Each gives an empty text when done,
    // else why the user could not do it (no such control, disabled, hidden, read-only, no such
    // entry, the dialog has ended).
    //   UserType: replaces the text of an edit or drop-down combo box as typed, cut at the
    //     limit (EN_CHANGE, CBN_EDITCHANGE; a combo box then has no entry chosen).
    //   UserChoose: the entry of a combo box or list box, or the tab, with exactly this text
    //     (CBN_SELCHANGE, LBN_SELCHANGE, TCN_SELCHANGE).
    //   UserCheck: sets a check box, clicking it when that changes it (BN_CLICKED).
    //   UserPress: clicks a button, or toggles a check box (BN_CLICKED).
    //   UserClose: Escape or the close box.
    //   UserMenu: chooses an item of the menu bar (the owner gets its ID with code 0).
    //   UserResize: drags the sizing border until the client area is cx by cy pixels.
    virtual std::string UserType(UINT id, std::string_view text) = 0;
    virtual std::string UserChoose(UINT id, std::string_view text) = 0;
    virtual std::string UserCheck(UINT id, int state) = 0;
    virtual std::string UserPress(UINT id) = 0;
    virtual void UserClose() = 0;
    virtual std::string UserMenu(UINT id) = 0;
    virtual std::string UserResize(int cx, int cy) = 0;
};

// The backend's maker of live dialogs.
class Dialogs {
  public:
    virtual ~Dialogs();
    // The dialog and its controls, with the template's texts and states, not shown yet.
    // `parent` is the window that owns it (none for a dialog of its own).
    virtual std::unique_ptr<LiveDialog> CreateDialog(const DialogTemplate& dialogTemplate,
                                                     DialogOwner& owner, HWND parent) = 0;
    // A form: the dialog's window is a visible child of `parent` (a view), found under it and
    // reached by input as any child window; no modal run drives it and it ends with its owner.
    virtual std::unique_ptr<LiveDialog> CreateForm(const DialogTemplate& formTemplate,
                                                   DialogOwner& owner, HWND parent) = 0;
};

// Makes the dialog on the installed platform, lets the owner initialise it, runs it through
// the modal funnel and returns the value it ended with. The live dialog is gone on return.
int RunModalDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner, HWND parent);

// Makes the dialog on the installed platform, lets the owner initialise it and shows it without
// a modal run: the caller goes on, and the dialog stays up until CloseModelessDialog. Null when
// the dialog ended while it initialised (it is then never shown).
std::unique_ptr<LiveDialog> ShowModelessDialog(const DialogTemplate& dialogTemplate,
                                               DialogOwner& owner, HWND parent);
// Takes the dialog down; nothing when there is none.
void CloseModelessDialog(std::unique_ptr<LiveDialog>& dialog);

}  // namespace orbel::platform
