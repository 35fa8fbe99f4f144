#include "platform/controls/TreeControlBase.h"

#include <utility>

#include "platform/controls/KeyNavigation.h"

namespace orbel::platform {

TreeItem TreeControlBase::InsertItem(std::string_view text, int image, int selectedImage,
                                     TreeItem parent, TreeInsert where) {
    const std::optional<std::size_t> place = items_.PlaceFor(text, parent, where);
    if (!place) return kTreeNone;
    TreeChange change{TreeChange::Kind::Insert, kTreeNone, parent, *place};
    BeforeChange(change);
    const TreeItem item = items_.InsertAt(text, image, selectedImage, parent, *place).item;
    change.item = item;
    AfterChange(change);
    // An item opened before its children came shows them as they arrive.
    if (item && items_.ChildCount(parent) == 1) ShowExpanded(parent);
    return item;
}

void TreeControlBase::ForgetGone() {
    if (!items_.Has(dropTarget_)) dropTarget_ = kTreeNone;
    if (editItem_ != kTreeNone && !items_.Has(editItem_)) {
        editItem_ = kTreeNone;
        CloseEditBox(false);
    }
}

bool TreeControlBase::DeleteItem(TreeItem item) {
    if (!items_.Has(item)) return false;
    const std::optional<TreeItem> successor = items_.SelectionAfterDelete(item, selected_);
    const TreeChange change{TreeChange::Kind::Erase, item, items_.Parent(item),
                            items_.Position(item)};
    BeforeChange(change);
    items_.Erase(item, nullptr);
    AfterChange(change);
    ForgetGone();
    // A view moves its current row on its own; the records say where the selection goes.
    if (successor)
        SetSelection(*successor);
    else
        ShowSelection();
    return true;
}

bool TreeControlBase::MoveItem(TreeItem item, TreeItem parent, TreeInsert where) {
    if (!items_.Has(item)) return false;
    const std::optional<std::size_t> place =
        items_.PlaceFor(items_.Text(item), parent, where, item);
    if (!place) return false;
    const TreeChange change{TreeChange::Kind::Move, item, parent, *place};
    BeforeChange(change);
    items_.MoveTo(item, parent, *place);
    AfterChange(change);
    return true;
}

void TreeControlBase::DeleteAllItems() {
    editItem_ = kTreeNone;
    CloseEditBox(false);
    const TreeChange change{};
    BeforeChange(change);
    items_.Clear();
    dropTarget_ = kTreeNone;
    AfterChange(change);
    SetSelection(kTreeNone);
}

bool TreeControlBase::SetItemText(TreeItem item, std::string_view text) {
    if (!items_.SetText(item, text)) return false;
    RowChanged(item);
    return true;
}

bool TreeControlBase::SetItemImage(TreeItem item, int image, int selectedImage) {
    int oldImage = 0;
    int oldSelected = 0;
    if (!items_.Images(item, oldImage, oldSelected)) return false;
    // A load marks a folder again for each child it adds: only a new icon reaches the view.
    if (oldImage == image && oldSelected == selectedImage) return true;
    items_.SetImages(item, image, selectedImage);
    RowChanged(item);
    return true;
}

void TreeControlBase::SetSelection(TreeItem item) {
    if (item == selected_) {
        ShowSelection();
        return;
    }
    const TreeItem old = selected_;
    selected_ = item;
    RowChanged(old);
    RowChanged(item);
    ShowSelection();
    events_.OnTreeSelChanged(old, item);
}

bool TreeControlBase::SelectItem(TreeItem item) {
    if (item != kTreeNone && !items_.Has(item)) return false;
    SetSelection(item);
    return true;
}

bool TreeControlBase::Expand(TreeItem item, bool expand) {
    if (!items_.HasChildren(item)) return false;
    if (items_.IsExpanded(item) == expand) return true;
    // The handler may change the tree, even remove the item.
    if (events_.OnTreeItemExpanding(item, expand) || !items_.SetExpanded(item, expand))
        return false;
    ShowExpanded(item);
    // Collapsing hides the selection inside; the real control then selects the collapsed item.
    if (!expand && selected_ != item && items_.IsInside(selected_, item)) SetSelection(item);
    return true;
}

void TreeControlBase::EnsureVisible(TreeItem item) {
    for (TreeItem ancestor : items_.Ancestors(item)) Expand(ancestor, true);
    if (items_.Has(item)) ScrollTo(item);
}

bool TreeControlBase::EditLabel(TreeItem item) {
    if (!items_.Has(item)) return false;
    CancelEditBox();
    // The ended edit's handler may have changed the tree.
    if (!items_.Has(item)) return false;
    // The edit box exists when the owner is asked, so that it can limit it.
    editItem_ = item;
    if (!OpenEditBox(item, items_.Text(item),
                     [this](std::optional<std::string> text) { FinishEdit(std::move(text)); })) {
        editItem_ = kTreeNone;
        return false;
    }
    if (events_.OnTreeBeginLabelEdit(item) || !items_.Has(item) || editItem_ != item) {
        editItem_ = kTreeNone;
        CloseEditBox(false);
        return false;
    }
    return true;
}

void TreeControlBase::FinishEdit(std::optional<std::string> text) {
    const TreeItem item = editItem_;
    editItem_ = kTreeNone;
    CloseEditBox(true);
    if (events_.OnTreeEndLabelEdit(item, text) && text && items_.Has(item))
        SetItemText(item, *text);
}

bool TreeControlBase::LimitEditText(int characters) {
    return LimitEditBox(characters);
}

bool TreeControlBase::SelectDropTarget(TreeItem item) {
    if (item != kTreeNone && !items_.Has(item)) return false;
    if (item == dropTarget_) return true;
    const TreeItem old = dropTarget_;
    dropTarget_ = item;
    RowChanged(old);
    RowChanged(item);
    return true;
}

void TreeControlBase::SetImageList(const ImageList* images) {
    images_ = images;
    ImagesChanged();
}

void TreeControlBase::KeyDown(UINT key) {
    const std::weak_ptr<bool> alive = alive_;
    events_.OnTreeKeyDown(key);
    if (alive.lock()) NavigateTree(*this, items_, key, PageRows());
}

}  // namespace orbel::platform
