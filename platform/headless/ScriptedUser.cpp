#include "platform/headless/ScriptedUser.h"

#include <algorithm>

#include "platform/Api.h"
#include "platform/KeyNames.h"
#include "platform/MenuMode.h"
#include "platform/automation/Variant.h"
#include "platform/dialogs/DialogDescription.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel::platform {

namespace {
std::string ClickText(POINT at) {
    return std::to_string(at.x) + "," + std::to_string(at.y);
}

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
}  // namespace

void ScriptedUser::AnswerMessageBox(MessageAnswer answer, std::string textContains) {
    Expectation e;
    e.kind = Expectation::Kind::Box;
    e.answer = answer;
    e.textContains = std::move(textContains);
    expected_.push_back(std::move(e));
}

std::string ScriptedUser::Expectation::Describe() const {
    switch (kind) {
        case Kind::Box:
            return std::string("message box answer ") + AnswerName(answer) +
                   (textContains.empty() ? "" : " for " + QuoteString(textContains));
        case Kind::Menu:
            if (key) return "menu key " + VirtualKeyName(*key);
            if (click) return "menu click " + ClickText(*click);
            return "menu answer " + (item ? QuoteString(*item) : "none");
        case Kind::FileChooser:
        case Kind::FolderChooser:
            return std::string(kind == Kind::FileChooser ? "file" : "folder") + " chooser answer " +
                   (item ? QuoteString(*item) : "cancel");
        case Kind::PrintDialog:
            return "print dialog answer " +
                   (item ? "OK" + (item->empty() ? std::string() : " to " + QuoteString(*item))
                         : std::string("CANCEL"));
        case Kind::Dialog: {
            std::string line = "dialog " + std::to_string(templateId) + " answer:";
            for (std::size_t i = 0; i < actions.size(); ++i)
                line += (i ? ", " : " ") + actions[i].Describe();
            return line;
        }
    }
    return "?";
}

std::optional<ScriptedUser::Expectation> ScriptedUser::Take(Expectation::Kind kind, UINT templateId,
                                                            const std::string& shown) {
    if (expected_.empty()) {
        Fail("unexpected " + shown);
        return std::nullopt;
    }
    const Expectation& next = expected_.front();
    if (next.kind != kind || (kind == Expectation::Kind::Dialog && next.templateId != templateId)) {
        // Left queued: the answer may still be meant for what comes next.
        Fail("unexpected " + shown + " while the next queued is the " + next.Describe());
        return std::nullopt;
    }
    Expectation taken = std::move(expected_.front());
    expected_.pop_front();
    return taken;
}

MessageAnswer ScriptedUser::MessageBox(const MessageBoxRequest& request) {
    MessageAnswer answer = DismissalAnswer(request.buttons);
    const std::string shown = "message box " + QuoteString(request.text);
    if (auto e = Take(Expectation::Kind::Box, 0, shown)) {
        if (!e->textContains.empty() && request.text.find(e->textContains) == std::string::npos)
            Fail(shown + " does not contain " + QuoteString(e->textContains));
        else if (!Offers(request.buttons, e->answer))
            Fail(shown + " has no " + AnswerName(e->answer) + " button");
        else
            answer = e->answer;
    }
    Record("box " + QuoteString(request.text) + " " + ButtonsName(request.buttons) + " -> " +
           AnswerName(answer));
    return answer;
}

void ScriptedUser::MessageBeep() {
    Record("beep");
}

void ScriptedUser::AnswerMenu(std::optional<std::string> itemText) {
    Expectation e;
    e.kind = Expectation::Kind::Menu;
    e.item = std::move(itemText);
    expected_.push_back(std::move(e));
}

void ScriptedUser::AnswerMenuKey(UINT key) {
    Expectation e;
    e.kind = Expectation::Kind::Menu;
    e.key = key;
    expected_.push_back(std::move(e));
}

void ScriptedUser::AnswerMenuClick(POINT screen) {
    Expectation e;
    e.kind = Expectation::Kind::Menu;
    e.click = screen;
    expected_.push_back(std::move(e));
}

void ScriptedUser::SetKeyPresser(std::function<bool(UINT key)> presser) {
    keyPresser_ = std::move(presser);
}

bool ScriptedUser::PressInMenu(UINT key) {
    return keyPresser_ && keyPresser_(key);
}

bool ScriptedUser::ClickInMenu(POINT screen) {
    Platform& p = GetPlatform();
    constexpr WPARAM kLeftButtonDown = 0x0001;
    MSG msg{p.Windows().WindowFromPoint(screen), WM_LBUTTONDOWN, kLeftButtonDown,
            MAKELPARAM(screen.x, screen.y), p.Loop().Now()};
    return CallMsgFilter(msg, MSGF_MENU);
}

UINT ScriptedUser::TrackPopupMenu(const PopupMenuRequest& request) {
    std::string shown = "menu ";
    for (std::size_t i = 0; i < request.items.size(); ++i) {
        const MenuItem& item = request.items[i];
        if (i) shown += " | ";
        shown += item.separator ? std::string("-") : item.text;
        if (item.isDefault) shown += " (default)";
        if (item.checked) shown += " (checked)";
    }
    lastMenuPoint_ = request.at;
    menuEnded_ = false;
    const MenuModeScope mode([this] { menuEnded_ = true; });
    UINT chosen = 0;
    std::string done;
    std::string answer = "none";
    bool closed = false;
    while (!closed) {
        std::optional<Expectation> e = Take(Expectation::Kind::Menu, 0, shown);
        if (!e) break;
        if (e->key || e->click) {
            done += (e->key ? "key " + VirtualKeyName(*e->key) : "click " + ClickText(*e->click)) +
                    ", ";
            const bool consumed = e->key ? PressInMenu(*e->key) : ClickInMenu(*e->click);
            closed = menuEnded_ || (!consumed && (e->click || *e->key == VK_ESCAPE));
            continue;
        }
        if (const std::optional<std::string>& wanted = e->item) {
            auto it =
                std::find_if(request.items.begin(), request.items.end(),
                             [&](const MenuItem& m) { return !m.separator && m.text == *wanted; });
            if (it == request.items.end())
                Fail(shown + " has no item " + QuoteString(*wanted));
            else {
                chosen = it->id;
                answer = it->text;
            }
        }
        break;
    }
    Record(shown + " -> " + done + answer);
    // Dismissing is pressing Escape inside the menu: the key passes the message hooks as
    // every key does, and the menu takes it.
    if (chosen == 0 && !closed) PressInMenu(VK_ESCAPE);
    menuEnded_ = false;
    return chosen;
}

// ---- Choosers ----

void ScriptedUser::AnswerChooser(bool folder, std::optional<std::string> path) {
    Expectation e;
    e.kind = folder ? Expectation::Kind::FolderChooser : Expectation::Kind::FileChooser;
    e.item = std::move(path);
    expected_.push_back(std::move(e));
}

std::optional<std::string> ScriptedUser::ChooseFile(const FileChooserRequest& request) {
    const bool folder = request.kind == ChooserKind::Folder;
    std::string shown = folder ? std::string("folderchooser")
                               : std::string("filechooser ") + ChooserKindName(request.kind) +
                                     " filter=" + QuoteString(request.filter);
    if (!request.title.empty()) shown += " title=" + QuoteString(request.title);
    shown += " dir=" + QuoteString(request.directory);
    std::optional<std::string> chosen;
    if (auto e = Take(folder ? Expectation::Kind::FolderChooser : Expectation::Kind::FileChooser, 0,
                      shown))
        chosen = std::move(e->item);
    Record(shown + " -> " + (chosen ? QuoteString(*chosen) : "cancel"));
    return chosen;
}

// ---- The print dialog ----

void ScriptedUser::AnswerPrintDialog(bool ok, std::string outputFile) {
    Expectation e;
    e.kind = Expectation::Kind::PrintDialog;
    if (ok) e.item = std::move(outputFile);
    expected_.push_back(std::move(e));
}

std::optional<PrintChoice> ScriptedUser::ChoosePrinter(const PrintDialogRequest& request) {
    const std::string shown = "printdialog " + QuoteString(request.document) +
                              " pages=" + std::to_string(request.pageCount);
    std::optional<PrintChoice> choice;
    if (auto e = Take(Expectation::Kind::PrintDialog, 0, shown); e && e->item)
        choice = PrintChoice{{}, *e->item};
    Record(shown + " -> " +
           (choice ? "OK" + (choice->outputFile.empty() ? std::string()
                                                        : " to " + QuoteString(choice->outputFile))
                   : std::string("CANCEL")));
    return choice;
}

// ---- Modal dialogs ----

ScriptedUser::DialogAction ScriptedUser::DialogAction::Set(UINT control, std::string text) {
    return {Kind::Set, control, std::move(text), 0};
}

ScriptedUser::DialogAction ScriptedUser::DialogAction::Choose(UINT control, std::string entry) {
    return {Kind::Choose, control, std::move(entry), 0};
}

ScriptedUser::DialogAction ScriptedUser::DialogAction::Check(UINT control, bool checked) {
    return {Kind::Check, control, {}, checked ? 1 : 0};
}

ScriptedUser::DialogAction ScriptedUser::DialogAction::Press(UINT button) {
    return {Kind::Press, button, {}, 0};
}

ScriptedUser::DialogAction ScriptedUser::DialogAction::Close() {
    return {Kind::Close, 0, {}, 0};
}

ScriptedUser::DialogAction ScriptedUser::DialogAction::Show() {
    return {Kind::Show, 0, {}, 0};
}

ScriptedUser::DialogAction ScriptedUser::DialogAction::Elsewhere(std::string description,
                                                                 std::function<std::string()> act) {
    DialogAction a{Kind::Elsewhere, 0, std::move(description), 0, std::move(act)};
    return a;
}

ScriptedUser::DialogAction ScriptedUser::DialogAction::OnDialog(
    std::string description, std::function<std::string(LiveDialog&)> act) {
    DialogAction a{Kind::OnDialog, 0, std::move(description), 0, {}, std::move(act)};
    return a;
}

std::string ScriptedUser::DialogAction::Describe() const {
    const std::string id = std::to_string(control);
    switch (kind) {
        case Kind::Set:
            return "set " + id + " " + QuoteString(text);
        case Kind::Choose:
            return "choose " + id + " " + QuoteString(text);
        case Kind::Check:
            return "check " + id + " " + std::to_string(state);
        case Kind::Press:
            return "press " + id;
        case Kind::Close:
            return "close";
        case Kind::Show:
            return "show";
        case Kind::Elsewhere:
        case Kind::OnDialog:
            return text;
    }
    return "?";
}

namespace {
std::string DialogTitle(const LiveDialog& dialog) {
    return "dialog " + std::to_string(dialog.Template().id) + " " +
           QuoteString(dialog.Template().caption);
}
}  // namespace

void ScriptedUser::AnswerDialog(UINT templateId, std::vector<DialogAction> actions) {
    Expectation e;
    e.kind = Expectation::Kind::Dialog;
    e.templateId = templateId;
    e.actions = std::move(actions);
    expected_.push_back(std::move(e));
}

int ScriptedUser::RunModalDialog(LiveDialog& dialog) {
    const DialogTemplate& shown = dialog.Template();
    const std::string title = DialogTitle(dialog);
    openDialogs_.push_back({title, false});
    if (auto answer = Take(Expectation::Kind::Dialog, shown.id, title)) {
        const std::vector<DialogAction> actions = std::move(answer->actions);
        bool refused = false;
        for (std::size_t i = 0; i < actions.size() && !refused; ++i) {
            const DialogAction& a = actions[i];
            if (dialog.IsEnded()) {
                std::string rest;
                for (std::size_t j = i; j < actions.size(); ++j)
                    rest += (j > i ? ", " : "") + actions[j].Describe();
                Fail(title + " ended before: " + rest);
                break;
            }
            std::string why;
            switch (a.kind) {
                case DialogAction::Kind::Set:
                    why = dialog.UserType(a.control, a.text);
                    break;
                case DialogAction::Kind::Choose:
                    why = dialog.UserChoose(a.control, a.text);
                    break;
                case DialogAction::Kind::Check:
                    why = dialog.UserCheck(a.control, a.state);
                    break;
                case DialogAction::Kind::Press:
                    why = dialog.UserPress(a.control);
                    break;
                case DialogAction::Kind::Close:
                    dialog.UserClose();
                    break;
                case DialogAction::Kind::Show:
                    for (const std::string& line : DescribeDialog(dialog)) Record("  " + line);
                    break;
                case DialogAction::Kind::Elsewhere:
                    if (a.elsewhere) why = a.elsewhere();
                    break;
                case DialogAction::Kind::OnDialog:
                    if (a.onDialog) why = a.onDialog(dialog);
                    break;
            }
            if (!why.empty()) {
                Fail(title + ": cannot " + a.Describe() + ": " + why);
                refused = true;
            }
        }
        if (!dialog.IsEnded() && !refused) Fail(title + " is still open after its last action");
    }
    if (!dialog.IsEnded()) dialog.EndDialog(IDCANCEL);
    openDialogs_.pop_back();
    Record(title + " -> " + std::to_string(dialog.Result()));
    return dialog.Result();
}

void ScriptedUser::ShowModelessDialog(LiveDialog& dialog) {
    UserInteraction::ShowModelessDialog(dialog);
    modeless_.push_back(&dialog);
    Record(DialogTitle(dialog) + " shown");
}

void ScriptedUser::ModelessDialogClosing(LiveDialog& dialog) {
    if (std::erase(modeless_, &dialog) == 0) return;
    Record(DialogTitle(dialog) + " closed");
}

void ScriptedUser::ShowOpenDialogs() {
    for (OpenDialog& d : openDialogs_) {
        if (d.shown) continue;
        d.shown = true;
        Emit(d.title);
    }
}

std::vector<std::string> ScriptedUser::Unmet() const {
    std::vector<std::string> out;
    for (const Expectation& e : expected_) out.push_back(e.Describe());
    return out;
}

void ScriptedUser::SetTranscriptListener(std::function<void(const std::string&)> listener) {
    listener_ = std::move(listener);
}

void ScriptedUser::SetFailureListener(std::function<void(const std::string&)> listener) {
    failureListener_ = std::move(listener);
}

void ScriptedUser::Record(const std::string& line) {
    ShowOpenDialogs();
    Emit(line);
}

void ScriptedUser::Emit(const std::string& line) {
    transcript_.push_back(line);
    if (listener_) listener_(line);
}

void ScriptedUser::Fail(const std::string& what) {
    failures_.push_back(what);
    if (failureListener_) failureListener_(what);
}

}  // namespace orbel::platform
