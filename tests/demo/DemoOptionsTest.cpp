// The demo's command line and where it looks for its store, module and samples.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "host/adapter/ProgramPaths.h"
#include "host/demo/DemoOptions.h"
#include "host/demo/DemoPaths.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::demo {
namespace {

ParsedOptions Parse(std::vector<const char*> args) {
    return ParseDemoOptions(args);
}

TEST(DemoOptionsTest, StoreAndScreenshotOptionsTakeTheirValueInEitherSpelling) {
    ParsedOptions none = Parse({});
    ASSERT_TRUE(none.options) << none.error;
    EXPECT_TRUE(none.options->storePath.empty());
    EXPECT_TRUE(none.options->screenshotPath.empty());

    ParsedOptions run = Parse({"--store", "/tmp/a b.orbel", "--screenshot=/tmp/shot.png",
                               "--select", "\\All\\Invoices\\2026"});
    ASSERT_TRUE(run.options) << run.error;
    EXPECT_EQ(run.options->storePath, "/tmp/a b.orbel");
    EXPECT_EQ(run.options->screenshotPath, "/tmp/shot.png");
    EXPECT_EQ(run.options->selectPath, "\\All\\Invoices\\2026");
}

TEST(DemoOptionsTest, AScreenshotNeedsItsFolderAndBadArgumentsAreNamed) {
    EXPECT_EQ(Parse({"--screenshot", "x.png"}).error, "--screenshot and --select go together");
    EXPECT_EQ(Parse({"--select", "\\All"}).error, "--screenshot and --select go together");
    EXPECT_EQ(Parse({"--script", "Greeting"}).error,
              "--script goes with --screenshot, instead of --select");
    EXPECT_EQ(Parse({"--screenshot", "x.png", "--select", "\\All", "--script", "Greeting"}).error,
              "--script goes with --screenshot, instead of --select");
    // An item is clicked in the folder selected, and a page is typed for an item shown.
    EXPECT_EQ(Parse({"--screenshot", "x.png", "--script", "Greeting", "--item", "Letter"}).error,
              "--item goes with --select, and --page with --item");
    EXPECT_EQ(Parse({"--screenshot", "x.png", "--select", "\\All", "--page", "2"}).error,
              "--item goes with --select, and --page with --item");
    ParsedOptions letter = Parse({"--screenshot", "x.png", "--select", "\\All\\Correspondence",
                                  "--item", "Scanned letter", "--page=2"});
    ASSERT_TRUE(letter.options) << letter.error;
    EXPECT_EQ(letter.options->itemName, "Scanned letter");
    EXPECT_EQ(letter.options->pageText, "2");
    ParsedOptions script = Parse({"--screenshot", "x.png", "--script=Greeting"});
    ASSERT_TRUE(script.options) << script.error;
    EXPECT_EQ(script.options->scriptName, "Greeting");
    // The routing sheet is a third thing to show, alone.
    const char* const routingAlone =
        "--routing goes with --screenshot, instead of --select or --script";
    EXPECT_EQ(Parse({"--routing"}).error, routingAlone);
    EXPECT_EQ(Parse({"--screenshot", "x.png", "--select", "\\All", "--routing"}).error,
              routingAlone);
    EXPECT_EQ(Parse({"--screenshot", "x.png", "--script", "Greeting", "--routing"}).error,
              routingAlone);
    ParsedOptions routing = Parse({"--routing", "--screenshot", "x.png"});
    ASSERT_TRUE(routing.options) << routing.error;
    EXPECT_TRUE(routing.options->routing);
    EXPECT_EQ(Parse({"--store"}).error, "--store needs a value");
    EXPECT_EQ(Parse({"--store="}).error, "--store needs a value");
    EXPECT_EQ(Parse({"--stores", "x"}).error, "unknown option --stores");
    EXPECT_EQ(Parse({"demo.orbel"}).error, "unexpected argument demo.orbel");
    // Asking for help is never an error, whatever else is given.
    ParsedOptions help = Parse({"--screenshot", "x.png", "--help"});
    ASSERT_TRUE(help.options);
    EXPECT_TRUE(help.options->help);
}

class DemoPathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        temp_ = test::MakeTempDir("orbel-demo-paths");
        for (const char* name : {"XDG_DATA_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name, value->c_str(), 1);
            else
                unsetenv(name);
        }
        std::filesystem::remove_all(temp_);
    }
    std::filesystem::path temp_;
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(DemoPathsTest, TheDemoStoreLivesInTheUsersDataFolder) {
    setenv("HOME", "/home/ada", 1);
    setenv("XDG_DATA_HOME", "/data/ada", 1);
    EXPECT_EQ(DefaultStorePath(), "/data/ada/orbel/demo.orbel");
    // A relative XDG_DATA_HOME is not a data folder: the default under HOME is.
    setenv("XDG_DATA_HOME", "data", 1);
    EXPECT_EQ(DefaultStorePath(), "/home/ada/.local/share/orbel/demo.orbel");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DefaultStorePath(), "/home/ada/.local/share/orbel/demo.orbel");
    // A store's new documents go beside it, in a folder named after it.
    EXPECT_EQ(ObjectDirFor("/data/ada/orbel/demo.orbel"), "/data/ada/orbel/demo-objects");
}

TEST_F(DemoPathsTest, AnInstalledProgramUsesTheModuleBesideItElseTheBuildsOwn) {
    const auto bin = temp_ / "prefix" / "bin";
    const auto module = temp_ / "prefix" / "lib" / "orbel" / "orbel.so";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(module.parent_path());
    EXPECT_EQ(host::InstalledOrBuilt(bin, "../lib/orbel/orbel.so", "/build/lib/orbel.so"),
              "/build/lib/orbel.so");
    std::ofstream(module) << "module";
    EXPECT_EQ(host::InstalledOrBuilt(bin, "../lib/orbel/orbel.so", "/build/lib/orbel.so"), module);
    EXPECT_EQ(host::InstalledOrBuilt({}, "../lib/orbel/orbel.so", "/build/lib/orbel.so"),
              "/build/lib/orbel.so");
}

}  // namespace
}  // namespace orbel::demo
