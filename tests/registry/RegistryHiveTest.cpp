#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry/RegistryHive.h"

namespace orbel::platform {
namespace {

namespace fs = std::filesystem;

constexpr char kClsid[] = "HKEY_CLASSES_ROOT\\CLSID\\{77173955-7239-11D2-B2A4-0060084F9CC1}";

class RegistryHiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orbel-reg-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string ReadAll(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void WriteAll(const fs::path& file, std::string_view text) {
        std::ofstream(file, std::ios::binary) << text;
    }

    fs::path dir_;
};

// What registering the control writes, in the order registration writes it.
void Register(RegistryHive& hive) {
    const std::string clsid = kClsid;
    hive.SetValue(clsid, "", RegValue::String("Orbel Control"));
    hive.SetValue(clsid + "\\InprocServer32", "", RegValue::String("/opt/orbel/liborbel.so"));
    hive.SetValue(clsid + "\\InprocServer32", "ThreadingModel", RegValue::String("Apartment"));
    hive.SetValue(clsid + "\\MiscStatus", "", RegValue::String("0"));
    hive.SetValue(clsid + "\\MiscStatus\\1", "", RegValue::String("131473"));
    hive.SetValue(clsid + "\\ProgID", "", RegValue::String("ORBEL.OrbelCtrl.1"));
    hive.CreateKey(clsid + "\\Control");
    hive.SetValue("HKCR\\ORBEL.OrbelCtrl.1\\CLSID", "",
                  RegValue::String("{77173955-7239-11D2-B2A4-0060084F9CC1}"));
    hive.SetValue("HKCU\\Software\\Orbel", "Flags", RegValue::DWord(0x20591));
}

TEST_F(RegistryHiveTest, RegistrationSurvivesSaveAndLoadInTheDocumentedTextForm) {
    const fs::path file = dir_ / "sub" / "registry.reg";
    auto hive = RegistryHive::Load(file, nullptr);
    ASSERT_TRUE(hive);
    Register(*hive);
    hive->SetValue("HKCU\\Software\\Orbel", "Path", RegValue::String(R"(C:\Data\"x")"));
    std::string error;
    ASSERT_TRUE(hive->Save(&error)) << error;

    EXPECT_EQ(ReadAll(file),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID]\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{77173955-7239-11D2-B2A4-0060084F9CC1}]\n"
              "@=\"Orbel Control\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{77173955-7239-11D2-B2A4-0060084F9CC1}\\Control]\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{77173955-7239-11D2-B2A4-0060084F9CC1}\\"
              "InprocServer32]\n"
              "@=\"/opt/orbel/liborbel.so\"\n"
              "\"ThreadingModel\"=\"Apartment\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{77173955-7239-11D2-B2A4-0060084F9CC1}\\MiscStatus]\n"
              "@=\"0\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{77173955-7239-11D2-B2A4-0060084F9CC1}\\MiscStatus\\1]\n"
              "@=\"131473\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{77173955-7239-11D2-B2A4-0060084F9CC1}\\ProgID]\n"
              "@=\"ORBEL.OrbelCtrl.1\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\ORBEL.OrbelCtrl.1]\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\ORBEL.OrbelCtrl.1\\CLSID]\n"
              "@=\"{77173955-7239-11D2-B2A4-0060084F9CC1}\"\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Orbel]\n"
              "\"Flags\"=dword:00020591\n"
              "\"Path\"=\"C:\\\\Data\\\\\\\"x\\\"\"\n"
              "\n");

    auto again = RegistryHive::Load(file, &error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(again->Dump(), hive->Dump());
    EXPECT_EQ(again->QueryValue("HKCU\\Software\\Orbel", "Path"),
              RegValue::String(R"(C:\Data\"x")"));
    EXPECT_EQ(again->QueryValue("HKEY_CURRENT_USER\\Software\\Orbel", "flags"),
              RegValue::DWord(0x20591));
    EXPECT_TRUE(again->KeyExists(std::string(kClsid) + "\\Control"));
}

TEST_F(RegistryHiveTest, SavingIsDeterministicWhateverTheOrderOfEdits) {
    RegistryHive a;
    Register(a);
    RegistryHive b;
    b.SetValue("HKCU\\Software\\Orbel", "Flags", RegValue::DWord(0x20591));
    b.SetValue("HKCR\\orbel.orbelctrl.1\\clsid", "", RegValue::String("wrong"));
    // Later writes through another spelling reach the same key and keep the first spelling.
    Register(b);
    b.DeleteKeyTree("HKCR\\ORBEL.OrbelCtrl.1");
    b.SetValue("HKCR\\ORBEL.OrbelCtrl.1\\CLSID", "",
               RegValue::String("{77173955-7239-11D2-B2A4-0060084F9CC1}"));
    EXPECT_EQ(a.Dump(), b.Dump());

    const fs::path file = dir_ / "r.reg";
    auto hive = RegistryHive::Load(file, nullptr);
    Register(*hive);
    ASSERT_TRUE(hive->Save(nullptr));
    const std::string first = ReadAll(file);
    ASSERT_TRUE(RegistryHive::Load(file, nullptr)->Save(nullptr));
    EXPECT_EQ(ReadAll(file), first);
    // Only the hive is left behind: no temporary files.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(RegistryHiveTest, SavingKeepsThePermissionsOfTheFileItReplaces) {
    const fs::path file = dir_ / "registry.reg";
    WriteAll(file, "Windows Registry Editor Version 5.00\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    auto hive = RegistryHive::Load(file, nullptr);
    ASSERT_TRUE(hive);
    Register(*hive);
    ASSERT_TRUE(hive->Save(nullptr));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(RegistryHive::Load(file, nullptr)->KeyExists(kClsid));
}

TEST_F(RegistryHiveTest, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    RegistryHive hive;
    ASSERT_TRUE(hive.CreateKey("HKCR\\.Tif\\ShellNew"));
    ASSERT_TRUE(
        hive.SetValue("hkey_classes_root\\.TIF", "Content Type", RegValue::String("image/tiff")));
    ASSERT_TRUE(hive.SetValue("HKCR\\.tif", "CONTENT TYPE", RegValue::String("image/x-tiff")));
    hive.CreateKey("HKCR\\.bmp");
    hive.CreateKey("HKCR\\_x");
    hive.CreateKey("HKCR\\.Avi");

    EXPECT_EQ(hive.EnumKeys("HKEY_CLASSES_ROOT"),
              (std::vector<std::string>{".Avi", ".bmp", ".Tif", "_x"}));
    EXPECT_EQ(hive.EnumKeys("HKCR\\.TIF"), std::vector<std::string>{"ShellNew"});
    const auto values = hive.EnumValues("HKCR\\.tif");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].first, "Content Type");
    EXPECT_EQ(values[0].second, RegValue::String("image/x-tiff"));
    EXPECT_TRUE(hive.KeyExists("HKLM"));
    EXPECT_FALSE(hive.KeyExists("HKCR\\.tiff"));
}

TEST_F(RegistryHiveTest, DeletingAKeyTreeTakesEverythingBelowIt) {
    RegistryHive hive;
    Register(hive);
    hive.SetValue("HKCR\\CLSIDX", "", RegValue::String("a sibling whose name starts the same"));

    EXPECT_TRUE(hive.DeleteKeyTree("hkcr\\clsid\\{77173955-7239-11d2-b2a4-0060084f9cc1}"));
    EXPECT_FALSE(hive.KeyExists(std::string(kClsid) + "\\MiscStatus\\1"));
    EXPECT_TRUE(hive.KeyExists("HKCR\\CLSID"));
    EXPECT_TRUE(hive.KeyExists("HKCR\\CLSIDX"));
    EXPECT_FALSE(hive.DeleteKeyTree(kClsid));
    EXPECT_FALSE(hive.DeleteKeyTree("HKEY_CLASSES_ROOT"));

    EXPECT_TRUE(hive.DeleteValue("HKCU\\Software\\Orbel", "FLAGS"));
    EXPECT_FALSE(hive.DeleteValue("HKCU\\Software\\Orbel", "Flags"));
    EXPECT_FALSE(hive.QueryValue("HKCU\\Software\\Orbel", "Flags"));
}

TEST_F(RegistryHiveTest, RefusesWhatTheFileCouldNotHold) {
    RegistryHive hive;
    const std::string before = hive.Dump();
    EXPECT_FALSE(hive.SetValue("HKCR\\a", "", RegValue::String("two\nlines")));
    EXPECT_FALSE(hive.SetValue("HKCR\\a", "x\r", RegValue::String("v")));
    EXPECT_FALSE(hive.SetValue("HKCR\\a\\\\b", "", RegValue::String("v")));
    EXPECT_FALSE(hive.CreateKey("HKCR\\a\\"));
    EXPECT_FALSE(hive.CreateKey("HKEY_NOWHERE\\a"));
    EXPECT_FALSE(hive.CreateKey(""));
    EXPECT_EQ(hive.Dump(), before);
}

TEST_F(RegistryHiveTest, ReadsFilesWrittenElsewhere) {
    std::string error;
    auto hive = RegistryHive::Parse(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; written by hand\r\n"
        "[HKLM\\Software\\Orbel]\r\n"
        "  \"Size\" = DWORD:1F  \r\n"
        "@=\"first\"\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\orbel]\r\n"
        "@=\"second\"\r\n"
        "\"Key]\"=\"[not a section]\"\r\n",
        &error);
    ASSERT_TRUE(hive) << error;
    EXPECT_EQ(hive->QueryValue("HKLM\\Software\\Orbel", ""), RegValue::String("second"));
    EXPECT_EQ(hive->QueryValue("HKLM\\Software\\Orbel", "size"), RegValue::DWord(0x1F));
    EXPECT_EQ(hive->QueryValue("HKLM\\Software\\Orbel", "Key]"),
              RegValue::String("[not a section]"));
    EXPECT_EQ(hive->EnumKeys("HKLM"), std::vector<std::string>{"Software"});
}

TEST_F(RegistryHiveTest, ACorruptFileIsReportedByLineAndNeverOverwritten) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"REGEDIT4\n\n[HKCR\\a]\n", ":1: not a registry file"},
        {"", ":1: not a registry file"},
        {"Windows Registry Editor Version 5.00\n\n[HKCR\\a]\n@=\"C:\\x\"\n", ":4: bad escape"},
        {"Windows Registry Editor Version 5.00\n[HKCR\\a]\n\"n\"=dword:123456789\n",
         ":3: bad dword"},
        {"Windows Registry Editor Version 5.00\n[HKCR\\a]\n\"n\"=dword:xyz\n", ":3: bad dword"},
        {"Windows Registry Editor Version 5.00\n[HKCR\\a]\n\"n\"=hex:00,01\n", ":3: unsupported"},
        {"Windows Registry Editor Version 5.00\n[HKCR\\a]\nn=\"v\"\n", ":3: not a key, value"},
        {"Windows Registry Editor Version 5.00\n@=\"v\"\n", ":2: value before the first key"},
        {"Windows Registry Editor Version 5.00\n[HKCR\\a]\n\"n\"=\"open\n", ":3: string without"},
        {"Windows Registry Editor Version 5.00\n[HKCR\\a]\n\"n\"=\"v\" x\n", ":3: text after"},
        {"Windows Registry Editor Version 5.00\n[HKXX\\a]\n", ":2: bad key path"},
        {"Windows Registry Editor Version 5.00\n[HKCR\\a\n", ":2: key line without"},
        {"Windows Registry Editor Version 5.00\n[-HKCR\\a]\n", ":2: deleting keys"},
    };
    const fs::path file = dir_ / "registry.reg";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteAll(file, c.text);
        std::string error;
        EXPECT_FALSE(RegistryHive::Load(file, &error));
        EXPECT_EQ(error.rfind(file.string() + c.error, 0), 0u) << error;

        bool edited = false;
        EXPECT_FALSE(RegistryHive::Update(
            file, [&](RegistryHive&) { return edited = true; }, &error));
        EXPECT_FALSE(edited);
        EXPECT_EQ(ReadAll(file), c.text);
    }
}

TEST_F(RegistryHiveTest, AFileThatCannotBeReadIsAnErrorNotAnEmptyHive) {
    std::string error;
    EXPECT_FALSE(RegistryHive::Load(dir_, &error));
    EXPECT_NE(error.find(dir_.string()), std::string::npos) << error;

    auto missing = RegistryHive::Load(dir_ / "none" / "registry.reg", &error);
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->EnumKeys("HKCR").empty());
    EXPECT_EQ(missing->File(), dir_ / "none" / "registry.reg");
    EXPECT_FALSE(RegistryHive().Save(&error));
}

TEST_F(RegistryHiveTest, DefaultPathFollowsTheEnvironment) {
    const char* saved[] = {std::getenv("ORBEL_REGISTRY"), std::getenv("XDG_DATA_HOME"),
                           std::getenv("HOME")};
    const std::string keep[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "",
                                saved[2] ? saved[2] : ""};

    ::setenv("ORBEL_REGISTRY", (dir_ / "mine.reg").c_str(), 1);
    EXPECT_EQ(RegistryHive::DefaultPath(), dir_ / "mine.reg");
    ::unsetenv("ORBEL_REGISTRY");
    ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    EXPECT_EQ(RegistryHive::DefaultPath(), dir_ / "data" / "orbel" / "registry.reg");
    // A relative XDG folder is ignored, as the XDG rules say.
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::setenv("HOME", dir_.c_str(), 1);
    EXPECT_EQ(RegistryHive::DefaultPath(), dir_ / ".local/share/orbel/registry.reg");

    const char* names[] = {"ORBEL_REGISTRY", "XDG_DATA_HOME", "HOME"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i]) {
            ::setenv(names[i], keep[i].c_str(), 1);
        } else {
            ::unsetenv(names[i]);
        }
    }
}

TEST_F(RegistryHiveTest, ProcessesRegisteringAtOnceAllLand) {
    const fs::path file = dir_ / "shared" / "registry.reg";
    constexpr int kProcesses = 4;
    constexpr int kKeysEach = 25;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int k = 0; k < kKeysEach && ok; ++k) {
                ok = RegistryHive::Update(
                    file,
                    [&](RegistryHive& hive) {
                        return hive.SetValue(
                            "HKCR\\P" + std::to_string(p) + "\\K" + std::to_string(k), "",
                            RegValue::DWord(static_cast<std::uint32_t>(k)));
                    },
                    nullptr);
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::string error;
    auto hive = RegistryHive::Load(file, &error);
    ASSERT_TRUE(hive) << error;
    for (int p = 0; p < kProcesses; ++p) {
        EXPECT_EQ(hive->EnumKeys("HKCR\\P" + std::to_string(p)).size(),
                  static_cast<std::size_t>(kKeysEach));
    }
}

TEST_F(RegistryHiveTest, AnUpdateThatDeclinesWritesNothing) {
    const fs::path file = dir_ / "registry.reg";
    std::string error;
    EXPECT_TRUE(RegistryHive::Update(
        file,
        [](RegistryHive& hive) {
            hive.CreateKey("HKCR\\Unsaved");
            return false;
        },
        &error))
        << error;
    EXPECT_FALSE(fs::exists(file));
}

}  // namespace
}  // namespace orbel::platform
