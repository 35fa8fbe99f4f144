#include "platform/headless/ScriptedUser.h"

#include "platform/automation/Variant.h"

namespace orbel::platform {

namespace {
bool Offers(MessageButtons buttons, MessageAnswer answer) {
    switch (buttons) {
        case MessageButtons::Ok:
            return answer == MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return answer != MessageAnswer::Ok;
    }
    return false;
}

// What closing the box without choosing gives: the safe way out.
MessageAnswer Dismissal(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}
}  // namespace

void ScriptedUser::AnswerMessageBox(MessageAnswer answer, std::string textContains) {
    boxes_.push_back({answer, std::move(textContains)});
}

MessageAnswer ScriptedUser::MessageBox(const MessageBoxRequest& request) {
    MessageAnswer answer = Dismissal(request.buttons);
    if (boxes_.empty()) {
        Fail("unexpected message box " + QuoteString(request.text));
    } else {
        Expectation e = boxes_.front();
        boxes_.pop_front();
        if (!e.textContains.empty() && request.text.find(e.textContains) == std::string::npos)
            Fail("message box " + QuoteString(request.text) + " does not contain " +
                 QuoteString(e.textContains));
        else if (!Offers(request.buttons, e.answer))
            Fail(std::string("message box ") + QuoteString(request.text) + " has no " +
                 AnswerName(e.answer) + " button");
        else
            answer = e.answer;
    }
    Record("box " + QuoteString(request.text) + " " + ButtonsName(request.buttons) + " -> " +
           AnswerName(answer));
    return answer;
}

void ScriptedUser::MessageBeep() {
    Record("beep");
}

std::vector<std::string> ScriptedUser::Unmet() const {
    std::vector<std::string> out;
    for (const Expectation& e : boxes_)
        out.push_back(std::string("message box answer ") + AnswerName(e.answer) +
                      (e.textContains.empty() ? "" : " for " + QuoteString(e.textContains)));
    return out;
}

void ScriptedUser::SetTranscriptListener(std::function<void(const std::string&)> listener) {
    listener_ = std::move(listener);
}

void ScriptedUser::SetFailureListener(std::function<void(const std::string&)> listener) {
    failureListener_ = std::move(listener);
}

void ScriptedUser::Record(const std::string& line) {
    transcript_.push_back(line);
    if (listener_) listener_(line);
}

void ScriptedUser::Fail(const std::string& what) {
    failures_.push_back(what);
    if (failureListener_) failureListener_(what);
}

}  // namespace orbel::platform
