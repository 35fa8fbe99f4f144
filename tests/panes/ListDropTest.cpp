// Drops from other programs on the list: each dropped file, in order, linked where it lies; an
// address dropped as text linked as a web item; everything else refused or left alone.
#include <gtest/gtest.h>

#include "platform/controls/DroppedData.h"
#include "platform/files/FileApi.h"
#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::DroppedData;
using platform::MessageAnswer;
using platform::UriListOf;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

class ListDropTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        files_ = &P().UseMemoryFiles();
        ASSERT_TRUE(files_->CreateDirectory("/in"));
        for (const char* name : {"/in/b.txt", "/in/a.pdf", "/in/c d.doc"}) {
            auto file = files_->Open(name, platform::FileAccess::Write,
                                     platform::Disposition::CreateAlways);
            ASSERT_TRUE(file);
        }
        SeedFolder(kClass, 4, 0, 0, "Letters");
        ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    }
    bool Drop(const DroppedData& data) { return ListModel().UserDrop(data); }
    CViewList& List() { return *Ctrl().ListView(); }

    platform::MemoryFileSystem* files_ = nullptr;
};

TEST_F(ListDropTest, DroppedFilesBecomeItemsInTheOrderGivenLinkedWhereTheyLie) {
    EXPECT_TRUE(Drop(DroppedData{UriListOf({"/in/b.txt", "/in/a.pdf", "/in/c d.doc"}), {}}));
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"b.txt", "a.pdf", "c d.doc"}));
    EXPECT_EQ(ResourceRow(3), (ResourceRecord{3, "/in/c d.doc"}));
    EXPECT_EQ(List().CurrentRow(), 3);
    // Nothing was opened: a dropped file is only linked.
    EXPECT_EQ(P().ShellService().Dump().find("/in/"), std::string::npos);
}

TEST_F(ListDropTest, ADroppedAddressIsLinkedAndOtherTextAddsNothing) {
    EXPECT_TRUE(Drop(DroppedData{"", "plain words"}));
    EXPECT_TRUE(Drop(DroppedData{"", "https://secure.example.org/"}));
    EXPECT_EQ(ListModel().GetItemCount(), 1);
    // A browser's link comes as text and as a list of one address; it is linked once, quietly.
    EXPECT_TRUE(Drop(DroppedData{"http://example.org/\r\n", "http://example.org/"}));
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"example.org"}));
    EXPECT_EQ(ResourceRow(1), (ResourceRecord{1, "http://example.org/"}));
    // Afterwards a double click still opens what the list holds.
    ListModel().UserDoubleClick(1);
    EXPECT_NE(P().ShellService().Dump().find("example.org"), std::string::npos)
        << P().ShellService().Dump();
}

TEST_F(ListDropTest, EntriesThatNameNoFileHereAreRefusedAloudAndTheRestIsLinked) {
    User().AnswerMessageBox(MessageAnswer::Ok,
                            "Only files on this computer can be linked by dropping them. Not "
                            "linked:\nhttp://example.org/a.pdf\nfile://server/share/x.tif");
    EXPECT_TRUE(Drop(DroppedData{
        "http://example.org/a.pdf\r\nfile:///in/a.pdf\r\nfile://server/share/x.tif\r\n", {}}));
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"a.pdf"}));
}

}  // namespace
}  // namespace orbel
