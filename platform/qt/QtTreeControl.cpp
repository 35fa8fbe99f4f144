#include "platform/qt/QtTreeControl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "platform/qt/QtImageList.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtWindows.h"
#include "platform/text/AsciiCase.h"

namespace orbel::platform {

namespace {

// Labels order byte by byte with ASCII letters folded, so UTF-8 text sorts after ASCII (as the
// headless tree orders them).
bool LessIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
    });
}

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

const QtTreeControl::Node* QtTreeControl::Find(TreeItem item) const {
    if (item < base_ || item - base_ >= nodes_.size()) return nullptr;
    const Node& n = nodes_[item - base_];
    return n.alive ? &n : nullptr;
}

QtTreeControl::Node* QtTreeControl::Find(TreeItem item) {
    return const_cast<Node*>(std::as_const(*this).Find(item));
}

QtTreeControl::Siblings* QtTreeControl::ChildrenOf(TreeItem parent) {
    if (parent == kTreeNone) return &top_;
    Node* n = Find(parent);
    return n ? &n->children : nullptr;
}

const QtTreeControl::Siblings* QtTreeControl::ChildrenOf(TreeItem parent) const {
    if (parent == kTreeNone) return &top_;
    const Node* n = Find(parent);
    return n ? &n->children : nullptr;
}

std::size_t QtTreeControl::PositionOf(TreeItem item) const {
    const Node& n = *Find(item);
    const std::vector<TreeItem>& items = ChildrenOf(n.parent)->items;
    // Sorted siblings are found by halving; items placed first or last by a plain search.
    auto at = std::lower_bound(items.begin(), items.end(), n.text,
                               [this](TreeItem sibling, const std::string& label) {
                                   return LessIgnoringAsciiCase(Find(sibling)->text, label);
                               });
    for (; at != items.end() && !LessIgnoringAsciiCase(n.text, Find(*at)->text); ++at)
        if (*at == item) return static_cast<std::size_t>(at - items.begin());
    return static_cast<std::size_t>(std::find(items.begin(), items.end(), item) - items.begin());
}

TreeItem QtTreeControl::InsertItem(std::string_view text, int image, int selectedImage,
                                   TreeItem parent, TreeInsert where) {
    Siblings* siblings = ChildrenOf(parent);
    if (!siblings) return kTreeNone;
    auto& items = siblings->items;
    auto at = items.end();
    if (where == TreeInsert::First) {
        at = items.begin();
    } else if (where == TreeInsert::Sort) {
        at = std::upper_bound(items.begin(), items.end(), text,
                              [this](std::string_view label, TreeItem sibling) {
                                  return LessIgnoringAsciiCase(label, Find(sibling)->text);
                              });
    }
    const auto position = static_cast<int>(at - items.begin());
    const TreeItem handle = nextItem_++;
    items.insert(at, handle);
    Node node;
    node.text = std::string(text);
    node.image = image;
    node.selectedImage = selectedImage;
    node.parent = parent;
    node.alive = true;
    if (view_) {
        Quiet quiet(quiet_);
        auto* row = new TreeRow(handle);  // owned by the widget
        row->setText(0, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        node.row = row;
        if (const Node* p = Find(parent)) {
            p->row->insertChild(position, row);
            // An item opened before its children came shows them as they arrive.
            if (p->expanded) p->row->setExpanded(true);
        } else {
            view_->insertTopLevelItem(position, row);
        }
    }
    nodes_.push_back(std::move(node));
    ++count_;
    ShowIcon(handle);
    return handle;
}

bool QtTreeControl::IsInside(TreeItem item, TreeItem ancestor) const {
    for (const Node* n = Find(item); n; item = n->parent, n = Find(item))
        if (item == ancestor) return true;
    return false;
}

void QtTreeControl::EraseSubtree(TreeItem item) {
    std::vector<TreeItem> pending{item};
    while (!pending.empty()) {
        const TreeItem next = pending.back();
        pending.pop_back();
        Node* n = Find(next);
        if (!n) continue;
        pending.insert(pending.end(), n->children.items.begin(), n->children.items.end());
        if (next == dropTarget_) dropTarget_ = kTreeNone;
        if (next == editItem_) {
            editItem_ = kTreeNone;
            labelEdit_.Drop();
        }
        *n = Node{};
        --count_;
    }
}

bool QtTreeControl::DeleteItem(TreeItem item) {
    const Node* n = Find(item);
    if (!n) return false;
    const TreeItem parent = n->parent;
    const bool selectionInside = selected_ != kTreeNone && IsInside(selected_, item);
    TreeItem successor = kTreeNone;
    if (selectionInside) {
        successor = GetNextSiblingItem(item);
        if (!successor) successor = GetPrevSiblingItem(item);
        if (!successor) successor = parent;
    }
    Siblings& siblings = *ChildrenOf(parent);
    const std::size_t position = PositionOf(item);
    siblings.items.erase(siblings.items.begin() + static_cast<std::ptrdiff_t>(position));
    {
        // The widget moves its current row on its own; the records say where the selection
        // goes.
        Quiet quiet(quiet_);
        if (view_) delete n->row;  // with the rows below it
    }
    EraseSubtree(item);
    if (selectionInside)
        SetSelection(successor);
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
    nodes_.clear();
    dropTarget_ = kTreeNone;
    editItem_ = kTreeNone;
    base_ = nextItem_;
    count_ = 0;
    top_ = Siblings{};
    SetSelection(kTreeNone);
}

std::string QtTreeControl::GetItemText(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->text : std::string();
}

bool QtTreeControl::SetItemText(TreeItem item, std::string_view text) {
    Node* n = Find(item);
    if (!n) return false;
    // The item stays where it is when its label changes, as in the original control.
    n->text = std::string(text);
    if (view_ && n->row)
        n->row->setText(0, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

DWORD QtTreeControl::GetItemData(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->data : 0;
}

bool QtTreeControl::SetItemData(TreeItem item, DWORD data) {
    Node* n = Find(item);
    if (!n) return false;
    n->data = data;
    return true;
}

bool QtTreeControl::GetItemImage(TreeItem item, int& image, int& selectedImage) const {
    const Node* n = Find(item);
    if (!n) return false;
    image = n->image;
    selectedImage = n->selectedImage;
    return true;
}

bool QtTreeControl::SetItemImage(TreeItem item, int image, int selectedImage) {
    Node* n = Find(item);
    if (!n) return false;
    n->image = image;
    n->selectedImage = selectedImage;
    ShowIcon(item);
    return true;
}

TreeItem QtTreeControl::GetRootItem() const {
    return top_.items.empty() ? kTreeNone : top_.items.front();
}

TreeItem QtTreeControl::GetParentItem(TreeItem item) const {
    const Node* n = Find(item);
    return n ? n->parent : kTreeNone;
}

TreeItem QtTreeControl::GetChildItem(TreeItem item) const {
    const Siblings* children = ChildrenOf(item);
    return children && !children->items.empty() ? children->items.front() : kTreeNone;
}

TreeItem QtTreeControl::GetNextSiblingItem(TreeItem item) const {
    const Node* n = Find(item);
    if (!n) return kTreeNone;
    const auto& items = ChildrenOf(n->parent)->items;
    const std::size_t next = PositionOf(item) + 1;
    return next < items.size() ? items[next] : kTreeNone;
}

TreeItem QtTreeControl::GetPrevSiblingItem(TreeItem item) const {
    const Node* n = Find(item);
    if (!n) return kTreeNone;
    const std::size_t position = PositionOf(item);
    return position > 0 ? ChildrenOf(n->parent)->items[position - 1] : kTreeNone;
}

bool QtTreeControl::ItemHasChildren(TreeItem item) const {
    const Node* n = Find(item);
    return n && !n->children.items.empty();
}

void QtTreeControl::ShowSelection() {
    if (!view_) return;
    Quiet quiet(quiet_);
    const Node* n = Find(selected_);
    if (!n || !n->row)
        view_->selectionModel()->clear();
    else
        view_->selectionModel()->setCurrentIndex(view_->IndexOf(n->row),
                                                 QItemSelectionModel::ClearAndSelect);
}

void QtTreeControl::ShowIcon(TreeItem item) {
    const Node* n = Find(item);
    if (!n || !n->row) return;
    const QtImageList* images = AsQtImageList(images_);
    n->row->setIcon(
        0, images ? images->IconAt(item == selected_ ? n->selectedImage : n->image) : QIcon());
}

void QtTreeControl::ShowHighlight(TreeItem item, bool on) {
    const Node* n = Find(item);
    if (!n || !n->row || !view_) return;
    const QPalette& palette = view_->palette();
    n->row->setBackground(0, on ? palette.brush(QPalette::Highlight) : QBrush());
    n->row->setForeground(0, on ? palette.brush(QPalette::HighlightedText) : QBrush());
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
    if (item != kTreeNone && !Find(item)) return false;
    SetSelection(item);
    return true;
}

void QtTreeControl::UserSelect(TreeItem item) {
    const Node* n = Find(item);
    if (!n) return;
    // As a click does: the widget's selection changes, and its signal tells the records.
    if (view_ && n->row)
        view_->selectionModel()->setCurrentIndex(view_->IndexOf(n->row),
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
    const Node* n = Find(item);
    if (!n || n->children.items.empty()) return false;
    if (n->expanded == expand) return true;
    if (events_.OnTreeItemExpanding(item, expand)) return false;
    Node* again = Find(item);  // the handler may have changed the tree
    if (!again) return false;
    again->expanded = expand;
    if (view_ && again->row) {
        Quiet quiet(quiet_);
        again->row->setExpanded(expand);
    }
    // Collapsing hides the selection inside; the original control then selects the collapsed
    // item.
    if (!expand && selected_ != item && IsInside(selected_, item)) SetSelection(item);
    return true;
}

bool QtTreeControl::IsExpanded(TreeItem item) const {
    const Node* n = Find(item);
    return n && n->expanded;
}

void QtTreeControl::EnsureVisible(TreeItem item) {
    std::vector<TreeItem> ancestors;
    for (TreeItem up = GetParentItem(item); up != kTreeNone; up = GetParentItem(up))
        ancestors.push_back(up);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) Expand(*it, true);
    const Node* n = Find(item);
    if (view_ && n && n->row) {
        view_->Settle();
        if (!view_->visualItemRect(n->row).isEmpty()) view_->scrollToItem(n->row);
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
    const Node* n = Find(item);
    if (!n || !n->row || !view_) return false;
    view_->Settle();
    const ItemParts parts = view_->Parts(n->row);
    if (parts.cell.isEmpty()) return false;  // under a collapsed item
    const QRect row(0, parts.cell.top(), view_->viewport()->width(), parts.cell.height());
    const QRect shown = textOnly ? parts.label : row;
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
            if (at.x() < parts.cell.left() - view_->indentation())
                where = kTreeHitOnIndent;
            else if (at.x() < parts.cell.left())
                where = kTreeHitOnButton;
            else if (at.x() < parts.label.left())
                where = kTreeHitOnIcon;
            else if (at.x() <= parts.label.right())
                where = kTreeHitOnLabel;
            else
                where = kTreeHitOnRight;
        }
    }
    if (flags) *flags = where;
    return hit;
}

bool QtTreeControl::EditLabel(TreeItem item) {
    if (!Find(item) || !view_) return false;
    labelEdit_.Cancel();
    const Node* n = Find(item);  // the ended edit's handler may have changed the tree
    if (!n || !view_) return false;
    view_->Settle();
    if (!view_->visualItemRect(n->row).isEmpty()) view_->scrollToItem(n->row);
    QRect label = view_->Parts(n->row).label;
    if (label.isEmpty()) label = QRect(0, 0, view_->viewport()->width(), 0);
    // The edit box exists when the owner is asked, so that it can limit it.
    editItem_ = item;
    labelEdit_.Open(Window(), view_->viewport(), label, n->text,
                    [this](std::optional<std::string> text) { FinishEdit(std::move(text)); });
    if (events_.OnTreeBeginLabelEdit(item) || !Find(item) || editItem_ != item) {
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
    if (events_.OnTreeEndLabelEdit(item, text) && text && Find(item)) SetItemText(item, *text);
}

bool QtTreeControl::LimitEditText(int characters) {
    QtEditBox* box = labelEdit_.Box();
    if (!box) return false;
    box->Limit(characters);
    return true;
}

bool QtTreeControl::SelectDropTarget(TreeItem item) {
    if (item != kTreeNone && !Find(item)) return false;
    if (item == dropTarget_) return true;
    ShowHighlight(dropTarget_, false);
    dropTarget_ = item;
    ShowHighlight(dropTarget_, true);
    return true;
}

std::unique_ptr<ImageList> QtTreeControl::CreateDragImage(TreeItem item) {
    const Node* n = Find(item);
    if (!n) return nullptr;
    const std::string name = "drag \"" + n->text + "\"";
    if (!view_) return std::make_unique<QtImageList>(name, QPixmap(1, 1));
    const QtImageList* images = AsQtImageList(images_);
    const QIcon icon = images ? images->IconAt(n->image) : QIcon();
    return std::make_unique<QtImageList>(
        name, DragPicture(view_, icon, view_->iconSize(), QString::fromStdString(n->text)));
}

void QtTreeControl::SetImageList(const ImageList* images) {
    images_ = images;
    if (view_ && images) view_->setIconSize(QSize(images->Width(), images->Height()));
    for (TreeItem item = base_; item < nextItem_; ++item) ShowIcon(item);
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
    if (Find(item)) events_.OnTreeBeginDrag(item, ToClient(at));
}

void QtTreeControl::OnViewRightClick(const QPoint& at) {
    const POINT client = ToClient(at);
    events_.OnTreeRightClick(HitTest(client, nullptr), client);
}

}  // namespace orbel::platform
