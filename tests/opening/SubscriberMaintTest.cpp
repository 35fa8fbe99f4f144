// Subscriber maintenance through the toolbar's check-button pair: the subscribers of the open
// item with their addresses, their groups in the tree, adding and changing one through
// "Email Name and Address", and leaving for exactly the pair that was open before.
#include <gtest/gtest.h>

#include "platform/Api.h"
#include "src/panes/ViewList.h"
#include "src/preview/FrameContainer.h"
#include "src/resources/DialogTemplates.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;
using Action = platform::ScriptedUser::DialogAction;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 7;
constexpr std::int32_t kEmail = 50;

class SubscriberMaintTest : public test::StoreControlTest {
  protected:
    void Press(UINT id) {
        EXPECT_TRUE(ToolBarModel().UserClick(id));
        P().RunUntilIdle();
    }
    void AnswerSubscriber(const std::string& name, const std::string& address) {
        std::vector<Action> actions;
        if (!name.empty()) actions.push_back(Action::Set(IDC_EMAIL_NAME, name));
        if (!address.empty()) actions.push_back(Action::Set(IDC_EMAIL_ADDRESS, address));
        actions.push_back(Action::Press(static_cast<UINT>(IDOK)));
        User().AnswerDialog(IDD_EMAIL_NAME_ADDRESS, actions);
    }
    std::string AddressOf(std::int32_t entryNo) {
        const std::optional<TreeEntry> row = TreeRow(kOwn, entryNo);
        if (!row) return "(no row)";
        const std::optional<ResourceRecord> res = ResourceRow(row->ResourceId);
        return res ? res->Path : "(no resource)";
    }
    // Subscribers of item 7: Ann at the top, the group Staff holding the group Managers with
    // Boss in it; beside them the item's own documents, one folder inside another, and a
    // folder under its class tree.
    void SeedSubscribers() {
        SeedClass("EMAIL", kEmail);
        SeedFolder(kOwn, 1, kEmail, 0, "Staff");
        SeedFolder(kOwn, 2, kOwn, 1, "Managers");
        SeedItem(kOwn, 3, kOwn, 2, "Boss", 200, "boss@example.org");
        SeedItem(kOwn, 4, kEmail, 0, "Ann", 201, "ann@example.org");
        SeedFolder(kOwn, 5, 0, 0, "Letters");
        SeedFolder(kOwn, 6, kOwn, 5, "2024");
        SeedFolder(kOwn, 8, kClass, 1, "Filed");
        SeedItem(kOwn, 9, 0, 0, "Report", 202, "/srv/report.doc");
    }
};

TEST_F(SubscriberMaintTest, FirstUseMakesTheEmailClassAndShowsAnEmptyListWithTheAddressColumn) {
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    EXPECT_TRUE(ToolBarModel().IsButtonChecked(ID_ATTACH_OBJECTS));
    Press(ID_SUBSCRIBER_MAINTENANCE);

    // The store had no OLE ID counter yet: the class takes the first ID.
    EXPECT_EQ(ClassValue("EMAIL"), 1);
    EXPECT_EQ(Ctrl().CurrentOleId(), kOwn);
    EXPECT_EQ(Ctrl().ClassOleId(), 1);
    EXPECT_EQ(ListDump(), "columns: Name | Address\n");
    EXPECT_EQ(TreeDump(), "All key=0 image=2/2 current\n");
    EXPECT_TRUE(ToolBarModel().IsButtonChecked(ID_SUBSCRIBER_MAINTENANCE));
    EXPECT_FALSE(ToolBarModel().IsButtonChecked(ID_ATTACH_OBJECTS));
    EXPECT_EQ(UserEvents().back(), "Busy(FALSE)");

    // The checked button does nothing: not a request reaches the host.
    Host().Clear();
    Press(ID_SUBSCRIBER_MAINTENANCE);
    EXPECT_TRUE(Host().Events().empty());
    EXPECT_EQ(ClassValue("EMAIL"), 1);
}

TEST_F(SubscriberMaintTest, GroupsNestInTheTreeAndTheItemsOwnFoldersStayOut) {
    SeedSubscribers();
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Press(ID_SUBSCRIBER_MAINTENANCE);
    // Ann at the top marks the root as holding subscribers.
    EXPECT_EQ(TreeDump(),
              "All key=0 image=4/6 current\n"
              "  Staff key=10 image=0/7\n"
              "    Managers key=20 image=3/5\n");
    EXPECT_EQ(ListDump(),
              "columns: Name | Address\n"
              "0 key=10 image=0: Staff | \n"
              "1 key=40 image=1: Ann | ann@example.org\n");

    TreeModel().UserSelect(TreeItemNamed("Managers"));
    P().RunUntilIdle();
    EXPECT_EQ(ListDump(),
              "columns: Name | Address\n"
              "0 key=30 image=1: Boss | boss@example.org\n");
    TreeModel().UserSelect(TreeItemNamed("All"));
    P().RunUntilIdle();
    EXPECT_EQ(ListDump(),
              "columns: Name | Address\n"
              "0 key=10 image=0: Staff | \n"
              "1 key=40 image=1: Ann | ann@example.org\n");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SubscriberMaintTest, ANewSubscriberIsAnItemOfTheShownGroupWithTheAddressAsItsResource) {
    SeedSubscribers();
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Press(ID_SUBSCRIBER_MAINTENANCE);

    // At the top, from the toolbar.
    AnswerSubscriber("Carl", "carl@example.org");
    Press(ID_NEW_OLE_ITEM);
    std::optional<TreeEntry> carl = TreeRow(kOwn, 10);
    ASSERT_TRUE(carl);
    EXPECT_EQ(carl->Name, "Carl");
    EXPECT_EQ(carl->IsItem, 1);
    EXPECT_EQ(carl->ParentOwnerId, kEmail);
    EXPECT_EQ(carl->ParentEntryNo, 0);
    EXPECT_EQ(AddressOf(10), "carl@example.org");

    // In a group, from the list's menu on empty space.
    TreeModel().UserSelect(TreeItemNamed("Managers"));
    P().RunUntilIdle();
    User().AnswerMenu("New Item");
    AnswerSubscriber("Dora", "dora@example.org");
    ListModel().UserRightClick(-1, POINT{});
    P().RunUntilIdle();
    std::optional<TreeEntry> dora = TreeRow(kOwn, 11);
    ASSERT_TRUE(dora);
    EXPECT_EQ(dora->ParentOwnerId, kOwn);
    EXPECT_EQ(dora->ParentEntryNo, 2);
    EXPECT_EQ(ListDump(),
              "columns: Name | Address\n"
              "0 key=30 image=1: Boss | boss@example.org\n"
              "1 key=110 image=1: Dora | dora@example.org\n");

    // Cancel writes nothing.
    User().AnswerDialog(IDD_EMAIL_NAME_ADDRESS, {Action::Press(static_cast<UINT>(IDCANCEL))});
    Press(ID_NEW_OLE_ITEM);
    EXPECT_FALSE(TreeRow(kOwn, 12));
}

TEST_F(SubscriberMaintTest, EditingASubscriberReplacesItsEntryWithTheConfirmedNameAndAddress) {
    SeedSubscribers();
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Press(ID_SUBSCRIBER_MAINTENANCE);

    // The dialog opens with the row's name and address: confirming them as shown makes the
    // same subscriber anew.
    User().AnswerMenu("Edit Item");
    AnswerSubscriber("", "");
    ListModel().UserRightClick(1, POINT{});
    P().RunUntilIdle();
    EXPECT_FALSE(TreeRow(kOwn, 4));
    std::optional<TreeEntry> ann = TreeRow(kOwn, 10);
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->Name, "Ann");
    EXPECT_EQ(ann->ParentOwnerId, kEmail);
    EXPECT_EQ(AddressOf(10), "ann@example.org");

    User().AnswerMenu("Edit Item");
    AnswerSubscriber("Ann Smith", "ann.smith@example.org");
    ListModel().UserRightClick(1, POINT{});
    P().RunUntilIdle();
    // The highest entry went, so the new one takes its number again.
    ASSERT_TRUE(TreeRow(kOwn, 10));
    EXPECT_EQ(TreeRow(kOwn, 10)->Name, "Ann Smith");
    EXPECT_EQ(AddressOf(10), "ann.smith@example.org");
    EXPECT_FALSE(TreeRow(kOwn, 11));
    EXPECT_EQ(ListDump(),
              "columns: Name | Address\n"
              "0 key=10 image=0: Staff | \n"
              "1 key=100 image=1: Ann Smith | ann.smith@example.org\n");
}

TEST_F(SubscriberMaintTest, LeavingRestoresThePairOpenWhenEnteringWhateverTheHostOpenedSince) {
    SeedSubscribers();
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    const std::string normalTree = TreeDump();
    const std::string normalList = ListDump();
    Press(ID_SUBSCRIBER_MAINTENANCE);

    // The host opens another item meanwhile.
    Ctrl().Initiate(9, 4);
    EXPECT_EQ(Ctrl().CurrentOleId(), 9);

    Press(ID_ATTACH_OBJECTS);
    EXPECT_EQ(Ctrl().CurrentOleId(), kOwn);
    EXPECT_EQ(Ctrl().ClassOleId(), kClass);
    EXPECT_FALSE(Ctrl().SubscriberMode());
    EXPECT_EQ(TreeDump(), normalTree);
    EXPECT_EQ(ListDump(), normalList);
    EXPECT_TRUE(ToolBarModel().IsButtonChecked(ID_ATTACH_OBJECTS));
    EXPECT_FALSE(ToolBarModel().IsButtonChecked(ID_SUBSCRIBER_MAINTENANCE));

    // Pressing the checked button again opens nothing.
    Host().Clear();
    Press(ID_ATTACH_OBJECTS);
    EXPECT_TRUE(Host().Events().empty());
}

TEST_F(SubscriberMaintTest, WhileTheControlIsBusyNeitherButtonOfThePairDoesAnything) {
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Ctrl().SetBusy(true);
    Host().Clear();
    EXPECT_TRUE(Ctrl().Frame()->OnCmdMsg(ID_SUBSCRIBER_MAINTENANCE, nullptr));
    EXPECT_FALSE(Ctrl().SubscriberMode());
    EXPECT_TRUE(ToolBarModel().IsButtonChecked(ID_ATTACH_OBJECTS));
    EXPECT_FALSE(ToolBarModel().IsButtonChecked(ID_SUBSCRIBER_MAINTENANCE));
    Ctrl().SetBusy(false);
    Press(ID_SUBSCRIBER_MAINTENANCE);
    Ctrl().SetBusy(true);
    EXPECT_TRUE(Ctrl().Frame()->OnCmdMsg(ID_ATTACH_OBJECTS, nullptr));
    EXPECT_TRUE(Ctrl().SubscriberMode());
    EXPECT_TRUE(ToolBarModel().IsButtonChecked(ID_SUBSCRIBER_MAINTENANCE));
    Ctrl().SetBusy(false);
}

TEST_F(SubscriberMaintTest, AClassRowTheStoreRefusesEndsTheOpeningWithItsMessage) {
    ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    Hooks().refuseInsert = [](std::string_view table, std::string_view key1) {
        return table == "OLE_CLA" && key1.rfind("EMAIL", 0) == 0;
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error InsertOleClass");
    User().AnswerMessageBox(
        MessageAnswer::Ok,
        "Error in InitiateSubscriberMaint(): Could not insert subscriber maintenance class.");
    EXPECT_EQ(Ctrl().InitiateSubscriberMaint(kOwn, kClass), -1);
    EXPECT_EQ(UserEvents().back(), "Busy(FALSE)");
    EXPECT_FALSE(ClassValue("EMAIL"));
}

}  // namespace
}  // namespace orbel
