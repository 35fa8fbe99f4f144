// The demo's store and its host side on the headless platform: a first run's store opens with
// its folders and sample items, the conversation is logged as it happens, and a closed store
// leaves the control empty and out of reach until another is opened.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "host/demo/ControlHost.h"
#include "host/demo/DemoPaths.h"
#include "host/demo/DemoStore.h"
#include "host/store/StoreChanges.h"
#include "platform/Api.h"
#include "platform/framework/Wnd.h"
#include "src/preview/FrameContainer.h"
#include "src/resources/DialogTemplates.h"
#include "src/store/RecordFormats.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::demo {
namespace {

namespace fs = std::filesystem;

std::int64_t Count(host::SqliteTableStore& store, const std::string& table) {
    std::int64_t n = -1;
    store.ExecuteSql("SELECT count(*) FROM " + table,
                     [&](std::span<const std::string> row) { n = std::stoll(row[0]); });
    return n;
}

class DemoStoreTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        samples_ = SampleDocumentsIn(ORBEL_DEMO_SAMPLES_DIR);
        storePath_ = TempDir() / "data" / "orbel" / "demo.orbel";
    }
    void TearDown() override {
        host_.reset();
        if (form_) form_->DestroyWindow();
        form_.reset();
        HeadlessTest::TearDown();
    }

    // The control in a window of its own, its conversation in log_.
    ControlHost& Host() {
        if (host_) return *host_;
        host_ = std::make_unique<ControlHost>(P());
        host_->OnLog([this](const std::string& line) { log_.push_back(line); });
        host_->OnEvent([this](const host::UserEvent& e) { events_.push_back(e.name); });
        form_ = std::make_unique<CWnd>();
        const RECT rect{0, 0, 800, 600};
        EXPECT_TRUE(form_->Create("DemoForm", "demo", WS_VISIBLE, rect, kNoWindow, 0));
        std::string error;
        EXPECT_TRUE(host_->Create(form_->GetSafeHwnd(), rect, ORBEL_MODULE_PATH, error)) << error;
        return *host_;
    }

    platform::HeadlessTreeControl& Tree() {
        return *P().CommonControls().Tree(
            platform::FindDescendant(P().Windows(), Host().ControlWindow(), "CViewTree"));
    }
    platform::HeadlessListControl& List() {
        return *P().CommonControls().List(
            platform::FindDescendant(P().Windows(), Host().ControlWindow(), "CViewList"));
    }
    // The folder labels, indented by depth, as a user reads the tree.
    std::string Folders() {
        std::string out;
        platform::HeadlessTreeControl& tree = Tree();
        std::function<void(platform::TreeItem, int)> walk = [&](platform::TreeItem item,
                                                                int depth) {
            for (; item; item = tree.GetNextSiblingItem(item)) {
                out += std::string(2 * depth, ' ') + tree.GetItemText(item) + "\n";
                walk(tree.GetChildItem(item), depth + 1);
            }
        };
        walk(tree.GetRootItem(), 0);
        return out;
    }
    platform::TreeItem Folder(const std::string& label) {
        platform::HeadlessTreeControl& tree = Tree();
        std::function<platform::TreeItem(platform::TreeItem)> find =
            [&](platform::TreeItem item) -> platform::TreeItem {
            for (; item; item = tree.GetNextSiblingItem(item)) {
                if (tree.GetItemText(item) == label) return item;
                if (platform::TreeItem inner = find(tree.GetChildItem(item))) return inner;
            }
            return 0;
        };
        return find(tree.GetRootItem());
    }
    // A click on the control's toolbar button, and what it sets off.
    void Press(UINT id) {
        platform::HeadlessToolBarControl* bar = P().CommonControls().ToolBar(
            platform::FindDescendant(P().Windows(), Host().ControlWindow(), "ToolbarWindow32"));
        ASSERT_TRUE(bar);
        EXPECT_TRUE(bar->UserClick(id));
        P().RunUntilIdle();
    }
    // Row `row` of the list, its columns joined by " | ".
    std::string Row(int row) {
        std::string out;
        for (int c = 0; c < List().GetColumnCount(); ++c)
            out += (c ? " | " : "") + List().GetItemText(row, c);
        return out;
    }
    std::vector<std::string> Rows() {
        std::vector<std::string> out;
        for (int r = 0; r < List().GetItemCount(); ++r) out.push_back(Row(r));
        return out;
    }
    std::unique_ptr<host::SqliteTableStore> SeededStore() {
        OpenedStore opened = OpenStoreFile(storePath_, &samples_);
        EXPECT_TRUE(opened.store) << opened.error;
        return std::move(opened.store);
    }

    SampleDocuments samples_;
    fs::path storePath_;
    std::unique_ptr<CWnd> form_;
    std::unique_ptr<ControlHost> host_;
    std::vector<std::string> log_;
    std::vector<std::string> events_;
};

TEST_F(DemoStoreTest, AFirstRunShowsTheClassFoldersOwnFoldersAndTheSampleDocuments) {
    OpenedStore opened = OpenStoreFile(storePath_, &samples_);
    ASSERT_TRUE(opened.store) << opened.error;
    EXPECT_TRUE(opened.created);
    // Each item links to its sample document.
    std::vector<std::string> links;
    opened.store->ExecuteSql(
        "SELECT t.Name, r.Path FROM OLE_TREE t JOIN OLE_RES r ON r.ResourceId = t.ResourceId "
        "WHERE t.IsItem = 1 AND t.OwnerId = 2 AND t.ParentOwnerId <> 4 ORDER BY t.Name",
        [&](std::span<const std::string> row) { links.push_back(row[0] + " -> " + row[1]); });
    EXPECT_EQ(links, (std::vector<std::string>{"Budget 2026.xls -> " + samples_.workbook.string(),
                                               "Order 4711 -> " + samples_.xml.string(),
                                               "Project web site -> https://www.example.org/",
                                               "Read me first -> " + samples_.text.string(),
                                               "Scanned invoice -> " + samples_.tiff.string(),
                                               "Scanned letter -> " + samples_.letter.string()}));
    std::string error;
    ASSERT_TRUE(Host().AttachStore(std::move(opened.store), error)) << error;
    EXPECT_EQ(Host().OpenNormally(), kDemoOleId);

    EXPECT_EQ(Folders(),
              "All\n"
              "  Correspondence\n"
              "    Bank\n"
              "  Drafts\n"
              "  Invoices\n"
              "    2026\n"
              "      Q1\n"
              "  Orders\n");
    using Lines = std::vector<std::string>;
    const Lines top = Rows();
    EXPECT_NE(std::find(top.begin(), top.end(), "Read me first |  |  | "), top.end())
        << ::testing::PrintToString(top);

    // The scan is filed with its three pages.
    Tree().UserSelect(Folder("2026"));
    P().RunUntilIdle();
    EXPECT_EQ(Rows(), (Lines{"Q1 |  |  | ", "Scanned invoice | 1 | 3 | "}));
    Tree().UserSelect(Folder("Drafts"));
    P().RunUntilIdle();
    EXPECT_EQ(Rows(), Lines{"Project web site |  |  | "});
    Tree().UserSelect(Folder("Orders"));
    P().RunUntilIdle();
    EXPECT_EQ(Rows(), Lines{"Order 4711 |  |  | "});
    Tree().UserSelect(Folder("Correspondence"));
    P().RunUntilIdle();
    EXPECT_EQ(Rows(), (Lines{"Bank |  |  | ", "Scanned letter | 1 | 2 | "}));

    // New items and documents of the user's get IDs after the samples'.
    ASSERT_TRUE(Host().Store());
    EXPECT_EQ(Host().Store()->NextOleId().keys[0], "00000007");
    EXPECT_EQ(Host().Store()->NextResourceId().keys[0], "00000015");
}

TEST_F(DemoStoreTest, TheSampleDocumentsAreThereAndTheScansHaveTheirPages) {
    for (const fs::path& p : {samples_.text, samples_.tiff, samples_.xml, samples_.vbscript,
                              samples_.jscript, samples_.letter, samples_.workbook})
        EXPECT_GT(fs::file_size(p), 100u) << p;
    std::unique_ptr<TIFF, void (*)(TIFF*)> letter(TIFFOpen(samples_.letter.c_str(), "r"),
                                                  TIFFClose);
    ASSERT_TRUE(letter);
    EXPECT_EQ(TIFFNumberOfDirectories(letter.get()), 2);
    std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpen(samples_.tiff.c_str(), "r"), TIFFClose);
    ASSERT_TRUE(tif);
    EXPECT_EQ(TIFFNumberOfDirectories(tif.get()), 3);
    for (tdir_t page = 0; page < 3; ++page) {
        ASSERT_TRUE(TIFFSetDirectory(tif.get(), page));
        std::uint16_t bits = 0;
        std::uint32_t width = 0;
        TIFFGetField(tif.get(), TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
        EXPECT_EQ(bits, 1) << "page " << page << " is a black-and-white scan";
        EXPECT_GT(width, 0u);
    }
}

TEST_F(DemoStoreTest, AStoreIsSeededOnlyWhenTheFileIsNew) {
    std::int64_t seeded = 0;
    {
        std::unique_ptr<host::SqliteTableStore> store = SeededStore();
        ASSERT_TRUE(store);
        seeded = Count(*store, "OLE_TREE");
        ASSERT_TRUE(store->ExecuteSql("DELETE FROM OLE_TREE WHERE Name = 'Drafts'", nullptr));
    }
    // What the user changed stays changed: the samples are not written again.
    OpenedStore again = OpenStoreFile(storePath_, &samples_);
    ASSERT_TRUE(again.store) << again.error;
    EXPECT_FALSE(again.created);
    EXPECT_EQ(Count(*again.store, "OLE_TREE"), seeded - 1);

    // A store that already holds rows refuses the samples as a whole.
    std::string error;
    const auto resources = Count(*again.store, "OLE_RES");
    EXPECT_FALSE(SeedDemoStore(*again.store, samples_, error));
    EXPECT_NE(error, "");
    EXPECT_EQ(Count(*again.store, "OLE_TREE"), seeded - 1);
    EXPECT_EQ(Count(*again.store, "OLE_RES"), resources);

    // A named store that does not exist starts empty.
    OpenedStore empty = OpenStoreFile(TempDir() / "new" / "mine.orbel", nullptr);
    ASSERT_TRUE(empty.store) << empty.error;
    EXPECT_TRUE(empty.created);
    EXPECT_EQ(Count(*empty.store, "OLE_TREE"), 0);
}

TEST_F(DemoStoreTest, AFileThatIsNotAStoreIsRefusedAndLeftAsItWas) {
    const fs::path notes = TempDir() / "notes.orbel";
    std::ofstream(notes) << "my notes, not a store";
    OpenedStore opened = OpenStoreFile(notes, &samples_);
    EXPECT_FALSE(opened.store);
    EXPECT_NE(opened.error, "");
    std::ifstream in(notes);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "my notes, not a store");
}

TEST_F(DemoStoreTest, TheLogShowsEachEventAndEachAnswerAsTheyHappen) {
    std::string error;
    ASSERT_TRUE(Host().AttachStore(SeededStore(), error)) << error;
    Host().OpenNormally();
    ASSERT_FALSE(log_.empty());
    auto at = [&](const std::string& prefix) {
        return std::find_if(log_.begin(), log_.end(),
                            [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    };
    // A select is asked for, streamed row by row and ended; the open reports the top folder
    // and only then returns.
    const auto select = at("event SelectTable(\"OLE_TREE\"");
    const auto row = at("answer RequestResult(1, ");
    const auto end = at("answer RequestResult(2, \"\")");
    const auto folder = at("event FolderChange(\"\\\\All\")");
    const auto call = at("call Initiate(2, 1) -> 2");
    ASSERT_NE(select, log_.end());
    ASSERT_NE(row, log_.end());
    ASSERT_NE(end, log_.end());
    ASSERT_NE(folder, log_.end());
    ASSERT_NE(call, log_.end());
    EXPECT_LT(select, row);
    EXPECT_LT(row, end);
    EXPECT_LT(end, folder);
    EXPECT_EQ(call, log_.end() - 1);
    EXPECT_NE(std::find(events_.begin(), events_.end(), "FolderChange"), events_.end());
    EXPECT_TRUE(Host().Idle());
}

TEST_F(DemoStoreTest, AClosedStoreLeavesTheControlEmptyAndDisabledUntilAnotherIsOpened) {
    // Before any store the control cannot be used: nobody would answer it.
    EXPECT_FALSE(P().Windows().IsWindowEnabled(Host().ControlWindow()));
    std::string error;
    ASSERT_TRUE(Host().AttachStore(SeededStore(), error)) << error;
    EXPECT_TRUE(P().Windows().IsWindowEnabled(Host().ControlWindow()));
    Host().OpenNormally();
    ASSERT_GT(List().GetItemCount(), 0);

    Host().CloseStore();
    EXPECT_EQ(Host().Store(), nullptr);
    EXPECT_EQ(Folders(), "All\n");
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_FALSE(P().Windows().IsWindowEnabled(Host().ControlWindow()));
    EXPECT_EQ(Host().OpenNormally(), -1);

    ASSERT_TRUE(Host().AttachStore(SeededStore(), error)) << error;
    EXPECT_EQ(Host().OpenNormally(), kDemoOleId);
    EXPECT_TRUE(P().Windows().IsWindowEnabled(Host().ControlWindow()));
    // The store's new documents go to the folder beside it.
    EXPECT_TRUE(fs::is_directory(ObjectDirFor(storePath_)));
}

TEST_F(DemoStoreTest, NewIdsComeFromTheStoreAndItsRefusalsAreLoggedWithTheirReason) {
    std::string error;
    std::vector<std::string> told;
    Host().OnHostError([&](const std::string& reason) { told.push_back(reason); });
    ASSERT_TRUE(Host().AttachStore(SeededStore(), error)) << error;
    // A new item's tree takes its OLE ID straight from the store, after the seeded ones.
    EXPECT_EQ(Host().OpenNormally(), kDemoOleId);
    EXPECT_EQ(Host().Control().Initiate(0, kDemoClassOleId), kDemoLastFixedOleId + 1);
    EXPECT_NE(std::find(log_.begin(), log_.end(), "event GetNextOLEID()"), log_.end());

    Host().Store()->ExecuteSql("UPDATE OLE_CLA SET Value = 99999999 WHERE ClassName = '0'", {});
    User().AnswerMessageBox(platform::MessageAnswer::Ok, "Error getting next OLE ID");
    EXPECT_EQ(Host().Control().Initiate(0, kDemoClassOleId), -1);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("no ID is left"), std::string::npos) << told[0];
    EXPECT_NE(std::find(log_.begin(), log_.end(), "host error: " + told[0]), log_.end());
}

// The subscriber class made on first use must not take the ID of a tree the demo opens: its
// subscribers would then be listed as the class tree's items.
TEST_F(DemoStoreTest, ASubscriberAddedInANewOrASampleStoreStaysOutOfTheNormalList) {
    using Action = platform::ScriptedUser::DialogAction;
    for (const bool seeded : {false, true}) {
        SCOPED_TRACE(seeded ? "sample store" : "new store");
        std::error_code ec;
        fs::remove(storePath_, ec);
        OpenedStore opened = OpenStoreFile(storePath_, seeded ? &samples_ : nullptr);
        ASSERT_TRUE(opened.store) << opened.error;
        std::string error;
        ASSERT_TRUE(Host().AttachStore(std::move(opened.store), error)) << error;
        ASSERT_EQ(Host().OpenNormally(), kDemoOleId);
        const std::vector<std::string> before = Rows();

        Press(ID_SUBSCRIBER_MAINTENANCE);
        User().AnswerDialog(IDD_EMAIL_NAME_ADDRESS,
                            {Action::Set(IDC_EMAIL_NAME, "Carl"),
                             Action::Set(IDC_EMAIL_ADDRESS, "carl@example.org"),
                             Action::Press(static_cast<UINT>(IDOK))});
        Press(ID_NEW_OLE_ITEM);
        const std::vector<std::string> subscribers = Rows();
        EXPECT_NE(std::find(subscribers.begin(), subscribers.end(), "Carl | carl@example.org"),
                  subscribers.end())
            << ::testing::PrintToString(subscribers);
        std::int32_t emailClass = 0;
        Host().Store()->ExecuteSql(
            "SELECT Value FROM OLE_CLA WHERE ClassName = 'EMAIL'",
            [&](std::span<const std::string> row) { emailClass = std::stoi(row[0]); });
        EXPECT_NE(emailClass, kDemoOleId);
        EXPECT_NE(emailClass, kDemoClassOleId);

        Press(ID_ATTACH_OBJECTS);
        EXPECT_EQ(Rows(), before);
        Host().CloseStore();
    }
}

TEST_F(DemoStoreTest, FolderMaintenanceMakesItsFolderAndSubfolderOnFirstUse) {
    std::string error;
    ASSERT_TRUE(Host().AttachStore(SeededStore(), error)) << error;
    EXPECT_EQ(Host().OpenFolderMaintenance("Letters", "2026"), kDemoOleId);
    std::int64_t folders = 0;
    Host().Store()->ExecuteSql(
        "SELECT count(*) FROM OLE_TREE WHERE Name IN ('Letters', '2026') AND OwnerId > 2",
        [&](std::span<const std::string> r) { folders = std::stoll(r[0]); });
    EXPECT_EQ(folders, 2);
}

TEST_F(DemoStoreTest, AFolderAnotherProgramMakesInTheFolderShownAppearsInTreeAndList) {
    std::string error;
    ASSERT_TRUE(Host().AttachStore(SeededStore(), error)) << error;
    ASSERT_EQ(Host().OpenNormally(), kDemoOleId);
    Tree().UserSelect(Folder("Drafts"));
    P().RunUntilIdle();
    EXPECT_EQ(Host().FollowChanges(), 0);

    // Another program on the same file, which follows it too (so its writes are logged).
    std::unique_ptr<host::SqliteTableStore> other = SeededStore();
    const std::unique_ptr<host::ChangeWatcher> watching = other->WatchChanges(error);
    ASSERT_TRUE(watching) << error;
    TreeEntry drafts;
    other->ExecuteSql("SELECT OwnerId, EntryNo FROM OLE_TREE WHERE Name = 'Drafts'",
                      [&](std::span<const std::string> row) {
                          drafts.OwnerId = std::stoi(row[0]);
                          drafts.EntryNo = std::stoi(row[1]);
                      });
    TreeEntry minutes;
    minutes.OwnerId = minutes.OwnerId2 = kDemoOleId;
    minutes.EntryNo = 900;
    minutes.ParentOwnerId = drafts.OwnerId;
    minutes.ParentEntryNo = drafts.EntryNo;
    minutes.Name = "Minutes";
    const RowText row = BuildTreeEntry(minutes);
    ASSERT_EQ(other->InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3),
              host::kStoreOk);

    EXPECT_EQ(Host().FollowChanges(), 1);
    EXPECT_NE(Folders().find("  Drafts\n    Minutes\n"), std::string::npos) << Folders();
    const std::vector<std::string> rows = Rows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Minutes |  |  | "), rows.end())
        << ::testing::PrintToString(rows);
    EXPECT_NE(std::find_if(log_.begin(), log_.end(),
                           [](const std::string& l) {
                               return l.starts_with("follow: AddTreeViewItem(TRUE, FALSE, 900, ");
                           }),
              log_.end());
    // Applied once: nothing is left to apply.
    EXPECT_EQ(Host().FollowChanges(), 0);
}

TEST_F(DemoStoreTest, ScriptMaintenanceListsASampleScriptOfEachLanguage) {
    std::string error;
    ASSERT_TRUE(Host().AttachStore(SeededStore(), error)) << error;
    EXPECT_EQ(Host().OpenScriptMaintenance(), kDemoScriptClassOleId);
    P().RunUntilIdle();
    const HWND view =
        platform::FindDescendant(P().Windows(), Host().ControlWindow(), "CScriptView");
    ASSERT_TRUE(view);
    platform::HeadlessListControl& scripts =
        *P().CommonControls().List(platform::FindDescendant(P().Windows(), view, "SysListView32"));
    std::vector<std::string> names;
    for (int row = 0; row < scripts.GetItemCount(); ++row)
        names.push_back(scripts.GetItemText(row, 0));
    EXPECT_EQ(names, (std::vector<std::string>{"Copy fields", "Greeting"}));
}

}  // namespace
}  // namespace orbel::demo
