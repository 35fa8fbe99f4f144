// What only the desktop shows: a real popup menu where a person's right click went through the
// application's own event path (not the user driver), the drag image's window, and how the
// list's rows and the tree's icons reach their views.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QBitmap>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/controls/Controls.h"
#include "platform/framework/FileDialog.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtListControl.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtTreeControl.h"
#include "platform/qt/QtUser.h"
#include "tests/conformance/MenuAtPointer.h"

namespace orbel::test {
namespace {

class DesktopOnly : public ::testing::Test {
  protected:
    void Install(platform::QtUserMode mode) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ASSERT_TRUE(platform::StartQtApplication());
        platform_ = &platform::InstallQtPlatform(mode);
        platform::CreateWindowParams params;
        params.className = "TestFrame";
        params.style = WS_VISIBLE;
        params.rect = RECT{100, 50, 500, 450};
        top_ = platform_->Windows().CreateWindow(params, nullptr);
        params.className = "TestPane";
        params.rect = RECT{10, 10, 390, 390};
        params.parent = top_;
        pane_ = platform_->Windows().CreateWindow(params, nullptr);
    }
    void TearDown() override {
        list_.reset();
        images_.reset();
        if (platform_) platform::UninstallPlatform();
    }
    // A list in the report style with three rows, owned by `owner`.
    platform::QtListControl& MakeList(platform::ListControlEvents& owner) {
        platform::Controls& controls = platform_->CommonControls();
        list_ = controls.CreateListControl(pane_, owner);
        images_ = controls.CreateImageList("tree", 16, 20, 15);
        list_->SetImageLists(images_.get(), images_.get());
        list_->SetViewStyle(platform::ListViewStyle::Report);
        list_->InsertColumn(0, "Name", platform::ListAlign::Left, 160);
        for (const char* name : {"Lease form", "Minutes", "Report"})
            list_->InsertItem(list_->GetItemCount(), name, 1);
        platform_->DeliverPending();
        return *dynamic_cast<platform::QtControls&>(controls).List(pane_);
    }

    platform::QtPlatform* platform_ = nullptr;
    HWND top_;
    HWND pane_;
    std::unique_ptr<platform::ListControl> list_;
    std::unique_ptr<platform::ImageList> images_;
};

TEST(QtFileFilter, EachDescriptionKeepsItsPatternsInTheFormQtReads) {
    EXPECT_EQ(platform::QtFileFilter("Letter (*.doc)|*.doc|All Files (*.*)|*.*||"),
              "Letter (*.doc);;All Files (*)");
    EXPECT_EQ(platform::QtFileFilter("Pictures|*.tif;*.bmp||"), "Pictures (*.tif *.bmp)");
    EXPECT_EQ(platform::QtFileFilter(""), "");
}

TEST_F(DesktopOnly, APersonsRightClickOnAListOpensTheMenuAtThePointer) {
    Install(platform::QtUserMode::Person);
    MenuAtPointer owner;
    platform::QtListControl& list = MakeList(owner);
    RECT r{};
    ASSERT_TRUE(list.GetItemRect(2, r, true));
    QWidget* viewport = list.Viewport();
    ASSERT_TRUE(viewport);
    const QPoint local = list.ToViewport(POINT{r.left + 3, r.top + 3});
    const QPoint global = viewport->mapToGlobal(local);

    // The menu is looked at once it is open, and closed.
    QPoint shownAt(-1, -1);
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shownAt = menu->pos();
            menu->close();
        }
    });
    look.start(5);
    // As the window system delivers a click: through the application to the widget under
    // the pointer, which is the list's viewport, no window of the platform's own.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, local, global, Qt::RightButton,
                          type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
    look.stop();
    EXPECT_EQ(shownAt, global);
}

// Scans a picture: whether any pixel in the rectangle passes the test.
template <class Test>
bool Any(const QImage& image, const QRect& area, Test test) {
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (test(QPoint(x, y), qAlpha(image.pixel(x, y)))) return true;
    return false;
}

TEST_F(DesktopOnly, TheDragImageShowsTheIconAndTheLabelAndNothingAroundThem) {
    Install(platform::QtUserMode::Scripted);
    platform::ListControlEvents owner;
    platform::QtListControl& list = MakeList(owner);
    std::unique_ptr<platform::ImageList> image = list.CreateDragImage(2);
    ASSERT_TRUE(image);
    platform::Controls& controls = platform_->CommonControls();
    ASSERT_TRUE(controls.BeginDrag(*image, 0, POINT{0, 0}));
    ASSERT_TRUE(controls.DragEnter(kNoWindow, POINT{300, 300}));
    QLabel* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* label = qobject_cast<QLabel*>(w); label && label->isVisible()) window = label;
    ASSERT_TRUE(window);

    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRegion shape = window->mask();
    ASSERT_EQ(shown.size(), QSize(image->Width(), image->Height()));
    const QRect icon(0, 0, 16, shown.height());
    const QRect label(20, 0, shown.width() - 20, shown.height());
    auto drawn = [](QPoint, int alpha) { return alpha > 0; };
    auto clear = [](QPoint, int alpha) { return alpha == 0; };
    EXPECT_TRUE(Any(shown, shown.rect(), clear));
    EXPECT_TRUE(Any(shown, icon, drawn));
    EXPECT_TRUE(Any(shown, label, drawn));
    // The window is cut to what is drawn: a desktop without a compositing manager shows a
    // clear pixel of a translucent window black.
    EXPECT_TRUE(Any(shown, icon, [&](QPoint p, int alpha) { return alpha && shape.contains(p); }));
    EXPECT_TRUE(Any(shown, label, [&](QPoint p, int alpha) { return alpha && shape.contains(p); }));
    EXPECT_FALSE(
        Any(shown, shown.rect(), [&](QPoint p, int alpha) { return !alpha && shape.contains(p); }));
    controls.EndDrag();
}

// A select adds thousands of rows in one stretch: the view hears of them once, each row
// already filled, and whatever reaches the view in between finds every row in its place.
TEST_F(DesktopOnly, RowsAddedInOneStretchReachTheViewOnceAndFilled) {
    Install(platform::QtUserMode::Scripted);
    platform::ListControlEvents owner;
    platform::QtListControl& list = MakeList(owner);
    list.InsertColumn(1, "Size", platform::ListAlign::Right, 60);
    auto* view = qobject_cast<QAbstractItemView*>(list.Viewport()->parentWidget());
    ASSERT_TRUE(view);
    QAbstractItemModel& model = *view->model();
    std::vector<std::pair<int, int>> inserted;
    int changed = 0;
    QObject::connect(
        &model, &QAbstractItemModel::rowsInserted,
        [&](const QModelIndex&, int first, int last) { inserted.emplace_back(first, last); });
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changed; });
    auto shown = [&](int row, int column) {
        return model.data(model.index(row, column)).toString().toStdString();
    };

    for (int n = 0; n < 50; ++n) {
        const int row = list.InsertItem(list.GetItemCount(), "Scan " + std::to_string(n), 1);
        list.SetItemText(row, 1, std::to_string(n) + " KB");
    }
    EXPECT_EQ(list.GetItemCount(), 53);
    platform_->DeliverPending();
    EXPECT_EQ(inserted, (std::vector<std::pair<int, int>>{{3, 52}}));
    EXPECT_EQ(changed, 0);
    ASSERT_EQ(model.rowCount(), 53);
    EXPECT_EQ(shown(52, 0), "Scan 49");
    EXPECT_EQ(shown(52, 1), "49 KB");

    // Rows waiting while one goes in among the shown ones, one is deleted and one is
    // selected: the view has them all, in the list's order.
    inserted.clear();
    list.InsertItem(53, "Late", 1);
    list.InsertItem(1, "Early", 1);
    list.InsertItem(55, "Last", 1);
    list.DeleteItem(54);
    list.SetItemState(54, platform::kListSelected, platform::kListSelected);
    EXPECT_EQ(view->selectionModel()->selectedRows(), QModelIndexList{model.index(54, 0)});
    platform_->DeliverPending();
    ASSERT_EQ(model.rowCount(), list.GetItemCount());
    for (int row = 0; row < list.GetItemCount(); ++row)
        EXPECT_EQ(shown(row, 0), list.GetItemText(row, 0)) << row;
    EXPECT_EQ(shown(54, 0), "Last");
}

// A load marks a folder again for every child it adds: the view hears only of a new icon.
TEST_F(DesktopOnly, ATreeIconSetAgainUnchangedDoesNotReachTheView) {
    Install(platform::QtUserMode::Scripted);
    platform::TreeControlEvents owner;
    platform::Controls& controls = platform_->CommonControls();
    std::unique_ptr<platform::TreeControl> tree = controls.CreateTreeControl(pane_, owner);
    images_ = controls.CreateImageList("tree", 16, 20, 15);
    tree->SetImageList(images_.get());
    const platform::TreeItem folder =
        tree->InsertItem("Letters", 1, 2, platform::kTreeNone, platform::TreeInsert::Last);
    platform_->DeliverPending();
    auto* view = qobject_cast<QAbstractItemView*>(
        dynamic_cast<platform::QtControls&>(controls).Tree(pane_)->Viewport()->parentWidget());
    ASSERT_TRUE(view);
    int changed = 0;
    QObject::connect(view->model(), &QAbstractItemModel::dataChanged, [&] { ++changed; });

    for (int n = 0; n < 3; ++n) EXPECT_TRUE(tree->SetItemImage(folder, 1, 2));
    EXPECT_EQ(changed, 0);
    EXPECT_TRUE(tree->SetItemImage(folder, 3, 2));
    EXPECT_EQ(changed, 1);
    int image = 0;
    int selected = 0;
    EXPECT_TRUE(tree->GetItemImage(folder, image, selected));
    EXPECT_EQ(image, 3);
    EXPECT_FALSE(tree->SetItemImage(folder + 100, 1, 2));
}

// A host that streams rows keeps the queue full for as long as the select runs: the window
// system's events (here a Qt timer, as a paint or a key would be) and the loop's own timers
// are still delivered while it does.
TEST_F(DesktopOnly, ALoopKeptBusyByPostedTasksStillDeliversTheWindowSystemsEvents) {
    Install(platform::QtUserMode::Scripted);
    auto& loop = platform_->Loop();
    bool qtTimerFired = false;
    QTimer::singleShot(20, [&] { qtTimerFired = true; });
    int ticks = 0;
    struct TickCounter final : platform::WindowProcedure {
        int* ticks;
        LRESULT WindowProc(HWND, UINT message, WPARAM, LPARAM) override {
            if (message == WM_TIMER) ++*ticks;
            return 0;
        }
    } counter;
    counter.ticks = &ticks;
    platform::CreateWindowParams params;
    params.className = "TickWindow";
    params.rect = RECT{0, 0, 10, 10};
    const HWND window = platform_->Windows().CreateWindow(params, &counter);
    loop.SetTimer(window, 1, 20);

    // Each task posts the next, for 300 ms: the queue never runs empty in between.
    const std::uint64_t end = loop.Now() + 300;
    bool seenWhileBusy = false;
    std::function<void()> flood = [&] {
        if (qtTimerFired && ticks > 0) seenWhileBusy = true;
        if (loop.Now() < end) loop.PostTask(flood);
    };
    loop.PostTask(flood);
    MSG msg;
    while (loop.Now() < end && loop.GetMessage(msg)) platform_->DispatchMessage(msg);
    EXPECT_TRUE(seenWhileBusy) << "Qt timer " << qtTimerFired << ", loop timer ticks " << ticks;
    loop.KillTimer(window, 1);
    platform_->Windows().DestroyWindow(window);
}

TEST_F(DesktopOnly, TheFolderChooserAPersonSeesCarriesTheTitleItWasGiven) {
    Install(platform::QtUserMode::Person);
    QString title;
    bool folders = false;
    // The chooser is modal: it is read and dismissed from inside its own event loop.
    QTimer::singleShot(0, [&] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!chooser) return;
        title = chooser->windowTitle();
        folders = chooser->fileMode() == QFileDialog::Directory;
        chooser->reject();
    });
    EXPECT_EQ(BrowseForFolder(top_, "/", "Please select a directory or folder:"), std::nullopt);
    EXPECT_EQ(title.toStdString(), "Please select a directory or folder:");
    EXPECT_TRUE(folders);
}

}  // namespace
}  // namespace orbel::test
