#include "platform/qt/QtTreeControl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <utility>

#include "platform/qt/QtImageList.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtWindows.h"

namespace orbel::platform {

namespace {

constexpr int kRowType = QTreeWidgetItem::UserType + 1;

// A row of the widget knows the handle of its item.
class TreeRow final : public QTreeWidgetItem {
  public:
    explicit TreeRow(TreeItem handle) : QTreeWidgetItem(kRowType), handle_(handle) {}
    TreeItem Handle() const { return handle_; }

  private:
    TreeItem handle_;
};

TreeItem HandleOf(const QTreeWidgetItem* row) {
    return row && row->type() == kRowType ? static_cast<const TreeRow*>(row)->Handle() : kTreeNone;
}

RECT ToRect(const QRect& r) {
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

// The widget: the records decide, the widget shows them. Mouse and keys are taken here so that
// a click selects on release (a press that turns into a drag selects nothing), the expand
// button and the arrow keys ask before expanding, and a drag becomes a notification instead of
// Qt's own drag.
class QtTreeView final : public QTreeWidget {
  public:
    QtTreeView(QtTreeControl& owner, QWidget* parent) : QTreeWidget(parent), owner_(&owner) {
        delegate_ = new QtItemDelegate(this);
        setItemDelegate(delegate_);
        setColumnCount(1);
        setHeaderHidden(true);
        setRootIsDecorated(true);
        setUniformRowHeights(true);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setItemsExpandable(false);
        setExpandsOnDoubleClick(false);
        setDragEnabled(false);
        setFocusPolicy(Qt::StrongFocus);
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (owner_) owner_->OnViewSelectionChanged();
        });
    }

    // The control is going: the widget only waits to be deleted.
    void Detach() { owner_ = nullptr; }

    ItemParts Parts(const QTreeWidgetItem* row) const {
        const QModelIndex index = indexFromItem(row);
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(index);
        if (option.rect.isEmpty()) return ItemParts{};
        delegate_->Prepare(option, index);
        return LayOutItem(this, option);
    }
    // Lays the rows out now if a change is waiting for it.
    void Settle() { executeDelayedItemsLayout(); }
    QModelIndex IndexOf(const QTreeWidgetItem* row) const { return indexFromItem(row); }

    void HandleKey(QKeyEvent* event) {
        QPointer<QtTreeView> alive(this);
        if (const UINT key = VirtualKeyFromQt(event->key())) owner_->events_.OnTreeKeyDown(key);
        if (!alive || !owner_) return;
        const TreeItem selected = owner_->GetSelectedItem();
        switch (event->key()) {
            case Qt::Key_Right:
            case Qt::Key_Plus:
                if (selected && owner_->ItemHasChildren(selected)) {
                    if (!owner_->IsExpanded(selected))
                        owner_->UserExpand(selected, true);
                    else if (event->key() == Qt::Key_Right)
                        owner_->UserSelect(owner_->GetChildItem(selected));
                }
                event->accept();
                return;
            case Qt::Key_Left:
            case Qt::Key_Minus:
                if (selected && owner_->IsExpanded(selected))
                    owner_->UserExpand(selected, false);
                else if (selected && event->key() == Qt::Key_Left &&
                         owner_->GetParentItem(selected))
                    owner_->UserSelect(owner_->GetParentItem(selected));
                event->accept();
                return;
            case Qt::Key_Asterisk:
                event->accept();
                return;
            default:
                QTreeWidget::keyPressEvent(event);
        }
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!owner_) return;
        HandleKey(event);
    }

    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        if (!owner_) return;
        if (event->button() != Qt::LeftButton) return;
        const QPoint at = event->position().toPoint();
        UINT flags = 0;
        const TreeItem hit = owner_->HitTest(owner_->ToClient(at), &flags);
        if (!hit) return;
        if (flags & kTreeHitOnButton) {
            owner_->UserExpand(hit, !owner_->IsExpanded(hit));
            return;
        }
        pressed_ = hit;
        pressedAt_ = at;
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (!owner_) return;
        if (!(event->buttons() & Qt::LeftButton)) {
            pressed_ = kTreeNone;
            QTreeWidget::mouseMoveEvent(event);  // hover
            return;
        }
        if (pressed_ && (event->position().toPoint() - pressedAt_).manhattanLength() >=
                            QApplication::startDragDistance()) {
            const TreeItem item = pressed_;
            pressed_ = kTreeNone;
            owner_->OnViewBeginDrag(item, pressedAt_);
        }
        event->accept();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        if (!owner_) return;
        if (event->button() == Qt::RightButton) {
            owner_->OnViewRightClick(event->position().toPoint());
        } else if (event->button() == Qt::LeftButton && pressed_) {
            const TreeItem item = pressed_;
            pressed_ = kTreeNone;
            owner_->UserSelect(item);
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        if (!owner_ || event->button() != Qt::LeftButton) return;
        UINT flags = 0;
        const TreeItem hit = owner_->HitTest(owner_->ToClient(event->position().toPoint()), &flags);
        if (hit && owner_->ItemHasChildren(hit)) owner_->UserExpand(hit, !owner_->IsExpanded(hit));
    }

    void startDrag(Qt::DropActions) override {}

  private:
    QtTreeControl* owner_;
    QtItemDelegate* delegate_ = nullptr;
    // A left press on an item, waiting to become a click or a drag.
    TreeItem pressed_ = kTreeNone;
    QPoint pressedAt_;
};

QtTreeControl::QtTreeControl(std::weak_ptr<QtControlContext> context, HWND window,
                             TreeControlEvents& events)
    : registration_(context, &QtControlContext::trees, window, this),
      events_(events),
      labelEdit_(context) {
    if (auto c = registration_.Context()) host_ = c->windows.Widget(window);
    if (!host_) return;
    auto* view = new QtTreeView(*this, host_);  // owned by the window's widget until we go
    view_ = view;
    FillWindow(host_, view, view);
}

QtTreeControl::~QtTreeControl() {
    labelEdit_.Drop();
    if (view_) {
        LeaveWindow(host_, view_);
        view_->Detach();
        view_->hide();
        // Deleted once the event it may be in has ended.
        view_->deleteLater();
    }
}

QTreeWidgetItem* QtTreeControl::RowOf(TreeItem item) const {
    const auto found = rows_.find(item);
    return found == rows_.end() ? nullptr : found->second;
}

TreeItem QtTreeControl::InsertItem(std::string_view text, int image, int selectedImage,
                                   TreeItem parent, TreeInsert where) {
    const TreeItems::Placed placed = items_.Insert(text, image, selectedImage, parent, where);
    if (!placed.item) return kTreeNone;
    if (view_) {
        Quiet quiet(quiet_);
        auto* row = new TreeRow(placed.item);  // owned by the widget
        row->setText(0, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        rows_.emplace(placed.item, row);
        const auto position = static_cast<int>(placed.position);
        if (QTreeWidgetItem* above = RowOf(parent)) {
            above->insertChild(position, row);
            // An item opened before its children came shows them as they arrive.
            if (items_.IsExpanded(parent)) above->setExpanded(true);
        } else {
            view_->insertTopLevelItem(position, row);
        }
    }
    ShowIcon(placed.item);
    return placed.item;
}

void QtTreeControl::Forget(TreeItem item) {
    if (item == dropTarget_) dropTarget_ = kTreeNone;
    if (item == editItem_) {
        editItem_ = kTreeNone;
        labelEdit_.Drop();
    }
    rows_.erase(item);
}

bool QtTreeControl::DeleteItem(TreeItem item) {
    if (!items_.Has(item)) return false;
    const std::optional<TreeItem> successor = items_.SelectionAfterDelete(item, selected_);
    {
        // The widget moves its current row on its own; the records say where the selection
        // goes.
        Quiet quiet(quiet_);
        if (view_) delete RowOf(item);  // with the rows below it
    }
    items_.Erase(item, [this](TreeItem gone) { Forget(gone); });
    if (successor)
        SetSelection(*successor);
    else
        ShowSelection();
    return true;
}

void QtTreeControl::DeleteAllItems() {
    labelEdit_.Drop();
    if (view_) {
        Quiet quiet(quiet_);
        view_->clear();
    }
    rows_.clear();
    items_.Clear();
    dropTarget_ = kTreeNone;
    editItem_ = kTreeNone;
    SetSelection(kTreeNone);
}

bool QtTreeControl::SetItemText(TreeItem item, std::string_view text) {
    if (!items_.SetText(item, text)) return false;
    if (QTreeWidgetItem* row = RowOf(item); view_ && row)
        row->setText(0, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

bool QtTreeControl::SetItemImage(TreeItem item, int image, int selectedImage) {
    if (!items_.SetImages(item, image, selectedImage)) return false;
    ShowIcon(item);
    return true;
}

void QtTreeControl::ShowSelection() {
    if (!view_) return;
    Quiet quiet(quiet_);
    QTreeWidgetItem* row = RowOf(selected_);
    if (!row)
        view_->selectionModel()->clear();
    else
        view_->selectionModel()->setCurrentIndex(view_->IndexOf(row),
                                                 QItemSelectionModel::ClearAndSelect);
}

void QtTreeControl::ShowIcon(TreeItem item) {
    QTreeWidgetItem* row = RowOf(item);
    int image = 0;
    int selectedImage = 0;
    if (!row || !items_.Images(item, image, selectedImage)) return;
    const QtImageList* images = AsQtImageList(images_);
    row->setIcon(0, images ? images->IconAt(item == selected_ ? selectedImage : image) : QIcon());
}

void QtTreeControl::ShowHighlight(TreeItem item, bool on) {
    QTreeWidgetItem* row = RowOf(item);
    if (!row || !view_) return;
    const QPalette& palette = view_->palette();
    row->setBackground(0, on ? palette.brush(QPalette::Highlight) : QBrush());
    row->setForeground(0, on ? palette.brush(QPalette::HighlightedText) : QBrush());
}

void QtTreeControl::SetSelection(TreeItem item) {
    if (item == selected_) {
        ShowSelection();
        return;
    }
    const TreeItem old = selected_;
    selected_ = item;
    ShowIcon(old);
    ShowIcon(item);
    ShowSelection();
    events_.OnTreeSelChanged(old, item);
}

bool QtTreeControl::SelectItem(TreeItem item) {
    if (item != kTreeNone && !items_.Has(item)) return false;
    SetSelection(item);
    return true;
}

void QtTreeControl::UserSelect(TreeItem item) {
    if (!items_.Has(item)) return;
    // As a click does: the widget's selection changes, and its signal tells the records.
    if (QTreeWidgetItem* row = RowOf(item); view_ && row)
        view_->selectionModel()->setCurrentIndex(view_->IndexOf(row),
                                                 QItemSelectionModel::ClearAndSelect);
    else
        SetSelection(item);
}

void QtTreeControl::OnViewSelectionChanged() {
    if (quiet_) return;
    const QList<QTreeWidgetItem*> rows = view_ ? view_->selectedItems() : QList<QTreeWidgetItem*>{};
    const TreeItem now = rows.empty() ? kTreeNone : HandleOf(rows.front());
    // A person cannot take the selection away from a tree (Ctrl+click on it keeps it).
    if (now == kTreeNone && selected_ != kTreeNone) {
        ShowSelection();
        return;
    }
    SetSelection(now);
}

bool QtTreeControl::Expand(TreeItem item, bool expand) {
    if (!items_.HasChildren(item)) return false;
    if (items_.IsExpanded(item) == expand) return true;
    // The handler may change the tree, even remove the item.
    if (events_.OnTreeItemExpanding(item, expand) || !items_.SetExpanded(item, expand))
        return false;
    if (QTreeWidgetItem* row = RowOf(item); view_ && row) {
        Quiet quiet(quiet_);
        row->setExpanded(expand);
    }
    // Collapsing hides the selection inside; the original control then selects the collapsed
    // item.
    if (!expand && selected_ != item && items_.IsInside(selected_, item)) SetSelection(item);
    return true;
}

void QtTreeControl::EnsureVisible(TreeItem item) {
    for (TreeItem ancestor : items_.Ancestors(item)) Expand(ancestor, true);
    if (QTreeWidgetItem* row = RowOf(item); view_ && row) {
        view_->Settle();
        if (!view_->visualItemRect(row).isEmpty()) view_->scrollToItem(row);
    }
}

QWidget* QtTreeControl::Viewport() const {
    return view_ ? view_->viewport() : nullptr;
}

QPoint QtTreeControl::ToViewport(POINT client) const {
    const QPoint at(client.x, client.y);
    if (!view_ || !host_) return at;
    return view_->viewport()->mapFrom(host_.data(), at);
}

POINT QtTreeControl::ToClient(const QPoint& viewport) const {
    if (!view_ || !host_) return POINT{viewport.x(), viewport.y()};
    const QPoint at = view_->viewport()->mapTo(host_.data(), viewport);
    return POINT{at.x(), at.y()};
}

bool QtTreeControl::GetItemRect(TreeItem item, RECT& rect, bool textOnly) const {
    const QTreeWidgetItem* row = RowOf(item);
    if (!row || !view_) return false;
    view_->Settle();
    const ItemParts parts = view_->Parts(row);
    if (parts.cell.isEmpty()) return false;  // under a collapsed item
    const QRect whole(0, parts.cell.top(), view_->viewport()->width(), parts.cell.height());
    const QRect shown = textOnly ? parts.label : whole;
    const POINT topLeft = ToClient(shown.topLeft());
    rect = ToRect(QRect(QPoint(topLeft.x, topLeft.y), shown.size()));
    return true;
}

TreeItem QtTreeControl::HitTest(POINT point, UINT* flags) const {
    UINT where = kTreeHitNowhere;
    TreeItem hit = kTreeNone;
    if (view_) {
        view_->Settle();
        const QPoint at = ToViewport(point);
        QTreeWidgetItem* row = view_->viewport()->rect().contains(at) ? view_->itemAt(at) : nullptr;
        if ((hit = HandleOf(row))) {
            const ItemParts parts = view_->Parts(row);
            // The expand button stands in the last indentation step before the item's cell.
            where = TreeHitOnRow(
                at.x(), TreeRowParts{parts.cell.left() - view_->indentation(), parts.cell.left(),
                                     parts.label.left(), parts.label.left() + parts.label.width()});
        }
    }
    if (flags) *flags = where;
    return hit;
}

bool QtTreeControl::EditLabel(TreeItem item) {
    if (!items_.Has(item) || !view_) return false;
    labelEdit_.Cancel();
    // The ended edit's handler may have changed the tree.
    QTreeWidgetItem* row = RowOf(item);
    if (!row || !view_) return false;
    view_->Settle();
    if (!view_->visualItemRect(row).isEmpty()) view_->scrollToItem(row);
    QRect label = view_->Parts(row).label;
    if (label.isEmpty()) label = QRect(0, 0, view_->viewport()->width(), 0);
    // The edit box exists when the owner is asked, so that it can limit it.
    editItem_ = item;
    labelEdit_.Open(Window(), view_->viewport(), label, items_.Text(item),
                    [this](std::optional<std::string> text) { FinishEdit(std::move(text)); });
    if (events_.OnTreeBeginLabelEdit(item) || !items_.Has(item) || editItem_ != item) {
        editItem_ = kTreeNone;
        labelEdit_.Drop();
        return false;
    }
    return true;
}

void QtTreeControl::FinishEdit(std::optional<std::string> text) {
    const TreeItem item = editItem_;
    editItem_ = kTreeNone;
    labelEdit_.Retire();
    if (events_.OnTreeEndLabelEdit(item, text) && text && items_.Has(item))
        SetItemText(item, *text);
}

bool QtTreeControl::LimitEditText(int characters) {
    QtEditBox* box = labelEdit_.Box();
    if (!box) return false;
    box->Limit(characters);
    return true;
}

bool QtTreeControl::SelectDropTarget(TreeItem item) {
    if (item != kTreeNone && !items_.Has(item)) return false;
    if (item == dropTarget_) return true;
    ShowHighlight(dropTarget_, false);
    dropTarget_ = item;
    ShowHighlight(dropTarget_, true);
    return true;
}

std::unique_ptr<ImageList> QtTreeControl::CreateDragImage(TreeItem item) {
    int image = 0;
    int selectedImage = 0;
    if (!items_.Images(item, image, selectedImage)) return nullptr;
    const std::string text = items_.Text(item);
    const std::string name = "drag \"" + text + "\"";
    if (!view_) return std::make_unique<QtImageList>(name, QPixmap(1, 1));
    const QtImageList* images = AsQtImageList(images_);
    const QIcon icon = images ? images->IconAt(image) : QIcon();
    return std::make_unique<QtImageList>(
        name, DragPicture(view_, icon, view_->iconSize(), QString::fromStdString(text)));
}

void QtTreeControl::SetImageList(const ImageList* images) {
    images_ = images;
    if (view_ && images) view_->setIconSize(QSize(images->Width(), images->Height()));
    for (const auto& entry : rows_) ShowIcon(entry.first);
}

void QtTreeControl::RedrawNow() {
    if (view_) view_->viewport()->repaint();
}

void QtTreeControl::UserKey(UINT key) {
    if (!view_) {
        events_.OnTreeKeyDown(key);
        return;
    }
    QKeyEvent event(QEvent::KeyPress, QtKeyFromVirtualKey(key), Qt::NoModifier);
    if (event.key() == 0) {
        events_.OnTreeKeyDown(key);
        return;
    }
    view_->HandleKey(&event);
}

void QtTreeControl::OnViewBeginDrag(TreeItem item, const QPoint& at) {
    if (items_.Has(item)) events_.OnTreeBeginDrag(item, ToClient(at));
}

void QtTreeControl::OnViewRightClick(const QPoint& at) {
    const POINT client = ToClient(at);
    events_.OnTreeRightClick(HitTest(client, nullptr), client);
}

}  // namespace orbel::platform
