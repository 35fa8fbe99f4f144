// What orbel-container tells its user about the SQLite store it was given, before and while the
// control uses it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "host/container/Container.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::host {
namespace {

namespace fs = std::filesystem;

class ContainerStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        temp_ = test::MakeTempDir("orbel-container-store");
        for (const char* name :
             {"ORBEL_REGISTRY", "ORBEL_INI_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"})
            if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
        ::setenv("ORBEL_REGISTRY", (temp_ / "registry.reg").c_str(), 1);
        ::setenv("ORBEL_INI_DIR", (temp_ / "ini").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (temp_ / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (temp_ / "data").c_str(), 1);
        // A run of its own temporary folder would say so first; these runs are about the store.
        fs::create_directory(temp_ / "tmp");
        ::setenv("TMPDIR", (temp_ / "tmp").c_str(), 1);
    }
    void TearDown() override {
        for (const char* name :
             {"ORBEL_REGISTRY", "ORBEL_INI_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"})
            ::unsetenv(name);
        for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
        std::error_code ec;
        fs::remove_all(temp_, ec);
    }

    // Runs `script` on the store file at `path`; the exit status.
    int Run(const fs::path& path, const std::string& script) {
        ContainerOptions options;
        options.store = StoreKind::Sqlite;
        options.sqlitePath = path.string();
        options.modulePath = ORBEL_MODULE_PATH;
        options.scripts = {"-"};
        std::istringstream in(script);
        out_.str("");
        err_.str("");
        Container container(std::move(options), in, out_, err_);
        return container.Run();
    }

    fs::path temp_;
    std::vector<std::pair<std::string, std::string>> saved_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(ContainerStoreTest, AReadOnlyStoreIsNoticedBeforeAnythingAndItsRefusalsSayWhy) {
    const fs::path store = temp_ / "store.orbel";
    ASSERT_EQ(Run(store, "store GetNextOLEID\n"), kExitOk) << err_.str();
    ASSERT_EQ(::chmod(store.c_str(), 0444), 0);
    ASSERT_EQ(Run(store, "box OK\nstore GetNextOLEID\n"), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(),
              "notice: the store " + store.string() +
                  " is a read-only file: it can be browsed, and every change is refused\n"
                  "box \"Error getting next OLE ID\" OK -> OK\n"
                  "host error: the store " +
                  store.string() +
                  " is read-only: nothing was written\n"
                  "store GetNextOLEID() -> -1\n");
}

TEST_F(ContainerStoreTest, AStorePathThroughALinkToNothingIsRefusedAndNothingIsMade) {
    const fs::path target = temp_ / "gone" / "store.orbel";
    fs::create_directory(temp_ / "gone");
    fs::create_symlink(target, temp_ / "link.orbel");
    EXPECT_EQ(Run(temp_ / "link.orbel", "store GetNextOLEID\n"), kExitScriptError);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(err_.str(), "orbel-container: " + (temp_ / "link.orbel").string() +
                              " is a symbolic link to " + target.string() +
                              ", which does not exist: no store is made through it\n");
    EXPECT_FALSE(fs::exists(target));
}

}  // namespace
}  // namespace orbel::host
