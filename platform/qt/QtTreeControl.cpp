#include "platform/qt/QtTreeControl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeView>
#include <utility>

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
        const UINT key = VirtualKeyFromQt(event->key());
        if (!key) return;
        owner_->KeyDown(key);
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
    : TreeControlBase(events),
      registration_(context, &QtControlContext::trees, window, this),
      model_(std::make_unique<QtTreeModel>(*this)),
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

void QtTreeControl::BeforeChange(const TreeChange& change) {
    // The view moves its current row on its own while rows come and go; the control says
    // where the selection is once they have.
    ++quiet_;
    model_->Begin(change);
}

void QtTreeControl::AfterChange(const TreeChange& change) {
    model_->End(change);
    --quiet_;
    if (change.kind != TreeChange::Kind::Move) return;
    // The view keeps the expansion of the rows that moved; the new parent may show children
    // for the first time.
    ShowExpanded(change.parent);
    ShowExpanded(change.item);
    ShowSelection();
    if (GetEditItem() != kTreeNone && Items().IsInside(GetEditItem(), change.item))
        labelEdit_.Move(EditPlace());
}

void QtTreeControl::ShowSelection() {
    if (!view_) return;
    Quiet quiet(quiet_);
    const QModelIndex at = IndexOf(GetSelectedItem());
    if (!at.isValid())
        view_->selectionModel()->clear();
    else
        view_->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
}

void QtTreeControl::ShowExpanded(TreeItem item) {
    const QModelIndex at = IndexOf(item);
    if (!view_ || !at.isValid()) return;
    const bool expanded = Items().IsExpanded(item) && Items().HasChildren(item);
    if (view_->isExpanded(at) == expanded) return;
    Quiet quiet(quiet_);
    view_->setExpanded(at, expanded);
}

void QtTreeControl::UserSelect(TreeItem item) {
    if (!Items().Has(item)) return;
    // As a click does: the widget's selection changes, and its signal tells the records.
    if (view_)
        view_->selectionModel()->setCurrentIndex(IndexOf(item),
                                                 QItemSelectionModel::ClearAndSelect);
    else
        SelectItem(item);
}

void QtTreeControl::OnViewSelectionChanged() {
    if (quiet_ || !view_) return;
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    const TreeItem now = rows.empty() ? kTreeNone : QtTreeModel::ItemOf(rows.front());
    // A person cannot take the selection away from a tree (Ctrl+click on it keeps it).
    if (now == kTreeNone && GetSelectedItem() != kTreeNone) {
        ShowSelection();
        return;
    }
    SelectItem(now);
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

void QtTreeControl::ScrollTo(TreeItem item) {
    const QModelIndex at = IndexOf(item);
    if (!view_ || !at.isValid()) return;
    view_->Settle();
    if (!view_->visualRect(at).isEmpty()) view_->scrollTo(at);
}

int QtTreeControl::PageRows() const {
    return view_ ? view_->PageRows() : 1;
}

bool QtTreeControl::OpenEditBox(TreeItem item, const std::string& text, EditEnd end) {
    if (!view_ || !IndexOf(item).isValid()) return false;
    ScrollTo(item);
    labelEdit_.Open(Window(), view_->viewport(), EditPlace(), text, std::move(end));
    return true;
}

bool QtTreeControl::LimitEditBox(int characters) {
    QtEditBox* box = labelEdit_.Box();
    if (!box) return false;
    box->Limit(characters);
    return true;
}

void QtTreeControl::ImagesChanged() {
    if (!view_) return;
    if (Images()) view_->setIconSize(QSize(Images()->Width(), Images()->Height()));
    view_->viewport()->update();
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
    const QModelIndex at = IndexOf(GetEditItem());
    if (!view_ || !at.isValid()) return QRect();
    view_->Settle();
    const QRect label = view_->Parts(at).label;
    return label.isEmpty() ? QRect(0, 0, view_->viewport()->width(), 0) : label;
}

std::unique_ptr<ImageList> QtTreeControl::CreateDragImage(TreeItem item) {
    int image = 0;
    int selectedImage = 0;
    if (!Items().Images(item, image, selectedImage)) return nullptr;
    const std::string text = Items().Text(item);
    const std::string name = "drag \"" + text + "\"";
    if (!view_) return std::make_unique<QtImageList>(name, QPixmap(1, 1));
    const QtImageList* images = AsQtImageList(Images());
    const QIcon icon = images ? images->IconAt(image) : QIcon();
    return std::make_unique<QtImageList>(
        name, DragPicture(view_, icon, view_->iconSize(), QString::fromStdString(text)));
}

void QtTreeControl::RedrawNow() {
    if (view_) view_->viewport()->repaint();
}

void QtTreeControl::UserKey(UINT key) {
    const int qtKey = QtKeyFromVirtualKey(key);
    if (!view_ || qtKey == 0) {
        Events().OnTreeKeyDown(key);
        return;
    }
    QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier);
    view_->HandleKey(&event);
}

void QtTreeControl::OnViewBeginDrag(TreeItem item, const QPoint& at) {
    if (Items().Has(item)) Events().OnTreeBeginDrag(item, ToClient(at));
}

void QtTreeControl::OnViewRightClick(const QPoint& at) {
    const POINT client = ToClient(at);
    Events().OnTreeRightClick(HitTest(client, nullptr), client);
}

}  // namespace orbel::platform
