#include <gtest/gtest.h>

#include "platform/network/MountTable.h"

namespace orbel::platform {
namespace {

// A table as the kernel writes it: optional fields before the "-", spaces in names escaped.
constexpr std::string_view kMountInfo =
    "21 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 21 0:40 / /mnt/data rw,relatime shared:12 master:3 - cifs //srv/data rw,vers=3.1.1\n"
    "31 21 0:41 / /mnt/scans rw - cifs //srv/data/Scans/2024 rw\n"
    "32 21 0:42 / /mnt/my\\040share rw - smb3 //nas/Team\\040Docs rw\n"
    "33 21 0:43 / /nfs/home rw - nfs4 files.example:/export/home rw\n"
    "34 30 8:2 / /mnt/data/cache rw - ext4 /dev/sdb1 rw\n"
    "35 21 0:44 / /tmp rw - tmpfs tmpfs rw\n"
    "this line is not a mount\n"
    "36 21 0:45 / /broken rw no-dash-here cifs //srv/x rw\n";

TEST(MountTableTest, ParsesMountInfoFieldsAndSkipsLinesThatAreNotMounts) {
    const auto table = MountTable::FromMountInfo(kMountInfo);
    ASSERT_EQ(table.Mounts().size(), 7u);
    const auto& data = table.Mounts()[1];
    EXPECT_EQ(data.mountPoint, "/mnt/data");
    EXPECT_EQ(data.fsType, "cifs");
    EXPECT_EQ(data.source, "//srv/data");
    EXPECT_EQ(data.root, "/");
    const auto& spaced = table.Mounts()[3];
    EXPECT_EQ(spaced.mountPoint, "/mnt/my share");
    EXPECT_EQ(spaced.source, "//nas/Team Docs");
    EXPECT_EQ(MountTable::FromMountInfo("1 0 0:1 / /a\\011b\\012c\\134d rw - ext4 x rw")
                  .Mounts()
                  .at(0)
                  .mountPoint,
              "/a\tb\nc\\d");
}

TEST(MountTableTest, PathOnNetworkMountHasUniversalName) {
    const auto table = MountTable::FromMountInfo(kMountInfo);
    EXPECT_EQ(table.UniversalName("/mnt/data/a.tif"), "\\\\srv\\data\\a.tif");
    EXPECT_EQ(table.UniversalName("/mnt/data/Sub Dir/B.TIF"), "\\\\srv\\data\\Sub Dir\\B.TIF");
    EXPECT_EQ(table.UniversalName("/mnt/data"), "\\\\srv\\data");
    // A source below the share adds its directories before the rest of the path.
    EXPECT_EQ(table.UniversalName("/mnt/scans/p1.tif"), "\\\\srv\\data\\Scans\\2024\\p1.tif");
    EXPECT_EQ(table.UniversalName("/mnt/my share/plan.doc"), "\\\\nas\\Team Docs\\plan.doc");
    // NFS: the export path supplies the share and the directories under it.
    EXPECT_EQ(table.UniversalName("/nfs/home/ann/x.txt"),
              "\\\\files.example\\export\\home\\ann\\x.txt");
}

TEST(MountTableTest, LocalPathsHaveNoUniversalName) {
    const auto table = MountTable::FromMountInfo(kMountInfo);
    EXPECT_EQ(table.UniversalName("/home/ann/a.tif"), std::nullopt);
    EXPECT_EQ(table.UniversalName("/tmp/a.tif"), std::nullopt);
    // The deepest mount point wins: a local disk mounted inside the share is local.
    EXPECT_EQ(table.UniversalName("/mnt/data/cache/a.tif"), std::nullopt);
    // A mount point is a whole directory name, not a text prefix.
    EXPECT_EQ(table.UniversalName("/mnt/database/a.tif"), std::nullopt);
    EXPECT_EQ(table.UniversalName("mnt/data/a.tif"), std::nullopt);
    EXPECT_EQ(table.UniversalName(""), std::nullopt);
    EXPECT_EQ(MountTable().UniversalName("/mnt/data/a.tif"), std::nullopt);
}

TEST(MountTableTest, UniversalNameOfAnUntidyPathNamesTheFileItReaches) {
    const auto table = MountTable::FromMountInfo(kMountInfo);
    EXPECT_EQ(table.UniversalName("/mnt//data/./x/../a.tif"), "\\\\srv\\data\\a.tif");
    EXPECT_EQ(table.UniversalName("/mnt/data/cache/../a.tif"), "\\\\srv\\data\\a.tif");
    EXPECT_EQ(table.UniversalName("/mnt/data/"), "\\\\srv\\data");
}

TEST(MountTableTest, LaterMountOnTheSamePointHidesTheEarlierOne) {
    const auto table = MountTable::FromMountInfo(
        "30 21 0:40 / /mnt/data rw - cifs //old/data rw\n"
        "31 30 0:41 / /mnt/data rw - cifs //new/data rw\n");
    EXPECT_EQ(table.UniversalName("/mnt/data/a"), "\\\\new\\data\\a");
    EXPECT_EQ(table.LocalPath("\\\\old\\data\\a"), std::nullopt);
    EXPECT_EQ(table.LocalPath("\\\\new\\data\\a"), "/mnt/data/a");
}

TEST(MountTableTest, BindMountOfADirectoryOnAShareNamesThatDirectory) {
    const auto table =
        MountTable::FromMountInfo("30 21 0:40 /Scans /home/ann/scans rw - cifs //srv/data rw\n");
    EXPECT_EQ(table.UniversalName("/home/ann/scans/p.tif"), "\\\\srv\\data\\Scans\\p.tif");
    EXPECT_EQ(table.LocalPath("\\\\srv\\data\\Scans\\p.tif"), "/home/ann/scans/p.tif");
    EXPECT_EQ(table.LocalPath("\\\\srv\\data\\Other\\p.tif"), std::nullopt);
}

TEST(MountTableTest, UniversalNameOfAMountedShareLeadsBackToTheLocalPath) {
    const auto table = MountTable::FromMountInfo(kMountInfo);
    EXPECT_EQ(table.LocalPath("\\\\srv\\data\\a.tif"), "/mnt/data/a.tif");
    EXPECT_EQ(table.LocalPath("\\\\srv\\data"), "/mnt/data");
    // Server and share compare without letter case; the rest keeps its own.
    EXPECT_EQ(table.LocalPath("\\\\SRV\\DATA\\Sub\\A.tif"), "/mnt/data/Sub/A.tif");
    EXPECT_EQ(table.LocalPath("//srv/data/Sub/A.tif"), "/mnt/data/Sub/A.tif");
    EXPECT_EQ(table.LocalPath("\\\\nas\\team docs\\plan.doc"), "/mnt/my share/plan.doc");
    EXPECT_EQ(table.LocalPath("\\\\files.example\\export\\home\\ann\\x.txt"),
              "/nfs/home/ann/x.txt");
    // The mount that reaches deepest into the share is the one to use.
    EXPECT_EQ(table.LocalPath("\\\\srv\\data\\scans\\2024\\p1.tif"), "/mnt/scans/p1.tif");
    EXPECT_EQ(table.LocalPath("\\\\srv\\data\\Scans\\2023\\p1.tif"), "/mnt/data/Scans/2023/p1.tif");

    for (const char* path :
         {"/mnt/data/a.tif", "/mnt/scans/x/y.tif", "/mnt/my share/z", "/nfs/home/ann/x.txt"}) {
        const auto name = table.UniversalName(path);
        ASSERT_TRUE(name) << path;
        EXPECT_EQ(table.LocalPath(*name), path);
    }
}

TEST(MountTableTest, UniversalNameThatIsNotMountedHereHasNoLocalPath) {
    const auto table = MountTable::FromMountInfo(kMountInfo);
    EXPECT_EQ(table.LocalPath("\\\\srv\\other\\a.tif"), std::nullopt);
    EXPECT_EQ(table.LocalPath("\\\\elsewhere\\data\\a.tif"), std::nullopt);
    EXPECT_EQ(table.LocalPath("\\\\files.example\\export\\a.tif"), std::nullopt);
    // Covered by a local disk mounted inside the share.
    EXPECT_EQ(table.LocalPath("\\\\srv\\data\\cache\\a.tif"), std::nullopt);
    // Not universal names, or ones that climb out of the share.
    EXPECT_EQ(table.LocalPath("\\\\srv"), std::nullopt);
    EXPECT_EQ(table.LocalPath("H:\\DATA\\a.tif"), std::nullopt);
    EXPECT_EQ(table.LocalPath("/mnt/data/a.tif"), std::nullopt);
    EXPECT_EQ(table.LocalPath("\\\\\\srv\\data\\a.tif"), std::nullopt);
    EXPECT_EQ(table.LocalPath("\\\\srv\\data\\..\\..\\etc\\passwd"), std::nullopt);
}

TEST(MountTableTest, MalformedNetworkSourcesAreTreatedAsLocal) {
    const auto table = MountTable::FromMountInfo(
        "1 0 0:1 / /a rw - cifs //srv rw\n"
        "2 0 0:2 / /b rw - cifs srv/share rw\n"
        "3 0 0:3 / /c rw - nfs /export/x rw\n"
        "4 0 0:4 / /d rw - nfs srv:/ rw\n"
        "5 0 0:5 / /e rw - nfs4 [fe80::1]:/export rw\n");
    EXPECT_EQ(table.Mounts().size(), 5u);
    for (const char* path : {"/a/x", "/b/x", "/c/x", "/d/x"}) {
        EXPECT_EQ(table.UniversalName(path), std::nullopt) << path;
    }
    EXPECT_EQ(table.UniversalName("/e/x"), "\\\\[fe80::1]\\export\\x");
}

}  // namespace
}  // namespace orbel::platform
