// A live dialog's calls, kept once for every backend: finding a control by ID, which calls
// apply to which kind of control, the focus, the end, and what a person's User* actions do and
// notify. A backend keeps what a control shows (its text, entries, check) in its own way and
// gives it through the hooks below; it also makes the dialog's window and the controls.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/ListControl.h"
#include "platform/dialogs/DialogControlRules.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel::platform {

class DialogBase : public LiveDialog {
  public:
    DialogBase(const DialogTemplate& dialogTemplate, DialogOwner& owner);
    ~DialogBase() override;
    // A form as a backend makes it, once its owner has initialised it.
    static std::unique_ptr<LiveDialog> Initialised(std::unique_ptr<DialogBase> form);
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    const DialogTemplate& Template() const override { return template_; }
    HWND Window() const override { return window_; }
    bool HasControl(UINT id) const override { return Find(id) != nullptr; }

    std::string GetText(UINT id) const override;
    void SetText(UINT id, std::string_view text) override;
    void LimitText(UINT id, int maxChars) override;
    void SetReadOnly(UINT id, bool readOnly) override;
    int GetCheck(UINT id) const override;
    void SetCheck(UINT id, int state) override;

    int AddString(UINT id, std::string_view text) override;
    int GetCount(UINT id) const override;
    int GetCurSel(UINT id) const override;
    bool SetCurSel(UINT id, int index) override;
    std::string GetItemText(UINT id, int index) const override;
    void ResetContent(UINT id) override;

    int InsertTab(UINT id, int index, std::string_view text) override;
    int GetCurTab(UINT id) const override;
    bool SetCurTab(UINT id, int index) override;

    ListControl* GetListControl(UINT id) override;

    void EnableControl(UINT id, bool enable) override;
    bool IsControlEnabled(UINT id) const override;
    void ShowControl(UINT id, bool show) override;
    bool IsControlVisible(UINT id) const override;
    void SetFocus(UINT id) override;
    UINT GetFocus() const override { return focus_; }

    std::string GetCaption() const override { return caption_; }
    void SetCaption(std::string_view text) override;
    void EnableMenuItem(UINT id, bool enable) override;
    bool IsMenuItemEnabled(UINT id) const override;
    RECT GetControlRect(UINT id) const override;
    void MoveControl(UINT id, const RECT& rect) override;

    void EndDialog(int result) override;
    bool IsEnded() const override { return ended_; }
    int Result() const override { return result_; }

    std::string UserType(UINT id, std::string_view text) override;
    std::string UserChoose(UINT id, std::string_view text) override;
    std::string UserCheck(UINT id, int state) override;
    std::string UserPress(UINT id) override;
    void UserClose() override;
    std::string UserMenu(UINT id) override;
    std::string UserResize(int cx, int cy) override;

  protected:
    // A control as every backend keeps it; a backend's record derives from it.
    struct Control : DialogControlState {
        virtual ~Control() = default;
        HWND window;                        // where the backend made one
        RECT place;                         // in the client area, in pixels
        std::unique_ptr<ListControl> list;  // list controls only
    };

    // What the control shows: the text of a static, button, group or edit, the edit text of
    // a drop-down combo box, the chosen entry of a drop-down list, list box or tab control.
    virtual std::string TextOf(const Control& c) const = 0;
    // The program puts the text (only to a control that HoldsText).
    virtual void PutText(Control& c, std::string_view text) = 0;
    virtual int CheckOf(const Control& c) const = 0;
    virtual void PutCheck(Control& c, int state) = 0;
    // The entries of a combo box or list box, or the tabs of a tab control.
    virtual int EntryCount(const Control& c) const = 0;
    virtual std::string EntryText(const Control& c, int index) const = 0;
    // Appends an entry, choosing none; gives its index.
    virtual int AppendEntry(Control& c, std::string_view text) = 0;
    // Removes every entry; a drop-down combo box's edit text goes too.
    virtual void ClearEntries(Control& c) = 0;
    // Inserts a tab at an index within the count; the first tab becomes the current one, and
    // one inserted before the current one moves it on.
    virtual int InsertTabAt(Control& c, int index, std::string_view text) = 0;
    // The chosen entry or current tab; -1 for none.
    virtual int Selection(const Control& c) const = 0;
    // Chooses the entry (-1: none); a drop-down combo box's edit text becomes its text.
    virtual void PutSelection(Control& c, int index) = 0;
    // The record's state changed: what a backend shows follows.
    virtual void OnReadOnly(Control& /*c*/) {}
    virtual void OnEnabled(Control& /*c*/) {}
    virtual void OnShown(Control& /*c*/) {}
    // The control takes the focus.
    virtual void FocusOn(Control& c);
    // The owner learns what the user did.
    virtual void Notify(UINT id, UINT code);
    // The user clicks a button (not a check box).
    virtual void Click(Control& c);
    // What the window shows follows the caption, a menu item's state, a control's place.
    virtual void OnCaption() {}
    virtual void OnMenuItemEnabled(UINT /*id*/, bool /*enable*/) {}
    virtual void OnControlMoved(Control& /*c*/) {}
    // Makes the client area cx by cy pixels; the owner hears of it (OnDialogSize).
    virtual void ResizeClient(int cx, int cy) = 0;
    // The menu bar's items with their states, in template order.
    struct MenuState {
        MenuItem item;
        bool enabled = true;
    };
    const std::vector<MenuState>& Menu() const { return menu_; }

    const Control* Find(UINT id) const;
    Control* Find(UINT id);
    Control& AddControl(std::unique_ptr<Control> c);
    // In template order.
    const std::vector<std::unique_ptr<Control>>& AllControls() const { return controls_; }
    void ClearControls() { controls_.clear(); }
    // Names the dialog's window, which FromWindow then finds it by.
    void SetWindow(HWND window);
    DialogOwner& Owner() const { return owner_; }
    void SetFocusId(UINT id) { focus_ = id; }

  private:
    // A list control's row whose first column is the text, clicked.
    std::string ChooseListRow(Control& c, UINT id, std::string_view text);
    DialogTemplate template_;
    DialogOwner& owner_;
    std::string caption_;
    std::vector<MenuState> menu_;
    HWND window_;
    std::vector<std::unique_ptr<Control>> controls_;
    UINT focus_ = 0;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace orbel::platform
