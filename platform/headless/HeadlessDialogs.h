// Headless dialogs: a live dialog is a window of its own with its controls as plain records
// (texts, entries, choices, states by ID); what the user does reaches the owner as the same
// notifications a real dialog sends. Each dialog dumps as text, and the maker keeps the dump of
// the last dialog that closed so that a test can see what the user saw.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"
#include "platform/controls/Controls.h"
#include "platform/dialogs/DialogControlRules.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel::platform {

class HeadlessDialogs;

class HeadlessDialog final : public LiveDialog {
  public:
    HeadlessDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner, WindowSystem& windows,
                   Controls& controls, std::weak_ptr<std::vector<HeadlessDialog*>> openDialogs,
                   std::weak_ptr<std::string> lastDump);
    ~HeadlessDialog() override;
    HeadlessDialog(const HeadlessDialog&) = delete;
    HeadlessDialog& operator=(const HeadlessDialog&) = delete;

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

    void EndDialog(int result) override;
    bool IsEnded() const override { return ended_; }
    int Result() const override { return result_; }

    std::string UserType(UINT id, std::string_view text) override;
    std::string UserChoose(UINT id, std::string_view text) override;
    std::string UserCheck(UINT id, int state) override;
    std::string UserPress(UINT id) override;
    void UserClose() override;

    // `dialog ID "CAPTION" (open|ended N)`, then one line per control in template order:
    //   `  KIND ID "TEXT"[ limit=N][ readonly][ check=N][ sel=N [ENTRY | ENTRY]]
    //    [ tab=N [TAB | TAB]][ disabled][ hidden][ focus]`
    // with the list control's own dump below its line.
    std::string Dump() const;

  private:
    struct Control : DialogControlState {
        std::string text;
        int check = 0;
        std::vector<std::string> entries;  // combo and list boxes; tabs of a tab control
        int selection = -1;
        HWND window;                        // list controls only
        std::unique_ptr<ListControl> list;  // list controls only
    };
    const Control* Find(UINT id) const;
    Control* Find(UINT id);
    // What GetText gives for the control (several may share an ID).
    std::string TextOf(const Control& c) const;
    void Notify(UINT id, UINT code);

    DialogTemplate template_;
    DialogOwner& owner_;
    WindowSystem& windows_;
    HWND window_;
    std::vector<Control> controls_;  // template order
    UINT focus_ = 0;
    bool ended_ = false;
    int result_ = 0;
    std::weak_ptr<std::vector<HeadlessDialog*>> openDialogs_;
    std::weak_ptr<std::string> lastDump_;
};

class HeadlessDialogs final : public Dialogs {
  public:
    HeadlessDialogs(WindowSystem& windows, Controls& controls);

    std::unique_ptr<LiveDialog> CreateDialog(const DialogTemplate& dialogTemplate,
                                             DialogOwner& owner, HWND parent) override;

    // The dialogs that exist now, the newest last.
    const std::vector<HeadlessDialog*>& Open() const { return *open_; }
    // The dump of the last dialog that closed, as it was when it went; empty before any.
    const std::string& LastDump() const { return *lastDump_; }
    // Every open dialog's dump, for failing tests.
    std::string Dump() const;

  private:
    WindowSystem& windows_;
    Controls& controls_;
    // Shared with the dialogs: one that outlives the platform finds these gone, not freed.
    std::shared_ptr<std::vector<HeadlessDialog*>> open_;
    std::shared_ptr<std::string> lastDump_;
};

}  // namespace orbel::platform
