// Everything modal goes through here: message boxes and the beep now; dialogs, menus and file
// choosers join the same funnel. The headless backend answers from a script.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Win.h"

namespace orbel::platform {

class LiveDialog;

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Error, Question, Warning, Information };
enum class MessageAnswer { Ok, Cancel, Yes, No };

const char* ButtonsName(MessageButtons b);  // "OK", "OKCANCEL", "YESNO", "YESNOCANCEL"
const char* IconName(MessageIcon i);        // "", "ERROR", "QUESTION", "WARNING", "INFORMATION"
const char* AnswerName(MessageAnswer a);    // "OK", "CANCEL", "YES", "NO"
// What closing a box without choosing gives: the safe way out (No of a yes/no box, Cancel
// where there is one, the only answer of a box with one button).
MessageAnswer DismissalAnswer(MessageButtons buttons);

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// One entry of a popup menu built at run time; an ID of 0 with `separator` set is a line.
struct MenuItem {
    UINT id = 0;
    std::string text;
    bool separator = false;
    bool checked = false;
    bool isDefault = false;
};

struct PopupMenuRequest {
    std::vector<MenuItem> items;
    HWND owner;
    POINT at;  // screen coordinates
};

// The platform's choosers: the open and save file dialogs and the folder browser.
enum class ChooserKind { Open, Save, Folder };
// "open", "save", "folder": the kind as transcripts show it.
const char* ChooserKindName(ChooserKind kind);

struct FileChooserRequest {
    ChooserKind kind = ChooserKind::Open;
    // Pairs of a description and its patterns, each part ended by "|", the list by a further
    // "|": "Text (*.txt)|*.txt|All Files (*.*)|*.*||". Empty for every file (and for folders).
    std::string filter;
    std::string directory;  // where the chooser starts; empty: the current directory
    // Save: added to a name chosen without an extension ("txt", no dot).
    std::string defaultExtension;
    // The chooser window's own title; empty: the window system's usual one.
    std::string title;
    HWND owner;
};

class UserInteraction {
  public:
    virtual ~UserInteraction();
    virtual MessageAnswer MessageBox(const MessageBoxRequest& request) = 0;
    // Nothing by default: a backend without a speaker stays silent.
    virtual void MessageBeep();
    // Shows the menu at the point and waits for the user: the chosen item's ID, or 0 when
    // the menu was dismissed.
    virtual UINT TrackPopupMenu(const PopupMenuRequest& request) = 0;

    // Dialogs (platform/dialogs/Dialogs.h): runs a dialog that its owner has made and
    // initialised until it ends; gives the value it ended with.
    virtual int RunModalDialog(LiveDialog& dialog) = 0;
    // Modeless dialogs: the dialog, made and initialised by its owner, is shown and stays up
    // while the program goes on; a person acts on it between messages. The program closes it;
    // ModelessDialogClosing comes just before its window goes. By default the window is shown
    // through the window system and nothing is noted.
    virtual void ShowModelessDialog(LiveDialog& dialog);
    virtual void ModelessDialogClosing(LiveDialog& dialog);

    // Shows the chooser and waits for the user: the chosen full path, or nothing when the user
    // cancelled. Nothing by default, as where no chooser can be shown.
    virtual std::optional<std::string> ChooseFile(const FileChooserRequest& request);
};

}  // namespace orbel::platform
