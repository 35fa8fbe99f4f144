// Each programs/NAME.vbs runs with the recording host; its MsgBox lines, and the error that
// ended it if any, must equal programs/NAME.out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/script/vbscript/RecordingHost.h"

namespace orbel::vbs::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> Programs() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(ORBEL_VBS_PROGRAMS))
        if (entry.path().extension() == ".vbs") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ProgramTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ProgramTest, PrintsWhatTheReferenceSays) {
    fs::path dir(ORBEL_VBS_PROGRAMS);
    // Objects other than the test's own come from a registry that is empty, not the user's.
    setenv("ORBEL_REGISTRY", (fs::temp_directory_path() / "orbel-vbs-none.reg").c_str(), 1);
    RecordingHost host;
    host.answers = {"typed text", std::nullopt};
    Engine engine(host);
    engine.SetTimeLimit(std::chrono::seconds(10));
    if (auto error = engine.AddCode(ReadFile(dir / (GetParam() + ".vbs"))))
        host.lines.push_back("error " + std::to_string(error->Number()) + ": " +
                             FormatError(*error));
    std::string actual;
    for (const auto& line : host.lines) actual += line + "\n";
    EXPECT_EQ(ReadFile(dir / (GetParam() + ".out")), actual);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramTest, ::testing::ValuesIn(Programs()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace orbel::vbs::test
