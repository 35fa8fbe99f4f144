// A host for tests: MsgBox prompts become output lines, InputBox takes queued answers, and
// "Orbel.TestCounter" is an automation object of the test's own; other ProgIDs go to the
// platform's runtime.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "src/script/vbscript/Engine.h"

namespace orbel::vbs::test {

// Value (default member, read and write), Name (text), Add(a, b), Bump() counting into
// Count, Child (a new counter), Broken() failing.
class TestCounter : public IDispatch {
  public:
    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

  private:
    Variant value_;
    std::string name_;
    std::int32_t count_ = 0;
};

class RecordingHost : public ScriptHost {
  public:
    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    HRESULT CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object) override;
    bool ShouldStop() override { return ++polls > stopAfterPolls; }

    std::vector<std::string> lines;
    std::deque<std::optional<std::string>> answers;
    int msgBoxAnswer = 1;
    long polls = 0;
    long stopAfterPolls = 1L << 62;
};

}  // namespace orbel::vbs::test
