#include "tests/shell/ShellTestFiles.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/shell/CommandLine.h"

namespace orbel::test {

void WriteText(const std::filesystem::path& file, std::string_view text, unsigned mode) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    ::chmod(file.c_str(), mode);
}

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::filesystem::path WriteStub(const std::filesystem::path& dir, const std::string& name,
                                const std::filesystem::path& log, int status,
                                const std::string& sleepSeconds) {
    const std::string quotedLog = platform::QuoteShellWord(log.string());
    std::string script = "#!/bin/sh\n";
    if (!sleepSeconds.empty()) script += "sleep " + sleepSeconds + "\n";
    script += "{ printf '%s:' " + platform::QuoteShellWord(name) +
              "; for a in \"$@\"; do printf '[%s]' \"$a\"; done; printf '\\n'; } >> " + quotedLog +
              "\n";
    script += "exit " + std::to_string(status) + "\n";
    const std::filesystem::path program = dir / name;
    WriteText(program, script, 0755);
    return program;
}

std::vector<std::string> LogLines(const std::filesystem::path& log) {
    std::vector<std::string> lines;
    std::istringstream in(ReadText(log));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        had_ = true;
        old_ = old;
    }
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (had_) {
        ::setenv(name_.c_str(), old_.c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

}  // namespace orbel::test
