#include "platform/qt/QtControls.h"

#include <QBitmap>
#include <QLabel>

#include "platform/qt/QtImageList.h"
#include "platform/qt/QtListControl.h"
#include "platform/qt/QtToolBarControl.h"
#include "platform/qt/QtTreeControl.h"

namespace orbel::platform {

QtControls::QtControls(QtWindows& windows, QtLoop& loop)
    : RegisteringControls(
          std::make_shared<QtControlContext>(QtControlContext{windows, loop, {}, {}, {}})) {}

QtControls::~QtControls() = default;

std::unique_ptr<QtControls> MakeQtControls(QtWindows& windows, QtLoop& loop) {
    return std::make_unique<QtControls>(windows, loop);
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

void QtControls::OnDragBegin(const ImageList& images, int index) {
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
}

void QtControls::OnDragChanged() {
    if (!dragWindow_) return;
    const auto& drag = Drag();
    if (!drag || !drag->shown) {
        dragWindow_->hide();
        return;
    }
    const QPoint pointer(drag->at.x, drag->at.y);
    QPoint topLeft = pointer - QPoint(drag->hotSpot.x, drag->hotSpot.y);
    // The pointer's own point stays on the window beneath: that window is the drop target.
    if (QRect(topLeft, dragWindow_->size()).contains(pointer)) topLeft = pointer + QPoint(1, 1);
    dragWindow_->move(topLeft);
    dragWindow_->show();
}

}  // namespace orbel::platform
