// Link items: web addresses linked as items of type "url", typed or dropped as text.
#include <gtest/gtest.h>

#include "src/panes/LinkItems.h"
#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

TEST(LinkNameTest, ADroppedAddressIsNamedByWhatFollowsItsScheme) {
    EXPECT_EQ(LinkNameFromText("http://example.org/"), "example.org");
    EXPECT_EQ(LinkNameFromText("http://example.org/a/b/  \t"), "example.org/a/b");
    // Only one final slash goes, and the first "http://" decides.
    EXPECT_EQ(LinkNameFromText("http://a//"), "a/");
    EXPECT_EQ(LinkNameFromText("see http://a/http://b"), "a/http://b");
    // Without the scheme in that case the text stays whole.
    EXPECT_EQ(LinkNameFromText("HTTP://Host/"), "HTTP://Host");
    EXPECT_EQ(LinkNameFromText("ftp://files/"), "ftp://files");

    EXPECT_TRUE(StartsWithHttp("HtTp://x"));
    EXPECT_TRUE(StartsWithHttp("https://x"));
    EXPECT_FALSE(StartsWithHttp("htt"));
    EXPECT_FALSE(StartsWithHttp(" http://x"));
}

class LinkItemsTest : public test::StoreControlTest {
  protected:
    void Open() {
        SeedFolder(kClass, 4, 0, 0, "Letters");
        ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    }
    CViewList& List() { return *Ctrl().ListView(); }
};

TEST_F(LinkItemsTest, AWebAddressBecomesTheCurrentItemNamedByTheAddress) {
    Open();
    EXPECT_EQ(List().AddLinkItem("http://example.org/docs\\", ""), 10);
    EXPECT_EQ(List().AddLinkItem("FTP://files.example.org/a.zip", "Archive"), 20);
    EXPECT_EQ(List().AddLinkItem("file:///srv/share/", ""), 30);
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"http://example.org/docs", "Archive",
                                                         "file:///srv/share/"}));
    // The address is the resource as given, final backslash and all.
    EXPECT_EQ(ResourceRow(1), (ResourceRecord{1, "http://example.org/docs\\"}));
    EXPECT_EQ(ResourceRow(2), (ResourceRecord{2, "FTP://files.example.org/a.zip"}));
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=41 image=2: Letters |  |  | \n"
              "1 key=10 image=1: http://example.org/docs |  |  | \n"
              "2 key=20 image=1: Archive |  |  | \n"
              "3 key=30 image=1 selected focused: file:///srv/share/ |  |  | \n");
    EXPECT_EQ(List().CurrentRow(), 3);
}

TEST_F(LinkItemsTest, WhatIsNotAWebAddressAddsNothing) {
    Open();
    EXPECT_EQ(List().AddLinkItem("https://secure.example.org/", "Secure"), 0);
    EXPECT_EQ(List().AddLinkItem("C:\\docs\\a.doc", ""), 0);
    EXPECT_EQ(List().AddLinkItem("", "Empty"), 0);
    EXPECT_EQ(List().DropText("https://secure.example.org/"), 0);
    EXPECT_EQ(List().DropText("hello http://example.org/"), 0);
    EXPECT_EQ(List().GetItemCount(), 1);
    EXPECT_TRUE(TreeNames(kOwn).empty());
    // The list still opens what it holds afterwards: no placeholder or flag was left behind.
    EXPECT_EQ(List().CurrentRow(), -1);
}

TEST_F(LinkItemsTest, ADroppedAddressIsNamedByItsHostAlone) {
    Open();
    EXPECT_EQ(List().DropText("http://example.org/"), 10);
    EXPECT_EQ(List().DropText("HTTP://Example.org/x/"), 20);
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"example.org", "HTTP://Example.org/x"}));
    EXPECT_EQ(ResourceRow(1), (ResourceRecord{1, "http://example.org/"}));
}

TEST_F(LinkItemsTest, ALinkGoesIntoTheFolderOfTheTypeUrlAndLeavesTheList) {
    SeedFolder(kOwn, 7, 0, 0, "Links", "URL");
    Open();
    EXPECT_EQ(List().AddLinkItem("http://example.org/", "Example"), 80);
    EXPECT_EQ(TreeRow(kOwn, 8)->ParentEntryNo, 7);
    EXPECT_EQ(List().FindRow(80), -1);
    EXPECT_EQ(List().GetItemCount(), 2);
}

}  // namespace
}  // namespace orbel
