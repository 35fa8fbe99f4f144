// The desktop's own shell inside the desktop backend: what it finds on its threads reaches the
// caller on the desktop's thread. The headless shell starts nothing, so it has no such path.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/shell/LinuxShell.h"
#include "tests/conformance/Backends.h"

namespace orbel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(DesktopShell, AnOpenerThatFailsLateIsToldOnTheDesktopsThread) {
    platform::Platform& p = QtBackend::Install();
    auto& shell = dynamic_cast<platform::LinuxShell&>(p.ShellService());
    std::string pattern = (fs::temp_directory_path() / "orbel-desktop-shell-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    fs::create_directories(root / "bin");
    std::ofstream(root / "bin" / "xdg-open")
        << "#!/bin/sh\nsleep 0.3\necho 'xdg-open: no method available' >&2\nexit 3\n";
    ::chmod((root / "bin" / "xdg-open").c_str(), 0755);
    std::ofstream(root / "a.xyz") << "x";

    platform::ShellEnvironment env;
    env.path = (root / "bin").string();
    env.currentDirectory = root.string();
    shell.SetEnvironment(env);
    shell.SetOpenerGrace(50ms);
    std::vector<std::string> told;
    std::thread::id where;
    platform::ShellRequest request;
    request.file = (root / "a.xyz").string();
    request.target = platform::ShellTarget::Document;
    request.lateFailure = [&](const platform::ShellResult& result) {
        told.push_back(std::to_string(result.code) + " " + result.reason);
        where = std::this_thread::get_id();
    };
    EXPECT_EQ(shell.Execute(request).code, kShellStarted);
    for (int i = 0; i < 250 && told.empty(); ++i) QtBackend::RunFor(p, 20);

    EXPECT_EQ(told, std::vector<std::string>{"31 No program is set up to open this kind of file. "
                                             "(xdg-open: no method available)"});
    EXPECT_EQ(where, std::this_thread::get_id());
    EXPECT_TRUE(shell.WaitForChildren(5s));
    shell.SetEnvironment(std::nullopt);
    fs::remove_all(root);
}

}  // namespace
}  // namespace orbel::test
