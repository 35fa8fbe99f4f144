// The user of the headless backend: answers everything modal from a queue the test fills, in
// order, and keeps a transcript of everything shown. Anything modal that no queued answer was
// meant for is a failure naming the text that was shown; the test checks Failures() and
// Unmet() at its end.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/UserInteraction.h"

namespace orbel::platform {

class ScriptedUser final : public UserInteraction {
  public:
    // The next message box is answered with `answer`; when `textContains` is given, the box's
    // text must contain it.
    void AnswerMessageBox(MessageAnswer answer, std::string textContains = {});

    MessageAnswer MessageBox(const MessageBoxRequest& request) override;
    void MessageBeep() override;

    const std::vector<std::string>& Transcript() const { return transcript_; }
    void ClearTranscript() { transcript_.clear(); }
    const std::vector<std::string>& Failures() const { return failures_; }
    // Answers queued but never asked for, as text.
    std::vector<std::string> Unmet() const;
    // Called with each transcript line as it happens (a container prints them live).
    void SetTranscriptListener(std::function<void(const std::string&)> listener);
    // Called with each failure as it happens.
    void SetFailureListener(std::function<void(const std::string&)> listener);

  private:
    struct Expectation {
        MessageAnswer answer;
        std::string textContains;
    };
    void Record(const std::string& line);
    void Fail(const std::string& what);

    std::deque<Expectation> boxes_;
    std::vector<std::string> transcript_;
    std::vector<std::string> failures_;
    std::function<void(const std::string&)> listener_;
    std::function<void(const std::string&)> failureListener_;
};

}  // namespace orbel::platform
