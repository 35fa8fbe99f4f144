// The item list pane: folders above items, page cells, the current row, and the file-type
// icons it takes from the registry.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/registry/RegistryHive.h"
#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

class ViewListTest : public test::StoreControlTest {
  protected:
    CViewList& List() { return *Ctrl().ListView(); }
    void AddFolder(std::int32_t entryNo, const std::string& name, bool isClass = false) {
        List().AddItem(true, isClass, entryNo, name, "", "", 0, 0, 0);
    }
    void AddDocument(std::int32_t entryNo, const std::string& name, const std::string& type = {},
                     std::int32_t pageStart = 0, std::int32_t pageEnd = 0, std::int32_t batch = 0) {
        List().AddItem(false, false, entryNo, name, type, "", pageStart, pageEnd, batch);
    }
    void WriteHive(const std::string& keys) {
        std::ofstream(platform::RegistryHive::DefaultPath())
            << "Windows Registry Editor Version 5.00\n\n"
            << keys;
    }
};

TEST_F(ViewListTest, FoldersStayAboveTheItemsWhateverOrderTheyCameIn) {
    AddDocument(1, "first.doc");
    AddFolder(2, "Folder one");
    AddDocument(3, "second.doc");
    AddFolder(4, "Class folder", true);
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=20 image=0: Folder one |  |  | \n"
              "1 key=41 image=2: Class folder |  |  | \n"
              "2 key=10 image=1: first.doc |  |  | \n"
              "3 key=30 image=1: second.doc |  |  | \n");

    // With a folder gone, the next one goes right below the remaining folder.
    List().RemoveItem(20);
    AddFolder(5, "Folder two");
    EXPECT_EQ(List().FolderCount(), 2);
    EXPECT_EQ(List().RowText(1, 0), "Folder two");
    EXPECT_EQ(List().RowText(2, 0), "first.doc");
    // Removing an item leaves the folders' place as it is.
    List().RemoveItem(10);
    AddFolder(6, "Folder three");
    EXPECT_EQ(List().RowText(2, 0), "Folder three");
    EXPECT_EQ(List().RowText(3, 0), "second.doc");
}

TEST_F(ViewListTest, PageNumbersAndBatchesOfZeroShowAsEmptyCells) {
    AddDocument(1, "scan.tif", "", 0, 5, 0);
    List().SetPageColumns(10, 3, 0, 12);
    AddDocument(2, "other.tif", "", 2, 2, 7);
    List().UpdateItem(20, "renamed.tif", 0, 0, 0);
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=10 image=1: scan.tif | 3 |  | 12\n"
              "1 key=20 image=1: renamed.tif |  |  | \n");
}

TEST_F(ViewListTest, WithTheResourceShownThePagesMoveOneColumnRight) {
    Put("ShowResource", Variant(true));
    List().BuildColumns(&Ctrl());
    List().AddItem(false, false, 1, "scan.tif", "tif", "/srv/scan.tif", 1, 9, 0);
    EXPECT_EQ(ListDump(),
              "columns: Name | Resource | Page Start | Page End | Batch\n"
              "0 key=10 image=1: scan.tif | /srv/scan.tif | 1 | 9 | \n");
}

TEST_F(ViewListTest, TheCurrentRowFollowsItsEntryAndGoesWithIt) {
    for (std::int32_t n = 1; n <= 4; ++n) AddDocument(n, "doc" + std::to_string(n));
    ListModel().UserClick(2);
    ASSERT_EQ(List().CurrentRow(), 2);
    List().RemoveItem(10);
    EXPECT_EQ(List().RowKey(List().CurrentRow()), 30);
    List().RemoveItem(30);
    EXPECT_EQ(List().CurrentRow(), -1);
}

TEST_F(ViewListTest, ExtensionsDifferingInLetterCaseShareOneCachedIcon) {
    WriteHive(
        "[HKEY_CLASSES_ROOT\\.tif]\n@=\"TIFImage.Document\"\n\n"
        "[HKEY_CLASSES_ROOT\\TIFImage.Document\\DefaultIcon]\n@=\"/usr/share/icons/tif.png,3\"\n\n"
        "[HKEY_CLASSES_ROOT\\.nic]\n@=\"NoIcon.Document\"\n\n"
        "[HKEY_CLASSES_ROOT\\NoIcon.Document]\n@=\"A type without an icon\"\n");
    const int normalBefore = ListModel().NormalImages()->GetImageCount();
    AddDocument(1, "a.tif", "tif");
    AddDocument(2, "b.TIF", "TIF");
    AddDocument(3, "c.Tif", "Tif");
    EXPECT_EQ(ListModel().GetItemImage(0), normalBefore);
    EXPECT_EQ(ListModel().GetItemImage(1), normalBefore);
    EXPECT_EQ(ListModel().GetItemImage(2), normalBefore);
    EXPECT_EQ(ListModel().NormalImages()->GetImageCount(), normalBefore + 1);
    EXPECT_EQ(ListModel().SmallImages()->Describe(normalBefore), "/usr/share/icons/tif.png,3");

    // No registry type, or a type without an icon: the plain document image, nothing cached.
    AddDocument(4, "d.xyz", "xyz");
    AddDocument(5, "e.nic", "nic");
    EXPECT_EQ(ListModel().GetItemImage(3), 1);
    EXPECT_EQ(ListModel().GetItemImage(4), 1);
    EXPECT_EQ(ListModel().NormalImages()->GetImageCount(), normalBefore + 1);
}

TEST_F(ViewListTest, ATypeRegisteredMeanwhileShowsItsIconFromTheNextListingOn) {
    WriteHive("[HKEY_CLASSES_ROOT\\.nic]\n@=\"NoIcon.Document\"\n");
    AddDocument(1, "a.xyz", "xyz");
    AddDocument(2, "b.nic", "nic");
    WriteHive(
        "[HKEY_CLASSES_ROOT\\.xyz]\n@=\"Xyz.Document\"\n\n"
        "[HKEY_CLASSES_ROOT\\Xyz.Document\\DefaultIcon]\n@=\"/icons/xyz.png\"\n\n"
        "[HKEY_CLASSES_ROOT\\.nic]\n@=\"NoIcon.Document\"\n\n"
        "[HKEY_CLASSES_ROOT\\NoIcon.Document\\DefaultIcon]\n@=\"/icons/nic.png\"\n");
    // Within one listing a type keeps the image its first row got.
    AddDocument(3, "c.XYZ", "XYZ");
    EXPECT_EQ(ListModel().GetItemImage(2), 1);

    List().ClearItems();
    AddDocument(4, "d.xyz", "xyz");
    AddDocument(5, "e.nic", "nic");
    const platform::ImageList& normal = *ListModel().NormalImages();
    EXPECT_EQ(normal.Describe(ListModel().GetItemImage(0)), "/icons/xyz.png,0");
    EXPECT_EQ(normal.Describe(ListModel().GetItemImage(1)), "/icons/nic.png,0");
}

TEST_F(ViewListTest, EveryFileTypeIconSitsAtTheSameIndexInBothImageLists) {
    // More types than the small strip has cells left over.
    std::string keys;
    const int types = 12;
    for (int t = 0; t < types; ++t) {
        const std::string ext = "x" + std::to_string(t);
        keys += "[HKEY_CLASSES_ROOT\\." + ext + "]\n@=\"Type" + ext + "\"\n\n";
        keys +=
            "[HKEY_CLASSES_ROOT\\Type" + ext + "\\DefaultIcon]\n@=\"/icons/" + ext + ".png\"\n\n";
    }
    WriteHive(keys);
    for (int t = 0; t < types; ++t) AddDocument(t + 1, "file", "x" + std::to_string(t));
    const platform::ImageList& normal = *ListModel().NormalImages();
    const platform::ImageList& small = *ListModel().SmallImages();
    for (int row = 0; row < types; ++row) {
        const int image = ListModel().GetItemImage(row);
        SCOPED_TRACE(row);
        EXPECT_EQ(normal.Describe(image), "/icons/x" + std::to_string(row) + ".png,0");
        EXPECT_EQ(small.Describe(image), normal.Describe(image));
    }
}

}  // namespace
}  // namespace orbel
