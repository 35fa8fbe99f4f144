// New items from files: the numbered files of the Object Store, new files from the ShellNew
// keys of the classes root, and the items the list adds for one file or a directory, with the
// placeholder row that stands for the item meanwhile.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "platform/files/FileApi.h"
#include "platform/registry/RegistryHive.h"
#include "src/panes/StoreFiles.h"
#include "src/panes/ViewList.h"
#include "tests/opening/StoreControlFixture.h"

namespace orbel {
namespace {

using platform::MessageAnswer;

constexpr std::int32_t kClass = 3;
constexpr std::int32_t kOwn = 5;

// Document types created in each way a ShellNew key can say, and a key that says nothing.
constexpr const char* kClasses = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Templates"="/templates"

[HKEY_CLASSES_ROOT\Empty\ShellNew]
"NullFile"=""
"FileName"="letter.doc"

[HKEY_CLASSES_ROOT\Letter\ShellNew]
"FileName"="letter.doc"
"Command"="make-letter --new"

[HKEY_CLASSES_ROOT\Shipped\ShellNew]
"FileName"="/usr/share/orbel/templates/blank.tif"

[HKEY_CLASSES_ROOT\Missing\ShellNew]
"FileName"="gone.doc"

[HKEY_CLASSES_ROOT\Data\ShellNew]
"Data"="<?xml version=\"1.0\"?>"

[HKEY_CLASSES_ROOT\Run\ShellNew]
"Command"="\"/opt/make doc\" --new \"a b\""

[HKEY_CLASSES_ROOT\NullRun\ShellNew]
"NullFile"=""
"Command"="make-empty"

[HKEY_CLASSES_ROOT\Nothing\ShellNew]
"Other"="1"
)";

class NewItemsTest : public test::StoreControlTest {
  protected:
    void SetUp() override {
        StoreControlTest::SetUp();
        std::ofstream(platform::RegistryHive::DefaultPath()) << kClasses;
        files_ = &P().UseMemoryFiles();
        files_->SetTime(0);
        ASSERT_TRUE(files_->CreateDirectory("/store"));
        ASSERT_TRUE(files_->CreateDirectory("/templates"));
        Write("/templates/letter.doc", "LETTER");
    }
    // Writes the file, making the folders above it.
    void Write(const std::string& path, std::string_view text) {
        for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
             slash = path.find('/', slash + 1))
            files_->CreateDirectory(path.substr(0, slash));
        auto file =
            files_->Open(path, platform::FileAccess::Write, platform::Disposition::CreateAlways);
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->Write(text));
    }
    std::optional<std::string> Read(const std::string& path) {
        auto file =
            files_->Open(path, platform::FileAccess::Read, platform::Disposition::OpenExisting);
        if (!file) return std::nullopt;
        std::string text;
        std::byte buffer[256];
        while (auto n = file->Read(buffer)) {
            if (*n == 0) break;
            text.append(reinterpret_cast<const char*>(buffer), *n);
        }
        return text;
    }
    void Open() {
        SeedFolder(kClass, 4, 0, 0, "Letters");
        ASSERT_EQ(Ctrl().Initiate(kOwn, kClass), kOwn);
    }
    CViewList& List() { return *Ctrl().ListView(); }

    platform::MemoryFileSystem* files_ = nullptr;
};

TEST_F(NewItemsTest, ANewStoreFileTakesTheFirstFreeNumberAndIsMadeOnlyWhenAsked) {
    Write("/store/000001.doc", "one");
    Write("/store/000002.doc", "two");
    EXPECT_EQ(NewStorePath("/store", ".doc", false), "/store/000003.doc");
    EXPECT_FALSE(files_->Exists("/store/000003.doc"));
    EXPECT_EQ(NewStorePath("/store/", ".doc", true), "/store/000003.doc");
    EXPECT_EQ(Read("/store/000003.doc"), "");

    // A gap is filled first; the numbers of other extensions do not count.
    ASSERT_TRUE(files_->Delete("/store/000001.doc"));
    Write("/store/000004.txt", "");
    EXPECT_EQ(NewStorePath("/store", ".doc", true), "/store/000001.doc");
    EXPECT_EQ(NewStorePath("/store", ".txt", true), "/store/000001.txt");
    // What was there stays as it was.
    EXPECT_EQ(Read("/store/000002.doc"), "two");
}

TEST_F(NewItemsTest, ANumberTakenByADanglingLinkIsPassedOver) {
    // The link names nothing readable, yet creating through it would write elsewhere.
    ASSERT_TRUE(files_->CreateSymbolicLink("/elsewhere/x", "/store/000001.doc"));
    EXPECT_EQ(NewStorePath("/store", ".doc", true), "/store/000002.doc");
    EXPECT_FALSE(files_->Exists("/elsewhere/x"));
}

TEST_F(NewItemsTest, TheShellNewKeyDecidesHowTheNewFileIsFilled) {
    // NullFile wins over FileName.
    Write("/store/a.doc", "old");
    EXPECT_TRUE(CreateFromTemplate("/store/a.doc", "Empty\\ShellNew"));
    EXPECT_EQ(Read("/store/a.doc"), "");
    // A template is copied from the templates folder, and its Command is not run.
    EXPECT_TRUE(CreateFromTemplate("/store/b.doc", "Letter\\ShellNew"));
    EXPECT_EQ(Read("/store/b.doc"), "LETTER");
    // Data is written into the file as it is stored.
    Write("/store/c.xml", "");
    EXPECT_TRUE(CreateFromTemplate("/store/c.xml", "Data\\ShellNew"));
    EXPECT_EQ(Read("/store/c.xml"), "<?xml version=\"1.0\"?>");
    EXPECT_TRUE(P().ShellService().Requests().empty());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(NewItemsTest, ATemplateNamedByAFullPathIsTakenWhereItLies) {
    ASSERT_TRUE(files_->CreateDirectory("/usr"));
    ASSERT_TRUE(files_->CreateDirectory("/usr/share"));
    ASSERT_TRUE(files_->CreateDirectory("/usr/share/orbel"));
    ASSERT_TRUE(files_->CreateDirectory("/usr/share/orbel/templates"));
    Write("/usr/share/orbel/templates/blank.tif", "II*");
    EXPECT_TRUE(CreateFromTemplate("/store/page.tif", "Shipped\\ShellNew"));
    EXPECT_EQ(Read("/store/page.tif"), "II*");
}

TEST_F(NewItemsTest, ACommandRunsAsGivenThroughTheShellAndMakesNoFile) {
    EXPECT_TRUE(CreateFromTemplate("/store/d.doc", "Run\\ShellNew"));
    EXPECT_TRUE(CreateFromTemplate("/store/e.doc", "NullRun\\ShellNew"));
    EXPECT_EQ(P().ShellService().Lines(),
              (std::vector<std::string>{
                  "open file=\"/opt/make doc\" parameters=\"--new \\\"a b\\\"\" directory=\"\" "
                  "show=1 -> 42",
                  "open file=\"make-empty\" parameters=\"\" directory=\"\" show=1 -> 42"}));
    EXPECT_FALSE(files_->Exists("/store/d.doc"));
    EXPECT_FALSE(files_->Exists("/store/e.doc"));
}

TEST_F(NewItemsTest, ATemplateThatCannotBeReadOrAKeyThatSaysNothingStopsTheCreation) {
    User().AnswerMessageBox(MessageAnswer::Ok);
    EXPECT_FALSE(CreateFromTemplate("/store/f.doc", "Missing\\ShellNew"));
    User().AnswerMessageBox(MessageAnswer::Ok);
    EXPECT_FALSE(CreateFromTemplate("/store/g.doc", "Nothing\\ShellNew"));
    User().AnswerMessageBox(MessageAnswer::Ok);
    EXPECT_FALSE(CreateFromTemplate("/store/h.doc", "NoSuchType\\ShellNew"));
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{
                  "box \"Failed to create empty file from template.\\n\\nTemplate = "
                  "/templates/gone.doc\\nTarget = /store/f.doc\\n\\nError = 2 No such file or "
                  "directory\" OK -> OK",
                  "box \"Failed to determine requirements for new file for this object.\" OK -> "
                  "OK",
                  "box \"Failed to determine requirements for new file for this object.\" OK -> "
                  "OK"}));
    EXPECT_FALSE(files_->Exists("/store/f.doc"));
}

TEST_F(NewItemsTest, AFileBecomesTheCurrentRowNamedByTheFileAndThePlaceholderGoes) {
    Open();
    Write("/docs/a very long name of a report, 2026.txt", "x");
    Write("/docs/b.pdf", "x");
    const std::int32_t first =
        List().AddItemFromFile("/docs/a very long name of a report, 2026.txt", "");
    EXPECT_EQ(first, 10);
    // A name given is taken as it is; one for a file that cannot be read is empty.
    EXPECT_EQ(List().AddItemFromFile("/docs/b.pdf", "Invoice"), 20);
    EXPECT_EQ(List().AddItemFromFile("/docs/missing.pdf", ""), 30);
    EXPECT_EQ(TreeNames(kOwn),
              (std::vector<std::string>{"a very long name of a report,", "Invoice", ""}));
    EXPECT_EQ(ResourceRow(1), (ResourceRecord{1, "/docs/a very long name of a report, 2026.txt"}));
    EXPECT_EQ(ListDump(),
              "columns: Name | Page Start | Page End | Batch\n"
              "0 key=41 image=2: Letters |  |  | \n"
              "1 key=10 image=7: a very long name of a report, |  |  | \n"
              "2 key=20 image=1: Invoice |  |  | \n"
              "3 key=30 image=1 selected focused:  |  |  | \n");
    EXPECT_EQ(List().CurrentRow(), 3);
}

TEST_F(NewItemsTest, AFileOfAFoldersExtensionGoesIntoThatFolderAndLeavesTheList) {
    SeedFolder(kOwn, 7, 0, 0, "Memos", "DOC");
    Open();
    Write("/docs/memo.doc", "x");
    const std::int32_t key = List().AddItemFromFile("/docs/memo.doc", "");
    EXPECT_EQ(key, 80);
    EXPECT_EQ(TreeRow(kOwn, 8)->ParentOwnerId, kOwn);
    EXPECT_EQ(TreeRow(kOwn, 8)->ParentEntryNo, 7);
    // The list still shows the top, without the new item.
    EXPECT_EQ(List().FolderKey(), 0);
    EXPECT_EQ(List().FindRow(80), -1);
    EXPECT_EQ(List().GetItemCount(), 2);
}

TEST_F(NewItemsTest, ATiffFileIsOneItemOfItsPagesWhileNoViewerCountsThem) {
    Open();
    Write("/scans/a.tif", "II*");
    List().AddItemFromFile("/scans/a.tif", "");
    Put("BatchMaint", Variant(true));
    List().AddItemFromFile("/scans/a.tif", "Batch");
    EXPECT_EQ(TreeRow(kOwn, 1)->PageStart, 1);
    EXPECT_EQ(TreeRow(kOwn, 1)->PageEnd, 1);
    EXPECT_EQ(TreeRow(kOwn, 2)->PageEnd, 1);
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"a.tif", "Batch"}));
}

TEST_F(NewItemsTest, ARefusedItemLeavesNoRowBehind) {
    Open();
    Write("/docs/b.pdf", "x");
    Hooks().refuseInsert = [](std::string_view table, std::string_view) {
        return table == "OLE_RES";
    };
    User().AnswerMessageBox(MessageAnswer::Ok, "Error InsertOleRes");
    User().AnswerMessageBox(MessageAnswer::Ok, "Error CreateNewItem:2");
    EXPECT_EQ(List().AddItemFromFile("/docs/b.pdf", ""), 0);
    EXPECT_EQ(List().GetItemCount(), 1);
}

TEST_F(NewItemsTest, ADirectoryGivesOneItemPerFileAndItsSubfoldersAreNotEntered) {
    Open();
    Write("/in/one.pdf", "1");
    ASSERT_TRUE(files_->CreateDirectory("/in/sub"));
    Write("/in/sub/deep.pdf", "3");
    Write("/in/two.txt", "2");
    List().SelectDirectoryItems("/in");
    EXPECT_EQ(TreeNames(kOwn), (std::vector<std::string>{"one.pdf", "two.txt"}));
    EXPECT_EQ(ResourceRow(2), (ResourceRecord{2, "/in/two.txt"}));

    // Directory selection says when it is done.
    Put("DirectorySelect", Variant(true));
    User().AnswerMessageBox(MessageAnswer::Ok, "Select Directory Complete");
    List().SelectDirectoryItems("/in/sub/");
    EXPECT_EQ(ResourceRow(3), (ResourceRecord{3, "/in/sub/deep.pdf"}));
}

}  // namespace
}  // namespace orbel

namespace orbel {
namespace {

// On the machine's own file system: two creators in the same Object Store at once, each
// testing numbers and creating what it found free.
class StoreNumberRaceTest : public test::HeadlessTest {};

TEST_F(StoreNumberRaceTest, TwoCreatorsRacingNeverGetTheSameNumber) {
    const std::string store = (TempDir() / "store").string();
    ASSERT_TRUE(std::filesystem::create_directory(store));
    constexpr int kEach = 300;
    std::vector<std::string> made[2];
    auto creator = [&](int who) {
        for (int i = 0; i < kEach; ++i) made[who].push_back(NewStorePath(store, ".doc", true));
    };
    std::thread first(creator, 0);
    std::thread second(creator, 1);
    first.join();
    second.join();
    std::set<std::string> all(made[0].begin(), made[0].end());
    all.insert(made[1].begin(), made[1].end());
    EXPECT_EQ(all.size(), 2u * kEach);
    EXPECT_EQ(*all.rbegin(), StorePath(store, 2 * kEach, ".doc"));
    EXPECT_EQ(static_cast<int>(std::distance(std::filesystem::directory_iterator(store),
                                             std::filesystem::directory_iterator())),
              2 * kEach);
}

}  // namespace
}  // namespace orbel
