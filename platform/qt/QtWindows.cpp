#include "platform/qt/QtWindows.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

#include "platform/qt/QtKeys.h"
#include "platform/qt/QtLoop.h"

namespace orbel::platform {

namespace {
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;

QRect ToQRect(const RECT& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

RECT ToRect(const QRect& r) {
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The window message for a Qt mouse event; 0 for none the platform has.
UINT MouseMessageFor(const QMouseEvent& e) {
    switch (e.type()) {
        case QEvent::MouseMove:
            return WM_MOUSEMOVE;
        case QEvent::MouseButtonPress:
            return e.button() == Qt::LeftButton    ? WM_LBUTTONDOWN
                   : e.button() == Qt::RightButton ? WM_RBUTTONDOWN
                                                   : 0;
        case QEvent::MouseButtonRelease:
            return e.button() == Qt::LeftButton    ? WM_LBUTTONUP
                   : e.button() == Qt::RightButton ? WM_RBUTTONUP
                                                   : 0;
        case QEvent::MouseButtonDblClick:
            return e.button() == Qt::LeftButton ? WM_LBUTTONDBLCLK : 0;
        default:
            return 0;
    }
}
}  // namespace

// Sees every event of the application first; keys pass the message hooks there, and the
// pointer's place is taken from every mouse event, also those of widgets that are no window of
// ours (a view's viewport), so that the cursor position is where the person pointed last. A
// filter of its own: the windows' filter also watches each window's widget, and the
// application's filter would see those events a second time.
class QtWindows::KeyHook final : public QObject {
  public:
    explicit KeyHook(QtWindows& windows) : windows_(windows) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) return false;
        switch (event->type()) {
            case QEvent::KeyPress:
                return windows_.OnKeyPress(static_cast<QWidget*>(watched), event);
            case QEvent::MouseMove:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick: {
                const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
                windows_.SetMousePos(POINT{global.x(), global.y()});
                return false;
            }
            default:
                return false;
        }
    }

  private:
    QtWindows& windows_;
};

QtWindows::QtWindows(QtLoop& loop) : loop_(loop), keyHook_(std::make_unique<KeyHook>(*this)) {
    // Keys pass the message hooks before any widget sees them, as messages taken from the
    // queue do.
    qApp->installEventFilter(keyHook_.get());
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { OnFocusChanged(old, now); });
}

QtWindows::~QtWindows() {
    if (qApp) qApp->removeEventFilter(keyHook_.get());
    if (GetCursor() == Cursor::Hourglass) QApplication::restoreOverrideCursor();
    if (QWidget* grabber = QWidget::mouseGrabber(); grabber && WindowOf(grabber))
        grabber->releaseMouse();
    // Windows made here go with the system; adopted widgets stay their owners'.
    std::vector<QPointer<QWidget>> owned;
    for (const auto& [widget, handle] : byWidget_) {
        const QtRecord* r = Native(HWND{handle});
        if (!r) continue;  // its widget went first
        if (r->widget) r->widget->removeEventFilter(this);
        if (r->owned && !r->parent) owned.push_back(r->widget);
    }
    byWidget_.clear();
    for (auto& widget : owned) delete widget.data();
}

const QtWindows::QtRecord* QtWindows::Native(HWND window) const {
    return static_cast<const QtRecord*>(Find(window));
}

QtWindows::QtRecord* QtWindows::Native(HWND window) {
    return static_cast<QtRecord*>(Find(window));
}

HWND QtWindows::Register(QWidget* widget, std::unique_ptr<QtRecord> record) {
    record->widget = widget;
    record->rect = ToRect(widget->geometry());
    return Insert(std::move(record), [&](HWND handle) {
        byWidget_[widget] = handle.value;
        widget->installEventFilter(this);
    });
}

HWND QtWindows::CreateWindow(const CreateWindowParams& params, WindowProcedure* proc) {
    QWidget* parentWidget = nullptr;
    if (params.parent) {
        const QtRecord* p = Native(params.parent);
        if (!p || !p->widget) return kNoWindow;
        parentWidget = p->widget;
    }
    auto* widget = new QWidget(parentWidget);
    widget->setObjectName(QString::fromStdString(params.className));
    widget->setWindowTitle(QString::fromStdString(params.text));
    widget->setFocusPolicy(Qt::ClickFocus);
    // A window hears the mouse move over it with no button down too.
    widget->setMouseTracking(true);
    widget->setGeometry(ToQRect(params.rect));
    widget->setEnabled((params.style & WS_DISABLED) == 0);
    const bool visible = (params.style & WS_VISIBLE) != 0;
    auto record = std::make_unique<QtRecord>();
    record->className = params.className;
    record->text = params.text;
    record->parent = params.parent;
    record->id = params.id;
    record->enabled = widget->isEnabled();
    record->proc = proc;
    record->owned = true;
    HWND handle = Register(widget, std::move(record));
    if (Record* r = Find(handle)) {
        r->visible = visible;
        if (visible) widget->show();
        if (visible && !params.parent) widget->activateWindow();
    }
    return handle;
}

HWND QtWindows::Adopt(QWidget* widget, const std::string& className, HWND parent, UINT id,
                      WindowProcedure* proc) {
    if (!widget || byWidget_.contains(widget)) return kNoWindow;
    if (parent && !Find(parent)) return kNoWindow;
    auto record = std::make_unique<QtRecord>();
    record->className = className;
    record->parent = parent;
    record->id = id;
    record->enabled = widget->isEnabled();
    record->proc = proc;
    return Register(widget, std::move(record));
}

void QtWindows::OnRemoved(HWND, Record& record) {
    auto& r = static_cast<QtRecord&>(record);
    if (!r.widget) return;
    byWidget_.erase(r.widget.data());
    r.widget->removeEventFilter(this);
    // Destroyed later: the window may be going away inside one of its own events.
    if (r.owned) {
        r.widget->hide();
        r.widget->deleteLater();
    }
}

void QtWindows::OnEnable(HWND window, bool enable) {
    QtRecord* r = Native(window);
    if (!r->widget) return;
    // Qt takes the focus away from a widget it disables and never gives it back, while a
    // window keeps the focus through a disabled spell: a tree that loads a folder on a key
    // would take no further key.
    QWidget* focus = r->widget->window()->focusWidget();
    if (!enable && focus && r->widget->isAncestorOf(focus)) r->focusWhileDisabled = focus;
    r->widget->setEnabled(enable);
    const QPointer<QWidget> held =
        enable ? std::exchange(r->focusWhileDisabled, nullptr) : QPointer<QWidget>();
    if (held && WindowOf(held) == GetFocus() && held->isEnabled()) {
        settingFocus_ = true;
        held->setFocus(Qt::OtherFocusReason);
        settingFocus_ = false;
    }
}

void QtWindows::OnShow(HWND window, bool show) {
    if (const QtRecord* r = Native(window); r->widget) r->widget->setVisible(show);
}

void QtWindows::OnFocus(HWND window) {
    if (const QtRecord* r = Native(window); r && r->widget) {
        settingFocus_ = true;
        r->widget->setFocus(Qt::OtherFocusReason);
        settingFocus_ = false;
    }
}

void QtWindows::OnFocusChanged(QWidget*, QWidget* now) {
    // The person moved the focus (a click, Tab); the program's own moves are told already.
    // Focus leaving the application keeps the window that had it, as the original does.
    if (settingFocus_ || !now) return;
    HWND window = WindowOf(now);
    if (!window || window == GetFocus()) return;
    MoveFocus(window);
}

RECT QtWindows::GetClientRect(HWND window) const {
    const QtRecord* r = Native(window);
    if (!r || !r->widget) return {};
    return RECT{0, 0, r->widget->width(), r->widget->height()};
}

RECT QtWindows::GetWindowRect(HWND window) const {
    const QtRecord* r = Native(window);
    if (!r || !r->widget) return {};
    return ToRect(r->widget->geometry());
}

bool QtWindows::OnMove(HWND window, const RECT& rect, bool repaint) {
    const QtRecord* r = Native(window);
    if (!r->widget) return false;
    r->widget->setGeometry(ToQRect(rect));
    if (repaint) r->widget->update();
    return true;
}

void QtWindows::OnUpdate(HWND window) {
    const QtRecord* r = Native(window);
    if (r->widget && r->widget->isVisible()) r->widget->repaint();
}

void QtWindows::OnInvalidate(HWND window, const RECT* rect) {
    const QtRecord* r = Native(window);
    if (!r->widget) return;
    if (rect)
        r->widget->update(ToQRect(*rect));
    else
        r->widget->update();
}

void QtWindows::OnCursor(Cursor cursor) {
    // An application-wide cursor: the hourglass stays over disabled windows too.
    if (cursor == Cursor::Hourglass)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

void QtWindows::OnCapture(HWND previous, HWND window) {
    if (const QtRecord* old = Native(previous); old && old->widget) old->widget->releaseMouse();
    if (const QtRecord* r = Native(window); r && r->widget) r->widget->grabMouse();
}

POINT QtWindows::ClientToScreen(HWND window, POINT point) const {
    const QtRecord* r = Native(window);
    if (!r || !r->widget) return point;
    const QPoint global = r->widget->mapToGlobal(QPoint(point.x, point.y));
    return POINT{global.x(), global.y()};
}

POINT QtWindows::ScreenToClient(HWND window, POINT point) const {
    const QtRecord* r = Native(window);
    if (!r || !r->widget) return point;
    const QPoint local = r->widget->mapFromGlobal(QPoint(point.x, point.y));
    return POINT{local.x(), local.y()};
}

HWND QtWindows::WindowFromPoint(POINT screen) const {
    QWidget* widget = QApplication::widgetAt(QPoint(screen.x, screen.y));
    return widget ? WindowOf(widget) : kNoWindow;
}

QWidget* QtWindows::Widget(HWND window) const {
    const QtRecord* r = Native(window);
    return r ? r->widget.data() : nullptr;
}

HWND QtWindows::WindowOf(const QObject* object) const {
    for (; object; object = object->parent()) {
        auto it = byWidget_.find(object);
        if (it != byWidget_.end()) return HWND{it->second};
    }
    return kNoWindow;
}

bool QtWindows::MouseMessage(HWND window, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    SetMousePos(POINT{global.x(), global.y()});
    const UINT message = MouseMessageFor(*mouse);
    if (!message) return false;
    WPARAM keys = 0;
    if (mouse->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
    if (mouse->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
    const QPoint local = mouse->position().toPoint();
    SendMessage(window, message, keys, MAKELPARAM(local.x(), local.y()));
    return false;
}

bool QtWindows::OnKeyPress(QWidget* receiver, QEvent* event) {
    // A key event travels from the focus widget up to its ancestors as long as each ignores it:
    // it passes the hooks once, at the first widget that gets it, which marks it in its time
    // stamp's top bit (a new event is never marked, even at the address of an earlier one).
    constexpr quint64 kHooked = quint64{1} << 63;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->timestamp() & kHooked) return false;
    key->setTimestamp(key->timestamp() | kHooked);
    const UINT vk = VirtualKeyFromQt(key->key());
    if (!vk) return false;
    const bool alt = key->modifiers() & Qt::AltModifier;
    constexpr LPARAM kAltDown = 0x20000000;
    MSG msg{WindowOf(receiver), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, alt ? 1 | kAltDown : 1, 0};
    loop_.RunHooks(msg);
    if (msg.message == WM_NULL) return true;  // consumed: no widget sees it
    // A window of ours with the focus itself gets the key as a message.
    auto it = byWidget_.find(receiver);
    if (it != byWidget_.end() && Native(HWND{it->second})->owned)
        SendMessage(HWND{it->second}, msg.message, msg.wParam, msg.lParam);
    return false;
}

bool QtWindows::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    auto it = byWidget_.find(watched);
    if (it == byWidget_.end()) return false;
    const HWND window{it->second};
    switch (type) {
        case QEvent::Resize: {
            const auto* widget = static_cast<QWidget*>(watched);
            Resized(window, widget->width(), widget->height());
            return false;
        }
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return MouseMessage(window, event);
        case QEvent::Close: {
            // The close box of a window of ours ends the program's loop, as its owner would.
            const QtRecord* r = Native(window);
            if (r && r->owned && !r->parent) {
                event->ignore();
                loop_.PostQuitMessage(0);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace orbel::platform
