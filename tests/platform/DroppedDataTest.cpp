// A dropped file list is untrusted text: only local file URIs become paths, decoded once.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/controls/DroppedData.h"
#include "platform/shell/LaunchPlan.h"

namespace orbel::platform {
namespace {

TEST(DroppedDataTest, LocalFileUrisBecomePathsInOrderAndTheRestIsRefused) {
    const DroppedFiles dropped = FilesFromUriList(
        "# from a file manager\r\n"
        "file:///srv/in/b%20c.pdf\r\n"
        "FILE://localhost/srv/in/a.txt\r\n"
        "\r\n"
        "file:///srv/in/%E2%82%AC%3B%20%24(x).txt\n"
        "http://example.org/\r\n"
        "file://server/share/x.tif\r\n"
        "file:relative.txt\r\n"
        "file:///srv/nul%00.txt\r\n"
        "file:///srv/half%2\r\n"
        "file:///srv/bad%zz\r\n"
        "file:///srv/a.txt?x=1\r\n"
        "file:///last");
    EXPECT_EQ(dropped.files, (std::vector<std::string>{"/srv/in/b c.pdf", "/srv/in/a.txt",
                                                       "/srv/in/\xE2\x82\xAC; $(x).txt", "/last"}));
    EXPECT_EQ(dropped.refused,
              (std::vector<std::string>{"http://example.org/", "file://server/share/x.tif",
                                        "file:relative.txt", "file:///srv/nul%00.txt",
                                        "file:///srv/half%2", "file:///srv/bad%zz",
                                        "file:///srv/a.txt?x=1"}));
}

TEST(DroppedDataTest, PathsSurviveTheRoundTripThroughAUriList) {
    const std::vector<std::string> paths = {"/tmp/a b/c%41.txt", "/tmp/\"quoted\" & 'x'#1?.doc",
                                            "/tmp/line\nbreak", "/tmp/\xC3\xA9t\xC3\xA9.tif"};
    const std::string list = UriListOf(paths);
    // Nothing in the list could be taken for a second entry or a comment.
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 4);
    EXPECT_EQ(FileUri("/tmp/a b/c%41.txt"), "file:///tmp/a%20b/c%2541.txt");
    const DroppedFiles dropped = FilesFromUriList(list);
    EXPECT_EQ(dropped.files, paths);
    EXPECT_TRUE(dropped.refused.empty());
}

}  // namespace
}  // namespace orbel::platform
