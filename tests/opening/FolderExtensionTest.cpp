// Folder extensions: one file extension per folder, whatever its letter case, found again for
// a new file; and the directory-selection class the control keeps in OLE_CLA.
#include <gtest/gtest.h>

#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

constexpr const char* kTaken = "This extension has already been allocated to a folder.";

class FolderExtensionTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        SeedFolder(5, 1, 0, 0, "Images", "tif");
        SeedFolder(5, 2, 0, 0, "Scans");
        SeedFolder(3, 4, 0, 0, "Letters", "doc");
        ASSERT_EQ(Ctrl().Initiate(5, 3), 5);
    }
};

TEST_F(FolderExtensionTest, AnExtensionBelongsToOneFolderWhateverItsLetterCase) {
    // The folder that has it may keep it.
    EXPECT_FALSE(Ctrl().Maintenance().CheckExtensionFree("TIF", "images"));
    EXPECT_TRUE(Boxes().empty());

    User().AnswerMessageBox(MessageAnswer::Ok, kTaken);
    EXPECT_TRUE(Ctrl().Maintenance().CheckExtensionFree("TIF", "Scans"));
    EXPECT_FALSE(Ctrl().Maintenance().CheckExtensionFree("pdf", "Scans"));
    // Folders without an extension do not hold the empty one.
    EXPECT_FALSE(Ctrl().Maintenance().CheckExtensionFree("", "Images"));
    EXPECT_EQ(P().Windows().GetCursor(), platform::Cursor::Arrow);
}

TEST_F(FolderExtensionTest, ADeletedFolderGivesItsExtensionBack) {
    Ctrl().Maintenance().DeleteFolderEntry(10);
    EXPECT_FALSE(TreeRow(5, 1));
    EXPECT_EQ(TreeDump(),
              "All key=0 image=2/2 current\n"
              "  Letters key=41 image=2/8\n"
              "  Scans key=20 image=0/7\n");
    EXPECT_FALSE(Ctrl().Maintenance().CheckExtensionFree("tif", "Scans"));
    EXPECT_EQ(Ctrl().Maintenance().FindFolderForExtension("tif"), 0);
}

TEST_F(FolderExtensionTest, ANewFileFindsTheFolderOfItsExtension) {
    EXPECT_EQ(Ctrl().Maintenance().FindFolderForExtension("Tif"), 10);
    EXPECT_EQ(Ctrl().Maintenance().FindFolderForExtension("DOC"), 40);
    EXPECT_EQ(Ctrl().Maintenance().FindFolderForExtension("xyz"), 0);
}

TEST_F(FolderExtensionTest, AChangedExtensionCountsAsSoonAsTheHostHasTheRow) {
    Ctrl().Maintenance().ChangeFolderNameAndType(20, "Scanned", "pdf");
    std::string name, type;
    Ctrl().Maintenance().GetFolderNameAndType(20, name, type);
    EXPECT_EQ(name, "Scanned");
    EXPECT_EQ(type, "pdf");
    EXPECT_EQ(Ctrl().Maintenance().FindFolderForExtension("PDF"), 20);
    User().AnswerMessageBox(MessageAnswer::Ok, kTaken);
    EXPECT_TRUE(Ctrl().Maintenance().CheckExtensionFree("PDF", "Images"));
}

TEST_F(FolderExtensionTest, TheDirectoryClassIsMadeOnceFromTheOleIdCounter) {
    EXPECT_EQ(ClassValue("0"), std::nullopt);
    EXPECT_EQ(Ctrl().Maintenance().GetClassOLEID(), 1);
    EXPECT_EQ(Ctrl().Maintenance().GetClassOLEID(), 1);
    EXPECT_EQ(ClassValue("5"), 1);
    EXPECT_EQ(ClassValue("0"), 1);
}

TEST_F(FolderExtensionTest, ADirectoryClassTheHostRefusesEndsTheBusyState) {
    Hooks().refuseInsert = [](std::string_view table, std::string_view key1) {
        return table == "OLE_CLA" && key1 == FormatClassKey("5");
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error InsertOleClass");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error in GetClassOLEID: Could not insert class.");
    EXPECT_EQ(Ctrl().Maintenance().GetClassOLEID(), -1);
    EXPECT_EQ(UserEvents(), (std::vector<std::string>{R"(FolderChange("\\All"))", "Busy(FALSE)"}));
}

}  // namespace
}  // namespace orbel
