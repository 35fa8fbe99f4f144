#include "platform/mail/Mail.h"

#include <memory>

#include "platform/Platform.h"
#include "platform/mail/LinuxMail.h"
#include "platform/mail/RecordingMail.h"

namespace orbel::platform {

namespace {
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}
}  // namespace

Mail::~Mail() = default;

namespace {
struct InstalledMail {
    std::uint64_t platform = 0;
    std::unique_ptr<Mail> own;
    Mail* replacement = nullptr;
};
InstalledMail& Installed() {
    static InstalledMail installed;
    return installed;
}
// The mail that belongs to the installed platform, made when that platform is new.
InstalledMail& Current() {
    InstalledMail& m = Installed();
    Platform& p = GetPlatform();
    if (!m.own || m.platform != p.InstanceId()) {
        m.platform = p.InstanceId();
        m.replacement = nullptr;
        if (p.HasFeature(Feature::Screen))
            m.own = std::make_unique<LinuxMail>();
        else
            m.own = std::make_unique<RecordingMail>();
    }
    return m;
}
}  // namespace

Mail& MailService() {
    InstalledMail& m = Current();
    return m.replacement ? *m.replacement : *m.own;
}

void SetMailService(Mail* mail) {
    Current().replacement = mail;
}

std::string MailLine(const MailRequest& request, const MailResult& result) {
    std::string line = "mail";
    if (!request.to.empty()) {
        line += " to";
        for (const std::string& address : request.to) line += " " + Quoted(address);
    }
    line += " attach";
    for (const std::string& file : request.attachments) line += " " + Quoted(file);
    line += " -> " + std::to_string(result.code);
    if (!result.reason.empty()) line += " " + Quoted(result.reason);
    return line;
}

}  // namespace orbel::platform
