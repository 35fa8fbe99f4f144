// Everything modal goes through here: message boxes and the beep now; dialogs, menus and file
// choosers join the same funnel. The headless backend answers from a script.
#pragma once

#include <string>

namespace orbel::platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Error, Question, Warning, Information };
enum class MessageAnswer { Ok, Cancel, Yes, No };

const char* ButtonsName(MessageButtons b);  // "OK", "OKCANCEL", "YESNO", "YESNOCANCEL"
const char* IconName(MessageIcon i);        // "", "ERROR", "QUESTION", "WARNING", "INFORMATION"
const char* AnswerName(MessageAnswer a);    // "OK", "CANCEL", "YES", "NO"

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

class UserInteraction {
  public:
    virtual ~UserInteraction();
    virtual MessageAnswer MessageBox(const MessageBoxRequest& request) = 0;
    virtual void MessageBeep() = 0;
};

}  // namespace orbel::platform
