// The mail of the headless backend: hands nothing over, tells each request as a transcript
// line and answers it with success or with the result a test queued for it.
#pragma once

#include <deque>
#include <vector>

#include "platform/mail/Mail.h"

namespace orbel::platform {

class RecordingMail final : public Mail {
  public:
    bool Available() const override { return available_; }
    MailResult Send(const MailRequest& request) override;

    // The next request is answered with this result instead of success.
    void AnswerNext(MailResult result) { answers_.push_back(std::move(result)); }
    void SetAvailable(bool available) { available_ = available; }
    const std::vector<std::string>& Lines() const { return lines_; }
    std::size_t UnusedAnswers() const { return answers_.size(); }

  private:
    std::deque<MailResult> answers_;
    std::vector<std::string> lines_;
    bool available_ = true;
};

}  // namespace orbel::platform
