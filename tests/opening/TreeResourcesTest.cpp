// Opening a store with each item's resource shown: both trees are walked row by row with every
// item's resource read on the way, and a folder's listing carries the resources too.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

class TreeResourcesTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        Put("ShowResource", Variant(true));
        Ctrl().ListView()->BuildColumns(&Ctrl());
        // Gas comes before Bills in key-2 order, its parent after it; an own row under a third
        // owner's folder; items at each level.
        SeedFolder(kClass, 8, 0, 0, "Accounts");
        SeedFolder(kClass, 6, kClass, 8, "Bills");
        SeedFolder(kClass, 7, kClass, 6, "Gas");
        SeedItem(kClass, 5, kClass, 8, "Contract", 100, "/srv/contract.pdf");
        SeedItem(kClass, 9, 0, 0, "Rules", 104, "C:\\Forms\\rules.doc");
        SeedFolder(kOwn, 1, 0, 0, "Mine");
        SeedFolder(kOwn, 2, kClass, 8, "Notes");
        SeedItem(kOwn, 3, kOwn, 1, "memo", 101, "/srv/memo.txt");
        SeedItem(kOwn, 4, 0, 0, "top", 102, "/srv/top.doc");
        SeedFolder(kOwn, 6, 9, 1, "Stranger");
    }
    // Every read of a resource row answered with `result` (a failed read).
    void FailResourceReads(std::int32_t result) {
        Hooks().replaceRead = [result](std::string_view table) -> std::optional<host::StoreReply> {
            if (table != "OLE_RES") return std::nullopt;
            host::StoreReply reply;
            reply.result = result;
            return reply;
        };
    }
};

TEST_F(TreeResourcesTest, BothTreesLoadNestedWithTheTopLevelListedWithItsResources) {
    EXPECT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    EXPECT_EQ(TreeDump(),
              "All key=0 image=4/6 current\n"
              "  Accounts key=81 image=4/6\n"
              "    Bills key=61 image=2/8\n"
              "      Gas key=71 image=2/8\n"
              "    Notes key=20 image=0/7\n"
              "  Mine key=10 image=3/5\n");
    EXPECT_EQ(ListDump(),
              "columns: Name | Resource | Page Start | Page End | Batch\n"
              "0 key=81 image=2: Accounts |  |  |  | \n"
              "1 key=10 image=0: Mine |  |  |  | \n"
              "2 key=91 image=1: Rules | C:\\Forms\\rules.doc |  |  | \n"
              "3 key=40 image=1: top | /srv/top.doc |  |  | \n");
    EXPECT_TRUE(Boxes().empty());
    // Walked, not selected.
    EXPECT_TRUE(Selects().empty());
}

TEST_F(TreeResourcesTest, AFolderListsItsClassChildrenThenItsOwnWithTheirResources) {
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    TreeModel().UserSelect(TreeItemNamed("Accounts"));
    P().RunUntilIdle();
    EXPECT_EQ(ListDump(),
              "columns: Name | Resource | Page Start | Page End | Batch\n"
              "0 key=61 image=2: Bills |  |  |  | \n"
              "1 key=20 image=0: Notes |  |  |  | \n"
              "2 key=51 image=1: Contract | /srv/contract.pdf |  |  | \n");
    TreeModel().UserSelect(TreeItemNamed("Mine"));
    P().RunUntilIdle();
    EXPECT_EQ(ListDump(),
              "columns: Name | Resource | Page Start | Page End | Batch\n"
              "0 key=30 image=1: memo | /srv/memo.txt |  |  | \n");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TreeResourcesTest, AStoreWithoutAClassTreeLoadsItsOwnTree) {
    EXPECT_EQ(Ctrl().Initiate(kOwn, 0), kOwn);
    EXPECT_EQ(TreeDump(),
              "All key=0 image=4/6 current\n"
              "  Mine key=10 image=3/5\n");
}

TEST_F(TreeResourcesTest, AResourceThatCannotBeReadStopsTheLoadingWithItsNumberedMessage) {
    FailResourceReads(3);
    // The class tree's first item is the first resource read.
    User().AnswerMessageBox(MessageAnswer::Ok, "Error ReadOleRes");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetResource:2");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetTreeResources:3");
    EXPECT_EQ(Ctrl().Initiate(kOwn, kClass), -1);

    // In the current tree it has its own number.
    User().AnswerMessageBox(MessageAnswer::Ok, "Error ReadOleRes");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetResource:2");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetTreeResources:10");
    EXPECT_EQ(Ctrl().Initiate(kOwn, 0), -1);
}

TEST_F(TreeResourcesTest, AResourceThatCannotBeReadWhileListingAFolderEndsTheListing) {
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    FailResourceReads(3);
    User().AnswerMessageBox(MessageAnswer::Ok, "Error ReadOleRes");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetResource:2");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error GetNodeResources:3");
    TreeModel().UserSelect(TreeItemNamed("Accounts"));
    P().RunUntilIdle();
    // The rows read before it stay; the own part is not asked for.
    EXPECT_EQ(ListDump(),
              "columns: Name | Resource | Page Start | Page End | Batch\n"
              "0 key=61 image=2: Bills |  |  |  | \n");
}

}  // namespace
}  // namespace orbel
