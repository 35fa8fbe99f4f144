#include "host/demo/DemoRouting.h"

#include <filesystem>
#include <system_error>

#include "host/demo/ControlHost.h"
#include "host/demo/DemoStore.h"
#include "platform/mail/Mail.h"

namespace orbel::demo {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Text(const Variant& v) {
    return v.Type() == VarType::BStr ? v.BStr() : v.ToDisplayString();
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

const std::vector<RoutingTree>& DemoRoutingTrees() {
    static const std::vector<RoutingTree> trees{{"Demo documents", kDemoOleId},
                                                {"Accounts", kDemoAccountsOleId}};
    return trees;
}

std::string DocumentOfMessage(const std::string& message) {
    if (IsFile(message)) return message;
    const std::size_t bang = message.find('!');
    if (bang != std::string::npos && IsFile(message.substr(0, bang)))
        return message.substr(0, bang);
    return {};
}

DemoRouting::DemoRouting(platform::Platform& platform, ControlHost& host, Log log)
    : platform_(platform), host_(host), log_(std::move(log)) {}

void DemoRouting::OnEvent(const host::UserEvent& event) {
    if (event.name == "AttachOrEmail" && !event.args.empty()) {
        // Asked from the loop: the control fired this from its list's menu and goes on once the
        // event returns; the reply acts on the selection it stored before.
        platform_.Loop().PostTask([this, action = Text(event.args[0])] { Answer(action); });
    } else if (event.name == "SendEmail" && event.args.size() >= 2) {
        const std::string receiver = Text(event.args[0]);
        const std::string message = Text(event.args[1]);
        if (!compose_) {
            log_("send-email: " + Quoted(receiver) + " " + Quoted(message) +
                 " logged only (composing mail is off in the Options menu)");
            return;
        }
        // A batch run fires one per route: the compose windows open once it has ended.
        platform_.Loop().PostTask([this, receiver, message] { Compose(receiver, message); });
    }
}

void DemoRouting::Answer(const std::string& action) {
    if (action != "ATTACH" && action != "EMAIL") {
        log_("attach-or-email: " + Quoted(action) + " is no action the demo knows; no reply");
        return;
    }
    std::optional<std::string> reply;
    if (!answers_.empty()) {
        reply = std::move(answers_.front());
        answers_.pop_front();
    } else {
        reply = AskRoute(action, DemoRoutingTrees(), host_.ControlWindow());
    }
    if (!reply) {
        log_("attach-or-email: " + action + " cancelled; no reply");
        return;
    }
    const bool done = host_.Control().ProcessTarnMessage(*reply);
    log_("call ProcessTarnMessage(" + Quoted(*reply) + ") -> " + (done ? "TRUE" : "FALSE"));
}

void DemoRouting::Compose(const std::string& receiver, const std::string& message) {
    const std::string document = DocumentOfMessage(message);
    std::string refused;
    if (!LooksLikeAddress(receiver))
        refused = Quoted(receiver) + " is not one e-mail address";
    else if (document.empty())
        refused = "the document " + Quoted(message) + " is not a file on this machine";
    if (!refused.empty()) {
        log_("send-email: not composed: " + refused);
        return;
    }
    platform::MailRequest request;
    request.to = {receiver};
    request.attachments = {document};
    const platform::MailResult result = platform::MailService().Send(request);
    log_("send-email: " + platform::MailLine(request, result));
}

}  // namespace orbel::demo
