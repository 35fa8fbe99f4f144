#include "platform/qt/QtControls.h"

#include <QBitmap>
#include <QLabel>

#include "platform/qt/QtImageList.h"
#include "platform/qt/QtListControl.h"
#include "platform/qt/QtToolBarControl.h"
#include "platform/qt/QtTreeControl.h"

namespace orbel::platform {

QtControls::QtControls(QtWindows& windows, QtLoop& loop)
    : context_(std::make_shared<QtControlContext>(QtControlContext{windows, loop, {}, {}, {}})) {}

QtControls::~QtControls() = default;

std::unique_ptr<QtControls> MakeQtControls(QtWindows& windows, QtLoop& loop) {
    return std::make_unique<QtControls>(windows, loop);
}

std::unique_ptr<TreeControl> QtControls::CreateTreeControl(HWND window, TreeControlEvents& events) {
    return std::make_unique<QtTreeControl>(context_, window, events);
}

std::unique_ptr<ListControl> QtControls::CreateListControl(HWND window, ListControlEvents& events) {
    return std::make_unique<QtListControl>(context_, window, events);
}

std::unique_ptr<ToolBarControl> QtControls::CreateToolBarControl(HWND window,
                                                                 ToolBarControlEvents& events) {
    return std::make_unique<QtToolBarControl>(context_, window, events);
}

std::unique_ptr<ImageList> QtControls::CreateImageList(const std::string& strip, int width,
                                                       int height, int cells) {
    return std::make_unique<QtImageList>(strip, width, height, cells);
}

std::optional<Icon> QtControls::ExtractIcon(const std::string& file, int index) {
    if (file.empty() || index < 0) return std::nullopt;
    return Icon{file + "," + std::to_string(index)};
}

namespace {
template <class Control>
Control* Lookup(const std::map<std::uint32_t, Control*>& map, HWND window) {
    auto it = map.find(window.value);
    return it == map.end() ? nullptr : it->second;
}
}  // namespace

QtTreeControl* QtControls::Tree(HWND window) const {
    return Lookup(context_->trees, window);
}

QtListControl* QtControls::List(HWND window) const {
    return Lookup(context_->lists, window);
}

QtToolBarControl* QtControls::ToolBar(HWND window) const {
    return Lookup(context_->toolBars, window);
}

bool QtControls::RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_KEYDOWN) return false;
    if (QtTreeControl* tree = Tree(window)) {
        tree->UserKey(static_cast<UINT>(wParam));
        return true;
    }
    if (QtListControl* list = List(window)) {
        list->UserKey(static_cast<UINT>(wParam));
        return true;
    }
    return false;
}

bool QtControls::BeginDrag(const ImageList& images, int index, POINT hotSpot) {
    if (index < 0 || index >= images.GetImageCount()) return false;
    const QSize size(std::max(1, images.Width()), std::max(1, images.Height()));
    const QtImageList* qt = AsQtImageList(&images);
    QPixmap picture = qt ? qt->IconAt(index).pixmap(size) : QPixmap();
    if (picture.isNull()) {
        picture = QPixmap(size);
        picture.fill(Qt::transparent);
    }
    if (!dragWindow_) {
        // Over everything, never active and never in the way of the mouse.
        dragWindow_ = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint |
                                                            Qt::WindowTransparentForInput |
                                                            Qt::WindowDoesNotAcceptFocus);
        dragWindow_->setAttribute(Qt::WA_TransparentForMouseEvents);
        dragWindow_->setAttribute(Qt::WA_ShowWithoutActivating);
        dragWindow_->setAttribute(Qt::WA_TranslucentBackground);
    }
    dragWindow_->setPixmap(picture);
    dragWindow_->resize(picture.size());
    // Shaped to the icon and the label: without a compositing manager a translucent window's
    // clear pixels show black, so the shape is what keeps the desktop visible around them.
    dragWindow_->setMask(picture.mask());
    dragging_ = true;
    dragShown_ = false;
    dragAt_ = POINT{};
    hotSpot_ = hotSpot;
    PlaceDragImage();
    return true;
}

bool QtControls::DragEnter(HWND, POINT screen) {
    if (!dragging_) return false;
    dragAt_ = screen;
    dragShown_ = true;
    PlaceDragImage();
    return true;
}

bool QtControls::DragMove(POINT screen) {
    if (!dragging_) return false;
    dragAt_ = screen;
    PlaceDragImage();
    return true;
}

bool QtControls::DragLeave(HWND) {
    if (!dragging_) return false;
    dragShown_ = false;
    PlaceDragImage();
    return true;
}

void QtControls::EndDrag() {
    dragging_ = false;
    dragShown_ = false;
    PlaceDragImage();
}

bool QtControls::DragShowNolock(bool show) {
    if (!dragging_) return false;
    dragShown_ = show;
    PlaceDragImage();
    return true;
}

void QtControls::PlaceDragImage() {
    if (!dragWindow_) return;
    if (!dragging_ || !dragShown_) {
        dragWindow_->hide();
        return;
    }
    const QPoint pointer(dragAt_.x, dragAt_.y);
    QPoint topLeft = pointer - QPoint(hotSpot_.x, hotSpot_.y);
    // The pointer's own point stays on the window beneath: that window is the drop target.
    if (QRect(topLeft, dragWindow_->size()).contains(pointer)) topLeft = pointer + QPoint(1, 1);
    dragWindow_->move(topLeft);
    dragWindow_->show();
}

}  // namespace orbel::platform
