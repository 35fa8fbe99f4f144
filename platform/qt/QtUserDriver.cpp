#include "platform/qt/QtUserDriver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWindow>
#include <iterator>
#include <memory>

#include "platform/qt/QtControls.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtListControl.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtToolBarControl.h"
#include "platform/qt/QtTreeControl.h"

namespace orbel::platform {

namespace {
// The text a key types, for the keys that type one.
QString KeyText(int qtKey, bool shift) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        const QChar c(static_cast<char16_t>(qtKey));
        return shift ? QString(c) : QString(c.toLower());
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || qtKey == Qt::Key_Space)
        return QString(QChar(static_cast<char16_t>(qtKey)));
    return {};
}

void SendKeyEvent(QWidget* target, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers,
                  const QString& text = {}) {
    QKeyEvent event(type, qtKey, modifiers, text);
    QCoreApplication::sendEvent(target, &event);
}

// The widget of the window that takes its keys: the application's focus widget when it is in
// the window, else the widget the window hands its focus to. (Offscreen, a window's focus
// widget is the application's only once its top window was activated.)
QWidget* KeyTarget(const QtWindows& windows, HWND window) {
    QWidget* app = QApplication::focusWidget();
    if (app && windows.WindowOf(app) == window) return app;
    QWidget* widget = windows.Widget(window);
    while (widget && widget->focusProxy()) widget = widget->focusProxy();
    return widget;
}

// The key with its modifiers, each going down before it and up after it.
void SendKey(QWidget* widget, UINT key, bool shift, bool ctrl, bool alt) {
    QPointer<QWidget> target(widget);
    const int qtKey = QtKeyFromVirtualKey(key);
    Qt::KeyboardModifiers modifiers;
    auto send = [&](QEvent::Type type, int code, const QString& text = {}) {
        if (target) SendKeyEvent(target, type, code, modifiers, text);
    };
    const struct {
        bool held;
        int code;
        Qt::KeyboardModifier modifier;
    } held[] = {{ctrl, Qt::Key_Control, Qt::ControlModifier},
                {shift, Qt::Key_Shift, Qt::ShiftModifier},
                {alt, Qt::Key_Alt, Qt::AltModifier}};
    for (const auto& h : held) {
        if (!h.held) continue;
        modifiers |= h.modifier;
        send(QEvent::KeyPress, h.code);
    }
    const QString text = ctrl || alt ? QString() : KeyText(qtKey, shift);
    send(QEvent::KeyPress, qtKey ? qtKey : Qt::Key_unknown, text);
    send(QEvent::KeyRelease, qtKey ? qtKey : Qt::Key_unknown, text);
    for (auto h = std::rbegin(held); h != std::rend(held); ++h) {
        if (!h->held) continue;
        modifiers &= ~h->modifier;
        send(QEvent::KeyRelease, h->code);
    }
}

QPoint Middle(const RECT& r) {
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
}  // namespace

QtControls* QtUserDriver::Controls() const {
    return dynamic_cast<QtControls*>(&p_.CommonControls());
}

TreeControl* QtUserDriver::Tree(HWND window) {
    QtControls* controls = Controls();
    return controls ? controls->Tree(window) : nullptr;
}

ListControl* QtUserDriver::List(HWND window) {
    QtControls* controls = Controls();
    return controls ? controls->List(window) : nullptr;
}

ToolBarControl* QtUserDriver::ToolBar(HWND window) {
    QtControls* controls = Controls();
    return controls ? controls->ToolBar(window) : nullptr;
}

bool QtUserDriver::Takes(HWND window) const {
    return TakesInput(p_.Windows(), window);
}

void QtUserDriver::PressKey(HWND window, UINT key, bool shift, bool ctrl, bool alt) {
    if (!Takes(window)) return;
    // Queued behind what the loop holds already, as the keyboard's messages are; the key
    // reaches the window's focus widget when the loop delivers it.
    QtWindows& windows = p_.Windows();
    p_.Loop().PostTask([&windows, window, key, shift, ctrl, alt] {
        if (QWidget* target = KeyTarget(windows, window)) SendKey(target, key, shift, ctrl, alt);
    });
}

QWidget* QtUserDriver::MouseTarget(const QPoint& global) const {
    if (QWidget* grabber = QWidget::mouseGrabber()) return grabber;
    if (held_ && pressedOn_) return pressedOn_;
    return QApplication::widgetAt(global);
}

void QtUserDriver::SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button,
                             const QPoint& global, Qt::KeyboardModifiers modifiers) {
    p_.Windows().SetCursorPos(POINT{global.x(), global.y()});
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        held_ |= button;
        pressedOn_ = target;
    } else if (type == QEvent::MouseButtonRelease) {
        held_ &= ~button;
    }
    if (!target) return;
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, held_, modifiers);
    QCoreApplication::sendEvent(target, &event);
    if (!held_) pressedOn_ = nullptr;
}

void QtUserDriver::MoveMouse(POINT screen) {
    const QPoint global(screen.x, screen.y);
    SendMouse(MouseTarget(global), QEvent::MouseMove, Qt::NoButton, global, Qt::NoModifier);
}

void QtUserDriver::MouseButton(UINT message, POINT screen) {
    const QPoint global(screen.x, screen.y);
    QEvent::Type type = QEvent::None;
    Qt::MouseButton button = Qt::NoButton;
    switch (message) {
        case WM_LBUTTONDOWN:
            type = QEvent::MouseButtonPress;
            button = Qt::LeftButton;
            break;
        case WM_LBUTTONUP:
            type = QEvent::MouseButtonRelease;
            button = Qt::LeftButton;
            break;
        case WM_LBUTTONDBLCLK:
            type = QEvent::MouseButtonDblClick;
            button = Qt::LeftButton;
            break;
        case WM_RBUTTONDOWN:
            type = QEvent::MouseButtonPress;
            button = Qt::RightButton;
            break;
        case WM_RBUTTONUP:
            type = QEvent::MouseButtonRelease;
            button = Qt::RightButton;
            break;
        default:
            return;
    }
    QWidget* target = MouseTarget(global);
    if (const HWND window = target ? p_.Windows().WindowOf(target) : kNoWindow;
        window && !Takes(window))
        return;
    SendMouse(target, type, button, global, Qt::NoModifier);
}

void QtUserDriver::Click(QWidget* widget, const QPoint& at, Qt::MouseButton button,
                         Qt::KeyboardModifiers modifiers, int clicks) {
    QPointer<QWidget> target(widget);
    const QPoint global = widget->mapToGlobal(at);
    SendMouse(target, QEvent::MouseButtonPress, button, global, modifiers);
    SendMouse(target, QEvent::MouseButtonRelease, button, global, modifiers);
    if (clicks < 2) return;
    // The second press of a double click arrives as the double click itself.
    SendMouse(target, QEvent::MouseButtonDblClick, button, global, modifiers);
    SendMouse(target, QEvent::MouseButtonRelease, button, global, modifiers);
}

void QtUserDriver::PressAndDrag(QWidget* widget, const QPoint& at) {
    QPointer<QWidget> target(widget);
    const QPoint global = widget->mapToGlobal(at);
    SendMouse(target, QEvent::MouseButtonPress, Qt::LeftButton, global, Qt::NoModifier);
    const QPoint away = global + QPoint(QApplication::startDragDistance() + 1, 0);
    SendMouse(MouseTarget(away), QEvent::MouseMove, Qt::NoButton, away, Qt::NoModifier);
}

bool QtUserDriver::TreeSelect(HWND window, TreeItem item) {
    QtControls* controls = Controls();
    QtTreeControl* tree = controls ? controls->Tree(window) : nullptr;
    if (!tree || !tree->Has(item) || !Takes(window)) return false;
    tree->UserSelect(item);
    return true;
}

bool QtUserDriver::TreeExpand(HWND window, TreeItem item, bool expand) {
    QtControls* controls = Controls();
    QtTreeControl* tree = controls ? controls->Tree(window) : nullptr;
    if (!tree || !tree->Has(item) || !Takes(window)) return false;
    tree->UserExpand(item, expand);
    return true;
}

bool QtUserDriver::TreeRightClick(HWND window, TreeItem item, POINT client) {
    QtControls* controls = Controls();
    QtTreeControl* tree = controls ? controls->Tree(window) : nullptr;
    if (!tree || (item && !tree->Has(item)) || !tree->Viewport() || !Takes(window)) return false;
    Click(tree->Viewport(), tree->ToViewport(client), Qt::RightButton, Qt::NoModifier, 1);
    return true;
}

bool QtUserDriver::TreeBeginDrag(HWND window, TreeItem item, POINT client) {
    QtControls* controls = Controls();
    QtTreeControl* tree = controls ? controls->Tree(window) : nullptr;
    if (!tree || !tree->Has(item) || !tree->Viewport() || !Takes(window)) return false;
    PressAndDrag(tree->Viewport(), tree->ToViewport(client));
    return true;
}

bool QtUserDriver::ClickRow(HWND window, int row, Qt::MouseButton button,
                            Qt::KeyboardModifiers modifiers, int clicks) {
    QtControls* controls = Controls();
    QtListControl* list = controls ? controls->List(window) : nullptr;
    if (!list || row < -1 || row >= list->GetItemCount() || !list->Viewport() || !Takes(window))
        return false;
    std::optional<POINT> client;
    if (row >= 0) {
        list->ScrollTo(row);
        RECT label;
        if (list->GetItemRect(row, label, true)) {
            const QPoint middle = Middle(label);
            client = POINT{middle.x(), middle.y()};
        }
    } else {
        client = list->EmptySpot();
    }
    if (!client) {
        // The rows fill the view: no place to point at, so the click goes straight to the
        // path the mouse handlers take.
        if (clicks == 2)
            list->UserDoubleClick(row);
        else if (modifiers & Qt::ControlModifier)
            list->UserToggleSelect(row);
        else
            list->UserClick(row);
        return true;
    }
    Click(list->Viewport(), list->ToViewport(*client), button, modifiers, clicks);
    return true;
}

bool QtUserDriver::ListClick(HWND window, int row) {
    return ClickRow(window, row, Qt::LeftButton, Qt::NoModifier, 1);
}

bool QtUserDriver::ListToggleSelect(HWND window, int row) {
    return row >= 0 && ClickRow(window, row, Qt::LeftButton, Qt::ControlModifier, 1);
}

bool QtUserDriver::ListDoubleClick(HWND window, int row) {
    return row >= 0 && ClickRow(window, row, Qt::LeftButton, Qt::NoModifier, 2);
}

bool QtUserDriver::ListRightClick(HWND window, int row, POINT client) {
    QtControls* controls = Controls();
    QtListControl* list = controls ? controls->List(window) : nullptr;
    if (!list || row < -1 || row >= list->GetItemCount() || !list->Viewport() || !Takes(window))
        return false;
    Click(list->Viewport(), list->ToViewport(client), Qt::RightButton, Qt::NoModifier, 1);
    return true;
}

bool QtUserDriver::ListBeginDrag(HWND window, int row, POINT client) {
    QtControls* controls = Controls();
    QtListControl* list = controls ? controls->List(window) : nullptr;
    if (!list || !list->Valid(row) || !list->Viewport() || !Takes(window)) return false;
    PressAndDrag(list->Viewport(), list->ToViewport(client));
    return true;
}

bool QtUserDriver::ListDrop(HWND window, const DroppedData& data) {
    QtControls* controls = Controls();
    QtListControl* list = controls ? controls->List(window) : nullptr;
    QWidget* viewport = list ? list->Viewport() : nullptr;
    if (!viewport || !Takes(window)) return false;
    QWidget* top = viewport->window();
    QWindow* handle = top ? top->windowHandle() : nullptr;
    if (!handle) return false;
    QMimeData mime;
    if (!data.uriList.empty())
        mime.setData(QStringLiteral("text/uri-list"), QByteArray::fromStdString(data.uriList));
    if (data.text) mime.setText(QString::fromStdString(*data.text));
    // A file manager offers every action; the target picks the one it answers.
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    const QPoint at = viewport->mapTo(top, viewport->rect().center());
    QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &enter);
    QDragMoveEvent move(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted()) QCoreApplication::sendEvent(handle, &move);
    if (!enter.isAccepted() || !move.isAccepted()) {
        // The drag goes on elsewhere: the window forgets its target.
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(handle, &leave);
        return false;
    }
    QDropEvent drop(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::LinkAction;
}

bool QtUserDriver::TypeLabel(HWND window, const std::string& text) {
    QtControls* controls = Controls();
    if (!controls || !Takes(window)) return false;
    QtEditBox* box = nullptr;
    if (QtTreeControl* tree = controls->Tree(window))
        box = tree->EditBox();
    else if (QtListControl* list = controls->List(window))
        box = list->EditBox();
    if (!box) return false;
    box->Type(text);
    return true;
}

bool QtUserDriver::ToolBarClick(HWND window, UINT id) {
    QtControls* controls = Controls();
    QtToolBarControl* bar = controls ? controls->ToolBar(window) : nullptr;
    return bar && Takes(window) && bar->UserClick(id);
}

}  // namespace orbel::platform
