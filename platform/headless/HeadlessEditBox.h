// The edit box that a headless tree or list opens over a label: a real child window of class
// "Edit" holding the focus, so that keys pressed while editing reach it through the message
// hooks as they do on the desktop. Enter ends the edit with the text, Escape cancels it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/WindowSystem.h"

namespace orbel::platform {

class HeadlessEditBox final : public WindowProcedure {
  public:
    // Called once when the user ends the edit: the text, or none when cancelled.
    using EndHandler = std::function<void(std::optional<std::string>)>;

    // Opens the box in `parent` with the label's text and gives it the focus.
    HeadlessEditBox(HWND parent, std::string text, EndHandler onEnd);
    ~HeadlessEditBox() override;
    HeadlessEditBox(const HeadlessEditBox&) = delete;
    HeadlessEditBox& operator=(const HeadlessEditBox&) = delete;

    // At most this many characters (0: no limit); a longer text is cut.
    void Limit(int characters);
    int LimitValue() const { return limit_; }
    // The user replaces the text by typing; what goes past the limit is not taken.
    void Type(std::string_view text);
    const std::string& Text() const { return text_; }
    HWND Window() const { return window_; }
    // Ends the edit as Enter (keep) or Escape (cancel) does.
    void End(bool cancel);
    // Destroys the window and gives the focus back to the control.
    void Close();

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    std::string Cut(std::string_view text) const;

    HWND parent_;
    HWND window_;
    std::string text_;
    int limit_ = 0;
    EndHandler onEnd_;
};

// The label edit of a tree or a list: at most one box open at a time.
class HeadlessLabelEdit {
  public:
    // Ends the open edit, if any, as Escape does.
    void Cancel() {
        if (box_) box_->End(true);
    }
    HeadlessEditBox& Open(HWND parent, std::string text, HeadlessEditBox::EndHandler onEnd) {
        retired_.reset();
        box_ = std::make_unique<HeadlessEditBox>(parent, std::move(text), std::move(onEnd));
        return *box_;
    }
    // Closes the box's window. The box itself lives until the next edit: its end handler, which
    // calls this, runs inside the box's own window procedure.
    void Retire() {
        if (box_) box_->Close();
        retired_ = std::move(box_);
    }
    // Closes the box without ending the edit (its label is gone).
    void Drop() { box_.reset(); }
    HeadlessEditBox* Box() const { return box_.get(); }

  private:
    std::unique_ptr<HeadlessEditBox> box_;
    std::unique_ptr<HeadlessEditBox> retired_;
};

}  // namespace orbel::platform
