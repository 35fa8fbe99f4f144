// The demo's window offscreen, with the scripted user answering anything modal: its menus
// follow the open store, its checks set the control's properties, and closing it ends the
// message loop.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <cstdlib>

#include "host/demo/DemoWindow.h"
#include "platform/qt/QtPlatform.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::demo {
namespace {

namespace fs = std::filesystem;

class DemoWindowTest : public ::testing::Test {
  protected:
    // The suite's own application object, gone before the process ends, as the demo's is.
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    static void TearDownTestSuite() { app_.reset(); }

    void SetUp() override {
        temp_ = test::MakeTempDir("orbel-demo-window");
        setenv("ORBEL_REGISTRY", (temp_ / "registry.reg").c_str(), 1);
        setenv("ORBEL_INI_DIR", (temp_ / "ini").c_str(), 1);
        setenv("XDG_DATA_HOME", (temp_ / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (temp_ / "config").c_str(), 1);
        setenv("ORBEL_MODULE", ORBEL_MODULE_PATH, 1);
        platform_ = &platform::InstallQtPlatform(platform::QtUserMode::Scripted);
        host_ = std::make_unique<ControlHost>(*platform_);
        window_ = std::make_unique<DemoWindow>(*platform_, *host_,
                                               SampleDocumentsIn(ORBEL_DEMO_SAMPLES_DIR));
        window_->resize(900, 600);
        window_->show();
        std::string error;
        ASSERT_TRUE(window_->CreateControl(error)) << error;
        ASSERT_TRUE(window_->OpenStore(temp_ / "demo.orbel", true, &error)) << error;
    }
    void TearDown() override {
        window_.reset();
        host_.reset();
        platform::UninstallPlatform();
        unsetenv("ORBEL_MODULE");
        fs::remove_all(temp_);
    }

    // The menu entry whose text, without its accelerator mark, begins with `text`.
    QAction* Action(const QString& text) {
        for (QAction* menu : window_->menuBar()->actions())
            for (QAction* a : menu->menu()->actions())
                if (a->text().remove('&').startsWith(text)) return a;
        ADD_FAILURE() << "no menu entry " << text.toStdString();
        static QAction none;
        return &none;
    }
    QMenu* Menu(const QString& title) {
        for (QAction* menu : window_->menuBar()->actions())
            if (menu->text().remove('&') == title) return menu->menu();
        ADD_FAILURE() << "no menu " << title.toStdString();
        return nullptr;
    }
    QString Status() {
        QStringList texts;
        for (QLabel* label : window_->statusBar()->findChildren<QLabel*>()) texts << label->text();
        return texts.join(" | ");
    }
    // Delivers what is queued, as the demo's loop does, without waiting.
    void RunLoop() { platform_->DeliverPending(); }

    static inline int argc_ = 1;
    static inline char name_[] = "orbel_demo_window_tests";
    static inline char* argv_[] = {name_, nullptr};
    static inline std::unique_ptr<QApplication> app_;

    fs::path temp_;
    platform::QtPlatform* platform_ = nullptr;
    std::unique_ptr<ControlHost> host_;
    std::unique_ptr<DemoWindow> window_;
};

TEST_F(DemoWindowTest, TheStoreMenusFollowWhetherAStoreIsOpen) {
    EXPECT_EQ(window_->LastFolder(), "\\All");
    EXPECT_TRUE(Status().contains("Folder: \\All")) << Status().toStdString();
    EXPECT_TRUE(Action("Open normally")->isEnabled());
    EXPECT_TRUE(Action("Script maintenance")->isEnabled());

    Action("Close store")->trigger();
    RunLoop();
    EXPECT_EQ(host_->Store(), nullptr);
    EXPECT_FALSE(Action("Close store")->isEnabled());
    EXPECT_FALSE(Action("Open normally")->isEnabled());
    EXPECT_FALSE(Action("Open in folder maintenance")->isEnabled());
    EXPECT_FALSE(Action("Script maintenance")->isEnabled());
    EXPECT_TRUE(Status().contains("No store open")) << Status().toStdString();

    std::string error;
    ASSERT_TRUE(window_->OpenStore(temp_ / "demo.orbel", true, &error)) << error;
    EXPECT_TRUE(Action("Close store")->isEnabled());
}

TEST_F(DemoWindowTest, PropertyChecksShowAndSetTheControlsProperties) {
    host::COrbelWrapper control = host_->Control();
    // A property set elsewhere shows as checked once the menu opens.
    control.SetNotifySelectTiff(true);
    emit Menu("Options")->aboutToShow();
    EXPECT_TRUE(Action("Host views TIFF")->isChecked());
    EXPECT_FALSE(Action("Batch maintenance")->isChecked());
    // A check sets the control's property, both ways.
    Action("Batch maintenance")->trigger();
    EXPECT_TRUE(control.GetBatchMaint());
    Action("Batch maintenance")->trigger();
    EXPECT_FALSE(control.GetBatchMaint());
    Action("Show resource column")->trigger();
    EXPECT_TRUE(control.GetShowResource());
}

TEST_F(DemoWindowTest, TheRoutingSheetOpensFromTheOptionsMenuAndLeavesForTheNormalTrees) {
    emit Menu("Options")->aboutToShow();
    EXPECT_FALSE(Action("Routing sheet")->isChecked());
    Action("Routing sheet")->trigger();
    RunLoop();
    EXPECT_TRUE(host_->Control().GetDirectorySelect());
    emit Menu("Options")->aboutToShow();
    EXPECT_TRUE(Action("Routing sheet")->isChecked());
    // The sample sheet's documents, with the routing columns.
    const HWND pane =
        platform::FindDescendant(platform_->Windows(), host_->ControlWindow(), "CViewList");
    QWidget* widget = pane ? platform_->Windows().Widget(pane) : nullptr;
    ASSERT_TRUE(widget);
    // The list keeps a view for each style; only the shown one has the rows.
    QAbstractItemView* view = nullptr;
    for (QAbstractItemView* v : widget->findChildren<QAbstractItemView*>())
        if (v->model()) view = v;
    ASSERT_TRUE(view);
    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), "Attach To");
    EXPECT_EQ(view->model()->headerData(2, Qt::Horizontal).toString(), "Email To");

    Action("Routing sheet")->trigger();
    RunLoop();
    EXPECT_FALSE(host_->Control().GetDirectorySelect());
    EXPECT_EQ(window_->LastFolder(), "\\All");

    EXPECT_FALSE(window_->Routing().ComposeMail());
    Action("Compose e-mail for SendEmail")->trigger();
    EXPECT_TRUE(window_->Routing().ComposeMail());
}

TEST_F(DemoWindowTest, ClosingTheWindowEndsTheLoopOnceTheControlWaitsForNothing) {
    EXPECT_FALSE(platform_->Loop().QuitPending());
    EXPECT_TRUE(window_->close());
    EXPECT_TRUE(platform_->Loop().QuitPending());
}

TEST_F(DemoWindowTest, EscapeInTheControlAsksAndClosesTheDemoOnlyOnYes) {
    const HWND focus = platform_->Windows().GetFocus();
    ASSERT_TRUE(focus);
    platform_->Scripted()->AnswerMessageBox(platform::MessageAnswer::No, "Close the Orbel demo?");
    platform_->Loop().PostMessage(focus, WM_KEYDOWN, VK_ESCAPE, 0);
    RunLoop();
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(platform_->Loop().QuitPending());

    platform_->Scripted()->AnswerMessageBox(platform::MessageAnswer::Yes, "Close the Orbel demo?");
    platform_->Loop().PostMessage(focus, WM_KEYDOWN, VK_ESCAPE, 0);
    RunLoop();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(platform_->Loop().QuitPending());
}

TEST_F(DemoWindowTest, AnotherModeStartsAFreshControlOnTheSameStore) {
    const HWND before = host_->ControlWindow();
    host_->Control().SetBatchMaint(true);
    Action("Open normally")->trigger();
    RunLoop();
    EXPECT_NE(host_->ControlWindow(), before);
    // The fresh control has its first state and is answered from the same store.
    EXPECT_FALSE(host_->Control().GetBatchMaint());
    EXPECT_EQ(window_->LastFolder(), "\\All");
    EXPECT_TRUE(Status().contains("Ready")) << Status().toStdString();
}

TEST_F(DemoWindowTest, TheStoresOpenedAreRememberedForTheRecentMenu) {
    QMenu* recent = nullptr;
    for (QAction* a : Menu("File")->actions())
        if (a->menu() && a->text().remove('&') == "Open recent") recent = a->menu();
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_FALSE(recent->actions().isEmpty());
    EXPECT_TRUE(recent->actions().front()->text().endsWith("demo.orbel"))
        << recent->actions().front()->text().toStdString();
}

TEST_F(DemoWindowTest, AReadOnlyStoreSaysSoInTheTitleAndTheHostsReasonsReachTheStatusBar) {
    EXPECT_FALSE(window_->windowTitle().contains("read-only"));
    EXPECT_EQ(window_->Notice(), "");
    Action("Close store")->trigger();
    RunLoop();
    ASSERT_EQ(::chmod((temp_ / "demo.orbel").c_str(), 0444), 0);
    std::string error;
    ASSERT_TRUE(window_->OpenStore(temp_ / "demo.orbel", false, &error)) << error;
    EXPECT_EQ(window_->windowTitle(), "demo.orbel (read-only)");
    EXPECT_TRUE(window_->Notice().starts_with("Read-only: the store ")) << window_->Notice();
    EXPECT_TRUE(Status().contains("is a read-only file")) << Status().toStdString();

    // A new item's tree needs a new OLE ID, which the store cannot write: the control says
    // it failed, the status bar says why.
    platform_->Scripted()->AnswerMessageBox(platform::MessageAnswer::Ok,
                                            "Error getting next OLE ID");
    EXPECT_EQ(host_->Control().Initiate(0, kDemoClassOleId), -1);
    EXPECT_TRUE(window_->Notice().starts_with("Host error: the store ")) << window_->Notice();
    EXPECT_TRUE(window_->Notice().ends_with("is read-only: nothing was written"))
        << window_->Notice();
}

}  // namespace
}  // namespace orbel::demo
