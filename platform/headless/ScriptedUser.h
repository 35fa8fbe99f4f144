// The user of the headless backend (and of the desktop one in tests): answers everything modal
// from one queue the test fills in the order the modal things will come, whatever their kind,
// and keeps a transcript of everything shown. Anything modal that the answer at the head of the
// queue was not meant for (none queued, another kind, another dialog) is a failure naming the
// text that was shown, and the queue stays as it was; the test checks Failures() and Unmet()
// at its end.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/PrintDialog.h"
#include "platform/UserInteraction.h"

namespace orbel::platform {

class ScriptedUser final : public UserInteraction, public PrinterChooser {
  public:
    // The next modal thing is a message box, answered with `answer`; when `textContains` is
    // given, the box's text must contain it.
    void AnswerMessageBox(MessageAnswer answer, std::string textContains = {});

    // The next modal thing is a popup menu, answered by choosing the item with this text; with
    // no text the user dismisses it by pressing Escape.
    void AnswerMenu(std::optional<std::string> itemText);
    // The next popup menu gets a key pressed, or a left click at a screen point outside it,
    // while it is open. What a hook lets through, the menu takes: Escape and the click close it,
    // other keys leave it open for the answer queued next. A menu that a hook closes takes no
    // further answer. The transcript line lists them before the answer:
    // `menu ITEM | ... -> key Right, click 40,12, none`.
    void AnswerMenuKey(UINT key);
    void AnswerMenuClick(POINT screen);
    // How the user presses a key while something modal is open: the backend delivers it the
    // way the keyboard does (through the message hooks, to the window with the focus) and then
    // to the menu's filter hooks; true when a hook consumed it.
    void SetKeyPresser(std::function<bool(UINT key)> presser);

    MessageAnswer MessageBox(const MessageBoxRequest& request) override;
    void MessageBeep() override;
    UINT TrackPopupMenu(const PopupMenuRequest& request) override;

    // Modal dialogs. The transcript shows each as `dialog ID "CAPTION" -> RESULT` when it ends,
    // RESULT being the value it ended with (the ID of the button that closed it); when
    // something is recorded while it is open, its `dialog ID "CAPTION"` line comes first. A
    // dialog nobody expected, an action the dialog refuses (no such control, disabled...), or
    // a dialog still open after the last action is a failure naming the dialog, which then
    // ends with IDCANCEL (2).
    struct DialogAction {
        enum class Kind { Set, Choose, Check, Press, Close, Show, Elsewhere, OnDialog };
        Kind kind = Kind::Press;
        UINT control = 0;
        std::string text;  // Set, Choose
        int state = 0;     // Check
        // Elsewhere: what the person does in another program while the dialog waits (`text`
        // describes it); the reason it could not be done, or empty.
        std::function<std::string()> elsewhere = {};
        // OnDialog: what the person does to the dialog beyond its controls (its menu bar, its
        // border), or what a test reads off it; the reason it could not be done, or empty.
        std::function<std::string(LiveDialog&)> onDialog = {};
        // Types the text into an edit or a drop-down combo box.
        static DialogAction Set(UINT control, std::string text);
        // Chooses the entry of a combo box or list box, or the tab, with this text.
        static DialogAction Choose(UINT control, std::string entry);
        static DialogAction Check(UINT control, bool checked = true);
        static DialogAction Press(UINT button);
        // Escape: the dialog's owner decides (usually as Cancel).
        static DialogAction Close();
        // Writes what the dialog shows now into the transcript (DescribeDialog).
        static DialogAction Show();
        // Something the user does in another program while the dialog waits; `act` gives why
        // it could not be done, or an empty text.
        static DialogAction Elsewhere(std::string description, std::function<std::string()> act);
        static DialogAction OnDialog(std::string description,
                                     std::function<std::string(LiveDialog&)> act);
        // `set 236 "DOC"`, `choose 236 "DOC - Letter"`, `check 1089 1`, `press 1`, `close`,
        // `show`, or an action elsewhere by its description.
        std::string Describe() const;
    };
    // The next modal thing is a dialog made from template `templateId`; it gets these actions,
    // in order. What the dialog opens in turn (a box on OK) is queued after it.
    void AnswerDialog(UINT templateId, std::vector<DialogAction> actions);
    int RunModalDialog(LiveDialog& dialog) override;

    // Modeless dialogs are not answered from the queue: the transcript shows
    // `dialog ID "CAPTION" shown` and `dialog ID "CAPTION" closed`, and a test acts on one
    // that is up (the newest last) through its User* calls.
    void ShowModelessDialog(LiveDialog& dialog) override;
    void ModelessDialogClosing(LiveDialog& dialog) override;
    const std::vector<LiveDialog*>& ModelessDialogs() const { return modeless_; }

    // The next modal thing is a file chooser (open or save) or, with `folder`, the folder
    // browser; it is answered with the path, or cancelled when there is none. The transcript
    // shows `filechooser open|save filter="FILTER" dir="DIR" -> "PATH"|cancel`, and for the
    // folder browser `folderchooser dir="DIR" -> ...`.
    void AnswerChooser(bool folder, std::optional<std::string> path);
    std::optional<std::string> ChooseFile(const FileChooserRequest& request) override;

    // The next modal thing is the print dialog; `ok` prints to the default printer, or to the
    // PDF file `outputFile` when one is given. The transcript shows
    // `printdialog "DOCUMENT" pages=N -> OK [to "FILE"]|CANCEL`.
    void AnswerPrintDialog(bool ok, std::string outputFile = {});
    std::optional<PrintChoice> ChoosePrinter(const PrintDialogRequest& request) override;

    // The screen point the last popup menu was asked to open at.
    std::optional<POINT> LastMenuPoint() const { return lastMenuPoint_; }

    const std::vector<std::string>& Transcript() const { return transcript_; }
    void ClearTranscript() { transcript_.clear(); }
    const std::vector<std::string>& Failures() const { return failures_; }
    // For a test that has checked the failures it provoked.
    void ClearFailures() { failures_.clear(); }
    // Answers queued but never asked for, as text, in queue order.
    std::vector<std::string> Unmet() const;
    // Called with each transcript line as it happens (a container prints them live).
    void SetTranscriptListener(std::function<void(const std::string&)> listener);
    // Called with each failure as it happens.
    void SetFailureListener(std::function<void(const std::string&)> listener);

  private:
    // One queued answer: a message box, a menu or a dialog.
    struct Expectation {
        enum class Kind { Box, Menu, Dialog, FileChooser, FolderChooser, PrintDialog };
        Kind kind = Kind::Box;
        MessageAnswer answer = MessageAnswer::Ok;  // Box
        std::string textContains;                  // Box
        std::optional<std::string> item;           // Menu; the path of a chooser or printout
        std::optional<UINT> key;                   // Menu: a key pressed in it
        std::optional<POINT> click;                // Menu: a click outside it
        UINT templateId = 0;                       // Dialog
        std::vector<DialogAction> actions;         // Dialog
        std::string Describe() const;
    };
    // The answer at the head of the queue when it is of this kind (and, for a dialog, for this
    // template); otherwise nothing, and a failure saying what `shown` is and what was queued.
    std::optional<Expectation> Take(Expectation::Kind kind, UINT templateId,
                                    const std::string& shown);
    void Record(const std::string& line);
    void Emit(const std::string& line);
    void Fail(const std::string& what);

    std::deque<Expectation> expected_;
    // What the person does in an open menu: true when a hook consumed it.
    bool PressInMenu(UINT key);
    bool ClickInMenu(POINT screen);

    std::function<bool(UINT)> keyPresser_;
    bool menuEnded_ = false;
    std::optional<POINT> lastMenuPoint_;

    struct OpenDialog {
        std::string title;  // dialog ID "CAPTION"
        bool shown = false;
    };
    // Shows the title of each open dialog that something inside it is about to follow.
    void ShowOpenDialogs();
    std::vector<OpenDialog> openDialogs_;
    std::vector<LiveDialog*> modeless_;

    std::vector<std::string> transcript_;
    std::vector<std::string> failures_;
    std::function<void(const std::string&)> listener_;
    std::function<void(const std::string&)> failureListener_;
};

}  // namespace orbel::platform
