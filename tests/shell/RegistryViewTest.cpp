// The registry the control reads, on a small MIME database and templates folder made by each
// test: extension and type keys, ShellNew, default icons, the Templates shell folder, the hive
// overriding the view, and a stable enumeration order.
#include <optional>

#include "platform/registry/ClassesRoot.h"
#include "platform/registry/Registry.h"
#include "tests/shell/ShellTestFiles.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

namespace fs = std::filesystem;
using platform::RegRoot;
using platform::RegValue;

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class RegistryViewTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        home_ = TempDir() / "home";
        fs::create_directories(home_);
        homeEnv_.emplace("HOME", home_.string());
        dataDirsEnv_.emplace("XDG_DATA_DIRS", Sys(1).string() + ":" + Sys(2).string());

        test::WriteText(TempDir() / "data/mime/globs2",
                        "# made by the test\n"
                        "50:application/x-home-doc:*.hdc\n"
                        "50:text/x-override:*.ovr\n"
                        "40:application/x-blocked:__NOGLOBS__\n");
        test::WriteText(Sys(1) / "mime/globs2",
                        "50:text/plain:*.txt\n"
                        "50:application/vnd.oasis.opendocument.text:*.odt\n"
                        "50:text/x-c++src:*.C:cs\n"
                        "60:text/x-csrc:*.c:cs\n"
                        "50:application/x-sharedlib:*.so.[0-9]*\n"
                        "50:text/x-system-ovr:*.ovr\n"
                        "50:application/x-blocked:*.blk\n"
                        "50:image/png:*.png\n"
                        "not a glob line\n"
                        "50:../../etc:*.bad\n"
                        "50:text/html:*.HTM\r\n");
        test::WriteText(Sys(2) / "mime/globs2",
                        "50:application/x-late:*.odt\n"
                        "50:application/x-late:*.late\n");
        test::WriteText(Sys(1) / "mime/text/plain.xml",
                        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                        "<mime-type xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\""
                        " type=\"text/plain\">\n"
                        "  <!--Created automatically. <comment>not this</comment>-->\n"
                        "  <comment xml:lang=\"de\">Textdatei</comment>\n"
                        "  <comment>plain text &amp; notes</comment>\n"
                        "  <comment xml:lang=\"fr\">document texte</comment>\n"
                        "</mime-type>\n");
        test::WriteText(Sys(1) / "mime/application/vnd.oasis.opendocument.text.xml",
                        "<mime-type type='application/vnd.oasis.opendocument.text'>"
                        "<comment>ODF text document</comment>"
                        "<generic-icon name='x-office-document'/></mime-type>");
        test::WriteText(Sys(1) / "mime/icons", "image/png:image-png-custom\n");
        test::WriteText(Sys(1) / "mime/generic-icons", "text/x-csrc:text-x-script\n");

        test::WriteText(TempDir() / "config/user-dirs.dirs",
                        "# user folders\nXDG_TEMPLATES_DIR=\"$HOME/My Templates\"\n");
        const fs::path templates = home_ / "My Templates";
        test::WriteText(templates / "Letter.odt", "letter");
        test::WriteText(templates / "Another.odt", "another");
        test::WriteText(templates / "Sheet.ods", "sheet");
        test::WriteText(templates / "noext", "x");
        fs::create_directories(templates / "folder.odp");
    }
    void TearDown() override {
        dataDirsEnv_.reset();
        homeEnv_.reset();
        HeadlessTest::TearDown();
    }

    fs::path Sys(int n) const { return TempDir() / ("sys" + std::to_string(n)); }
    platform::Registry& Reg() { return P().Reg(); }
    std::optional<std::string> Text(RegRoot root, std::string_view key, std::string_view name) {
        auto value = Reg().QueryValue(root, key, name);
        if (!value) return std::nullopt;
        return value->text;
    }
    std::optional<std::string> Class(std::string_view key, std::string_view name = "") {
        return Text(RegRoot::ClassesRoot, key, name);
    }
    void WriteHive(const std::string& text) {
        test::WriteText(platform::RegistryHive::DefaultPath(),
                        "Windows Registry Editor Version 5.00\n\n" + text);
    }

    fs::path home_;
    std::optional<test::ScopedEnv> homeEnv_;
    std::optional<test::ScopedEnv> dataDirsEnv_;
};

TEST_F(RegistryViewTest, ExtensionKeysNameTheirMimeType) {
    EXPECT_EQ(Class(".odt"), "application/vnd.oasis.opendocument.text");
    EXPECT_EQ(Class(".txt"), "text/plain");
    EXPECT_EQ(Class(".png"), "image/png");
    EXPECT_EQ(Class(".htm"), "text/html");
    // ".c" and ".C" are one key here: the heavier glob decides.
    EXPECT_EQ(Class(".C"), "text/x-csrc");
    // The home folder comes first, and its __NOGLOBS__ removes the system's globs.
    EXPECT_EQ(Class(".hdc"), "application/x-home-doc");
    EXPECT_EQ(Class(".ovr"), "text/x-override");
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".blk"));
    // A later folder adds extensions but does not change earlier ones.
    EXPECT_EQ(Class(".late"), "application/x-late");
    // Globs with wildcards, and broken lines, make no keys.
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".so.[0-9]*"));
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".bad"));
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, "../../etc"));
}

TEST_F(RegistryViewTest, TypeKeysCarryTheCommentAndTheIcon) {
    EXPECT_EQ(Class("text/plain"), "plain text & notes");
    EXPECT_EQ(Class("application/vnd.oasis.opendocument.text"), "ODF text document");
    // No XML: the key is there without a description.
    EXPECT_TRUE(Reg().KeyExists(RegRoot::ClassesRoot, "image/png"));
    EXPECT_EQ(Class("image/png"), std::nullopt);

    EXPECT_EQ(Class("image/png\\DefaultIcon"), "image-png-custom,0");
    EXPECT_EQ(Class("APPLICATION/vnd.oasis.opendocument.text\\defaulticon"), "x-office-document,0");
    EXPECT_EQ(Class("text/x-csrc\\DefaultIcon"), "text-x-script,0");
    EXPECT_EQ(Class("application/x-home-doc\\DefaultIcon"), "application-x-generic,0");
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, "image/png\\DefaultIcon\\More"));
}

TEST_F(RegistryViewTest, ShellNewComesFromTheTemplatesFolderAndPlainTextIsEmpty) {
    const std::string templates = (home_ / "My Templates").string();
    EXPECT_EQ(Text(RegRoot::CurrentUser, kShellFolders, "Templates"), templates);
    EXPECT_EQ(Class(".odt\\ShellNew", "FileName"), "Another.odt");
    EXPECT_EQ(Class(".odt\\ShellNew", "NullFile"), std::nullopt);
    EXPECT_EQ(Class(".txt\\ShellNew", "NullFile"), "");
    // A template of an extension the database does not know: the key has no type.
    EXPECT_EQ(Class(".ods\\ShellNew", "FileName"), "Sheet.ods");
    EXPECT_EQ(Class(".ods"), std::nullopt);
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".png\\ShellNew"));
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".odp"));
}

TEST_F(RegistryViewTest, APlainTextTemplateReplacesTheEmptyFile) {
    test::WriteText(home_ / "My Templates" / "Note.txt", "Dear ...");
    EXPECT_EQ(Class(".txt\\ShellNew", "FileName"), "Note.txt");
    EXPECT_EQ(Class(".txt\\ShellNew", "NullFile"), std::nullopt);
}

TEST_F(RegistryViewTest, TemplatesFolderDefaultsAndCanBeTurnedOff) {
    fs::remove(TempDir() / "config/user-dirs.dirs");
    EXPECT_EQ(Text(RegRoot::CurrentUser, kShellFolders, "Templates"),
              (home_ / "Templates").string());
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".odt\\ShellNew"));

    test::WriteText(TempDir() / "config/user-dirs.dirs", "XDG_TEMPLATES_DIR=\"$HOME/\"\n");
    test::WriteText(home_ / "stray.odt", "x");
    EXPECT_EQ(Text(RegRoot::CurrentUser, kShellFolders, "Templates"), home_.string());
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".odt\\ShellNew"));
    EXPECT_EQ(Class(".txt\\ShellNew", "NullFile"), "");
}

TEST_F(RegistryViewTest, TheShellFoldersPathIsTheOnlyOneUnderTheCurrentUser) {
    EXPECT_TRUE(Reg().KeyExists(RegRoot::CurrentUser, "software\\MICROSOFT\\windows"));
    EXPECT_EQ(Reg().EnumKeys(RegRoot::CurrentUser, "Software\\Microsoft\\Windows"),
              std::vector<std::string>{"CurrentVersion"});
    EXPECT_FALSE(Reg().KeyExists(RegRoot::CurrentUser, "Software\\Other"));
    EXPECT_FALSE(Reg().KeyExists(RegRoot::LocalMachine, "Software\\Microsoft"));
}

TEST_F(RegistryViewTest, HiveKeysOverrideTheViewAndAddTheirSubkeys) {
    WriteHive(
        "[HKEY_CLASSES_ROOT\\.odt]\n@=\"Writer.Document\"\n\n"
        "[HKEY_CLASSES_ROOT\\.odt\\Writer.Document\\ShellNew]\n\"Command\"=\"writer --new\"\n\n"
        "[HKEY_CLASSES_ROOT\\.txt\\ShellNew]\n\"FileName\"=\"mine.txt\"\n\n"
        "[HKEY_CLASSES_ROOT\\CLSID]\n");
    EXPECT_EQ(Class(".odt"), "Writer.Document");
    EXPECT_EQ(Reg().EnumKeys(RegRoot::ClassesRoot, ".odt"),
              (std::vector<std::string>{"ShellNew", "Writer.Document"}));
    EXPECT_EQ(Class(".odt\\Writer.Document\\ShellNew", "Command"), "writer --new");
    // A hive key's values replace the view's: the view's NullFile is gone.
    EXPECT_EQ(Class(".txt\\ShellNew", "NullFile"), std::nullopt);
    EXPECT_EQ(Class(".txt\\ShellNew", "FileName"), "mine.txt");
    EXPECT_EQ(Reg().Values(RegRoot::ClassesRoot, ".txt\\ShellNew")->size(), 1u);
    // Untouched view keys stay.
    EXPECT_EQ(Class(".png"), "image/png");
}

TEST_F(RegistryViewTest, EnumerationIsSortedWithoutCaseAndTheSameEachTime) {
    WriteHive("[HKEY_CLASSES_ROOT\\CLSID]\n\n[HKEY_CLASSES_ROOT\\.Zip]\n@=\"zip\"\n");
    RegKey root;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "", root), ERROR_SUCCESS);
    std::vector<std::string> names;
    std::string name;
    for (DWORD i = 0; RegEnumKey(root, i, name) == ERROR_SUCCESS; ++i) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         ".c", ".hdc", ".HTM", ".late", ".ods", ".odt", ".ovr", ".png", ".txt",
                         ".Zip", "application/vnd.oasis.opendocument.text",
                         "application/x-home-doc", "application/x-late", "CLSID", "image/png",
                         "text/html", "text/plain", "text/x-csrc", "text/x-override"}));
    EXPECT_EQ(RegEnumKey(root, static_cast<DWORD>(names.size()), name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(Reg().EnumKeys(RegRoot::ClassesRoot, ""), names);
    EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
    EXPECT_EQ(RegEnumKey(root, 0, name), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryViewTest, KeysOpenBelowOpenKeysAndMissingOnesDoNot) {
    RegKey ext;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, ".ODT", ext), ERROR_SUCCESS);
    RegKey shellNew;
    ASSERT_EQ(shellNew.Open(ext, "ShellNew"), ERROR_SUCCESS);
    EXPECT_EQ(shellNew.SubKey(), ".ODT\\ShellNew");
    EXPECT_TRUE(shellNew.HasValue("FileName"));
    EXPECT_FALSE(shellNew.HasValue("Command"));
    std::string text;
    DWORD type = REG_NONE;
    EXPECT_EQ(RegQueryValueEx(shellNew, "filename", text, &type), ERROR_SUCCESS);
    EXPECT_EQ(text, "Another.odt");
    EXPECT_EQ(type, REG_SZ);

    RegKey missing;
    EXPECT_EQ(missing.Open(ext, "Nothing"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(missing.IsOpen());
    for (const char* bad : {".odt\\\\ShellNew", "\\.odt", ".odt\\", ".odt\nx"}) {
        EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, bad, missing), ERROR_FILE_NOT_FOUND) << bad;
    }
}

TEST_F(RegistryViewTest, ChangedSourcesGiveAFreshView) {
    EXPECT_EQ(Class(".late"), "application/x-late");
    test::ScopedEnv onlyOne("XDG_DATA_DIRS", Sys(1).string());
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".late"));

    test::WriteText(home_ / "My Templates" / "Deck.png", "x");
    EXPECT_EQ(Class(".png\\ShellNew", "FileName"), "Deck.png");

    test::WriteText(TempDir() / "data/mime/globs2", "50:application/x-new:*.new\n");
    EXPECT_EQ(Class(".new"), "application/x-new");
    EXPECT_FALSE(Reg().KeyExists(RegRoot::ClassesRoot, ".hdc"));
}

TEST_F(RegistryViewTest, HiveChangesOnDiskAreSeenAndABrokenHiveLeavesTheView) {
    WriteHive("[HKEY_CLASSES_ROOT\\.odt]\n@=\"One\"\n");
    EXPECT_EQ(Class(".odt"), "One");
    WriteHive("[HKEY_CLASSES_ROOT\\.odt]\n@=\"Two, a longer value\"\n");
    EXPECT_EQ(Class(".odt"), "Two, a longer value");

    test::WriteText(platform::RegistryHive::DefaultPath(), "not a hive\n");
    EXPECT_EQ(Class(".odt"), "application/vnd.oasis.opendocument.text");
    EXPECT_FALSE(Reg().HiveError().empty());
}

TEST(MimeTypeXml, TakesTheUntranslatedCommentAndTheIcons) {
    const auto xml = platform::ParseMimeTypeXml(
        "<mime-type type=\"a/b\"><!-- <comment>no</comment> -->"
        "<comment xml:lang='de'>Nein</comment><comment>R&amp;D &lt;notes&gt; &#233;&#x4e2d;"
        "</comment><comment>second</comment>"
        "<icon name=\"a-b\"/><generic-icon name='x-generic' /></mime-type>");
    EXPECT_EQ(xml.comment, "R&D <notes> \xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(xml.icon, "a-b");
    EXPECT_EQ(xml.genericIcon, "x-generic");
    // Broken text gives what could be read, and nothing else.
    EXPECT_EQ(platform::ParseMimeTypeXml("<comment>open").comment, "");
    EXPECT_EQ(platform::ParseMimeTypeXml("<icon name=>").icon, "");
}

}  // namespace
}  // namespace orbel
