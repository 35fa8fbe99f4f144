// The headless list control: the shared list over plain records, drawn as a report of fixed
// row heights. Tests act as the user through the User* calls and compare Dump() as text.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/controls/ListControlBase.h"
#include "platform/headless/HeadlessControlRegistry.h"
#include "platform/headless/HeadlessEditBox.h"

namespace orbel::platform {

class HeadlessListControl final : public ListControlBase {
  public:
    HeadlessListControl(std::weak_ptr<HeadlessControlRegistry> registry, HWND window,
                        ListControlEvents& events);

    int HitTest(POINT point, UINT* flags) const override;
    bool GetItemRect(int row, RECT& rect, bool labelOnly) const override;
    bool LimitEditText(int characters) override;
    std::unique_ptr<ImageList> CreateDragImage(int row) override;
    void RedrawItems(int first, int last) override;
    void RedrawNow() override { ++redraws_; }

    // What the user does, beside the clicks every backend's list takes. UserEditLabel returns
    // whether the label changed.
    void UserKeyDown(UINT key) { OnWindowMessage(WM_KEYDOWN, key, 0); }
    bool UserEditLabel(int row, std::optional<std::string> text);
    // The open edit box, or null.
    HeadlessEditBox* EditBox() { return labelEdit_.Box(); }

    // The messages the control takes from its window: a key goes to the events object, then
    // moves the focus and the selection as the key does. False for messages it leaves to the
    // window's procedure.
    bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND Window() const { return registration_.Window(); }
    int RedrawCount() const { return redraws_; }
    // `columns: TITLE | TITLE ...`, then one line per row:
    // `ROW key=K image=I[ selected][ focused][ drop][ editing]: TEXT | TEXT ...` with one
    // text per column.
    std::string Dump() const;

  private:
    int PageRows() const override;
    void OpenEditBox(int row, const std::string& text) override;
    void CancelEditBox() override { labelEdit_.Cancel(); }
    void RetireEditBox() override { labelEdit_.Retire(); }
    void DropEditBox() override { labelEdit_.Drop(); }
    int FirstColumnWidth() const;

    RegisteredModel<HeadlessListControl> registration_;
    int redraws_ = 0;
    HeadlessLabelEdit labelEdit_;
};

}  // namespace orbel::platform
