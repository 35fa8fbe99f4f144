// The host's command messages on a live control: what each does to the panes and the toolbar.
#include <gtest/gtest.h>

#include "src/panes/ViewList.h"
#include "src/preview/FrameContainer.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

std::string Text(const std::string& text, std::size_t width) {
    return (text + std::string(width, ' ')).substr(0, width);
}
std::string Number(std::int32_t value, std::size_t width) {
    std::string digits = std::to_string(value);
    return std::string(width - digits.size(), '0') + digits;
}
std::string Flag(bool on) {
    return on ? "Y" : "N";
}

class HostCommandsTest : public test::StoreControlTest {
  protected:
    void Send(const std::string& message) { EXPECT_TRUE(Ctrl().ProcessTarnMessage(message)); }
    void SendTreeFolder(bool folder, bool isClass, std::int32_t key, std::int32_t parentKey,
                        const std::string& name) {
        Send("i" + Flag(folder) + Flag(isClass) + Number(key, 8) + Number(parentKey, 8) +
             Text(name, 30));
    }
    void SendListEntry(bool folder, std::int32_t key, const std::string& name,
                       const std::string& resource = {}) {
        Send("m" + Flag(folder) + "N" + Number(key, 8) + Text(name, 30) + resource);
    }
    bool OptionsHidden() { return ToolBarModel().IsButtonHidden(ID_OPTIONS); }
};

TEST_F(HostCommandsTest, TheTreeAndListCommandsReachTheirPanes) {
    Send("T");
    SendTreeFolder(true, false, 10, 0, "Letters");
    SendTreeFolder(true, true, 20, 0, "Class");
    SendTreeFolder(false, false, 30, 0, "Not a folder");
    Send("t");
    SendListEntry(true, 10, "Letters");
    SendListEntry(false, 40, "Scan", "/srv/scan.tif");
    Send("s" + Number(40, 8) + "001" + "009" + Number(12, 8));
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  Class key=21 image=2/8\n"
              "  Letters key=10 image=0/7\n");
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=10 image=0: Letters |  |  | \n"
              "1 key=40 image=1: Scan | 1 | 9 | 12\n");

    Send("v" + Number(40, 8) + Text("Scan 2", 30) + "002" + "003" + "7");
    Send("u" + Number(10, 8) + Text("Mail", 30));
    Send("p" + Number(21, 8) + Number(10, 8));
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  Mail key=10 image=0/7\n"
              "    Class key=21 image=2/8\n");
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=10 image=0: Mail |  |  | \n"
              "1 key=40 image=1: Scan 2 | 2 | 3 | 7\n");

    Send("d" + Number(21, 8));
    Send("g" + Number(40, 8));
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  Mail key=10 image=0/7\n");
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 1);
    Send("D");
    EXPECT_EQ(Ctrl().GetListViewItemCount(), 0);
    // None of it was the user choosing a folder.
    EXPECT_TRUE(Adapter().UserEvents().empty());
}

TEST_F(HostCommandsTest, OptionBitOneShowsTheOptionsButtonAndTheOtherBitsDoNot) {
    EXPECT_TRUE(OptionsHidden());
    Send("A00001Y");
    EXPECT_FALSE(OptionsHidden());
    Send("A00001N");
    EXPECT_TRUE(OptionsHidden());
    Send("A00002Y");
    EXPECT_TRUE(OptionsHidden());
    EXPECT_EQ(Ctrl().OptionWord(), 2u);
    Send("A00001Y");
    P().RunIdleHandlers();
    EXPECT_FALSE(OptionsHidden());
    EXPECT_EQ(Ctrl().OptionWord(), 3u);
}

TEST_F(HostCommandsTest, DirectorySelectionRebuildsTheColumnsAndSwapsTheSubscriberButtons) {
    SendListEntry(false, 40, "Scan", "/srv/scan.tif");
    Send("j");
    EXPECT_TRUE(Ctrl().DirectorySelect());
    EXPECT_EQ(ListDump(),
              "columns: Name | Attach To | Email To\n"
              "0 key=40 image=1: Scan |  | \n");
    P().RunIdleHandlers();
    EXPECT_TRUE(ToolBarModel().IsButtonEnabled(ID_SEND_EMAIL_TO_SUBSCRIBERS));
    EXPECT_FALSE(ToolBarModel().IsButtonEnabled(ID_SUBSCRIBER_MAINTENANCE));
}

TEST_F(HostCommandsTest, TheAnswerToAnAttachOrEmailRequestFillsTheRowThatAsked) {
    Send("j");
    SendListEntry(false, 40, "Scan", "/srv/scan.tif");
    SendListEntry(false, 50, "Invoice", "/srv/invoice.pdf");

    Ctrl().SetAttachOrEmail(1, "ATTACH");
    Send("hReport 00000042");
    Ctrl().SetAttachOrEmail(0, "EMAIL");
    Send("h12345someone@example.com 00000001");
    EXPECT_EQ(ListDump(),
              "columns: Name | Attach To | Email To\n"
              "0 key=40 image=1: Scan |  | someone@example.com\n"
              "1 key=50 image=1: Invoice | Report | \n");
    ASSERT_EQ(Ctrl().ListView()->Routing().size(), 1u);
    EXPECT_EQ(Ctrl().ListView()->RoutingTarget(50), 42);
    EXPECT_FALSE(Ctrl().ListView()->Routing()[0].processed);

    // A later answer for the same row replaces its routing.
    Ctrl().SetAttachOrEmail(1, "ATTACH");
    Send("hLedger 00000043");
    EXPECT_EQ(Ctrl().ListView()->RoutingTarget(50), 43);
    EXPECT_EQ(Ctrl().ListView()->Routing().size(), 1u);
}

TEST_F(HostCommandsTest, AnAnswerWithNoRequestPendingChangesNoRow) {
    Send("j");
    SendListEntry(false, 40, "Scan", "/srv/scan.tif");
    const std::string before = ListDump();
    Send("hReport 00000042");
    Send("h12345someone@example.com 00000001");
    // A request for a row that is gone is not taken for another row either.
    Ctrl().SetAttachOrEmail(7, "ATTACH");
    Send("hReport 00000042");
    EXPECT_EQ(ListDump(), before);
    EXPECT_TRUE(Ctrl().ListView()->Routing().empty());
}

}  // namespace
}  // namespace orbel
