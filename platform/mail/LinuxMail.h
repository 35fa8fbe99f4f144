// The mail of the desktop: xdg-email with one "--attach FILE" pair per file, started with an
// argument vector (no shell ever sees a file name), which opens the user's mail program's
// compose window with every file attached. Its exit status is its verdict.
#pragma once

#include <chrono>
#include <string>

#include "platform/mail/Mail.h"

namespace orbel::platform {

class LinuxMail final : public Mail {
  public:
    bool Available() const override;
    MailResult Send(const MailRequest& request) override;
    // How long xdg-email may take to hand the files over before it counts as failed.
    void SetLimit(std::chrono::milliseconds limit) { limit_ = limit; }

  private:
    std::chrono::milliseconds limit_{5000};
};

// `address` as a mailto: URI, every character but letters, digits and @.-_+~ percent-encoded.
std::string MailtoUri(const std::string& address);

// The result for xdg-email's exit status: 0 handed over, 2 a file missing, 3 no mail program
// (no method available), anything else a failure.
MailResult MailResultForExit(int status);

}  // namespace orbel::platform
