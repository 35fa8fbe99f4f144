// Files and stub programs that the shell, file and registry tests make in their temporary
// folders.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orbel::test {

// Writes text to file, making its folders; mode is the permission bits.
void WriteText(const std::filesystem::path& file, std::string_view text, unsigned mode = 0644);
std::string ReadText(const std::filesystem::path& file);

// An executable "#!/bin/sh" program dir/name that appends one line to log for each run: its
// name, ":", and each argument in brackets ("xdg-open:[/tmp/a b.doc]"), then exits with
// status (after sleeping `sleepSeconds`, a decimal such as "0.2", when that is not empty).
std::filesystem::path WriteStub(const std::filesystem::path& dir, const std::string& name,
                                const std::filesystem::path& log, int status = 0,
                                const std::string& sleepSeconds = {});
// The lines of a stub log; empty when there is none.
std::vector<std::string> LogLines(const std::filesystem::path& log);

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

}  // namespace orbel::test
