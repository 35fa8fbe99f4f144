// The file calls as the store files, templates, exports and script files use them, through the
// installed platform, with the error numbers and texts the system shows.
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <map>

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

TEST_F(FileSystemTest, ExclusiveCreateRefusesAnExistingFileAndSaysWhy) {
    auto first = CreateFile(At("000001.doc"), FileAccess::Write, Disposition::CreateNew);
    ASSERT_TRUE(first);
    ASSERT_TRUE(first->Write("abc"));
    EXPECT_FALSE(CreateFile(At("000001.doc"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EEXIST));
    EXPECT_EQ(FormatSystemMessage(GetLastError()), "File exists");
}

TEST_F(FileSystemTest, ExclusiveCreateNeverWritesThroughASymbolicLink) {
    // A link planted at a name in a shared temporary folder must not redirect the write,
    // whether its target exists yet or not.
    fs::create_symlink(At("victim.txt"), At("dangling.xml"));
    EXPECT_FALSE(CreateFile(At("dangling.xml"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EEXIST));
    EXPECT_FALSE(fs::exists(At("victim.txt")));

    test::WriteText(At("victim.txt"), "precious");
    EXPECT_FALSE(CreateFile(At("dangling.xml"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(test::ReadText(At("victim.txt")), "precious");
}

TEST_F(FileSystemTest, DispositionsTruncateOnlyWhenAskedTo) {
    test::WriteText(At("a.rcs"), "keep");
    EXPECT_TRUE(CreateFile(At("a.rcs"), FileAccess::ReadWrite, Disposition::OpenAlways));
    EXPECT_EQ(test::ReadText(At("a.rcs")), "keep");
    EXPECT_TRUE(CreateFile(At("new.rcs"), FileAccess::ReadWrite, Disposition::OpenAlways));
    EXPECT_TRUE(fs::exists(At("new.rcs")));
    EXPECT_TRUE(CreateFile(At("a.rcs"), FileAccess::Write, Disposition::CreateAlways));
    EXPECT_EQ(test::ReadText(At("a.rcs")), "");
    EXPECT_FALSE(CreateFile(At("gone.rcs"), FileAccess::Read, Disposition::OpenExisting));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
    // A folder is not a file to open.
    EXPECT_FALSE(CreateFile(TempDir().string(), FileAccess::Read, Disposition::OpenExisting));
}

TEST_F(FileSystemTest, PipesAndDevicesAreRefusedWithoutWaitingForThem) {
    // A named pipe with nobody at its other end blocked the open for good.
    ASSERT_EQ(::mkfifo(At("feed.xml").c_str(), 0600), 0);
    EXPECT_FALSE(CreateFile(At("feed.xml"), FileAccess::Read, Disposition::OpenExisting));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENXIO));
    EXPECT_FALSE(CreateFile(At("feed.xml"), FileAccess::Write, Disposition::CreateAlways));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENXIO));
    EXPECT_FALSE(CreateFile("/dev/zero", FileAccess::Read, Disposition::OpenExisting));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENXIO));

    EXPECT_FALSE(CopyFile(At("feed.xml"), At("copy.xml"), true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENXIO));
    EXPECT_FALSE(CopyFile("/dev/null", At("copy.xml"), true));
    EXPECT_FALSE(fs::exists(At("copy.xml")));
    test::WriteText(At("a.doc"), "x");
    EXPECT_FALSE(CopyFile(At("a.doc"), At("feed.xml"), false));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENXIO));
}

TEST_F(FileSystemTest, BlockReadsReturnTheBytesThenZeroAtTheEnd) {
    std::string data(10000, 'x');
    data[4095] = '\0';
    data[9999] = 'z';
    test::WriteText(At("in.xml"), data);
    auto in = CreateFile(At("in.xml"), FileAccess::Read, Disposition::OpenExisting);
    ASSERT_TRUE(in);
    std::string back;
    std::array<std::byte, 4096> block{};
    for (;;) {
        const auto n = in->Read(block);
        ASSERT_TRUE(n);
        if (*n == 0) break;
        back.append(reinterpret_cast<const char*>(block.data()), *n);
    }
    EXPECT_EQ(back, data);
    ASSERT_TRUE(in->SeekToStart());
    EXPECT_EQ(in->Read(block), 4096u);
}

TEST_F(FileSystemTest, CopyOverwritesUnlessToldNotTo) {
    test::WriteText(At("Templates/letter.odt"), "template", 0600);
    test::WriteText(At("000001.odt"), "old");
    EXPECT_FALSE(CopyFile(At("Templates/letter.odt"), At("000001.odt"), true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EEXIST));
    EXPECT_EQ(test::ReadText(At("000001.odt")), "old");
    EXPECT_TRUE(CopyFile(At("Templates/letter.odt"), At("000001.odt"), false));
    EXPECT_EQ(test::ReadText(At("000001.odt")), "template");
    EXPECT_EQ(fs::status(At("000001.odt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_FALSE(CopyFile(At("Templates/missing.odt"), At("x.odt"), false));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
    EXPECT_EQ(FormatSystemMessage(GetLastError()), "No such file or directory");
    EXPECT_FALSE(fs::exists(At("x.odt")));
}

TEST_F(FileSystemTest, DeleteReportsTheSystemError) {
    test::WriteText(At("a.doc"), "x");
    EXPECT_TRUE(DeleteFile(At("a.doc")));
    EXPECT_FALSE(fs::exists(At("a.doc")));
    EXPECT_FALSE(DeleteFile(At("a.doc")));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
    fs::create_directories(At("sub"));
    EXPECT_FALSE(DeleteFile(At("sub")));
}

TEST_F(FileSystemTest, AttributesTellFoldersReadOnlyAndMissing) {
    test::WriteText(At("a.url"), "x");
    EXPECT_EQ(GetFileAttributes(At("a.url")), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributes(TempDir().string()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributes(At("missing")), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributes(""), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(SetFileAttributes(At("a.url"), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributes(At("a.url")), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(SetFileAttributes(At("a.url"), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributes(At("a.url")), FILE_ATTRIBUTE_NORMAL);
    test::WriteText(At(".hidden"), "x");
    EXPECT_EQ(GetFileAttributes(At(".hidden")), FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(FileSystemTest, FindListsEntriesWithoutDotsAndFiltersByPattern) {
    test::WriteText(At("dir/a.doc"), "1");
    test::WriteText(At("dir/b.txt"), "22");
    test::WriteText(At("dir/noext"), "");
    fs::create_directories(At("dir/sub"));
    auto all = FindFiles(At("dir"), "*.*");
    ASSERT_TRUE(all);
    std::map<std::string, bool> seen;
    for (const auto& entry : *all) seen[entry.name] = entry.info.directory;
    EXPECT_EQ(seen, (std::map<std::string, bool>{
                        {"a.doc", false}, {"b.txt", false}, {"noext", false}, {"sub", true}}));
    auto text = FindFiles(At("dir"), "*.txt");
    ASSERT_TRUE(text);
    ASSERT_EQ(text->size(), 1u);
    EXPECT_EQ((*text)[0].info.size, 2u);
    EXPECT_FALSE(FindFiles(At("missing"), "*.*"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
}

TEST_F(FileSystemTest, CurrentDirectoryChangesAndFailuresKeepTheOldOne) {
    const std::string before = GetCurrentDirectory();
    ASSERT_TRUE(SetCurrentDirectory(TempDir().string()));
    EXPECT_EQ(GetCurrentDirectory(), fs::canonical(TempDir()).string());
    EXPECT_FALSE(SetCurrentDirectory(At("missing")));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
    EXPECT_EQ(GetCurrentDirectory(), fs::canonical(TempDir()).string());
    ASSERT_TRUE(SetCurrentDirectory(before));
}

TEST_F(FileSystemTest, TempPathEndsWithTheSeparator) {
    {
        test::ScopedEnv tmp("TMPDIR", At("tmp"));
        EXPECT_EQ(GetTempPath(), At("tmp") + "/");
    }
    test::ScopedEnv relative("TMPDIR", "relative");
    EXPECT_EQ(GetTempPath(), "/tmp/");
}

}  // namespace
}  // namespace orbel
