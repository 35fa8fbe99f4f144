// The script commands in which the container acts as the user: keys, the mouse on the tree
// and the list, label editing, drags, and the answers to menus and dialogs.
#include <algorithm>

#include "host/container/CommandArgs.h"
#include "host/container/Container.h"
#include "platform/KeyNames.h"
#include "platform/Platform.h"
#include "platform/UserDriver.h"
#include "platform/controls/DroppedData.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/headless/ScriptedUser.h"

namespace orbel::host {

// ---------------------------------------------------------------------------------------
// Keys and focus

void Container::CmdKey(std::span<const Token> args) {
    Need(args, 1, 4, "key NAME [shift] [ctrl] [alt]");
    const Token& name = args[0];
    auto code = platform::VirtualKeyFromName(name.kind == Token::Kind::String ? "" : name.text);
    if (!code) throw ScriptError{"no key is called " + name.Spelling()};
    bool shift = false, ctrl = false, alt = false;
    for (const Token& t : args.subspan(1)) {
        const std::string m = WordArg(t, "a modifier");
        if (EqualsIgnoringAsciiCase(m, "shift"))
            shift = true;
        else if (EqualsIgnoringAsciiCase(m, "ctrl"))
            ctrl = true;
        else if (EqualsIgnoringAsciiCase(m, "alt"))
            alt = true;
        else
            throw ScriptError{"a modifier is shift, ctrl or alt, not " + m};
    }
    PostKey(*code, shift, ctrl, alt);
}

void Container::PostKey(UINT code, bool shift, bool ctrl, bool alt) {
    // To the window that has the focus now, as the keyboard does, so that the key passes the
    // module's keyboard hook.
    HWND target = platform_->Windows().GetFocus();
    if (!target) target = controlWindow_;
    if (Refused(target)) return;
    driver_->PressKey(target, code, shift, ctrl, alt);
}

std::string Container::WindowName(HWND window) {
    if (!window) return "nothing";
    std::string name = platform_->Windows().GetClassName(window);
    if (name == "CViewTree") return "tree";
    if (name == "CViewList") return "list";
    return name;
}

bool Container::Refused(HWND window) {
    if (platform::TakesInput(platform_->Windows(), window)) return false;
    Print("ignored: " + WindowName(window) + " is disabled");
    return true;
}

void Container::CmdFocus(std::span<const Token> args) {
    Need(args, 0, 1, "focus [tree|list|preview]");
    if (args.empty()) {
        // Where the keyboard is: a pane, an edit box over a label, or another window.
        Print("focus " + WindowName(platform_->Windows().GetFocus()));
        return;
    }
    const std::string pane = WordArg(args[0], "the pane");
    if (EqualsIgnoringAsciiCase(pane, "preview")) {
        const HWND view =
            platform::FindDescendant(platform_->Windows(), controlWindow_, "CImageView");
        if (!view) throw ScriptError{"the preview pane is not shown"};
        platform_->Windows().SetFocus(view);
        return;
    }
    if (!EqualsIgnoringAsciiCase(pane, "tree") && !EqualsIgnoringAsciiCase(pane, "list"))
        throw ScriptError{"focus takes tree, list or preview, not " + pane};
    platform_->Windows().SetFocus(PaneWindow(EqualsIgnoringAsciiCase(pane, "tree")));
}

// ---------------------------------------------------------------------------------------
// Where the user points

HWND Container::PaneWindow(bool tree) {
    const char* pane = tree ? "tree" : "list";
    HWND window = platform::FindDescendant(platform_->Windows(), controlWindow_,
                                           tree ? "CViewTree" : "CViewList");
    // In script maintenance the script view's list takes the list's place.
    if (!window && !tree)
        if (HWND view =
                platform::FindDescendant(platform_->Windows(), controlWindow_, "CScriptView"))
            window = platform::FindDescendant(platform_->Windows(), view, "SysListView32");
    if (!window) throw ScriptError{std::string("the control shows no ") + pane + " pane"};
    return window;
}

platform::TreeControl& Container::TreeModel() {
    platform::TreeControl* tree = driver_->Tree(PaneWindow(true));
    if (!tree) throw ScriptError{"the control shows no tree pane"};
    return *tree;
}

platform::ListControl& Container::ListModel() {
    platform::ListControl* list = driver_->List(PaneWindow(false));
    if (!list) throw ScriptError{"the control shows no list pane"};
    return *list;
}

platform::TreeItem Container::FindTreeItem(const std::string& path) {
    platform::TreeControl& tree = TreeModel();
    // Depth first, building each item's path as the tree pane reports it.
    std::vector<std::pair<platform::TreeItem, std::string>> pending;
    for (platform::TreeItem item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item))
        pending.emplace_back(item, "\\" + tree.GetItemText(item));
    while (!pending.empty()) {
        auto [item, itemPath] = pending.back();
        pending.pop_back();
        if (itemPath == path) return item;
        for (platform::TreeItem child = tree.GetChildItem(item); child;
             child = tree.GetNextSiblingItem(child))
            pending.emplace_back(child, itemPath + "\\" + tree.GetItemText(child));
    }
    throw ScriptError{"the tree has no folder " + path};
}

Container::Spot Container::PointAt(std::span<const Token> args, std::size_t& used) {
    if (args.empty()) throw ScriptError{"say where: tree PATH, list ROW or list empty"};
    const std::string pane = WordArg(args[0], "the pane");
    Spot spot;
    if (EqualsIgnoringAsciiCase(pane, "tree")) {
        if (args.size() < 2) throw ScriptError{"tree takes the folder's PATH"};
        spot.tree = true;
        spot.window = PaneWindow(true);
        used = 2;
        // A disabled pane is not worked on: the caller says so.
        if (!platform::TakesInput(platform_->Windows(), spot.window)) return spot;
        spot.item = FindTreeItem(StringArg(args[1], "PATH"));
        platform::TreeControl& tree = TreeModel();
        // The user opens the folders above it to get at it.
        tree.EnsureVisible(spot.item);
        RECT label;
        if (!tree.GetItemRect(spot.item, label, true))
            throw ScriptError{"the folder " + args[1].text + " cannot be shown"};
        spot.client = POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    } else if (EqualsIgnoringAsciiCase(pane, "list")) {
        if (args.size() < 2) throw ScriptError{"list takes a ROW or empty"};
        spot.window = PaneWindow(false);
        used = 2;
        if (!platform::TakesInput(platform_->Windows(), spot.window)) return spot;
        platform::ListControl& list = ListModel();
        if (args[1].kind == Token::Kind::Word && EqualsIgnoringAsciiCase(args[1].text, "empty")) {
            // Below the last row, still inside the list.
            RECT last{0, 0, 0, 20};
            if (list.GetItemCount() > 0) list.GetItemRect(list.GetItemCount() - 1, last, false);
            spot.client = POINT{4, last.bottom + 4};
            const RECT client = platform_->Windows().GetClientRect(spot.window);
            if (spot.client.y >= client.bottom) throw ScriptError{"the list has no empty space"};
        } else {
            spot.row = IntegerArg(args[1], "ROW");
            RECT label;
            if (!list.GetItemRect(spot.row, label, true))
                throw ScriptError{"the list has no row " + std::to_string(spot.row)};
            spot.client = POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
        }
    } else {
        throw ScriptError{"say where: tree PATH, list ROW or list empty, not " + pane};
    }
    spot.screen = platform_->Windows().ClientToScreen(spot.window, spot.client);
    return spot;
}

Container::Spot Container::PointAtAll(std::span<const Token> args, std::string_view usage) {
    std::size_t used = 0;
    Spot spot = PointAt(args, used);
    if (used != args.size()) throw ScriptError{"usage: " + std::string(usage)};
    return spot;
}

// ---------------------------------------------------------------------------------------
// The mouse

void Container::CmdSelect(std::span<const Token> args) {
    Need(args, 1, 1, "select PATH");
    const HWND window = PaneWindow(true);
    const platform::TreeItem item = FindTreeItem(args[0].text);
    if (Refused(window)) return;
    driver_->TreeSelect(window, item);
}

void Container::CmdClick(std::span<const Token> args) {
    const Spot spot = PointAtAll(args, "click tree PATH|list ROW|list empty");
    if (Refused(spot.window)) return;
    platform_->Windows().SetFocus(spot.window);
    driver_->MoveMouse(spot.screen);
    if (spot.tree)
        driver_->TreeSelect(spot.window, spot.item);
    else
        driver_->ListClick(spot.window, spot.row);
}

void Container::CmdRightClick(std::span<const Token> args) {
    if (args.size() == 1 && args[0].Spelling() == "viewer") {
        RightClickViewer();
        return;
    }
    const Spot spot = PointAtAll(args, "rightclick tree PATH|list ROW|list empty");
    if (Refused(spot.window)) return;
    platform_->Windows().SetFocus(spot.window);
    driver_->MoveMouse(spot.screen);
    if (spot.tree)
        driver_->TreeRightClick(spot.window, spot.item, spot.client);
    else
        driver_->ListRightClick(spot.window, spot.row, spot.client);
}

void Container::CmdDoubleClick(std::span<const Token> args) {
    const Spot spot = PointAtAll(args, "dblclick list ROW");
    if (Refused(spot.window)) return;
    if (spot.tree || spot.row < 0) throw ScriptError{"usage: dblclick list ROW"};
    platform_->Windows().SetFocus(spot.window);
    driver_->MoveMouse(spot.screen);
    driver_->ListDoubleClick(spot.window, spot.row);
}

void Container::CmdSelectRows(std::span<const Token> args) {
    Need(args, 1, 64, "selectrows ROW...");
    platform::ListControl& list = ListModel();
    const HWND window = PaneWindow(false);
    if (Refused(window)) return;
    platform_->Windows().SetFocus(window);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const int row = IntegerArg(args[i], "ROW");
        if (row < 0 || row >= list.GetItemCount())
            throw ScriptError{"the list has no row " + std::to_string(row)};
        // The first row as a click, the others as Ctrl+click.
        if (i == 0)
            driver_->ListClick(window, row);
        else if (!(list.GetItemState(row, platform::kListSelected)))
            driver_->ListToggleSelect(window, row);
    }
}

// ---------------------------------------------------------------------------------------
// Label editing and drags

void Container::CmdRename(std::span<const Token> args) {
    constexpr std::string_view kUsage = "rename tree PATH|list ROW \"TEXT\"|cancel";
    std::size_t used = 0;
    const Spot spot = PointAt(args, used);
    if (args.size() != used + 1) throw ScriptError{"usage: " + std::string(kUsage)};
    const Token& what = args[used];
    const bool cancel =
        what.kind == Token::Kind::Word && EqualsIgnoringAsciiCase(what.text, "cancel");
    const std::string text = cancel ? std::string() : StringArg(what, "TEXT");
    if (Refused(spot.window)) return;
    bool open = false;
    if (spot.tree) {
        platform::TreeControl& tree = TreeModel();
        // An edit the control opened (F2, a new folder) is typed into; otherwise the user
        // opens one by clicking the label of the selected item.
        if (tree.GetEditItem() != spot.item) {
            platform_->Windows().SetFocus(spot.window);
            tree.EditLabel(spot.item);
        }
        open = tree.GetEditItem() == spot.item;
    } else {
        platform::ListControl& list = ListModel();
        if (spot.row < 0) throw ScriptError{"usage: " + std::string(kUsage)};
        if (list.GetEditRow() != spot.row) {
            platform_->Windows().SetFocus(spot.window);
            list.EditLabel(spot.row);
        }
        open = list.GetEditRow() == spot.row;
    }
    if (!open) {
        Print("(the label cannot be edited)");
        return;
    }
    if (!cancel) driver_->TypeLabel(spot.window, text);
    // Enter or Escape goes to the edit box through the keyboard, as every key does.
    PostKey(cancel ? VK_ESCAPE : VK_RETURN, false, false, false);
}

void Container::CmdDrop(std::span<const Token> args) {
    constexpr std::string_view kUsage =
        "drop list files \"PATH\"...|list uris \"URI\"...|list text \"TEXT\"";
    if (args.size() < 3 || WordArg(args[0], "list") != "list")
        throw ScriptError{"usage: " + std::string(kUsage)};
    const std::string kind = WordArg(args[1], "files, uris or text");
    std::vector<std::string> values;
    for (const Token& t : args.subspan(2)) values.push_back(StringArg(t, "what is dropped"));
    platform::DroppedData data;
    if (kind == "files") {
        data.uriList = platform::UriListOf(values);
    } else if (kind == "uris") {
        for (const std::string& uri : values) data.uriList += uri + "\r\n";
    } else if (kind == "text" && values.size() == 1) {
        data.text = values[0];
    } else {
        throw ScriptError{"usage: " + std::string(kUsage)};
    }
    const HWND window = PaneWindow(false);
    if (Refused(window)) return;
    if (!driver_->ListDrop(window, data)) Print("ignored: the list takes no drops");
}

void Container::CmdDrag(std::span<const Token> args) {
    constexpr std::string_view kUsage =
        "drag tree PATH|list ROW to tree PATH|list ROW|list empty [cancel]";
    std::size_t used = 0;
    Spot from = PointAt(args, used);
    if (Refused(from.window)) return;
    if (from.row < 0 && !from.tree) throw ScriptError{"usage: " + std::string(kUsage)};
    const auto fromArgs = args.first(used);
    auto rest = args.subspan(used);
    if (rest.empty() || rest[0].kind != Token::Kind::Word ||
        !EqualsIgnoringAsciiCase(rest[0].text, "to"))
        throw ScriptError{"usage: " + std::string(kUsage)};
    rest = rest.subspan(1);
    const Spot to = PointAt(rest, used);
    rest = rest.subspan(used);
    // Opening the folders above the target may have moved the source down.
    from = PointAt(fromArgs, used);
    bool cancel = false;
    if (!rest.empty()) {
        if (rest.size() > 1 || rest[0].kind != Token::Kind::Word ||
            !EqualsIgnoringAsciiCase(rest[0].text, "cancel"))
            throw ScriptError{"usage: " + std::string(kUsage)};
        cancel = true;
    }
    platform_->Windows().SetFocus(from.window);
    driver_->MoveMouse(from.screen);
    if (from.tree)
        driver_->TreeBeginDrag(from.window, from.item, from.client);
    else
        driver_->ListBeginDrag(from.window, from.row, from.client);
    driver_->MoveMouse(to.screen);
    if (cancel)
        PostKey(VK_ESCAPE, false, false, false);
    else
        driver_->MouseButton(WM_LBUTTONUP, to.screen);
}

// ---------------------------------------------------------------------------------------
// Menus

void Container::CmdMenu(std::span<const Token> args) {
    constexpr std::string_view kUsage = "menu \"ITEM TEXT\"|none|key NAME|click BUTTONID";
    Need(args, 1, 2, kUsage);
    if (args.size() == 2) {
        const std::string what = WordArg(args[0], "key or click");
        if (EqualsIgnoringAsciiCase(what, "key")) {
            auto code = platform::VirtualKeyFromName(WordArg(args[1], "the key"));
            if (!code) throw ScriptError{"no key is called " + args[1].Spelling()};
            user_->AnswerMenuKey(*code);
        } else if (EqualsIgnoringAsciiCase(what, "click")) {
            user_->AnswerMenuClick(
                ButtonCentre(static_cast<UINT>(IntegerArg(args[1], "BUTTONID"))));
        } else {
            throw ScriptError{std::string("usage: ") + std::string(kUsage)};
        }
        return;
    }
    if (args[0].kind == Token::Kind::Word && EqualsIgnoringAsciiCase(args[0].text, "none"))
        user_->AnswerMenu(std::nullopt);
    else
        user_->AnswerMenu(StringArg(args[0], "ITEM TEXT"));
}

// ---------------------------------------------------------------------------------------
// Modeless windows

void Container::CmdModeless(std::span<const Token> args) {
    Need(args, 3, 3, "modeless ID press BUTTONID");
    const std::int32_t id = IntegerArg(args[0], "ID");
    if (!EqualsIgnoringAsciiCase(WordArg(args[1], "press"), "press"))
        throw ScriptError{"modeless ID press BUTTONID"};
    const std::int32_t button = IntegerArg(args[2], "BUTTONID");
    modelessAnswers_.push_back({static_cast<UINT>(id), static_cast<UINT>(button)});
}

void Container::AnswerModeless() {
    const auto& up = user_->ModelessDialogs();
    if (modelessAnswers_.empty() || up.empty()) return;
    platform::LiveDialog* window = up.back();
    const ModelessAnswer answer = modelessAnswers_.front();
    if (window->Template().id != answer.templateId) return;
    modelessAnswers_.pop_front();
    // The window is still being shown: the person acts once the program lets the loop run.
    platform_->Loop().PostTask([this, window, answer] {
        const auto& now = user_->ModelessDialogs();
        if (std::find(now.begin(), now.end(), window) == now.end()) {
            Fail("modeless " + std::to_string(answer.templateId) + " went before it was pressed");
            return;
        }
        const std::string refused = window->UserPress(answer.button);
        if (!refused.empty())
            Print("ignored: press " + std::to_string(answer.button) + ": " + refused);
    });
}

// ---------------------------------------------------------------------------------------
// Choosers

namespace {
std::optional<std::string> ChooserAnswer(std::span<const Token> args, std::string_view usage) {
    Need(args, 1, 1, usage);
    if (args[0].kind == Token::Kind::Word && EqualsIgnoringAsciiCase(args[0].text, "cancel"))
        return std::nullopt;
    return StringArg(args[0], "PATH");
}
}  // namespace

void Container::CmdFileChooser(std::span<const Token> args) {
    user_->AnswerChooser(false, ChooserAnswer(args, "filechooser \"PATH\"|cancel"));
}

void Container::CmdFolderChooser(std::span<const Token> args) {
    user_->AnswerChooser(true, ChooserAnswer(args, "folderchooser \"PATH\"|cancel"));
}

void Container::CmdPrintDialog(std::span<const Token> args) {
    constexpr std::string_view kUsage = "print OK [\"PDF FILE\"]|CANCEL";
    Need(args, 1, 2, kUsage);
    const std::string answer = WordArg(args[0], "OK or CANCEL");
    if (EqualsIgnoringAsciiCase(answer, "CANCEL") && args.size() == 1) {
        user_->AnswerPrintDialog(false);
        return;
    }
    if (!EqualsIgnoringAsciiCase(answer, "OK")) throw ScriptError{"usage: " + std::string(kUsage)};
    user_->AnswerPrintDialog(true, args.size() == 2 ? StringArg(args[1], "PDF FILE") : "");
}

// ---------------------------------------------------------------------------------------
// Dialogs

void Container::CmdDialog(std::span<const Token> args) {
    constexpr std::string_view kUsage =
        "dialog ID [set|choose CTRLID \"TEXT\"]... [check CTRLID 0|1]... [show]... [cellpick "
        "\"SHEET\" COLUMN ROW]... [menu ITEMID]... [resize CX CY]... [navigate \"URL\"]... "
        "[browser]... press BUTTONID|close";
    if (args.empty()) throw ScriptError{"usage: " + std::string(kUsage)};
    const auto templateId = static_cast<UINT>(IntegerArg(args[0], "the dialog ID"));
    using Action = platform::ScriptedUser::DialogAction;
    std::vector<Action> actions;
    std::size_t i = 1;
    auto control = [&](std::string_view what) {
        if (i >= args.size()) throw ScriptError{std::string(what) + " needs a control ID"};
        return static_cast<UINT>(IntegerArg(args[i++], "the control ID"));
    };
    while (i < args.size()) {
        const std::string verb = WordArg(args[i++], "an action");
        if (EqualsIgnoringAsciiCase(verb, "set") || EqualsIgnoringAsciiCase(verb, "choose")) {
            const UINT id = control(verb);
            if (i >= args.size()) throw ScriptError{verb + " needs a quoted text"};
            const std::string text = StringArg(args[i++], "TEXT");
            actions.push_back(EqualsIgnoringAsciiCase(verb, "set") ? Action::Set(id, text)
                                                                   : Action::Choose(id, text));
        } else if (EqualsIgnoringAsciiCase(verb, "check")) {
            const UINT id = control(verb);
            if (i >= args.size()) throw ScriptError{"check needs 0 or 1"};
            actions.push_back(Action::Check(id, IntegerArg(args[i++], "the state") != 0));
        } else if (EqualsIgnoringAsciiCase(verb, "press")) {
            actions.push_back(Action::Press(control(verb)));
        } else if (EqualsIgnoringAsciiCase(verb, "close")) {
            actions.push_back(Action::Close());
        } else if (EqualsIgnoringAsciiCase(verb, "show")) {
            actions.push_back(Action::Show());
        } else if (EqualsIgnoringAsciiCase(verb, "cellpick")) {
            if (i + 3 > args.size()) throw ScriptError{"cellpick needs \"SHEET\" COLUMN ROW"};
            const std::string sheet = StringArg(args[i], "SHEET");
            const std::int32_t column = IntegerArg(args[i + 1], "COLUMN");
            const std::int32_t row = IntegerArg(args[i + 2], "ROW");
            i += 3;
            actions.push_back(Action::Elsewhere(
                "cellpick " + QuoteString(sheet) + " " + std::to_string(column) + " " +
                    std::to_string(row),
                [this, sheet, column, row] { return PickCell(sheet, column, row); }));
        } else if (EqualsIgnoringAsciiCase(verb, "menu")) {
            const UINT id = control(verb);
            actions.push_back(Action::OnDialog(
                "menu " + std::to_string(id),
                [this, id](platform::LiveDialog& d) { return ChooseDialogMenu(d, id); }));
        } else if (EqualsIgnoringAsciiCase(verb, "resize")) {
            if (i + 2 > args.size()) throw ScriptError{"resize needs CX CY"};
            const int cx = IntegerArg(args[i], "CX"), cy = IntegerArg(args[i + 1], "CY");
            i += 2;
            actions.push_back(Action::OnDialog(
                "resize " + std::to_string(cx) + " " + std::to_string(cy),
                [cx, cy](platform::LiveDialog& d) { return d.UserResize(cx, cy); }));
        } else if (EqualsIgnoringAsciiCase(verb, "navigate")) {
            if (i >= args.size()) throw ScriptError{"navigate needs a quoted address"};
            const std::string url = StringArg(args[i++], "URL");
            actions.push_back(Action::OnDialog(
                "navigate " + QuoteString(url),
                [this, url](platform::LiveDialog& d) { return NavigateBrowser(d, url); }));
        } else if (EqualsIgnoringAsciiCase(verb, "browser")) {
            actions.push_back(Action::OnDialog(
                "browser", [this](platform::LiveDialog& d) { return DescribeBrowser(d); }));
        } else {
            throw ScriptError{"usage: " + std::string(kUsage)};
        }
    }
    if (actions.empty() ||
        (actions.back().kind != Action::Kind::Press && actions.back().kind != Action::Kind::Close))
        throw ScriptError{"a dialog answer ends with press BUTTONID or close"};
    user_->AnswerDialog(templateId, std::move(actions));
}

}  // namespace orbel::host
