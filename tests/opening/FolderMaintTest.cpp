// Folder maintenance: the list shows one named subfolder of the class tree kept for it, which
// the first opening creates; the host sees the opening as a long operation.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "src/preview/FrameContainer.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

const std::vector<std::string> kBusyThenDone = {"Busy(TRUE)", "Busy(FALSE)"};

class FolderMaintTest : public test::StoreControlTest {
  protected:
    // The state every folder maintenance opening leaves, whatever it loaded.
    void ExpectFolderMaintenanceLayout() {
        EXPECT_EQ(Ctrl().Mode(), DisplayMode::FolderMaint);
        EXPECT_EQ(Ctrl().ToolBar().LoadedResource(), 208u);
        EXPECT_EQ(ToolBarModel().Dump(),
                  "32833 \"New OLE Item\"\n"
                  "32850 \"Scan New Item\" disabled\n");
        EXPECT_EQ(ListModel().GetColumnCount(), 5);
        EXPECT_EQ(ListModel().GetColumnTitle(4), "Link Info");
        EXPECT_EQ(ListModel().GetColumnWidth(4), 70);
        EXPECT_EQ(Ctrl().Frame()->OuterSplitter().GetStyle() & 0x1u, 0x1u);
        EXPECT_FALSE(Ctrl().IsBusy());
    }
};

TEST_F(FolderMaintTest, TheFirstOpeningCreatesTheClassRowTheFolderAndTheSubfolder) {
    EXPECT_EQ(Ctrl().InitiateFolderMaint(7, 2, "Letters", "2024"), 7);
    // The class tree is a new OLE ID from the counter.
    EXPECT_EQ(ClassValue("2"), 1);
    EXPECT_EQ(TreeRow(1, 1), (TreeEntry{1, 1, 1, 0, 0, "Letters", 0, 0, 0, 0, "", ""}));
    EXPECT_EQ(TreeRow(1, 2), (TreeEntry{1, 2, 1, 1, 1, "2024", 0, 0, 0, 0, "", ""}));
    EXPECT_TRUE(TreeNames(7).empty());
    EXPECT_EQ(Ctrl().CurrentOleId(), 7);
    EXPECT_EQ(Ctrl().ClassOleId(), 1);
    // The list shows the (empty) subfolder, not the folders that were made on the way.
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 0);
    EXPECT_EQ(Ctrl().ListView()->FolderKey(), 21);
    EXPECT_EQ(UserEvents(), kBusyThenDone);
    ExpectFolderMaintenanceLayout();
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(FolderMaintTest, ALaterOpeningFindsBothFoldersAndListsTheSubfoldersEntries) {
    ASSERT_EQ(Ctrl().InitiateFolderMaint(7, 2, "Letters", "2024"), 7);
    SeedItem(1, 3, 1, 2, "Class letter", 100, "/srv/class.doc");
    SeedItem(7, 1, 1, 2, "My letter", 101, "/srv/mine.doc");
    SeedItem(8, 1, 1, 2, "Not mine", 102, "/srv/other.doc");
    Adapter().ClearUserEvents();

    EXPECT_EQ(Ctrl().InitiateFolderMaint(7, 2, "Letters", "2024"), 7);
    EXPECT_EQ(TreeNames(1), (std::vector<std::string>{"Letters", "2024", "Class letter"}));
    EXPECT_EQ(ClassValue("0"), 1);
    EXPECT_EQ(ClassValue("2"), 1);
    // The class tree's entries first, then the item's own.
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch | Link Info\n"
              "0 key=31 image=1: Class letter |  |  |  | \n"
              "1 key=10 image=1: My letter |  |  |  | \n");
    EXPECT_EQ(UserEvents(), kBusyThenDone);
}

TEST_F(FolderMaintTest, WithResourcesShownEveryEntryOfTheSubfolderIsListedWithItsPath) {
    Put("ShowResource", Variant(true));
    Ctrl().ListView()->BuildColumns(&Ctrl());
    ASSERT_EQ(Ctrl().InitiateFolderMaint(7, 2, "Letters", "2024"), 7);
    // Names before and after the subfolder's own name, which the lookup of the subfolder
    // leaves behind in the control's key buffer.
    SeedItem(1, 3, 1, 2, "0001 first", 100, "/srv/first.doc");
    SeedItem(1, 4, 1, 2, "Zeta", 101, "/srv/zeta.doc");
    SeedItem(7, 1, 1, 2, "1999 mine", 102, "/srv/mine.doc");
    SeedItem(7, 2, 1, 2, "Mine", 103, "/srv/mine2.doc");

    EXPECT_EQ(Ctrl().InitiateFolderMaint(7, 2, "Letters", "2024"), 7);
    EXPECT_EQ(ListDump(),
              "columns: Name | Resource | Page Start | Page End | Link Info | Batch\n"
              "0 key=31 image=1: 0001 first | /srv/first.doc |  |  |  | \n"
              "1 key=41 image=1: Zeta | /srv/zeta.doc |  |  |  | \n"
              "2 key=10 image=1: 1999 mine | /srv/mine.doc |  |  |  | \n"
              "3 key=20 image=1: Mine | /srv/mine2.doc |  |  |  | \n");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(FolderMaintTest, AnyOtherClassOnlySwitchesTheModeAndLoadsNothing) {
    SeedFolder(5, 1, 0, 0, "Letters");
    EXPECT_EQ(Ctrl().InitiateFolderMaint(7, 5, "Letters", "2024"), 7);
    // Not one table request: only the busy state reaches the host.
    EXPECT_EQ(Host().Events(), kBusyThenDone);
    EXPECT_FALSE(ClassValue("2"));
    EXPECT_EQ(UserEvents(), kBusyThenDone);
    ExpectFolderMaintenanceLayout();
}

TEST_F(FolderMaintTest, WithoutAnOleIdTheItemGetsOneBeforeTheClassTreeDoes) {
    EXPECT_EQ(Ctrl().InitiateFolderMaint(0, 2, "Letters", "2024"), 1);
    EXPECT_EQ(ClassValue("2"), 2);
    EXPECT_EQ(TreeNames(2), (std::vector<std::string>{"Letters", "2024"}));
}

TEST_F(FolderMaintTest, AFolderTheHostRefusesEndsTheOpeningWithoutAnOrphanSubfolder) {
    Hooks().refuseInsert = [](std::string_view table, std::string_view) {
        return table == "OLE_TREE";
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error InsertOleTree");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error CreateNewFolder:2");
    EXPECT_EQ(Ctrl().InitiateFolderMaint(7, 2, "Letters", "2024"), -1);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(TreeNames(1).empty());
    EXPECT_EQ(UserEvents(), kBusyThenDone);
    EXPECT_FALSE(Ctrl().IsBusy());
    EXPECT_EQ(Ctrl().CurrentOleId(), 7);
}

TEST_F(FolderMaintTest, AClassRowTheHostRefusesEndsTheOpeningWithItsMessage) {
    Hooks().refuseInsert = [](std::string_view table, std::string_view key1) {
        return table == "OLE_CLA" && key1 == FormatClassKey("2");
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error InsertOleClass");
    User().AnswerMessageBox(
        MessageAnswer::Ok,
        "Error in InitiateFolderMaint(): Could not insert folder maintenance class.");
    EXPECT_EQ(Ctrl().InitiateFolderMaint(7, 2, "Letters", "2024"), -1);
    EXPECT_EQ(UserEvents(), kBusyThenDone);
    EXPECT_TRUE(TreeNames(1).empty());
}

}  // namespace
}  // namespace orbel
