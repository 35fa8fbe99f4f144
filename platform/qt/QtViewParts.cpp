#include "platform/qt/QtViewParts.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "platform/qt/QtControls.h"
#include "platform/qt/QtWindows.h"
#include "platform/text/Utf8.h"

namespace orbel::platform {

ItemParts LayOutItem(const QWidget* view, const QStyleOptionViewItem& option) {
    const QStyle* style = view->style();
    ItemParts parts;
    parts.cell = option.rect;
    parts.iconAbove = option.decorationPosition == QStyleOptionViewItem::Top;
    if (option.features & QStyleOptionViewItem::HasDecoration)
        parts.icon = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, view);
    QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
    // The style gives the text the rest of the cell; the label is as wide as its text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, view) + 1;
    const int wanted = option.fontMetrics.horizontalAdvance(option.text) + 2 * margin;
    if (wanted < text.width()) {
        if (parts.iconAbove)
            text = QRect(text.center().x() - wanted / 2, text.top(), wanted, text.height());
        else
            text.setWidth(wanted);
    }
    parts.label = text;
    return parts;
}

QPixmap DragPicture(const QWidget* view, const QIcon& icon, QSize iconSize, const QString& text) {
    const QFontMetrics metrics(view->font());
    constexpr int kGap = 4;
    const int width = iconSize.width() + kGap + metrics.horizontalAdvance(text) + kGap;
    const int height = std::max(iconSize.height(), metrics.height()) + 2;
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    if (!icon.isNull())
        icon.paint(&p, QRect(QPoint(0, (height - iconSize.height()) / 2), iconSize));
    p.setFont(view->font());
    p.setPen(view->palette().color(QPalette::Text));
    p.drawText(QRect(iconSize.width() + kGap, 0, width - iconSize.width() - kGap, height),
               Qt::AlignLeft | Qt::AlignVCenter, text);
    return picture;
}

QtEditBox::QtEditBox(QWidget* parent, const std::string& text, EndHandler onEnd)
    : QLineEdit(QString::fromStdString(text), parent), onEnd_(std::move(onEnd)) {
    selectAll();
    connect(this, &QLineEdit::textChanged, this, [this] { CutToLimit(); });
}

void QtEditBox::CutToLimit() {
    if (limit_ == 0) return;
    const std::string now = Text();
    if (CharacterCount(now) <= static_cast<std::size_t>(limit_)) return;
    const int cursor = cursorPosition();
    const QString cut =
        QString::fromStdString(std::string(FirstCharacters(now, static_cast<std::size_t>(limit_))));
    setText(cut);
    setCursorPosition(std::min(cursor, static_cast<int>(cut.size())));
}

void QtEditBox::Limit(int characters) {
    limit_ = std::max(0, characters);
    CutToLimit();
}

void QtEditBox::Type(const std::string& text) {
    setText(QString::fromStdString(text));
}

void QtEditBox::End(bool cancel) {
    // The handler usually closes this box: nothing here is touched after it runs.
    EndHandler handler = std::move(onEnd_);
    onEnd_ = nullptr;
    if (handler) handler(cancel ? std::nullopt : std::optional<std::string>(Text()));
}

void QtEditBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            End(false);
            return;
        case Qt::Key_Escape:
            event->accept();
            End(true);
            return;
        default:
            QLineEdit::keyPressEvent(event);
    }
}

void QtEditBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another window coming to the front or a menu opening keeps the edit going.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        End(false);
}

LRESULT QtEditBox::WindowProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        End(wParam == VK_ESCAPE);
    return 0;
}

QtEditBox& QtLabelEdit::Open(HWND owner, QWidget* parent, QRect label, const std::string& text,
                             QtEditBox::EndHandler onEnd) {
    Drop();
    // Owned by its parent, which deletes it with the control's widgets.
    auto* box = new QtEditBox(parent, text, std::move(onEnd));
    box_ = box;
    owner_ = owner;
    Move(label);
    box->show();
    if (auto context = context_.lock()) {
        window_ = context->windows.Adopt(box, "Edit", owner, 0, box);
        if (window_) context->windows.SetFocus(window_);
    } else {
        box->setFocus(Qt::OtherFocusReason);
    }
    return *box;
}

void QtLabelEdit::Move(QRect label) {
    if (!box_) return;
    const QWidget* parent = box_->parentWidget();
    // Room for a few more characters than the label has, within the view.
    const int width = std::max(label.width() + 4 * box_->fontMetrics().averageCharWidth(), 60);
    const int height = std::max(label.height(), box_->sizeHint().height());
    const int left = std::max(0, std::min(label.left(), parent->width() - width));
    box_->setGeometry(left, label.center().y() - height / 2, std::min(width, parent->width()),
                      height);
    box_->raise();
}

void QtLabelEdit::Retire() {
    QPointer<QtEditBox> box = box_;
    box_ = nullptr;
    const HWND window = window_;
    window_ = kNoWindow;
    if (box) box->Disarm();
    if (auto context = context_.lock(); context && window) {
        QtWindows& windows = context->windows;
        if (windows.GetFocus() == window && windows.IsWindow(owner_)) windows.SetFocus(owner_);
        windows.DestroyWindow(window);
    }
    if (box) {
        box->hide();
        box->deleteLater();
    }
}

namespace {
// Keeps a control's widget over the whole of its window.
class WindowFill final : public QObject {
  public:
    WindowFill(QWidget* host, QWidget* control) : QObject(control), host_(host), control_(control) {
        host->installEventFilter(this);
    }
    ~WindowFill() override {
        if (host_) host_->removeEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == host_ && event->type() == QEvent::Resize && control_)
            control_->setGeometry(host_->rect());
        return false;
    }

  private:
    QPointer<QWidget> host_;
    QPointer<QWidget> control_;
};
}  // namespace

void FillWindow(QWidget* host, QWidget* control, QWidget* focus) {
    control->setGeometry(host->rect());
    new WindowFill(host, control);  // owned by the control
    host->setFocusProxy(focus);
    control->show();
}

void LeaveWindow(QWidget* host, QWidget* focus) {
    if (host && host->focusProxy() == focus) host->setFocusProxy(nullptr);
}

}  // namespace orbel::platform
