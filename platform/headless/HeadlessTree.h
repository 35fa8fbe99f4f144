// The headless tree control: the shared tree control, its rows laid out at fixed sizes. Tests act
// as the user through the User* calls and compare Dump() as text.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/controls/TreeControlBase.h"
#include "platform/headless/HeadlessControlRegistry.h"
#include "platform/headless/HeadlessEditBox.h"

namespace orbel::platform {

class HeadlessTreeControl final : public TreeControlBase {
  public:
    HeadlessTreeControl(std::weak_ptr<HeadlessControlRegistry> registry, HWND window,
                        TreeControlEvents& events);

    TreeItem HitTest(POINT point, UINT* flags) const override;
    bool GetItemRect(TreeItem item, RECT& rect, bool textOnly) const override;
    std::unique_ptr<ImageList> CreateDragImage(TreeItem item) override;
    void RedrawNow() override { ++redraws_; }

    // The messages the control takes from its window: a key goes to the events object, then
    // moves the selection or expands as the key does. False for messages it leaves to the
    // window's procedure.
    bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // What the user does. UserEditLabel opens an edit box (or takes the open one), types the
    // text and presses Enter, or Escape with no text; it returns whether the label changed.
    void UserKeyDown(UINT key) { OnWindowMessage(WM_KEYDOWN, key, 0); }
    void UserBeginDrag(TreeItem item, POINT point) { Events().OnTreeBeginDrag(item, point); }
    void UserRightClick(TreeItem item, POINT point) { Events().OnTreeRightClick(item, point); }
    bool UserEditLabel(TreeItem item, std::optional<std::string> text);
    // The open edit box, or null.
    HeadlessEditBox* EditBox() { return labelEdit_.Box(); }

    HWND Window() const { return registration_.Window(); }
    int RedrawCount() const { return redraws_; }
    // One line per item in pre-order, two spaces of indent per depth:
    // `LABEL key=K image=I/S`, ` current` on the selected item's line, ` drop` on the drop
    // target's, ` editing` on the edited one's.
    std::string Dump() const;

  private:
    int PageRows() const override;
    bool OpenEditBox(TreeItem item, const std::string& text, EditEnd end) override;
    void CancelEditBox() override { labelEdit_.Cancel(); }
    void CloseEditBox(bool ended) override { ended ? labelEdit_.Retire() : labelEdit_.Drop(); }
    bool LimitEditBox(int characters) override;

    RegisteredModel<HeadlessTreeControl> registration_;
    int redraws_ = 0;
    HeadlessLabelEdit labelEdit_;
};

}  // namespace orbel::platform
