// Handing files to the user's mail program: one compose window holding every attachment, where
// the user adds recipients, subject and text. The results are the mail library's codes the
// system was written against, plus one for a machine without a mail program.
// Not for: sending mail without the user (there is no silent path), or opening documents (the
// shell).
#pragma once

#include <string>
#include <vector>

namespace orbel::platform {

inline constexpr int kMailSuccess = 0;       // sent, or handed over to the compose window
inline constexpr int kMailUserAbort = 1;     // the user closed the compose window unsent
inline constexpr int kMailFailure = 2;       // anything else that went wrong
inline constexpr int kMailLoginFailure = 3;  // the mail program refused the session
inline constexpr int kMailAttachmentMissing = 11;
inline constexpr int kMailNoProgram = 26;  // no mail program is set up on this machine

struct MailRequest {
    std::vector<std::string> attachments;  // full paths, in the order given
    bool showCompose = true;               // false: the mail program may send without asking
    std::vector<std::string> to = {};      // addresses for the To field; none: the user fills it
};

struct MailResult {
    int code = kMailSuccess;
    std::string reason;  // why it failed, in plain words, when the code says too little
};

class Mail {
  public:
    virtual ~Mail();
    // False when the machine has nothing that could hand mail over at all.
    virtual bool Available() const = 0;
    virtual MailResult Send(const MailRequest& request) = 0;
};

// The installed platform's mail: on a platform that shows windows on a screen, the desktop's
// (LinuxMail.h); otherwise one that records (RecordingMail.h). Made again for each platform
// installed.
Mail& MailService();
// Replaces it until the platform changes or it is set again; null restores the platform's own.
void SetMailService(Mail* mail);

// "mail attach "F1" "F2" -> RESULT", the line a transcript shows for a request ("mail to "A"
// attach ..." when it names receivers).
std::string MailLine(const MailRequest& request, const MailResult& result);

}  // namespace orbel::platform
