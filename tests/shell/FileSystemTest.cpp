// The file calls as the store files, templates, exports and script files use them, through the
// installed platform, with the error numbers and texts the system shows; and what only the
// machine's file system has: devices, every permission bit, the TMPDIR of the environment.
// What both file systems do alike is in tests/files.
#include <cerrno>

#include "platform/files/FileApi.h"
#include "tests/shell/ShellTestFiles.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

namespace fs = std::filesystem;
using platform::Disposition;
using platform::FileAccess;

class FileSystemTest : public test::HeadlessTest {
  protected:
    std::string At(const std::string& name) const { return (TempDir() / name).string(); }
};

TEST_F(FileSystemTest, DevicesAreRefusedWithoutReadingThem) {
    EXPECT_FALSE(CreateFile("/dev/zero", FileAccess::Read, Disposition::OpenExisting));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENXIO));
    EXPECT_FALSE(CopyFile("/dev/null", At("copy.xml"), true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENXIO));
    EXPECT_FALSE(fs::exists(At("copy.xml")));
}

TEST_F(FileSystemTest, CopyGivesTheTargetEveryPermissionBitOfTheSource) {
    test::WriteText(At("Templates/letter.odt"), "template", 0600);
    test::WriteText(At("000001.odt"), "old", 0664);
    EXPECT_TRUE(CopyFile(At("Templates/letter.odt"), At("000001.odt"), false));
    EXPECT_EQ(test::ReadText(At("000001.odt")), "template");
    EXPECT_EQ(fs::status(At("000001.odt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(FileSystemTest, AttributesAndErrorsInThePlatformsTerms) {
    test::WriteText(At("a.url"), "x");
    EXPECT_EQ(GetFileAttributes(At("a.url")), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributes(TempDir().string()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributes(At("missing")), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FormatSystemMessage(GetLastError()), "No such file or directory");
    ASSERT_TRUE(SetFileAttributes(At("a.url"), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributes(At("a.url")), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(SetFileAttributes(At("a.url"), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributes(At("a.url")), FILE_ATTRIBUTE_NORMAL);
    test::WriteText(At(".hidden"), "x");
    EXPECT_EQ(GetFileAttributes(At(".hidden")), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(CreateFile(At("a.url"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(FormatSystemMessage(GetLastError()), "File exists");
}

TEST_F(FileSystemTest, TempPathFollowsTheEnvironmentAndEndsWithTheSeparator) {
    {
        test::ScopedEnv tmp("TMPDIR", At("tmp"));
        EXPECT_EQ(GetTempPath(), At("tmp") + "/");
    }
    test::ScopedEnv relative("TMPDIR", "relative");
    EXPECT_EQ(GetTempPath(), "/tmp/");
}

TEST_F(FileSystemTest, FilesInMemoryTakeEveryCallAndShowInThePlatformsState) {
    auto& memory = P().UseMemoryFiles();
    memory.SetTime(1'700'000'000);
    auto file =
        CreateFile(GetTempPath() + "orbel-export.csv", FileAccess::Write, Disposition::CreateNew);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Write("a;b"));
    EXPECT_TRUE(CopyFile("/tmp/orbel-export.csv", "/tmp/copy.csv", true));
    EXPECT_FALSE(fs::exists("/tmp/orbel-export.csv"));
    EXPECT_EQ(GetFileAttributes(TempDir().string()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(P().Dump().find("files:\ncwd /\n/ dir 755"), std::string::npos) << P().Dump();
    EXPECT_NE(P().Dump().find("/tmp/copy.csv file 644 3 \"a;b\" @1700000000\n"), std::string::npos);
}

}  // namespace
}  // namespace orbel
