// What the desktop tree and list share: where an item's icon and label are drawn, the edit box
// over a label, and a control's widget kept over the whole of its window.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/WindowSystem.h"

namespace orbel::platform {

struct QtControlContext;

// The delegate of our views, which tells the option an item is drawn with.
class QtItemDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void Prepare(QStyleOptionViewItem& option, const QModelIndex& index) const {
        initStyleOption(&option, index);
    }
};

// The parts of a drawn item in viewport coordinates: its cell, its icon (empty when it shows
// none) and its label, as wide as the text within the cell.
struct ItemParts {
    QRect cell;
    QRect icon;
    QRect label;
    bool iconAbove = false;  // the icon view's large icons stand over their labels
};
// `option` is the item's option prepared by the delegate, with the cell as its rectangle.
ItemParts LayOutItem(const QWidget* view, const QStyleOptionViewItem& option);

// A picture of an item as it is dragged: its icon and its label on a transparent ground.
QPixmap DragPicture(const QWidget* view, const QIcon& icon, QSize iconSize, const QString& text);

// The edit box over a label. Enter ends the edit with the text, Escape cancels it, and so does
// the message of either key sent to its window; losing the focus to another widget keeps the
// text, as the original edit box does. The limit counts characters, not bytes.
class QtEditBox final : public QLineEdit, public WindowProcedure {
  public:
    // Called once when the edit ends: the text, or none when cancelled.
    using EndHandler = std::function<void(std::optional<std::string>)>;
    QtEditBox(QWidget* parent, const std::string& text, EndHandler onEnd);

    // At most this many characters (0: no limit); a longer text is cut.
    void Limit(int characters);
    int LimitValue() const { return limit_; }
    // Replaces the text as typed; what goes past the limit is not taken.
    void Type(const std::string& text);
    std::string Text() const { return text().toStdString(); }
    void End(bool cancel);
    // Forgets the end handler: closing the box then ends nothing.
    void Disarm() { onEnd_ = nullptr; }

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void CutToLimit();

    int limit_ = 0;
    EndHandler onEnd_;
};

// The label edit of a tree or a list: at most one box open, a window of class "Edit" under the
// control's window holding the focus while it is open.
class QtLabelEdit {
  public:
    explicit QtLabelEdit(std::weak_ptr<QtControlContext> context) : context_(std::move(context)) {}
    ~QtLabelEdit() { Drop(); }
    QtLabelEdit(const QtLabelEdit&) = delete;
    QtLabelEdit& operator=(const QtLabelEdit&) = delete;

    // Opens the box in `parent` over `label` (the parent's coordinates) and gives it the focus.
    QtEditBox& Open(HWND owner, QWidget* parent, QRect label, const std::string& text,
                    QtEditBox::EndHandler onEnd);
    // Ends the open edit, if any, as Escape does.
    void Cancel() {
        if (box_) box_->End(true);
    }
    // Closes the box after its edit ended: its window goes, the focus returns to the control,
    // and the box itself is deleted once its own event is over.
    void Retire();
    // Closes the box without ending the edit (its item is gone).
    void Drop() { Retire(); }
    QtEditBox* Box() const { return box_.data(); }
    // Moves the open box over the label's new place (its parent's coordinates), in front of
    // its siblings.
    void Move(QRect label);

  private:
    std::weak_ptr<QtControlContext> context_;
    QPointer<QtEditBox> box_;
    HWND owner_;
    HWND window_;
};

// Keeps `control` over the whole of `host` as the host's size changes, and makes `focus` the
// host's focus proxy, so that focus on the window is focus on the control.
void FillWindow(QWidget* host, QWidget* control, QWidget* focus);
// Undoes the focus proxy when the control goes before its window.
void LeaveWindow(QWidget* host, QWidget* focus);

}  // namespace orbel::platform
