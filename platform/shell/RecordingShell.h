// The shell of the headless backend: starts nothing, writes every request down and answers
// it with success, or with the failure a test queued for it.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/shell/Shell.h"

namespace orbel::platform {

class RecordingShell final : public Shell {
  public:
    struct Record {
        ShellRequest request;
        int result = 0;
        std::string reason;
    };

    ShellResult Execute(const ShellRequest& request) override;

    // The next request that has no earlier queued answer fails with code (and the reason)
    // instead of starting.
    void FailNext(int code, std::string reason = {}) {
        failures_.push_back({code, std::move(reason)});
    }

    const std::vector<Record>& Requests() const { return records_; }
    // One line per request:
    //   open file="x.doc" parameters="/p" directory="" show=5 -> 42
    //   properties(ex) file="x.doc" parameters="" directory="" show=0 -> 42
    //   open document="/srv/a \"b\".doc" show=1 -> 31 "No program is set up ..."
    std::vector<std::string> Lines() const;
    void Clear() { records_.clear(); }
    // Answers queued but never used.
    std::size_t UnusedFailures() const { return failures_.size(); }
    // Called with each line as it happens (a container prints them).
    void SetListener(std::function<void(const std::string&)> listener) {
        listener_ = std::move(listener);
    }

    std::string Dump() const;

    static std::string Line(const Record& record);

  private:
    std::vector<Record> records_;
    std::deque<ShellResult> failures_;
    std::function<void(const std::string&)> listener_;
};

}  // namespace orbel::platform
