#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/profile/Profile.h"
#include "platform/profile/ProfileFile.h"

namespace orbel::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Points the folder of initialisation files at a temporary folder of the test's own.
class ProfileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orbel-ini-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        ::setenv("ORBEL_INI_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("ORBEL_INI_DIR");
        fs::remove_all(dir_);
    }

    void WriteIni(std::string_view text) {
        std::ofstream(dir_ / "wendclient.ini", std::ios::binary) << text;
    }
    std::string ReadIni() const {
        std::ifstream in(dir_ / "wendclient.ini", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The call as the drive mappings make it, returning the buffer's used bytes.
    static std::string Get(std::optional<std::string_view> section,
                           std::optional<std::string_view> key, std::string_view def = "",
                           std::size_t size = 1000, DWORD* result = nullptr) {
        std::vector<char> buffer(size + 4, '#');
        const DWORD got = GetPrivateProfileString(section, key, def, std::span(buffer.data(), size),
                                                  "wendclient.ini");
        if (result) *result = got;
        EXPECT_EQ(std::string(buffer.begin() + static_cast<std::ptrdiff_t>(size), buffer.end()),
                  "####")
            << "wrote past the buffer";
        return std::string(buffer.data(), size);
    }

    fs::path dir_;
};

constexpr std::string_view kMappings =
    "; drive mappings of this machine\n"
    "[Options]\n"
    "Start=1\n"
    "\n"
    "[Mapping]\n"
    "H:\\DATA=\\\\SRV\\DATA,Y\n"
    "  G:\\Scans  =  G:\\SHARE,N  \n"
    "not a key line\n"
    "h:\\data=shadowed by the first\n"
    "=no name\n"
    "\n"
    "[mapping]\n"
    "Quoted=\"  in quotes  \"\n"
    "Half='open\n";

TEST_F(ProfileTest, ReadsValuesTheWayTheDriveMappingsNeedThem) {
    WriteIni(kMappings);
    DWORD n = 0;
    EXPECT_EQ(Get("Mapping", "h:\\data", "", 1000, &n).substr(0, n + 1), "\\\\SRV\\DATA,Y\0"s);
    EXPECT_EQ(Get("MAPPING", "G:\\Scans", "", 1000, &n).substr(0, n + 1), "G:\\SHARE,N\0"s);
    EXPECT_EQ(Get("Mapping", "Quoted", "", 1000, &n).substr(0, n + 1), "  in quotes  \0"s);
    EXPECT_EQ(Get("Mapping", "Half", "", 1000, &n).substr(0, n + 1), "'open\0"s);
    EXPECT_EQ(Get("Mapping", "not a key line", "dflt  ", 1000, &n).substr(0, n + 1), "dflt\0"s);
    EXPECT_EQ(Get("Nowhere", "Start", " x ", 1000, &n).substr(0, n + 1), " x\0"s);

    // Both parts of the section are listed as one, each key once.
    EXPECT_EQ(Get("Mapping", std::nullopt, "", 1000, &n).substr(0, n + 1),
              "H:\\DATA\0G:\\Scans\0Quoted\0Half\0\0"s);
    EXPECT_EQ(n, 29u);
    EXPECT_EQ(Get(std::nullopt, std::nullopt, "", 1000, &n).substr(0, n + 1),
              "Options\0Mapping\0\0"s);
}

TEST_F(ProfileTest, AMissingFileGivesDefaultsAndEmptyLists) {
    DWORD n = 0;
    EXPECT_EQ(Get("Mapping", "H:", "none", 1000, &n).substr(0, 5), "none\0"s);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(Get("Mapping", std::nullopt, "ignored", 1000, &n).substr(0, 2), "\0\0"s);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(Get(std::nullopt, std::nullopt, "", 1000, &n).substr(0, 2), "\0\0"s);
    EXPECT_EQ(n, 0u);
}

TEST_F(ProfileTest, ValuesAreCutToTheBuffer) {
    WriteIni("[S]\nk=abcdef\n");
    DWORD n = 0;
    EXPECT_EQ(Get("S", "k", "", 4, &n), "abc\0"s);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(Get("S", "k", "", 7, &n), "abcdef\0"s);
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(Get("S", "k", "", 1, &n), "\0"s);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(Get("S", "k", "", 0, &n), "");
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(Get("S", "missing", "xyz", 3, &n), "xy\0"s);
    EXPECT_EQ(n, 2u);
}

TEST_F(ProfileTest, ListsThatDoNotFitEndInTwoNuls) {
    WriteIni("[S]\nab=1\ncd=2\n");
    DWORD n = 0;
    EXPECT_EQ(Get("S", std::nullopt, "", 7, &n), "ab\0cd\0\0"s) << "exact fit";
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(Get("S", std::nullopt, "", 6, &n), "ab\0c\0\0"s);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(Get("S", std::nullopt, "", 4, &n), "ab\0\0"s);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(Get("S", std::nullopt, "", 3, &n), "a\0\0"s);
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(Get("S", std::nullopt, "", 2, &n), "\0\0"s);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(Get("S", std::nullopt, "", 1, &n), "\0"s);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(Get(std::nullopt, std::nullopt, "", 2, &n), "\0\0"s);
    EXPECT_EQ(n, 0u);
}

TEST_F(ProfileTest, WritesKeepEverythingTheyDoNotChange) {
    WriteIni(kMappings);
    ASSERT_TRUE(WritePrivateProfileString("MAPPING", "g:\\scans", "G:\\NEW,Y", "wendclient.ini"));
    ASSERT_TRUE(WritePrivateProfileString("Mapping", "K:\\", "\\\\X\\K,N", "wendclient.ini"));
    ASSERT_TRUE(WritePrivateProfileString("Options", "Start", std::nullopt, "wendclient.ini"));
    ASSERT_TRUE(WritePrivateProfileString("New", "a", "1", "wendclient.ini"));
    EXPECT_EQ(ReadIni(),
              "; drive mappings of this machine\n"
              "[Options]\n"
              "\n"
              "[Mapping]\n"
              "H:\\DATA=\\\\SRV\\DATA,Y\n"
              "G:\\Scans=G:\\NEW,Y\n"
              "not a key line\n"
              "h:\\data=shadowed by the first\n"
              "=no name\n"
              "K:\\=\\\\X\\K,N\n"
              "\n"
              "[mapping]\n"
              "Quoted=\"  in quotes  \"\n"
              "Half='open\n"
              "\n"
              "[New]\n"
              "a=1\n");

    // Removing a key removes its shadowed copies too, so it does not come back.
    ASSERT_TRUE(WritePrivateProfileString("Mapping", "H:\\DATA", std::nullopt, "wendclient.ini"));
    EXPECT_EQ(Get("Mapping", "H:\\DATA", "gone").substr(0, 5), "gone\0"s);
    ASSERT_TRUE(WritePrivateProfileString("Mapping", std::nullopt, std::nullopt, "wendclient.ini"));
    EXPECT_EQ(ReadIni(),
              "; drive mappings of this machine\n"
              "[Options]\n"
              "\n"
              "[New]\n"
              "a=1\n");
}

TEST_F(ProfileTest, WritesCreateTheFileAndKeepItsLineEnds) {
    ASSERT_TRUE(
        WritePrivateProfileString("Mapping", "H:\\DATA", "\\\\SRV\\DATA,Y", "wendclient.ini"));
    EXPECT_EQ(ReadIni(), "[Mapping]\nH:\\DATA=\\\\SRV\\DATA,Y\n");

    WriteIni("\xEF\xBB\xBF[A]\r\nx=1\r\n[B]\r\ny=2");
    ASSERT_TRUE(WritePrivateProfileString("A", "z", "3", "wendclient.ini"));
    ASSERT_TRUE(WritePrivateProfileString("B", "w", "4", "wendclient.ini"));
    EXPECT_EQ(ReadIni(), "\xEF\xBB\xBF[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\nw=4\r\n");
    EXPECT_EQ(Get("b", "W").substr(0, 2), "4\0"s);
}

TEST_F(ProfileTest, WritesThatCannotBeStoredChangeNothing) {
    WriteIni(kMappings);
    EXPECT_FALSE(WritePrivateProfileString("Mapping", "a=b", "1", "wendclient.ini"));
    EXPECT_FALSE(WritePrivateProfileString("Mapping", "[a]", "1", "wendclient.ini"));
    EXPECT_FALSE(WritePrivateProfileString("Mapping", "  ", "1", "wendclient.ini"));
    EXPECT_FALSE(WritePrivateProfileString("Mapping", "a", "1\n[Evil]", "wendclient.ini"));
    EXPECT_FALSE(WritePrivateProfileString("Map]ping", "a", "1", "wendclient.ini"));
    EXPECT_FALSE(WritePrivateProfileString("", "a", "1", "wendclient.ini"));
    EXPECT_EQ(ReadIni(), kMappings);

    // Removing what is not there does not create a file.
    EXPECT_TRUE(WritePrivateProfileString("S", "k", std::nullopt, "other.ini"));
    EXPECT_TRUE(WritePrivateProfileString("S", std::nullopt, std::nullopt, "other.ini"));
    EXPECT_FALSE(fs::exists(dir_ / "other.ini"));

    // A file that cannot be read is never replaced by one that lost its contents.
    fs::create_directory(dir_ / "folder.ini");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", "folder.ini"));
    EXPECT_TRUE(fs::is_directory(dir_ / "folder.ini"));
}

TEST_F(ProfileTest, BareNamesLiveInTheConfigFolder) {
    EXPECT_EQ(ResolveProfilePath("wendclient.ini"), dir_ / "wendclient.ini");
    EXPECT_EQ(ResolveProfilePath("/etc/x.ini"), fs::path("/etc/x.ini"));

    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = config ? config : "";
    ::unsetenv("ORBEL_INI_DIR");
    ::setenv("XDG_CONFIG_HOME", (dir_ / "cfg").c_str(), 1);
    EXPECT_EQ(ProfileDirectory(), dir_ / "cfg" / "orbel");
    ::setenv("XDG_CONFIG_HOME", "", 1);
    ::setenv("HOME", dir_.c_str(), 1);
    EXPECT_EQ(ProfileDirectory(), dir_ / ".config" / "orbel");

    // A write through a bare name creates the folder.
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "v", "made.ini"));
    EXPECT_TRUE(fs::exists(dir_ / ".config" / "orbel" / "made.ini"));

    home ? ::setenv("HOME", savedHome.c_str(), 1) : ::unsetenv("HOME");
    config ? ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

TEST(ProfileFileTest, UneditedTextComesBackByteForByte) {
    const std::string text =
        "\xEF\xBB\xBF"
        "stray=before any section\r\n"
        "[broken\n"
        "  [ Spaced ] trailing words\r\n"
        "\tkey\t=\tvalue\t\r\r\n"
        "no end";
    const ProfileFile file = ProfileFile::Parse(text);
    EXPECT_EQ(file.Text(), text);
    EXPECT_EQ(file.SectionNames(), std::vector<std::string>{"Spaced"});
    EXPECT_EQ(file.KeyNames("spaced"), std::vector<std::string>{"key"});
    EXPECT_EQ(file.Value("Spaced", "key"), "value");
    EXPECT_FALSE(file.Value("Spaced", "no end"));
}

TEST(ProfileFileTest, ParsedTextAnswersTheBoundedCallsWithoutAFile) {
    const ProfileFile file = ProfileFile::Parse("[a]\nx=1\n[b]\n");
    std::array<char, 8> buffer{};
    EXPECT_EQ(GetProfileString(&file, std::nullopt, std::nullopt, "", buffer), 4u);
    EXPECT_EQ(std::string(buffer.data(), 5), "a\0b\0\0"s);
    EXPECT_EQ(GetProfileString(&file, "a", "x", "", std::span(buffer).first(0)), 0u);
    EXPECT_EQ(GetProfileString(&file, "b", "x", "d", buffer), 1u);
    EXPECT_EQ(std::string(buffer.data(), 2), "d\0"s);
}

}  // namespace
}  // namespace orbel::platform
