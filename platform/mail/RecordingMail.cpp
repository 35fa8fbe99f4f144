#include "platform/mail/RecordingMail.h"

#include "platform/EffectLog.h"

namespace orbel::platform {

MailResult RecordingMail::Send(const MailRequest& request) {
    MailResult result;
    if (!answers_.empty()) {
        result = std::move(answers_.front());
        answers_.pop_front();
    }
    lines_.push_back(MailLine(request, result));
    RecordEffect(lines_.back());
    return result;
}

}  // namespace orbel::platform
