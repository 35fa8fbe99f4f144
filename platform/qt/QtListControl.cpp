#include "platform/qt/QtListControl.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTreeView>
#include <algorithm>

#include "platform/qt/QtImageList.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtWindows.h"

namespace orbel::platform {

namespace {
constexpr int kDefaultColumnWidth = 100;
constexpr QSize kDefaultLargeIcon(32, 32);
constexpr QSize kDefaultSmallIcon(16, 16);

RECT ToRect(const QRect& r) {
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QSize SizeOf(const ImageList* images, QSize fallback) {
    return images ? QSize(images->Width(), images->Height()) : fallback;
}
}  // namespace

// A view of the list: the rows and their states are the control's; the mouse and keys are
// taken here so that a click, a Ctrl+click, a right click and a drag do what they do in the
// original control (the press on a selected row waits for the release, so that a drag takes
// the whole selection along) and reach the owner the same way the user driver's gestures do.
template <class Base>
class QtListView final : public Base {
  public:
    QtListView(QtListControl& owner, QWidget* parent) : Base(parent), owner_(&owner) {
        delegate_ = new QtItemDelegate(this);
        this->setItemDelegate(delegate_);
        this->setSelectionMode(QAbstractItemView::ExtendedSelection);
        this->setSelectionBehavior(QAbstractItemView::SelectRows);
        this->setEditTriggers(QAbstractItemView::NoEditTriggers);
        this->setDragEnabled(false);
        this->setFocusPolicy(Qt::StrongFocus);
    }

    // The control is going: the view only waits to be deleted.
    void Detach() { owner_ = nullptr; }

    ItemParts Parts(const QModelIndex& index) const {
        QStyleOptionViewItem option;
        this->initViewItemOption(&option);
        option.rect = this->visualRect(index);
        if (option.rect.isEmpty()) return ItemParts{};
        delegate_->Prepare(option, index);
        return LayOutItem(this, option);
    }
    // Lays the rows out now if a change is waiting for it.
    void Settle() { this->executeDelayedItemsLayout(); }

    // The owner hears of the key first; then the key moves the focus and the selection as in
    // every backend's list, and nothing else of the view's own handling runs.
    void HandleKey(QKeyEvent* event) {
        event->accept();
        const UINT key = VirtualKeyFromQt(event->key());
        if (key) owner_->KeyDown(key);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (owner_) HandleKey(event);
    }

    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        pressed_ = -1;
        clickOnRelease_ = false;
        if (!owner_) return;
        const QPoint at = event->position().toPoint();
        const int row = RowAt(at);
        QPointer<QtListView> alive(this);
        if (event->button() == Qt::LeftButton) {
            if (event->modifiers() & Qt::ControlModifier)
                owner_->UserToggleSelect(row);
            else if (event->modifiers() & Qt::ShiftModifier)
                owner_->UserExtendSelect(row);
            else if (row >= 0 && owner_->GetItemState(row, kListSelected))
                clickOnRelease_ = true;
            else
                owner_->UserClick(row);
            if (!alive || !owner_ || row < 0) return;
            pressed_ = row;
            pressedAt_ = at;
        } else if (event->button() == Qt::RightButton) {
            if (row < 0 || !owner_->GetItemState(row, kListSelected)) owner_->UserClick(row);
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (!owner_) return;
        if (!(event->buttons() & Qt::LeftButton)) {
            pressed_ = -1;
            Base::mouseMoveEvent(event);  // hover
            return;
        }
        event->accept();
        if (pressed_ >= 0 && (event->position().toPoint() - pressedAt_).manhattanLength() >=
                                 QApplication::startDragDistance()) {
            const int row = pressed_;
            pressed_ = -1;
            clickOnRelease_ = false;
            owner_->OnViewBeginDrag(row, pressedAt_);
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        if (!owner_) return;
        if (event->button() == Qt::RightButton) {
            const QPoint at = event->position().toPoint();
            owner_->OnViewRightClick(RowAt(at), at);
        } else if (event->button() == Qt::LeftButton) {
            const int row = clickOnRelease_ ? pressed_ : -1;
            pressed_ = -1;
            clickOnRelease_ = false;
            if (row >= 0) owner_->UserClick(row);
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        if (owner_ && event->button() == Qt::LeftButton)
            owner_->UserDoubleClick(RowAt(event->position().toPoint()));
    }

    void focusInEvent(QFocusEvent* event) override {
        if (!owner_) return Base::focusInEvent(event);
        // The view makes its first row current when it gets the focus without one; the
        // original control gives no row the focus for that.
        {
            QtListControl::Quiet quiet(owner_->quiet_);
            Base::focusInEvent(event);
        }
        owner_->ShowCurrent();
    }

    void startDrag(Qt::DropActions) override {}

    // Drops from other programs: entering and moving always answer "link", whatever the
    // source offers.
    void dragEnterEvent(QDragEnterEvent* event) override { AnswerLink(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { AnswerLink(event); }
    void dragLeaveEvent(QDragLeaveEvent* event) override { event->accept(); }
    void dropEvent(QDropEvent* event) override {
        if (!AnswerLink(event)) return;
        const QMimeData* mime = event->mimeData();
        DroppedData data;
        data.uriList = mime->data(QStringLiteral("text/uri-list")).toStdString();
        // Only text the drag carries as text: Qt would offer a file list as text too.
        if (mime->hasFormat(QStringLiteral("text/plain")) ||
            mime->hasFormat(QStringLiteral("text/plain;charset=utf-8")))
            data.text = mime->text().toStdString();
        owner_->UserDrop(data);
    }

  private:
    bool AnswerLink(QDropEvent* event) {
        if (!owner_ || !owner_->AcceptsDrops()) {
            event->ignore();
            return false;
        }
        event->setDropAction(Qt::LinkAction);
        event->accept();
        return true;
    }

    int RowAt(const QPoint& at) const { return owner_->HitTest(owner_->ToClient(at), nullptr); }

    QtListControl* owner_;
    QtItemDelegate* delegate_ = nullptr;
    // A left press on a row, waiting to become a click or a drag.
    int pressed_ = -1;
    QPoint pressedAt_;
    bool clickOnRelease_ = false;
};

QtListControl::QtListControl(std::weak_ptr<QtControlContext> context, HWND window,
                             ListControlEvents& events)
    : ListControlBase(events),
      registration_(context, &QtControlContext::lists, window, this),
      model_(std::make_unique<QtListModel>(Items())),
      selection_(std::make_unique<QItemSelectionModel>(model_.get())),
      labelEdit_(context) {
    QObject::connect(selection_.get(), &QItemSelectionModel::currentChanged, selection_.get(),
                     [this](const QModelIndex& now, const QModelIndex& before) {
                         if (!quiet_) OnViewCurrentChanged(now.row(), before.row());
                     });
    QObject::connect(selection_.get(), &QItemSelectionModel::selectionChanged, selection_.get(),
                     [this](const QItemSelection& selected, const QItemSelection& deselected) {
                         if (!quiet_) OnViewSelectionChanged(selected, deselected);
                     });
    if (auto c = registration_.Context()) host_ = c->windows.Widget(window);
    if (!host_) return;
    auto* stack = new QStackedWidget(host_);  // owned by the window's widget until we go
    stack_ = stack;
    auto* report = new QtListView<QTreeView>(*this, stack);
    report_ = report;
    report->setRootIsDecorated(false);
    report->setItemsExpandable(false);
    report->setUniformRowHeights(true);
    report->setAllColumnsShowFocus(true);
    report->setIconSize(kDefaultSmallIcon);
    QHeaderView* header = report->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setMinimumSectionSize(0);
    QObject::connect(header, &QHeaderView::sectionResized, report,
                     [this](int column, int, int width) {
                         // A person dragged a column's edge.
                         if (!quiet_ && column < GetColumnCount())
                             Records().SetColumnWidth(column, width);
                     });
    auto* icons = new QtListView<QListView>(*this, stack);
    icons_ = icons;
    icons->setUniformItemSizes(true);
    stack->addWidget(report);
    stack->addWidget(icons);
    FillWindow(host_, stack, nullptr);
    Attach(GetViewStyle());
}

QtListControl::~QtListControl() {
    labelEdit_.Drop();
    LeaveWindow(host_, report_);
    LeaveWindow(host_, icons_);
    if (report_) {
        report_->Detach();
        report_->setModel(nullptr);
    }
    if (icons_) {
        icons_->Detach();
        icons_->setModel(nullptr);
    }
    if (stack_) {
        stack_->hide();
        // Deleted once the event it may be in has ended.
        stack_->deleteLater();
    }
}

QAbstractItemView* QtListControl::Shown() const {
    if (GetViewStyle() == ListViewStyle::Report) return report_.data();
    return icons_.data();
}

void QtListControl::Settle() const {
    model_->Announce();
    if (GetViewStyle() == ListViewStyle::Report && report_) report_->Settle();
    if (GetViewStyle() != ListViewStyle::Report && icons_) icons_->Settle();
}

ItemParts QtListControl::PartsOf(int row) const {
    if (!Valid(row)) return ItemParts{};
    Settle();
    const QModelIndex index = model_->index(row, 0);
    if (GetViewStyle() == ListViewStyle::Report)
        return report_ ? report_->Parts(index) : ItemParts{};
    return icons_ ? icons_->Parts(index) : ItemParts{};
}

void QtListControl::ConfigureIcons() {
    if (!icons_) return;
    QListView& view = *icons_;
    const QSize small = SizeOf(SmallImages(), kDefaultSmallIcon);
    switch (GetViewStyle()) {
        case ListViewStyle::LargeIcons: {
            const QSize large = SizeOf(NormalImages(), kDefaultLargeIcon);
            view.setViewMode(QListView::IconMode);
            view.setFlow(QListView::LeftToRight);
            view.setIconSize(large);
            view.setWordWrap(true);
            const int lines = 2 * view.fontMetrics().height();
            view.setGridSize(
                QSize(std::max(large.width() * 5 / 2, 80), large.height() + lines + 8));
            break;
        }
        case ListViewStyle::SmallIcons:
            view.setViewMode(QListView::ListMode);
            view.setFlow(QListView::LeftToRight);
            view.setIconSize(small);
            view.setGridSize(QSize());
            break;
        case ListViewStyle::List:
        case ListViewStyle::Report:
            view.setViewMode(QListView::ListMode);
            view.setFlow(QListView::TopToBottom);
            view.setIconSize(small);
            view.setGridSize(QSize());
            break;
    }
    view.setWrapping(true);
    view.setMovement(QListView::Static);
    view.setResizeMode(QListView::Adjust);
}

void QtListControl::Attach(ListViewStyle style) {
    Quiet quiet(quiet_);
    model_->SetImages(NormalImages(), SmallImages(), style == ListViewStyle::LargeIcons);
    QAbstractItemView* shown = Shown();
    QAbstractItemView* hidden = style == ListViewStyle::Report
                                    ? static_cast<QAbstractItemView*>(icons_.data())
                                    : static_cast<QAbstractItemView*>(report_.data());
    const bool hadFocus = hidden && hidden->hasFocus();
    // Only the shown view follows the rows: a hidden one would lay out every row for nothing.
    if (hidden && hidden->model() == model_.get()) hidden->setModel(nullptr);
    if (style != ListViewStyle::Report) ConfigureIcons();
    // The icon view's movement setting takes its drops away again.
    OnAcceptDropsChanged();
    if (!shown) return;
    if (shown->model() != model_.get()) {
        shown->setModel(model_.get());
        shown->setSelectionModel(selection_.get());
    }
    if (report_ && style == ListViewStyle::Report) {
        report_->setIconSize(SizeOf(SmallImages(), kDefaultSmallIcon));
        if (GetColumnCount() == 0) report_->header()->resizeSection(0, kDefaultColumnWidth);
        for (int c = 0; c < GetColumnCount(); ++c)
            report_->header()->resizeSection(c, GetColumnWidth(c));
    }
    if (stack_) stack_->setCurrentWidget(shown);
    if (QtEditBox* box = labelEdit_.Box()) box->raise();
    if (host_) host_->setFocusProxy(shown);
    if (hadFocus) shown->setFocus(Qt::OtherFocusReason);
}

void QtListControl::OnAcceptDropsChanged() {
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(report_.data()),
                                    static_cast<QAbstractItemView*>(icons_.data())}) {
        if (!view) continue;
        view->setAcceptDrops(AcceptsDrops());
        view->viewport()->setAcceptDrops(AcceptsDrops());
    }
}

void QtListControl::OnViewStyleChanged() {
    Attach(GetViewStyle());
    // An open edit goes on over the label in the view now shown.
    if (GetEditRow() >= 0) labelEdit_.Move(EditPlace());
}

void QtListControl::OnChanging(const ListChange& change) {
    ++quiet_;
    model_->Changing(change);
}

void QtListControl::OnChanged(const ListChange& change) {
    model_->Changed(change);
    const bool report = report_ && GetViewStyle() == ListViewStyle::Report;
    switch (change.kind) {
        case ListChange::Kind::RemoveRow:
            // The selection model moves its current row to a neighbour; no row has the focus.
            if (Items().Focused() == -1 && selection_->currentIndex().isValid())
                selection_->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            break;
        case ListChange::Kind::RemoveAll:
            selection_->clear();
            break;
        case ListChange::Kind::InsertColumn:
            if (report)
                report_->header()->resizeSection(change.column, GetColumnWidth(change.column));
            break;
        case ListChange::Kind::RemoveColumn:
            if (report && GetColumnCount() == 0)
                report_->header()->resizeSection(0, kDefaultColumnWidth);
            break;
        default:
            break;
    }
    --quiet_;
    // The box follows its row when rows are put before it.
    if (change.kind == ListChange::Kind::InsertRow && GetEditRow() > change.row)
        labelEdit_.Move(EditPlace());
}

void QtListControl::ShowState(int row, UINT old, UINT now) {
    Quiet quiet(quiet_);
    model_->Announce();
    const QModelIndex at = model_->index(row, 0);
    if ((old ^ now) & kListSelected)
        selection_->select(at, ((now & kListSelected) ? QItemSelectionModel::Select
                                                      : QItemSelectionModel::Deselect) |
                                   QItemSelectionModel::Rows);
    if ((old ^ now) & kListFocused) {
        if (now & kListFocused)
            selection_->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        else if (selection_->currentIndex().row() == row)
            selection_->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void QtListControl::ShowCurrent() {
    Quiet quiet(quiet_);
    model_->Announce();
    const QModelIndex want =
        Valid(Items().Focused()) ? model_->index(Items().Focused(), 0) : QModelIndex();
    if (selection_->currentIndex() != want)
        selection_->setCurrentIndex(want, QItemSelectionModel::NoUpdate);
}

void QtListControl::ShowAllStates() {
    Quiet quiet(quiet_);
    model_->Announce();
    QItemSelection selected;
    const int count = GetItemCount();
    const int last = model_->columnCount() - 1;
    for (int r = 0; r < count;) {
        if (!(Items().State(r) & kListSelected)) {
            ++r;
            continue;
        }
        int end = r;
        while (end + 1 < count && (Items().State(end + 1) & kListSelected)) ++end;
        selected.select(model_->index(r, 0), model_->index(end, last));
        r = end + 1;
    }
    selection_->select(selected, QItemSelectionModel::ClearAndSelect);
    const int focused = Items().Focused();
    selection_->setCurrentIndex(focused >= 0 ? model_->index(focused, 0) : QModelIndex(),
                                QItemSelectionModel::NoUpdate);
}

void QtListControl::OnViewCurrentChanged(int now, int before) {
    if (Valid(before) && (Items().State(before) & kListFocused))
        ChangeState(before, Items().State(before) & ~kListFocused, false);
    if (Valid(now) && !(Items().State(now) & kListFocused))
        ChangeState(now, Items().State(now) | kListFocused, false);
}

void QtListControl::OnViewSelectionChanged(const QItemSelection& selected,
                                           const QItemSelection& deselected) {
    for (const QItemSelectionRange& range : deselected)
        for (int r = range.top(); r <= range.bottom(); ++r)
            if (Valid(r) && (Items().State(r) & kListSelected))
                ChangeState(r, Items().State(r) & ~kListSelected, false);
    for (const QItemSelectionRange& range : selected)
        for (int r = range.top(); r <= range.bottom(); ++r)
            if (Valid(r) && !(Items().State(r) & kListSelected))
                ChangeState(r, Items().State(r) | kListSelected, false);
}

void QtListControl::UserKey(UINT key) {
    model_->Announce();
    QKeyEvent event(QEvent::KeyPress, QtKeyFromVirtualKey(key), Qt::NoModifier);
    if (event.key() != 0 && GetViewStyle() == ListViewStyle::Report && report_)
        report_->HandleKey(&event);
    else if (event.key() != 0 && GetViewStyle() != ListViewStyle::Report && icons_)
        icons_->HandleKey(&event);
    else
        Events().OnListKeyDown(key);
}

void QtListControl::OnViewBeginDrag(int row, const QPoint& at) {
    if (Valid(row)) Events().OnListBeginDrag(row, ToClient(at));
}

void QtListControl::OnViewRightClick(int row, const QPoint& at) {
    Events().OnListRightClick(row, ToClient(at));
}

QWidget* QtListControl::Viewport() const {
    QAbstractItemView* view = Shown();
    return view ? view->viewport() : nullptr;
}

QPoint QtListControl::ToViewport(POINT client) const {
    const QPoint at(client.x, client.y);
    QWidget* viewport = Viewport();
    if (!viewport || !host_) return at;
    return viewport->mapFrom(host_.data(), at);
}

POINT QtListControl::ToClient(const QPoint& viewport) const {
    QWidget* widget = Viewport();
    if (!widget || !host_) return POINT{viewport.x(), viewport.y()};
    const QPoint at = widget->mapTo(host_.data(), viewport);
    return POINT{at.x(), at.y()};
}

void QtListControl::ScrollTo(int row) {
    model_->Announce();
    if (QAbstractItemView* view = Shown(); view && Valid(row))
        view->scrollTo(model_->index(row, 0));
}

int QtListControl::HitTest(POINT point, UINT* flags) const {
    UINT where = kListHitNowhere;
    int hit = -1;
    QAbstractItemView* view = Shown();
    const QPoint at = ToViewport(point);
    if (view && view->viewport()->rect().contains(at)) {
        Settle();
        const QModelIndex index = view->indexAt(at);
        // Only the first column's icon and label belong to a row, as in the original control.
        if (index.isValid() && index.column() == 0) {
            const ItemParts parts = PartsOf(index.row());
            const bool onIcon =
                parts.iconAbove ? at.y() < parts.label.top() : at.x() < parts.label.left();
            if (!parts.iconAbove || parts.icon.contains(at) || parts.label.contains(at)) {
                hit = index.row();
                where = onIcon ? kListHitOnIcon : kListHitOnLabel;
            }
        }
    }
    if (flags) *flags = where;
    return hit;
}

bool QtListControl::GetItemRect(int row, RECT& rect, bool labelOnly) const {
    const ItemParts parts = PartsOf(row);
    if (parts.cell.isEmpty()) return false;
    const QRect shown = labelOnly ? parts.label : parts.cell;
    const POINT topLeft = ToClient(shown.topLeft());
    rect = ToRect(QRect(QPoint(topLeft.x, topLeft.y), shown.size()));
    return true;
}

std::optional<POINT> QtListControl::EmptySpot() const {
    QWidget* viewport = Viewport();
    if (!viewport) return std::nullopt;
    const QRect area = viewport->rect();
    std::vector<QPoint> candidates{area.center()};
    if (GetItemCount() > 0) {
        const ItemParts last = PartsOf(GetItemCount() - 1);
        const ItemParts first = PartsOf(0);
        candidates = {QPoint(area.left() + 4, last.cell.bottom() + 4),
                      QPoint(first.cell.right() + 4, first.cell.center().y()),
                      QPoint(last.cell.right() + 4, last.cell.center().y())};
    }
    for (const QPoint& at : candidates) {
        if (!area.contains(at)) continue;
        const POINT client = ToClient(at);
        if (HitTest(client, nullptr) == -1) return client;
    }
    return std::nullopt;
}

QRect QtListControl::EditPlace() const {
    QWidget* viewport = Viewport();
    if (!viewport || !stack_) return QRect();
    QRect label = PartsOf(GetEditRow()).label;
    if (label.isEmpty()) label = QRect(0, 0, viewport->width(), 0);
    // The box stands over the views, so that it stays when the shown view changes.
    return QRect(viewport->mapTo(stack_.data(), label.topLeft()), label.size());
}

bool QtListControl::CanEditLabels() const {
    return Viewport() && stack_;
}

void QtListControl::OpenEditBox(int row, const std::string& text) {
    ScrollTo(row);
    labelEdit_.Open(Window(), stack_, EditPlace(), text,
                    [this](std::optional<std::string> typed) { FinishEdit(std::move(typed)); });
}

int QtListControl::PageRows() const {
    QAbstractItemView* view = Shown();
    const int row = view ? view->sizeHintForRow(0) : 0;
    return row > 0 ? view->viewport()->height() / row : 1;
}

bool QtListControl::LimitEditText(int characters) {
    QtEditBox* box = labelEdit_.Box();
    if (!box) return false;
    box->Limit(characters);
    return true;
}

std::unique_ptr<ImageList> QtListControl::CreateDragImage(int row) {
    if (!Valid(row)) return nullptr;
    const std::string label = GetItemText(row, 0);
    const std::string name = "drag \"" + label + "\"";
    QAbstractItemView* view = Shown();
    if (!view) return std::make_unique<QtImageList>(name, QPixmap(1, 1));
    const QtImageList* images =
        AsQtImageList(GetViewStyle() == ListViewStyle::LargeIcons ? NormalImages() : SmallImages());
    const QIcon icon = images ? images->IconAt(GetItemImage(row)) : QIcon();
    return std::make_unique<QtImageList>(
        name, DragPicture(view, icon, view->iconSize(), QString::fromStdString(label)));
}

void QtListControl::RedrawItems(int first, int last) {
    model_->RowsChanged(first, last);
}

void QtListControl::RedrawNow() {
    model_->Announce();
    if (QWidget* viewport = Viewport()) viewport->repaint();
}

}  // namespace orbel::platform
