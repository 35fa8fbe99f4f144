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
                windows_.mouse_ = POINT{global.x(), global.y()};
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
    if (cursor_ == Cursor::Hourglass) QApplication::restoreOverrideCursor();
    if (QWidget* grabber = QWidget::mouseGrabber(); grabber && WindowOf(grabber))
        grabber->releaseMouse();
    // Windows made here go with the system; adopted widgets stay their owners'.
    std::vector<QPointer<QWidget>> owned;
    for (auto& [handle, r] : windows_) {
        if (r.widget) r.widget->removeEventFilter(this);
        if (r.owned && !r.parent) owned.push_back(r.widget);
    }
    windows_.clear();
    byWidget_.clear();
    for (auto& widget : owned) delete widget.data();
}

const QtWindows::Record* QtWindows::Find(HWND window) const {
    auto it = windows_.find(window.value);
    return it == windows_.end() ? nullptr : &it->second;
}

QtWindows::Record* QtWindows::Find(HWND window) {
    auto it = windows_.find(window.value);
    return it == windows_.end() ? nullptr : &it->second;
}

HWND QtWindows::Register(QWidget* widget, const std::string& className, HWND parent, UINT id,
                         WindowProcedure* proc, bool owned) {
    HWND handle{nextHandle_++};
    Record r;
    r.widget = widget;
    r.className = className;
    r.parent = parent;
    r.id = id;
    r.proc = proc;
    r.owned = owned;
    r.enabled = widget->isEnabled();
    r.reportedWidth = widget->width();
    r.reportedHeight = widget->height();
    windows_.emplace(handle.value, std::move(r));
    byWidget_[widget] = handle.value;
    if (Record* p = Find(parent)) p->children.push_back(handle);
    widget->installEventFilter(this);
    if (SendMessage(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return kNoWindow;
    }
    // A new window learns its size right after its creation, as on the original platform.
    if (const Record* r = Find(handle))
        SendMessage(handle, WM_SIZE, 0, MAKELPARAM(r->reportedWidth, r->reportedHeight));
    return handle;
}

HWND QtWindows::CreateWindow(const CreateWindowParams& params, WindowProcedure* proc) {
    QWidget* parentWidget = nullptr;
    if (params.parent) {
        const Record* p = Find(params.parent);
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
    HWND handle = Register(widget, params.className, params.parent, params.id, proc, true);
    if (Record* r = Find(handle)) {
        r->visible = visible;
        r->reportedWidth = params.rect.Width();
        r->reportedHeight = params.rect.Height();
        if (visible) widget->show();
        if (visible && !params.parent) widget->activateWindow();
    }
    return handle;
}

HWND QtWindows::Adopt(QWidget* widget, const std::string& className, HWND parent, UINT id,
                      WindowProcedure* proc) {
    if (!widget || byWidget_.contains(widget)) return kNoWindow;
    if (parent && !Find(parent)) return kNoWindow;
    return Register(widget, className, parent, id, proc, false);
}

bool QtWindows::DestroyWindow(HWND window) {
    Record* r = Find(window);
    if (!r) return false;
    SendMessage(window, WM_DESTROY, 0, 0);
    // The procedure may have destroyed children already; take a fresh look each time.
    while (true) {
        r = Find(window);
        if (!r || r->children.empty()) break;
        DestroyWindow(r->children.back());
    }
    r = Find(window);
    if (!r) return true;
    if (Record* parent = Find(r->parent)) std::erase(parent->children, window);
    if (focus_ == window) focus_ = kNoWindow;
    if (capture_ == window) ReleaseCapture();
    QPointer<QWidget> widget = r->widget;
    const bool owned = r->owned;
    windows_.erase(window.value);
    if (widget) {
        byWidget_.erase(widget.data());
        widget->removeEventFilter(this);
        // Destroyed later: the window may be going away inside one of its own events.
        if (owned) {
            widget->hide();
            widget->deleteLater();
        }
    }
    return true;
}

bool QtWindows::IsWindow(HWND window) const {
    return Find(window) != nullptr;
}

HWND QtWindows::GetParent(HWND window) const {
    const Record* r = Find(window);
    return r ? r->parent : kNoWindow;
}

std::vector<HWND> QtWindows::GetChildren(HWND window) const {
    const Record* r = Find(window);
    return r ? r->children : std::vector<HWND>{};
}

std::string QtWindows::GetClassName(HWND window) const {
    const Record* r = Find(window);
    return r ? r->className : std::string();
}

UINT QtWindows::GetDlgCtrlID(HWND window) const {
    const Record* r = Find(window);
    return r ? r->id : 0;
}

bool QtWindows::EnableWindow(HWND window, bool enable) {
    Record* r = Find(window);
    if (!r) return false;
    const bool wasDisabled = !r->enabled;
    if (r->enabled != enable) {
        r->enabled = enable;
        // Qt takes the focus away from a widget it disables and never gives it back, while a
        // window keeps the focus through a disabled spell: a tree that loads a folder on a key
        // would take no further key.
        QWidget* focus = r->widget ? r->widget->window()->focusWidget() : nullptr;
        if (!enable && focus && r->widget->isAncestorOf(focus)) r->focusWhileDisabled = focus;
        if (r->widget) r->widget->setEnabled(enable);
        const QPointer<QWidget> held =
            enable ? std::exchange(r->focusWhileDisabled, nullptr) : QPointer<QWidget>();
        if (held && WindowOf(held) == focus_ && held->isEnabled()) {
            settingFocus_ = true;
            held->setFocus(Qt::OtherFocusReason);
            settingFocus_ = false;
        }
        SendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
    }
    return wasDisabled;
}

bool QtWindows::IsWindowEnabled(HWND window) const {
    const Record* r = Find(window);
    return r && r->enabled;
}

bool QtWindows::ShowWindow(HWND window, bool show) {
    Record* r = Find(window);
    if (!r) return false;
    const bool wasVisible = r->visible;
    r->visible = show;
    if (r->widget) r->widget->setVisible(show);
    return wasVisible;
}

bool QtWindows::IsWindowVisible(HWND window) const {
    for (const Record* r = Find(window); r; r = Find(r->parent)) {
        if (!r->visible) return false;
        if (!r->parent) return true;
    }
    return false;
}

HWND QtWindows::SetFocus(HWND window) {
    HWND previous = focus_;
    if (window && !Find(window)) return previous;
    if (previous == window) return previous;
    focus_ = window;
    if (previous && Find(previous))
        SendMessage(previous, WM_KILLFOCUS, static_cast<WPARAM>(window.value), 0);
    if (window) {
        SendMessage(window, WM_SETFOCUS, static_cast<WPARAM>(previous.value), 0);
        if (const Record* r = Find(window); r && r->widget) {
            settingFocus_ = true;
            r->widget->setFocus(Qt::OtherFocusReason);
            settingFocus_ = false;
        }
    }
    return previous;
}

void QtWindows::OnFocusChanged(QWidget*, QWidget* now) {
    // The person moved the focus (a click, Tab); the program's own moves are told already.
    // Focus leaving the application keeps the window that had it, as the original does.
    if (settingFocus_ || !now) return;
    HWND window = WindowOf(now);
    if (!window || window == focus_) return;
    HWND previous = focus_;
    focus_ = window;
    if (previous && Find(previous))
        SendMessage(previous, WM_KILLFOCUS, static_cast<WPARAM>(window.value), 0);
    SendMessage(window, WM_SETFOCUS, static_cast<WPARAM>(previous.value), 0);
}

RECT QtWindows::GetClientRect(HWND window) const {
    const Record* r = Find(window);
    if (!r || !r->widget) return {};
    return RECT{0, 0, r->widget->width(), r->widget->height()};
}

RECT QtWindows::GetWindowRect(HWND window) const {
    const Record* r = Find(window);
    if (!r || !r->widget) return {};
    return ToRect(r->widget->geometry());
}

bool QtWindows::MoveWindow(HWND window, const RECT& rect, bool repaint) {
    Record* r = Find(window);
    if (!r || !r->widget) return false;
    r->widget->setGeometry(ToQRect(rect));
    if (repaint) r->widget->update();
    if (r->reportedWidth != rect.Width() || r->reportedHeight != rect.Height()) {
        r->reportedWidth = rect.Width();
        r->reportedHeight = rect.Height();
        SendMessage(window, WM_SIZE, 0, MAKELPARAM(rect.Width(), rect.Height()));
    }
    return true;
}

void QtWindows::InvalidateRect(HWND window, const RECT* rect) {
    const Record* r = Find(window);
    if (!r || !r->widget) return;
    if (rect)
        r->widget->update(ToQRect(*rect));
    else
        r->widget->update();
}

LRESULT QtWindows::SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Find(window)) return 0;
    if (router_ && router_(window, message, wParam, lParam)) return 0;
    const Record* r = Find(window);
    if (!r || !r->proc) return 0;
    return r->proc->WindowProc(window, message, wParam, lParam);
}

Cursor QtWindows::SetCursor(Cursor cursor) {
    const Cursor previous = cursor_;
    if (cursor == previous) return previous;
    cursor_ = cursor;
    // An application-wide cursor: the hourglass stays over disabled windows too.
    if (cursor == Cursor::Hourglass)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
    return previous;
}

HWND QtWindows::SetCapture(HWND window) {
    HWND previous = capture_;
    if (window && !Find(window)) return previous;
    if (const Record* old = Find(capture_); old && old->widget) old->widget->releaseMouse();
    capture_ = window;
    if (const Record* r = Find(window); r && r->widget) r->widget->grabMouse();
    return previous;
}

bool QtWindows::ReleaseCapture() {
    if (const Record* r = Find(capture_); r && r->widget) r->widget->releaseMouse();
    capture_ = kNoWindow;
    return true;
}

POINT QtWindows::GetCursorPos() const {
    return mouse_;
}

POINT QtWindows::ClientToScreen(HWND window, POINT point) const {
    const Record* r = Find(window);
    if (!r || !r->widget) return point;
    const QPoint global = r->widget->mapToGlobal(QPoint(point.x, point.y));
    return POINT{global.x(), global.y()};
}

POINT QtWindows::ScreenToClient(HWND window, POINT point) const {
    const Record* r = Find(window);
    if (!r || !r->widget) return point;
    const QPoint local = r->widget->mapFromGlobal(QPoint(point.x, point.y));
    return POINT{local.x(), local.y()};
}

HWND QtWindows::WindowFromPoint(POINT screen) const {
    QWidget* widget = QApplication::widgetAt(QPoint(screen.x, screen.y));
    return widget ? WindowOf(widget) : kNoWindow;
}

QWidget* QtWindows::Widget(HWND window) const {
    const Record* r = Find(window);
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
    mouse_ = POINT{global.x(), global.y()};
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
    MSG msg{WindowOf(receiver), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1, 0};
    loop_.RunHooks(msg);
    if (msg.message == WM_NULL) return true;  // consumed: no widget sees it
    // A window of ours with the focus itself gets the key as a message.
    auto it = byWidget_.find(receiver);
    if (it != byWidget_.end() && Find(HWND{it->second})->owned)
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
            Record* r = Find(window);
            auto* widget = static_cast<QWidget*>(watched);
            if (r &&
                (r->reportedWidth != widget->width() || r->reportedHeight != widget->height())) {
                r->reportedWidth = widget->width();
                r->reportedHeight = widget->height();
                SendMessage(window, WM_SIZE, 0, MAKELPARAM(widget->width(), widget->height()));
            }
            return false;
        }
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return MouseMessage(window, event);
        case QEvent::Close: {
            // The close box of a window of ours ends the program's loop, as its owner would.
            const Record* r = Find(window);
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
