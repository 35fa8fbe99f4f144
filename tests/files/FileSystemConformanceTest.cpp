// One suite over both file systems, the machine's (in a temporary folder) and the one in
// memory: a case that passes on one and fails on the other is a fault in one of them. A failing
// case prints the whole state of the file system it ran on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <map>

#include "platform/files/MemoryFileSystem.h"
#include "platform/files/PosixFileSystem.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

namespace fs = std::filesystem;
using platform::Disposition;
using platform::FileAccess;
using platform::LastErrorCode;

class PosixFiles {
  public:
    PosixFiles() : root_(fs::canonical(test::MakeTempDir("orbel-files"))) {}
    ~PosixFiles() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    platform::FileSystem& Files() { return files_; }
    std::string Root() const { return root_.string(); }
    void PlantLink(const std::string& target, const std::string& at) {
        fs::create_symlink(target, at);
    }
    void PlantSpecial(const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }
    // The superuser writes to read-only files all the same.
    static bool ChecksPermissions() { return ::geteuid() != 0; }
    std::string Dump() const {
        std::string out;
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            out += entry.path().string() + (entry.is_directory() ? "/" : "") + "\n";
        return out;
    }

  private:
    fs::path root_;
    platform::PosixFileSystem files_;
};

class MemoryFiles {
  public:
    MemoryFiles() {
        files_.SetTime(1'700'000'000);
        files_.CreateDirectory(Root());
    }
    platform::FileSystem& Files() { return files_; }
    static std::string Root() { return "/tmp/work"; }
    void PlantLink(const std::string& target, const std::string& at) {
        ASSERT_TRUE(files_.CreateSymbolicLink(target, at));
    }
    void PlantSpecial(const std::string& path) { ASSERT_TRUE(files_.CreateSpecialFile(path)); }
    static bool ChecksPermissions() { return true; }
    std::string Dump() const { return files_.Dump(); }

  private:
    platform::MemoryFileSystem files_;
};

template <typename Backend>
class FileSystemConformance : public ::testing::Test {
  protected:
    void TearDown() override {
        if (HasFailure()) std::cerr << "file system state:\n" << backend_.Dump();
    }

    platform::FileSystem& Files() { return backend_.Files(); }
    Backend& Backing() { return backend_; }
    std::string At(const std::string& name) const { return backend_.Root() + "/" + name; }

    void Write(const std::string& name, std::string_view text) {
        auto file = Files().Open(At(name), FileAccess::Write, Disposition::CreateAlways);
        ASSERT_TRUE(file) << name;
        ASSERT_TRUE(file->Write(text));
    }
    // The whole file, or "<errno>" when it does not open or read.
    std::string Read(const std::string& name) {
        auto file = Files().Open(At(name), FileAccess::Read, Disposition::OpenExisting);
        if (!file) return "<" + std::to_string(LastErrorCode()) + ">";
        return ReadAll(*file);
    }
    static std::string ReadAll(platform::File& file) {
        std::string out;
        std::array<std::byte, 4096> block{};
        for (;;) {
            const auto n = file.Read(block);
            if (!n) return "<" + std::to_string(LastErrorCode()) + ">";
            if (*n == 0) return out;
            out.append(reinterpret_cast<const char*>(block.data()), *n);
        }
    }
    // The error a failed call left, checked right after it.
    static int Error() { return LastErrorCode(); }

  private:
    Backend backend_;
};

using Backends = ::testing::Types<PosixFiles, MemoryFiles>;
class BackendNames {
  public:
    template <typename T>
    static std::string GetName(int) {
        return std::is_same_v<T, PosixFiles> ? "Posix" : "Memory";
    }
};
TYPED_TEST_SUITE(FileSystemConformance, Backends, BackendNames);

TYPED_TEST(FileSystemConformance, ExclusiveCreateRefusesAnythingAtTheName) {
    auto& files = this->Files();
    auto first = files.Open(this->At("000001.doc"), FileAccess::Write, Disposition::CreateNew);
    ASSERT_TRUE(first);
    ASSERT_TRUE(first->Write("abc"));
    EXPECT_FALSE(files.Open(this->At("000001.doc"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(this->Error(), EEXIST);
    ASSERT_TRUE(files.CreateDirectory(this->At("sub")));
    EXPECT_FALSE(files.Open(this->At("sub"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(this->Error(), EEXIST);

    // A link planted at the name must not redirect the write, whether its target exists or not.
    this->Backing().PlantLink(this->At("victim.txt"), this->At("dangling.xml"));
    EXPECT_FALSE(files.Open(this->At("dangling.xml"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(this->Error(), EEXIST);
    EXPECT_FALSE(files.Exists(this->At("victim.txt")));
    this->Write("victim.txt", "precious");
    EXPECT_FALSE(files.Open(this->At("dangling.xml"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(this->Read("victim.txt"), "precious");
}

TYPED_TEST(FileSystemConformance, DispositionsTruncateOnlyWhenAskedTo) {
    auto& files = this->Files();
    this->Write("a.rcs", "keep");
    EXPECT_TRUE(files.Open(this->At("a.rcs"), FileAccess::ReadWrite, Disposition::OpenAlways));
    EXPECT_EQ(this->Read("a.rcs"), "keep");
    EXPECT_TRUE(files.Open(this->At("new.rcs"), FileAccess::Read, Disposition::OpenAlways));
    EXPECT_EQ(this->Read("new.rcs"), "");
    EXPECT_TRUE(files.Open(this->At("a.rcs"), FileAccess::Write, Disposition::CreateAlways));
    EXPECT_EQ(this->Read("a.rcs"), "");

    EXPECT_FALSE(files.Open(this->At("gone.rcs"), FileAccess::Read, Disposition::OpenExisting));
    EXPECT_EQ(this->Error(), ENOENT);
    EXPECT_FALSE(files.Exists(this->At("gone.rcs")));
    EXPECT_FALSE(files.Open(this->At("no/such.rcs"), FileAccess::Write, Disposition::OpenAlways));
    EXPECT_EQ(this->Error(), ENOENT);
    EXPECT_FALSE(files.Open(this->At("a.rcs/x"), FileAccess::Write, Disposition::CreateAlways));
    EXPECT_EQ(this->Error(), ENOTDIR);

    // Any other open goes through a link, to an existing target or to make a missing one.
    this->Write("target.txt", "old");
    this->Backing().PlantLink("target.txt", this->At("link.txt"));
    this->Backing().PlantLink(this->At("made.txt"), this->At("ahead.txt"));
    EXPECT_EQ(this->Read("link.txt"), "old");
    this->Write("link.txt", "new");
    this->Write("ahead.txt", "made");
    EXPECT_EQ(this->Read("target.txt"), "new");
    EXPECT_EQ(this->Read("made.txt"), "made");
}

TYPED_TEST(FileSystemConformance, FoldersAndSpecialFilesNeverOpen) {
    auto& files = this->Files();
    ASSERT_TRUE(files.CreateDirectory(this->At("sub")));
    EXPECT_FALSE(files.Open(this->At("sub"), FileAccess::Read, Disposition::OpenExisting));
    EXPECT_EQ(this->Error(), EISDIR);
    EXPECT_FALSE(files.Open(this->At("sub"), FileAccess::Write, Disposition::OpenAlways));
    EXPECT_EQ(this->Error(), EISDIR);

    this->Backing().PlantSpecial(this->At("feed.xml"));
    EXPECT_FALSE(files.Open(this->At("feed.xml"), FileAccess::Read, Disposition::OpenExisting));
    EXPECT_EQ(this->Error(), ENXIO);
    EXPECT_FALSE(files.Open(this->At("feed.xml"), FileAccess::Write, Disposition::CreateAlways));
    EXPECT_EQ(this->Error(), ENXIO);
    EXPECT_FALSE(files.Copy(this->At("feed.xml"), this->At("copy.xml"), true));
    EXPECT_EQ(this->Error(), ENXIO);
    EXPECT_FALSE(files.Exists(this->At("copy.xml")));
    this->Write("a.doc", "x");
    EXPECT_FALSE(files.Copy(this->At("a.doc"), this->At("feed.xml"), false));
    EXPECT_EQ(this->Error(), ENXIO);
    EXPECT_FALSE(files.Copy(this->At("sub"), this->At("copy.xml"), false));
    EXPECT_EQ(this->Error(), EISDIR);
}

TYPED_TEST(FileSystemConformance, ReadsAndWritesMoveThroughTheFile) {
    auto& files = this->Files();
    std::string data(10000, 'x');
    data[4095] = '\0';
    data[9999] = 'z';
    this->Write("in.xml", data);
    auto in = files.Open(this->At("in.xml"), FileAccess::ReadWrite, Disposition::OpenExisting);
    ASSERT_TRUE(in);
    EXPECT_EQ(this->ReadAll(*in), data);
    std::array<std::byte, 4096> block{};
    EXPECT_EQ(in->Read(block), 0u);
    ASSERT_TRUE(in->SeekToStart());
    EXPECT_EQ(in->Read(block), 4096u);
    // A write goes where the reads stopped and keeps the bytes after it.
    ASSERT_TRUE(in->Write("AB"));
    ASSERT_TRUE(in->SeekToStart());
    EXPECT_EQ(this->ReadAll(*in).substr(4094, 5), std::string("x\0ABx", 5));

    // An open file stays readable when its name goes.
    ASSERT_TRUE(in->SeekToStart());
    ASSERT_TRUE(files.Delete(this->At("in.xml")));
    EXPECT_EQ(this->ReadAll(*in).size(), data.size());

    auto readOnly = files.Open(this->At("r.txt"), FileAccess::Read, Disposition::OpenAlways);
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(readOnly->Write("x"));
    EXPECT_EQ(this->Error(), EBADF);
    auto writeOnly = files.Open(this->At("r.txt"), FileAccess::Write, Disposition::OpenExisting);
    ASSERT_TRUE(writeOnly);
    EXPECT_FALSE(writeOnly->Read(block));
    EXPECT_EQ(this->Error(), EBADF);
}

TYPED_TEST(FileSystemConformance, CopyOverwritesUnlessToldNotTo) {
    auto& files = this->Files();
    ASSERT_TRUE(files.CreateDirectory(this->At("Templates")));
    this->Write("Templates/letter.odt", "template");
    this->Write("000001.odt", "old");
    EXPECT_FALSE(files.Copy(this->At("Templates/letter.odt"), this->At("000001.odt"), true));
    EXPECT_EQ(this->Error(), EEXIST);
    EXPECT_EQ(this->Read("000001.odt"), "old");
    EXPECT_TRUE(files.Copy(this->At("Templates/letter.odt"), this->At("000001.odt"), false));
    EXPECT_EQ(this->Read("000001.odt"), "template");
    EXPECT_TRUE(files.Copy(this->At("Templates/letter.odt"), this->At("000002.odt"), true));
    EXPECT_EQ(this->Read("000002.odt"), "template");

    ASSERT_TRUE(files.SetReadOnly(this->At("Templates/letter.odt"), true));
    EXPECT_TRUE(files.Copy(this->At("Templates/letter.odt"), this->At("000003.odt"), true));
    EXPECT_TRUE(files.Attributes(this->At("000003.odt"))->readOnly);

    EXPECT_FALSE(files.Copy(this->At("Templates/missing.odt"), this->At("x.odt"), false));
    EXPECT_EQ(this->Error(), ENOENT);
    EXPECT_FALSE(files.Exists(this->At("x.odt")));
}

TYPED_TEST(FileSystemConformance, DeleteRemovesFilesAndLinksButNotFolders) {
    auto& files = this->Files();
    this->Write("a.doc", "x");
    this->Backing().PlantLink(this->At("a.doc"), this->At("link.doc"));
    EXPECT_TRUE(files.Delete(this->At("link.doc")));
    EXPECT_EQ(this->Read("a.doc"), "x");
    EXPECT_TRUE(files.Delete(this->At("a.doc")));
    EXPECT_FALSE(files.Exists(this->At("a.doc")));
    EXPECT_FALSE(files.Delete(this->At("a.doc")));
    EXPECT_EQ(this->Error(), ENOENT);
    ASSERT_TRUE(files.CreateDirectory(this->At("sub")));
    EXPECT_FALSE(files.Delete(this->At("sub")));
    EXPECT_EQ(this->Error(), EISDIR);
    EXPECT_TRUE(files.Exists(this->At("sub")));
}

TYPED_TEST(FileSystemConformance, AttributesTellFoldersReadOnlyHiddenSizeAndMissing) {
    auto& files = this->Files();
    this->Write("a.url", "12345");
    const auto file = files.Attributes(this->At("a.url"));
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->directory || file->readOnly || file->hidden);
    EXPECT_EQ(file->size, 5u);
    EXPECT_GT(file->modified, 1'000'000'000);
    const auto folder = files.Attributes(this->At("."));
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->directory);
    EXPECT_EQ(folder->size, 0u);

    ASSERT_TRUE(files.SetReadOnly(this->At("a.url"), true));
    EXPECT_TRUE(files.Attributes(this->At("a.url"))->readOnly);
    ASSERT_TRUE(files.SetReadOnly(this->At("a.url"), false));
    EXPECT_FALSE(files.Attributes(this->At("a.url"))->readOnly);
    this->Write(".hidden", "");
    EXPECT_TRUE(files.Attributes(this->At(".hidden"))->hidden);

    for (const std::string& missing :
         {this->At("missing"), std::string(), this->At("a.url") + std::string(1, '\0'),
          this->At("no/a.url")}) {
        SCOPED_TRACE(missing);
        EXPECT_FALSE(files.Attributes(missing));
        EXPECT_EQ(this->Error(), ENOENT);
    }
    EXPECT_FALSE(files.Attributes(this->At("a.url/")));
    EXPECT_EQ(this->Error(), ENOTDIR);
    EXPECT_FALSE(files.SetReadOnly(this->At("missing"), true));
    EXPECT_EQ(this->Error(), ENOENT);
    this->Backing().PlantLink("missing", this->At("dangling"));
    EXPECT_FALSE(files.Attributes(this->At("dangling")));
    EXPECT_EQ(this->Error(), ENOENT);
    this->Backing().PlantLink("loop", this->At("loop"));
    EXPECT_FALSE(files.Attributes(this->At("loop")));
    EXPECT_EQ(this->Error(), ELOOP);
}

TYPED_TEST(FileSystemConformance, ReadOnlyFilesAndFoldersRefuseChanges) {
    if (!TypeParam::ChecksPermissions()) GTEST_SKIP() << "the superuser's writes are never refused";
    auto& files = this->Files();
    this->Write("a.doc", "kept");
    ASSERT_TRUE(files.SetReadOnly(this->At("a.doc"), true));
    EXPECT_FALSE(files.Open(this->At("a.doc"), FileAccess::Write, Disposition::CreateAlways));
    EXPECT_EQ(this->Error(), EACCES);
    EXPECT_EQ(this->Read("a.doc"), "kept");
    this->Write("b.doc", "old");
    EXPECT_TRUE(files.Copy(this->At("a.doc"), this->At("b.doc"), false));
    EXPECT_FALSE(files.Copy(this->At("b.doc"), this->At("a.doc"), false));
    EXPECT_EQ(this->Error(), EACCES);

    ASSERT_TRUE(files.CreateDirectory(this->At("sealed")));
    this->Write("sealed/in.doc", "x");
    ASSERT_TRUE(files.SetReadOnly(this->At("sealed"), true));
    EXPECT_FALSE(files.Delete(this->At("sealed/in.doc")));
    EXPECT_EQ(this->Error(), EACCES);
    EXPECT_FALSE(files.Open(this->At("sealed/new.doc"), FileAccess::Write, Disposition::CreateNew));
    EXPECT_EQ(this->Error(), EACCES);
    ASSERT_TRUE(files.SetReadOnly(this->At("sealed"), false));
    EXPECT_TRUE(files.Delete(this->At("sealed/in.doc")));
}

TYPED_TEST(FileSystemConformance, CreateDirectoryNeedsItsParentAndAFreeName) {
    auto& files = this->Files();
    EXPECT_TRUE(files.CreateDirectory(this->At("a")));
    EXPECT_TRUE(files.CreateDirectory(this->At("a/b/")));
    EXPECT_TRUE(files.Attributes(this->At("a/b"))->directory);
    EXPECT_FALSE(files.CreateDirectory(this->At("a")));
    EXPECT_EQ(this->Error(), EEXIST);
    EXPECT_FALSE(files.CreateDirectory(this->At("x/y")));
    EXPECT_EQ(this->Error(), ENOENT);
    this->Write("f", "");
    EXPECT_FALSE(files.CreateDirectory(this->At("f")));
    EXPECT_EQ(this->Error(), EEXIST);
    EXPECT_FALSE(files.CreateDirectory(this->At("f/g")));
    EXPECT_EQ(this->Error(), ENOTDIR);
    // Paths through "." and ".." and a link to a folder reach the same place.
    this->Backing().PlantLink(this->At("a/b"), this->At("ab"));
    this->Write("ab/../b/./c.doc", "via");
    EXPECT_EQ(this->Read("a/b/c.doc"), "via");
}

TYPED_TEST(FileSystemConformance, FindListsEntriesWithoutDotsAndFiltersByPattern) {
    auto& files = this->Files();
    ASSERT_TRUE(files.CreateDirectory(this->At("dir")));
    ASSERT_TRUE(files.CreateDirectory(this->At("dir/sub")));
    this->Write("dir/a.doc", "1");
    this->Write("dir/b.txt", "22");
    this->Write("dir/noext", "");
    this->Write("dir/.x.txt", "333");
    this->Backing().PlantLink("sub", this->At("dir/tosub"));
    this->Backing().PlantLink("nowhere", this->At("dir/dangling"));
    auto all = files.Find(this->At("dir"), "*.*");
    ASSERT_TRUE(all);
    std::map<std::string, std::pair<bool, std::uint64_t>> seen;
    for (const auto& entry : *all) seen[entry.name] = {entry.info.directory, entry.info.size};
    EXPECT_EQ(seen, (std::map<std::string, std::pair<bool, std::uint64_t>>{{".x.txt", {false, 3}},
                                                                           {"a.doc", {false, 1}},
                                                                           {"b.txt", {false, 2}},
                                                                           {"dangling", {false, 7}},
                                                                           {"noext", {false, 0}},
                                                                           {"sub", {true, 0}},
                                                                           {"tosub", {true, 0}}}));
    EXPECT_EQ(files.Find(this->At("dir"), "*")->size(), 7u);

    // A glob never matches a leading dot.
    auto text = files.Find(this->At("dir"), "*.txt");
    ASSERT_TRUE(text);
    ASSERT_EQ(text->size(), 1u);
    EXPECT_EQ((*text)[0].name, "b.txt");
    EXPECT_FALSE((*text)[0].info.hidden);
    EXPECT_EQ(files.Find(this->At("dir"), "?.*")->size(), 2u);
    EXPECT_TRUE(files.Find(this->At("dir/sub"), "*.*")->empty());

    EXPECT_FALSE(files.Find(this->At("missing"), "*.*"));
    EXPECT_EQ(this->Error(), ENOENT);
    EXPECT_FALSE(files.Find(this->At("dir/a.doc"), "*.*"));
    EXPECT_EQ(this->Error(), ENOTDIR);
}

TYPED_TEST(FileSystemConformance, RelativePathsFollowTheCurrentDirectory) {
    auto& files = this->Files();
    const std::string before = files.CurrentDirectory();
    ASSERT_TRUE(files.CreateDirectory(this->At("work")));
    ASSERT_TRUE(files.SetCurrentDirectory(this->At("work")));
    EXPECT_EQ(files.CurrentDirectory(), this->At("work"));
    ASSERT_TRUE(files.Open("here.doc", FileAccess::Write, Disposition::CreateNew));
    EXPECT_TRUE(files.Exists(this->At("work/here.doc")));
    ASSERT_TRUE(files.Open("../up.doc", FileAccess::Write, Disposition::CreateNew));
    EXPECT_TRUE(files.Exists(this->At("up.doc")));

    EXPECT_FALSE(files.SetCurrentDirectory(this->At("missing")));
    EXPECT_EQ(this->Error(), ENOENT);
    EXPECT_FALSE(files.SetCurrentDirectory(this->At("up.doc")));
    EXPECT_EQ(this->Error(), ENOTDIR);
    EXPECT_EQ(files.CurrentDirectory(), this->At("work"));
    ASSERT_TRUE(files.SetCurrentDirectory(".."));
    EXPECT_EQ(files.CurrentDirectory(), this->Backing().Root());
    ASSERT_TRUE(files.SetCurrentDirectory(before));
}

TYPED_TEST(FileSystemConformance, TheTemporaryFolderTakesFiles) {
    auto& files = this->Files();
    const std::string temp = files.TempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '/');
    const auto info = files.Attributes(temp);
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->directory);
    EXPECT_FALSE(info->readOnly);
}

}  // namespace
}  // namespace orbel
