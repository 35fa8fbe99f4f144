#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "src/maintenance/DriveMapping.h"

namespace orbel {
namespace {

namespace fs = std::filesystem;

// Mapping tests never read the machine's own initialisation files: each one gets a folder of
// its own through ORBEL_INI_DIR.
class DriveMappingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orbel-mapping-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        setenv("ORBEL_INI_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("ORBEL_INI_DIR");
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    void WriteIni(std::string_view text) {
        std::ofstream out(dir_ / "wendclient.ini", std::ios::binary | std::ios::trunc);
        out << text;
    }

    platform::MountTable noMounts_;
    fs::path dir_;
};

std::string Translated(const CMappingList& list, std::string path) {
    list.TranslateStoredPath(path);
    return path;
}

TEST(ScanMappingValueTest, AcceptsExactlyWhatTheScanFormatAccepts) {
    const char* values[] = {"\\\\SRV\\DATA,Y",
                            "G:\\SHARE,N",
                            "/mnt/data,Y",
                            "X,,",
                            "X,Yes",
                            "X, ",
                            "X,'",
                            "a b ,Y",
                            ",Y",
                            "X",
                            "X,",
                            "O'Brien,Y",
                            "X'Y,N",
                            "'",
                            ",",
                            "",
                            "X,,Y",
                            " X,Y",
                            "X,Y,Z",
                            "\\\\srv\\d",
                            "H:\\A B,y",
                            "\\\\S\\D ,N"};
    for (const char* value : values) {
        std::array<char, 1000> to{};
        char flag = 0;
        const int scanned = std::sscanf(value, "%999[^','],%1c", to.data(), &flag);
        const auto parsed = ScanMappingValue(value);
        ASSERT_EQ(parsed.has_value(), scanned == 2) << '"' << value << '"';
        if (parsed) {
            EXPECT_EQ(parsed->to, to.data()) << value;
            EXPECT_EQ(parsed->flag, flag) << value;
        }
    }
}

TEST_F(DriveMappingTest, ForwardReplacesThePrefixAndKeepsTheTail) {
    CMappingList list(noMounts_);
    list.AddMapping("H:\\DATA", "G:\\SHARE", false, false);

    std::string path = "H:\\Data\\Scans\\x.tif";
    EXPECT_TRUE(list.TranslateStoredPath(path));
    EXPECT_EQ(path, "G:\\SHARE\\Scans\\x.tif");
    // "\" and "/" are the same character when matching; the tail is kept as written.
    EXPECT_EQ(Translated(list, "h:/data/Scans/x.tif"), "G:\\SHARE\\Scans/x.tif");
}

TEST_F(DriveMappingTest, PrefixMatchesOnlyAtADirectoryBoundary) {
    CMappingList list(noMounts_);
    list.AddMapping("H:\\DATA", "G:\\SHARE", false, false);
    for (std::string path : {"H:\\DATA", "H:\\DATABASE\\x.tif", "H:\\DAT", "C:\\H:\\DATA\\x", "",
                             "\\\\SRV\\DATA\\x.tif"}) {
        const std::string before = path;
        EXPECT_FALSE(list.TranslateStoredPath(path)) << before;
        EXPECT_EQ(path, before);
    }
    // Written with its trailing separator the prefix behaves the same.
    CMappingList withSlash(noMounts_);
    withSlash.AddMapping("H:\\DATA\\", "G:\\SHARE\\", false, false);
    EXPECT_EQ(Translated(withSlash, "H:\\DATA\\x.tif"), "G:\\SHARE\\x.tif");
    EXPECT_EQ(Translated(withSlash, "H:\\DATA"), "H:\\DATA");
}

TEST_F(DriveMappingTest, LinuxTargetGetsLinuxSeparators) {
    CMappingList list(noMounts_);
    list.AddMapping("H:\\DATA", "/mnt/data", false, false);
    list.AddMapping("\\\\SRV\\HOME", "/home/shared/", false, false);
    EXPECT_EQ(Translated(list, "H:\\Data\\Scans\\x.tif"), "/mnt/data/Scans/x.tif");
    EXPECT_EQ(Translated(list, "\\\\srv\\home\\Ann\\Letter.doc"), "/home/shared/Ann/Letter.doc");
    // A Linux prefix mapped to a drive-letter one, the other way round.
    CMappingList back(noMounts_);
    back.AddMapping("/srv/archive", "J:\\ARCHIVE", false, false);
    EXPECT_EQ(Translated(back, "/srv/archive/2024/a.pdf"), "J:\\ARCHIVE\\2024/a.pdf");
}

TEST_F(DriveMappingTest, FirstMatchingEntryWins) {
    CMappingList list(noMounts_);
    list.AddMapping("H:\\DATA\\SCANS", "/scans", false, false);
    list.AddMapping("H:\\DATA", "/data", false, false);
    list.AddMapping("H:\\DATA", "/other", false, false);
    EXPECT_EQ(Translated(list, "H:\\DATA\\SCANS\\x"), "/scans/x");
    EXPECT_EQ(Translated(list, "H:\\DATA\\x"), "/data/x");
}

TEST_F(DriveMappingTest, StoredPathIsTheUniversalNameThenReverseMapped) {
    const auto mounts = platform::MountTable::FromMountInfo(
        "21 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "30 21 0:40 / /mnt/data rw - cifs //SRV/DATA rw\n"
        "31 21 0:41 / /mnt/team\\040files rw - cifs //srv/team rw\n");
    CMappingList list(mounts);
    EXPECT_EQ(list.ToStoredPath("/mnt/data/a.tif"), "\\\\SRV\\DATA\\a.tif");
    EXPECT_EQ(list.ToStoredPath("/mnt/team files/Plan 1.doc"), "\\\\srv\\team\\Plan 1.doc");
    EXPECT_EQ(list.ToStoredPath("/home/ann/a.tif"), "/home/ann/a.tif");
    EXPECT_EQ(list.ToStoredPath("H:\\DATA\\a.tif"), "H:\\DATA\\a.tif");

    list.AddMapping("H:\\DATA", "\\\\SRV\\DATA", false, false);
    EXPECT_EQ(list.ToStoredPath("/mnt/data/a.tif"), "\\\\SRV\\DATA\\a.tif");
    list.RemoveAll();
    list.AddMapping("H:\\DATA", "\\\\SRV\\DATA", true, false);
    EXPECT_EQ(list.ToStoredPath("/mnt/data/a.tif"), "H:\\DATA\\a.tif");
    EXPECT_EQ(list.ToStoredPath("\\\\srv\\data\\Sub\\b.tif"), "H:\\DATA\\Sub\\b.tif");
    EXPECT_EQ(list.ToStoredPath("\\\\SRV\\DATA"), "\\\\SRV\\DATA");

    // Reverse to a Linux prefix writes Linux separators.
    CMappingList toLinux(mounts);
    toLinux.AddMapping("/srv/team", "\\\\SRV\\TEAM", true, false);
    EXPECT_EQ(toLinux.ToStoredPath("/mnt/team files/a/b.doc"), "/srv/team/a/b.doc");
}

TEST_F(DriveMappingTest, UnmappedUniversalNameOpensThroughTheMountedShare) {
    const auto mounts =
        platform::MountTable::FromMountInfo("30 21 0:40 / /mnt/data rw - cifs //srv/data rw\n");
    CMappingList list(mounts);
    const std::string stored = list.ToStoredPath("/mnt/data/Scans/a.tif");
    EXPECT_EQ(stored, "\\\\srv\\data\\Scans\\a.tif");
    std::string path = stored;
    EXPECT_TRUE(list.TranslateStoredPath(path));
    EXPECT_EQ(path, "/mnt/data/Scans/a.tif");

    std::string unknown = "\\\\srv\\elsewhere\\a.tif";
    EXPECT_FALSE(list.TranslateStoredPath(unknown));
    EXPECT_EQ(unknown, "\\\\srv\\elsewhere\\a.tif");

    // A mapping is asked first.
    list.AddMapping("\\\\SRV\\DATA", "/backup/data", false, false);
    EXPECT_EQ(Translated(list, stored), "/backup/data/Scans/a.tif");
}

TEST_F(DriveMappingTest, LoadsFileEntriesInFileOrderAndLeavesOutValuesThatDoNotParse) {
    WriteIni(
        "[Other]\n"
        "Q:\\=\\\\X\\Y,Y\n"
        "[Mapping]\n"
        "H:\\DATA=\\\\SRV\\DATA,Y\n"
        "K:\\=/mnt/k,N\n"
        "L:\\=/mnt/l,y\n"
        "M:\\=no comma\n"
        "N:\\=,Y\n"
        "O:\\=O'Brien,Y\n"
        "P:\\=/mnt/p,\n"
        "R:\\=/mnt/r,Yes please\n");
    CMappingList list(noMounts_);
    list.LoadMappings();
    EXPECT_EQ(list.Dump(),
              "H:\\DATA -> \\\\SRV\\DATA [reverse] [ini]\n"
              "K:\\ -> /mnt/k [ini]\n"
              "L:\\ -> /mnt/l [ini]\n"
              "R:\\ -> /mnt/r [reverse] [ini]\n");
}

TEST_F(DriveMappingTest, MissingFileOrSectionGivesNoEntries) {
    CMappingList list(noMounts_);
    list.LoadMappings();
    EXPECT_TRUE(list.Entries().empty());
    WriteIni("[Options]\nx=1\n");
    list.LoadMappings();
    EXPECT_TRUE(list.Entries().empty());
}

TEST_F(DriveMappingTest, FileEntriesStayTogetherAheadOfHostEntriesUntilTheOptionsDialog) {
    WriteIni("[Mapping]\nH:\\DATA=G:\\FILE,N\nJ:\\=/mnt/j,N\n");
    CMappingList list(noMounts_);
    list.LoadMappings();
    list.AddMapping("H:\\DATA", "G:\\HOST", false, false);
    list.AddMapping("S:\\", "/mnt/late", false, true);
    EXPECT_EQ(list.Dump(),
              "H:\\DATA -> G:\\FILE [ini]\n"
              "J:\\ -> /mnt/j [ini]\n"
              "S:\\ -> /mnt/late [ini]\n"
              "H:\\DATA -> G:\\HOST\n");
    EXPECT_EQ(Translated(list, "H:\\DATA\\a"), "G:\\FILE\\a");

    // The dialog rewrote the file; the reload drops the old file entries and puts the new
    // ones after the host's, so the host's entry now wins.
    WriteIni("[Mapping]\nH:\\DATA=G:\\NEW,N\n");
    list.AddMapping("T:\\", "/mnt/t", false, false);
    list.ReloadMappingsAfterOptions();
    EXPECT_EQ(list.Dump(),
              "H:\\DATA -> G:\\HOST\n"
              "T:\\ -> /mnt/t\n"
              "H:\\DATA -> G:\\NEW [ini]\n");
    EXPECT_EQ(Translated(list, "H:\\DATA\\a"), "G:\\HOST\\a");

    list.ReloadMappingsAfterOptions();
    EXPECT_EQ(list.Entries().size(), 3u);
}

}  // namespace
}  // namespace orbel
