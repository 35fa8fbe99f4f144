#include "platform/controls/ControlsBase.h"

namespace orbel::platform {

bool ControlsBase::BeginDrag(const ImageList& images, int index, POINT hotSpot) {
    if (index < 0 || index >= images.GetImageCount()) return false;
    drag_ = DragImage{images.Describe(index), hotSpot, {}, false, false};
    OnDragBegin(images, index);
    OnDragChanged();
    return true;
}

bool ControlsBase::DragEnter(HWND, POINT screen) {
    if (!drag_) return false;
    drag_->at = screen;
    drag_->entered = true;
    drag_->shown = true;
    OnDragChanged();
    return true;
}

bool ControlsBase::DragMove(POINT screen) {
    if (!drag_) return false;
    drag_->at = screen;
    OnDragChanged();
    return true;
}

bool ControlsBase::DragLeave(HWND) {
    if (!drag_) return false;
    drag_->entered = false;
    drag_->shown = false;
    OnDragChanged();
    return true;
}

void ControlsBase::EndDrag() {
    drag_.reset();
    OnDragChanged();
}

bool ControlsBase::DragShowNolock(bool show) {
    if (!drag_) return false;
    drag_->shown = show;
    OnDragChanged();
    return true;
}

}  // namespace orbel::platform
