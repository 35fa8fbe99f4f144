#include "platform/qt/QtTreeControl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeView>
#include <utility>

#include "platform/controls/KeyNavigation.h"
#include "platform/qt/QtImageList.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtWindows.h"

namespace orbel::platform {

namespace {

RECT ToRect(const QRect& r) {
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

// The widget: the records decide, the widget shows them. Mouse and keys are taken here so that
// a click selects on release (a press that turns into a drag selects nothing), the expand
// button and the keys ask before expanding, and a drag becomes a notification instead of Qt's
// own drag.
class QtTreeView final : public QTreeView {
  public:
    QtTreeView(QtTreeControl& owner, QWidget* parent) : QTreeView(parent), owner_(&owner) {
        delegate_ = new QtItemDelegate(this);
        setItemDelegate(delegate_);
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
        setModel(owner.model_.get());
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (owner_) owner_->OnViewSelectionChanged();
        });
    }

    // The control is going: the widget lets go of its model and only waits to be deleted.
    void Detach() {
        owner_ = nullptr;
        setModel(nullptr);
    }

    ItemParts Parts(const QModelIndex& index) const {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(index);
        if (option.rect.isEmpty()) return ItemParts{};
        delegate_->Prepare(option, index);
        return LayOutItem(this, option);
    }
    // Lays the rows out now if a change is waiting for it.
    void Settle() { executeDelayedItemsLayout(); }
    // The rows one page of the view shows.
    int PageRows() const {
        const int row = rowHeight(currentIndex().isValid() ? currentIndex() : model()->index(0, 0));
        return row > 0 ? viewport()->height() / row : 1;
    }

    // The owner hears of the key first; then the key moves the selection or expands as in
    // every backend's tree, and nothing else of the widget's own handling runs.
    void HandleKey(QKeyEvent* event) {
        event->accept();
        QPointer<QtTreeView> alive(this);
        const UINT key = VirtualKeyFromQt(event->key());
        if (!key) return;
        owner_->events_.OnTreeKeyDown(key);
        if (alive && owner_) NavigateTree(*owner_, owner_->items_, key, PageRows());
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
            QTreeView::mouseMoveEvent(event);  // hover
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
      model_(std::make_unique<QtTreeModel>(items_, look_)),
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

TreeItem QtTreeControl::InsertItem(std::string_view text, int image, int selectedImage,
                                   TreeItem parent, TreeInsert where) {
    const std::optional<std::size_t> place = items_.PlaceFor(text, parent, where);
    if (!place) return kTreeNone;
    TreeItems::Placed placed;
    {
        Quiet quiet(quiet_);
        model_->BeginInsert(parent, *place);
        placed = items_.Insert(text, image, selectedImage, parent, where);
        model_->EndInsert();
    }
    // An item opened before its children came shows them as they arrive.
    if (placed.item && items_.ChildCount(parent) == 1) ShowExpanded(parent);
    return placed.item;
}

void QtTreeControl::ForgetGone() {
    if (!items_.Has(look_.dropTarget)) look_.dropTarget = kTreeNone;
    if (editItem_ != kTreeNone && !items_.Has(editItem_)) {
        editItem_ = kTreeNone;
        labelEdit_.Drop();
    }
}

bool QtTreeControl::DeleteItem(TreeItem item) {
    if (!items_.Has(item)) return false;
    const std::optional<TreeItem> successor = items_.SelectionAfterDelete(item, look_.selected);
    {
        // The view moves its current row on its own; the records say where the selection
        // goes.
        Quiet quiet(quiet_);
        model_->BeginErase(item);
        items_.Erase(item, nullptr);
        model_->EndErase();
    }
    ForgetGone();
    if (successor)
        SetSelection(*successor);
    else
        ShowSelection();
    return true;
}

bool QtTreeControl::MoveItem(TreeItem item, TreeItem parent, TreeInsert where) {
    if (!items_.Has(item)) return false;
    const std::optional<std::size_t> place =
        items_.PlaceFor(items_.Text(item), parent, where, item);
    if (!place) return false;
    {
        Quiet quiet(quiet_);
        const bool told = model_->BeginMove(item, parent, *place);
        items_.Move(item, parent, where);
        if (told) model_->EndMove();
    }
    // The view keeps the expansion of the rows that moved; the new parent may show children
    // for the first time.
    ShowExpanded(parent);
    ShowExpanded(item);
    ShowSelection();
    if (editItem_ != kTreeNone && items_.IsInside(editItem_, item)) labelEdit_.Move(EditPlace());
    return true;
}

void QtTreeControl::DeleteAllItems() {
    labelEdit_.Drop();
    {
        Quiet quiet(quiet_);
        model_->BeginClear();
        items_.Clear();
        look_.dropTarget = kTreeNone;
        editItem_ = kTreeNone;
        model_->EndClear();
    }
    SetSelection(kTreeNone);
}

bool QtTreeControl::SetItemText(TreeItem item, std::string_view text) {
    if (!items_.SetText(item, text)) return false;
    model_->Changed(item);
    return true;
}

bool QtTreeControl::SetItemImage(TreeItem item, int image, int selectedImage) {
    int oldImage = 0;
    int oldSelected = 0;
    if (!items_.Images(item, oldImage, oldSelected)) return false;
    // A load marks a folder again for each child it adds: only a new icon reaches the view.
    if (oldImage == image && oldSelected == selectedImage) return true;
    items_.SetImages(item, image, selectedImage);
    model_->Changed(item);
    return true;
}

void QtTreeControl::ShowSelection() {
    if (!view_) return;
    Quiet quiet(quiet_);
    const QModelIndex at = IndexOf(look_.selected);
    if (!at.isValid())
        view_->selectionModel()->clear();
    else
        view_->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
}

void QtTreeControl::ShowExpanded(TreeItem item) {
    const QModelIndex at = IndexOf(item);
    if (!view_ || !at.isValid()) return;
    const bool expanded = items_.IsExpanded(item) && items_.HasChildren(item);
    if (view_->isExpanded(at) == expanded) return;
    Quiet quiet(quiet_);
    view_->setExpanded(at, expanded);
}

void QtTreeControl::SetSelection(TreeItem item) {
    if (item == look_.selected) {
        ShowSelection();
        return;
    }
    const TreeItem old = look_.selected;
    look_.selected = item;
    model_->Changed(old);
    model_->Changed(item);
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
    if (view_)
        view_->selectionModel()->setCurrentIndex(IndexOf(item),
                                                 QItemSelectionModel::ClearAndSelect);
    else
        SetSelection(item);
}

void QtTreeControl::OnViewSelectionChanged() {
    if (quiet_ || !view_) return;
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    const TreeItem now = rows.empty() ? kTreeNone : QtTreeModel::ItemOf(rows.front());
    // A person cannot take the selection away from a tree (Ctrl+click on it keeps it).
    if (now == kTreeNone && look_.selected != kTreeNone) {
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
    ShowExpanded(item);
    // Collapsing hides the selection inside; the original control then selects the collapsed
    // item.
    if (!expand && look_.selected != item && items_.IsInside(look_.selected, item))
        SetSelection(item);
    return true;
}

void QtTreeControl::EnsureVisible(TreeItem item) {
    for (TreeItem ancestor : items_.Ancestors(item)) Expand(ancestor, true);
    const QModelIndex at = IndexOf(item);
    if (view_ && at.isValid()) {
        view_->Settle();
        if (!view_->visualRect(at).isEmpty()) view_->scrollTo(at);
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
    const QModelIndex at = IndexOf(item);
    if (!at.isValid() || !view_) return false;
    view_->Settle();
    const ItemParts parts = view_->Parts(at);
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
        const QModelIndex index =
            view_->viewport()->rect().contains(at) ? view_->indexAt(at) : QModelIndex();
        if ((hit = QtTreeModel::ItemOf(index))) {
            const ItemParts parts = view_->Parts(index);
            // The expand button stands in the last indentation step before the item's cell.
            where = TreeHitOnRow(
                at.x(), TreeRowParts{parts.cell.left() - view_->indentation(), parts.cell.left(),
                                     parts.label.left(), parts.label.left() + parts.label.width()});
        }
    }
    if (flags) *flags = where;
    return hit;
}

QRect QtTreeControl::EditPlace() const {
    const QModelIndex at = IndexOf(editItem_);
    if (!view_ || !at.isValid()) return QRect();
    view_->Settle();
    const QRect label = view_->Parts(at).label;
    return label.isEmpty() ? QRect(0, 0, view_->viewport()->width(), 0) : label;
}

bool QtTreeControl::EditLabel(TreeItem item) {
    if (!items_.Has(item) || !view_) return false;
    labelEdit_.Cancel();
    // The ended edit's handler may have changed the tree.
    const QModelIndex at = IndexOf(item);
    if (!at.isValid() || !view_) return false;
    view_->Settle();
    if (!view_->visualRect(at).isEmpty()) view_->scrollTo(at);
    // The edit box exists when the owner is asked, so that it can limit it.
    editItem_ = item;
    labelEdit_.Open(Window(), view_->viewport(), EditPlace(), items_.Text(item),
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
    if (item == look_.dropTarget) return true;
    const TreeItem old = look_.dropTarget;
    look_.dropTarget = item;
    model_->Changed(old);
    model_->Changed(item);
    return true;
}

std::unique_ptr<ImageList> QtTreeControl::CreateDragImage(TreeItem item) {
    int image = 0;
    int selectedImage = 0;
    if (!items_.Images(item, image, selectedImage)) return nullptr;
    const std::string text = items_.Text(item);
    const std::string name = "drag \"" + text + "\"";
    if (!view_) return std::make_unique<QtImageList>(name, QPixmap(1, 1));
    const QtImageList* images = AsQtImageList(look_.images);
    const QIcon icon = images ? images->IconAt(image) : QIcon();
    return std::make_unique<QtImageList>(
        name, DragPicture(view_, icon, view_->iconSize(), QString::fromStdString(text)));
}

void QtTreeControl::SetImageList(const ImageList* images) {
    look_.images = images;
    if (!view_) return;
    if (images) view_->setIconSize(QSize(images->Width(), images->Height()));
    view_->viewport()->update();
}

void QtTreeControl::RedrawNow() {
    if (view_) view_->viewport()->repaint();
}

void QtTreeControl::UserKey(UINT key) {
    const int qtKey = QtKeyFromVirtualKey(key);
    if (!view_ || qtKey == 0) {
        events_.OnTreeKeyDown(key);
        return;
    }
    QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier);
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
