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
#include "platform/dialogs/DialogBase.h"

namespace orbel::platform {

class HeadlessDialogs;

class HeadlessDialog final : public DialogBase {
  public:
    HeadlessDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner, WindowSystem& windows,
                   Controls& controls, std::weak_ptr<std::vector<HeadlessDialog*>> openDialogs,
                   std::weak_ptr<std::string> lastDump, HWND formParent = kNoWindow);
    ~HeadlessDialog() override;

    // `dialog ID "CAPTION" (open|ended N)`, then one line per control in template order:
    //   `  KIND ID "TEXT"[ limit=N][ readonly][ check=N][ sel=N [ENTRY | ENTRY]]
    //    [ tab=N [TAB | TAB]][ disabled][ hidden][ focus]`
    // with the list control's own dump below its line; a dialog with a menu bar has the line
    //   `  menu ITEM | ITEM (grey) | ...` first, and one whose caption changed `  caption "TEXT"`.
    // with the list control's own dump below its line.
    std::string Dump() const;

    SIZE GetClientSize() const override { return client_; }
    void MoveChild(HWND child, const RECT& rect) override;

  private:
    struct Record : Control {
        std::string text;
        int check = 0;
        std::vector<std::string> entries;  // combo and list boxes; tabs of a tab control
        int selection = -1;
    };
    static Record& Of(Control& c) { return static_cast<Record&>(c); }
    static const Record& Of(const Control& c) { return static_cast<const Record&>(c); }

    std::string TextOf(const Control& c) const override;
    void PutText(Control& c, std::string_view text) override;
    int CheckOf(const Control& c) const override { return Of(c).check; }
    void PutCheck(Control& c, int state) override { Of(c).check = state; }
    int EntryCount(const Control& c) const override;
    std::string EntryText(const Control& c, int index) const override;
    int AppendEntry(Control& c, std::string_view text) override;
    void ClearEntries(Control& c) override;
    int InsertTabAt(Control& c, int index, std::string_view text) override;
    int Selection(const Control& c) const override { return Of(c).selection; }
    void PutSelection(Control& c, int index) override;
    void OnEnabled(Control& c) override;
    void OnShown(Control& c) override;
    void OnControlMoved(Control& c) override;
    void ResizeClient(int cx, int cy) override;

    WindowSystem& windows_;
    SIZE client_{};
    std::weak_ptr<std::vector<HeadlessDialog*>> openDialogs_;
    std::weak_ptr<std::string> lastDump_;
};

class HeadlessDialogs final : public Dialogs {
  public:
    HeadlessDialogs(WindowSystem& windows, Controls& controls);

    std::unique_ptr<LiveDialog> CreateDialog(const DialogTemplate& dialogTemplate,
                                             DialogOwner& owner, HWND parent) override;
    std::unique_ptr<LiveDialog> CreateForm(const DialogTemplate& formTemplate, DialogOwner& owner,
                                           HWND parent) override;

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
