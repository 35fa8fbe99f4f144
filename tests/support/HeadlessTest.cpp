#include "tests/support/HeadlessTest.h"

#include <cstdlib>

namespace orbel::test {

std::filesystem::path MakeTempDir(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    char* made = mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("cannot make a temporary folder");
    return std::filesystem::path(made);
}

void HeadlessTest::SetUp() {
    temp_ = MakeTempDir("orbel-test");
    setenv("ORBEL_REGISTRY", (temp_ / "registry.reg").c_str(), 1);
    setenv("ORBEL_INI_DIR", (temp_ / "ini").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (temp_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (temp_ / "data").c_str(), 1);
    // Nothing of the machine's own: no MIME database, templates or settings from outside.
    setenv("HOME", (temp_ / "home").c_str(), 1);
    setenv("XDG_DATA_DIRS", (temp_ / "share").c_str(), 1);
    platform_ = &platform::InstallHeadlessPlatform();
}

void HeadlessTest::TearDown() {
    for (const std::string& f : User().Failures()) ADD_FAILURE() << f;
    for (const std::string& u : User().Unmet()) ADD_FAILURE() << "never asked for: " << u;
    if (HasFailure()) std::cerr << "platform state:\n" << P().Dump();
    platform::UninstallPlatform();
    std::error_code ec;
    std::filesystem::remove_all(temp_, ec);
}

std::vector<std::string> HeadlessTest::Boxes() const {
    std::vector<std::string> out;
    for (const std::string& line : platform_->User().Transcript())
        if (line.rfind("box ", 0) == 0) out.push_back(line);
    return out;
}

HRESULT EventRecorder::Invoke(DISPID id, InvokeKind, std::span<const Variant> args, Variant*) {
    auto it = names_.find(id);
    std::string line = it == names_.end() ? "#" + std::to_string(id) : it->second;
    line += "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) line += ", ";
        line += args[i].ToDisplayString();
    }
    line += ")";
    events_.push_back(line);
    if (handler_) handler_(id, args);
    return S_OK;
}

}  // namespace orbel::test
