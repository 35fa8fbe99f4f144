#include "host/demo/ScreenshotRun.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <iostream>
#include <utility>

#include "host/demo/ControlHost.h"
#include "host/demo/DemoRouting.h"
#include "host/demo/DemoStore.h"
#include "host/demo/DemoWindow.h"
#include "platform/dialogs/FindForm.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtUserDriver.h"

namespace orbel::demo {

namespace {

constexpr int kPollMs = 50;
// The control is taken as settled after this many quiet polls in a row...
constexpr int kQuietPolls = 4;
// ...and given this many polls in all (30 s).
constexpr int kMaxPolls = 600;

// The index of the tree item whose path, built from the labels as the control reports
// folders ("\All\Invoices"), is `path`; invalid when there is none.
QModelIndex FindFolder(const QAbstractItemModel& model, const QModelIndex& parent,
                       const QString& parentPath, const QString& path) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const QString itemPath = parentPath + '\\' + model.data(index).toString();
        if (itemPath == path) return index;
        if (path.startsWith(itemPath + '\\')) {
            const QModelIndex found = FindFolder(model, index, itemPath, path);
            if (found.isValid()) return found;
        }
    }
    return {};
}

// The item view inside `widget` whose first column has a row of that text, and the row; none
// when there is none. A list's views take turns showing its rows: the one shown has the model.
std::pair<QAbstractItemView*, QModelIndex> FindRow(QWidget* widget, const std::string& text) {
    for (QAbstractItemView* view :
         widget ? widget->findChildren<QAbstractItemView*>() : QList<QAbstractItemView*>()) {
        if (!view->model() || !view->selectionModel()) continue;
        const QModelIndexList match =
            view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                 QString::fromStdString(text), 1, Qt::MatchExactly);
        if (!match.isEmpty()) return {view, match.front()};
    }
    return {nullptr, QModelIndex()};
}

}  // namespace

ScreenshotRun::ScreenshotRun(platform::QtPlatform& platform, DemoWindow& window, ControlHost& host,
                             std::string folder, std::string script, std::string png)
    : platform_(platform),
      window_(window),
      host_(host),
      folder_(std::move(folder)),
      script_(std::move(script)),
      png_(std::move(png)) {
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, [this] { Poll(); });
}

void ScreenshotRun::Start() {
    platform_.Loop().PostTask([this] { Select(); });
}

// The tree view inside the control's tree pane.
QTreeView* ScreenshotRun::TreeView() const {
    const HWND pane =
        platform::FindDescendant(platform_.Windows(), host_.ControlWindow(), "CViewTree");
    QWidget* widget = pane ? platform_.Windows().Widget(pane) : nullptr;
    if (!widget) return nullptr;
    if (auto* view = qobject_cast<QTreeView*>(widget)) return view;
    return widget->findChild<QTreeView*>();
}

void ScreenshotRun::SelectScript() {
    if (host_.OpenScriptMaintenance() == -1) {
        Finish(1, "the control could not open script maintenance");
        return;
    }
    ChooseScript();
}

// The store answers over the loop: the script is looked for until the view lists it.
void ScreenshotRun::ChooseScript() {
    // The script list is the view's item view whose rows name the script; the system scripts'
    // list is another.
    const HWND view =
        platform::FindDescendant(platform_.Windows(), host_.ControlWindow(), "CScriptView");
    const auto [items, found] = FindRow(view ? platform_.Windows().Widget(view) : nullptr, script_);
    if (!items) {
        if (++polls_ >= kMaxPolls)
            Finish(1, "the script view lists no script " + script_);
        else
            QTimer::singleShot(kPollMs, this, [this] { ChooseScript(); });
        return;
    }
    polls_ = 0;
    items->setFocus();
    items->selectionModel()->setCurrentIndex(
        found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    poll_->start();
}

void ScreenshotRun::Select() {
    if (routing_) {
        StartRouting();
        return;
    }
    if (!script_.empty()) {
        SelectScript();
        return;
    }
    QTreeView* view = TreeView();
    if (!view || !view->model() || !view->selectionModel()) {
        std::cerr << "orbel-demo: the control shows no folder tree yet; saving the window as it "
                     "is\n";
    } else {
        const QModelIndex index =
            FindFolder(*view->model(), {}, QString(), QString::fromStdString(folder_));
        if (!index.isValid()) {
            Finish(1, "the tree has no folder " + folder_);
            return;
        }
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) view->expand(up);
        view->scrollTo(index);
        // What a click does: the item becomes current and the only one selected.
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        treeShown_ = true;
    }
    poll_->start();
}

namespace {
// The list's Attach To and Email To, and the toolbar's batch run, as the control numbers them.
constexpr UINT kAttachTo = 32757;
constexpr UINT kEmailTo = 32758;
constexpr UINT kProcessBatch = 32794;
}  // namespace

void ScreenshotRun::StartRouting() {
    if (host_.OpenRoutingSheet() == -1) {
        Finish(1, "the control could not open the routing sheet");
        return;
    }
    polls_ = 0;
    QTimer::singleShot(kPollMs, this, [this] { NextRoutingStep(); });
}

// The shown view of the list control inside the control's list pane.
QAbstractItemView* ScreenshotRun::ListView() const {
    const HWND pane =
        platform::FindDescendant(platform_.Windows(), host_.ControlWindow(), "CViewList");
    QWidget* widget = pane ? platform_.Windows().Widget(pane) : nullptr;
    if (!widget) return nullptr;
    // The list keeps a view for each style; only the shown one has the rows.
    for (QAbstractItemView* view : widget->findChildren<QAbstractItemView*>())
        if (view->model() && view->selectionModel()) return view;
    return nullptr;
}

// The row of the list with this name becomes the current one, as a click makes it.
bool ScreenshotRun::SelectRow(const std::string& name) {
    QAbstractItemView* view = ListView();
    if (!view) return false;
    const QModelIndexList match =
        view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                             QString::fromStdString(name), 1, Qt::MatchExactly);
    if (match.isEmpty()) return false;
    view->setFocus();
    view->selectionModel()->setCurrentIndex(
        match.front(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

void ScreenshotRun::NextRoutingStep() {
    if (!host_.Idle()) {
        if (++polls_ >= kMaxPolls)
            Finish(1, "the routing sheet did not settle within 30 s");
        else
            QTimer::singleShot(kPollMs, this, [this] { NextRoutingStep(); });
        return;
    }
    struct Step {
        const char* row;  // none: the batch run
        UINT command;
        std::string reply;
    };
    const Step steps[] = {
        {"Incoming invoice", kAttachTo, AttachReply({kDemoAccountsOleId, "PAY01", "4711"})},
        {"Incoming letter", kEmailTo, EmailReply("mary.clerk@example.org")},
        {nullptr, kProcessBatch, {}},
    };
    if (routingStep_ == std::size(steps)) {
        folder_ = window_.LastFolder();
        poll_->start();
        return;
    }
    const Step& step = steps[routingStep_++];
    const HWND control = host_.ControlWindow();
    if (step.row) {
        if (!SelectRow(step.row)) {
            Finish(1, std::string("the routing sheet has no row ") + step.row);
            return;
        }
        routing_->AnswerNext(step.reply);
        platform_.Windows().SendMessage(
            platform::FindDescendant(platform_.Windows(), control, "CViewList"), WM_COMMAND,
            step.command, 0);
    } else {
        platform_.Windows().SendMessage(
            platform::FindDescendant(platform_.Windows(), control, "CFrameContainer"), WM_COMMAND,
            step.command, 0);
    }
    // The reply to AttachOrEmail comes from the loop: the next step waits for it.
    QTimer::singleShot(kPollMs * 4, this, [this] { NextRoutingStep(); });
}

// Settled: the control reported the folder, waits for nothing and keeps so for a few polls,
// so that the list it filled has been drawn.
void ScreenshotRun::Poll() {
    ++polls_;
    const bool quiet = host_.Idle() && (!treeShown_ || window_.LastFolder() == folder_);
    quietPolls_ = quiet ? quietPolls_ + 1 : 0;
    if (quietPolls_ >= kQuietPolls) {
        quietPolls_ = 0;
        if (NextStep()) return;
        poll_->stop();
        Grab();
    } else if (polls_ >= kMaxPolls) {
        poll_->stop();
        Finish(1, "the control did not show " + folder_ + " within 30 s (last folder: " +
                      (window_.LastFolder().empty() ? "none" : window_.LastFolder()) + ")");
    }
}

void ScreenshotRun::ShowItem(std::string item, std::string page) {
    item_ = std::move(item);
    page_ = std::move(page);
}

bool ScreenshotRun::NextStep() {
    if (!item_.empty() && !itemClicked_) {
        itemClicked_ = true;
        if (ClickItem()) return true;
        poll_->stop();
        Finish(1, "the list has no item " + item_);
        return true;
    }
    if (!page_.empty() && !pageTyped_) {
        pageTyped_ = true;
        if (TypePage()) return true;
        poll_->stop();
        Finish(1, "the preview shows no page box to type " + page_ + " into");
        return true;
    }
    return false;
}

// A double click on the item's row opens it, in the preview when it is an image.
bool ScreenshotRun::ClickItem() {
    const HWND pane =
        platform::FindDescendant(platform_.Windows(), host_.ControlWindow(), "CViewList");
    const auto [items, found] = FindRow(pane ? platform_.Windows().Widget(pane) : nullptr, item_);
    return items && platform::QtUserDriver(platform_).ListDoubleClick(pane, found.row());
}

// The page typed into the page box and Enter pressed there, through the keyboard's path.
bool ScreenshotRun::TypePage() {
    constexpr UINT kPageBarTemplate = 229;
    constexpr UINT kPageBox = 1065;
    platform::LiveDialog* box =
        platform::FindForm(platform_.Windows(), host_.ControlWindow(), kPageBarTemplate);
    if (!box || !box->UserType(kPageBox, page_).empty()) return false;
    platform::QtUserDriver(platform_).PressKey(box->Window(), VK_RETURN, false, false, false);
    return true;
}

void ScreenshotRun::Grab() {
    const QPixmap shot = window_.grab();
    if (shot.isNull() || !shot.save(QString::fromStdString(png_), "PNG")) {
        Finish(1, "cannot write " + png_);
        return;
    }
    Finish(0, "saved " + png_ + " (" + std::to_string(shot.width()) + "x" +
                  std::to_string(shot.height()) + ")");
}

void ScreenshotRun::Finish(int code, const std::string& message) {
    exitCode_ = code;
    (code ? std::cerr : std::cout) << "orbel-demo: " << message << "\n";
    window_.close();
}

}  // namespace orbel::demo
