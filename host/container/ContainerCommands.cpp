// The script commands of orbel-container. A command is one entry of the table below and one
// member function; a new command (pane dumps, toolbar clicks) is a row and a function.
#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "host/container/CommandArgs.h"
#include "host/container/Container.h"
#include "platform/Platform.h"
#include "platform/UserDriver.h"
#include "platform/automation/ComRuntime.h"
#include "platform/controls/ControlText.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/headless/ScriptedUser.h"
#include "platform/mail/RecordingMail.h"
#include "src/control/OrbelStoreProbe.h"

namespace orbel::host {

namespace {

std::string TypeWords(VarType type) {
    switch (type) {
        case VarType::I4:
            return "a number";
        case VarType::Bool:
            return "TRUE or FALSE";
        case VarType::BStr:
            return "a string";
        default:
            return VarTypeName(type);
    }
}

std::string Joined(std::span<const Variant> values) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out += ", ";
        out += values[i].ToDisplayString();
    }
    return out;
}

// Values coerced to the declared parameter types, as a late-binding host would pass them.
std::vector<Variant> Arguments(const TypeLibMember& member, bool described,
                               std::span<const Token> tokens) {
    std::vector<Variant> values;
    for (const Token& t : tokens) values.push_back(ValueArg(t));
    if (!described) return values;
    if (values.size() != member.params.size())
        throw ScriptError{member.name + " takes " + std::to_string(member.params.size()) +
                          " argument" + (member.params.size() == 1 ? "" : "s") + ", not " +
                          std::to_string(values.size())};
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto converted = values[i].ChangeType(member.params[i].type);
        if (!converted)
            throw ScriptError{member.name + ": " + member.params[i].name + " takes " +
                              TypeWords(member.params[i].type) + ", not " + tokens[i].Spelling()};
        values[i] = *converted;
    }
    return values;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The command table

std::span<const Container::Command> Container::Commands() {
    static const Command kCommands[] = {
        {"set", "set NAME VALUE", "sets a property of the control", &Container::CmdSet},
        {"get", "get NAME", "prints the property as NAME = VALUE", &Container::CmdGet},
        {"call", "call NAME|#DISPID ARG...",
         "calls a method; prints NAME(ARGS) -> RESULT, or -> void", &Container::CmdCall},
        {"reply", "reply RESULT [DATA [KEY1 ... KEY10]]",
         "(--store scripted) answers the waiting request through RequestResult",
         &Container::CmdReply},
        {"box", "box OK|YES|NO|CANCEL",
         "answers the next message box; it comes before the line whose action opens the box. "
         "Box, menu and dialog answers form one queue in the order they are asked for: one "
         "asked for out of turn, or left unused at the end, is a failure",
         &Container::CmdBox},
        {"wait", "wait MS",
         "lets MS milliseconds pass on the virtual clock before the next line; timers due "
         "sooner fire first",
         &Container::CmdWait},
        {"key", "key NAME [shift] [ctrl] [alt]",
         "a key-down to the focused window: Escape Tab Enter Delete Space Backspace Up Down "
         "Left Right F1-F12, a letter or a digit",
         &Container::CmdKey},
        {"focus", "focus [tree|list|preview]",
         "gives the keyboard focus to a pane (the image view for preview); alone, prints where the "
         "focus is (tree, list, "
         "Edit for a label's edit box, or the window's class)",
         &Container::CmdFocus},
        {"select", "select PATH",
         "selects the tree folder whose path (as FolderChange gives it) is PATH, as a click "
         "does",
         &Container::CmdSelect},
        {"click", "click tree PATH|list ROW|list empty",
         "a left click on a tree folder (selects it) or on a list row or empty list space. "
         "Like every key and mouse line, it does nothing while the pane or the control is "
         "disabled (during a folder load): the transcript says ignored: PANE is disabled",
         &Container::CmdClick},
        {"rightclick", "rightclick tree PATH|list ROW|list empty|viewer",
         "a right click there (in the middle of the preview's image for viewer); the menu it "
         "opens is answered by a menu line that comes before this one",
         &Container::CmdRightClick},
        {"dblclick", "dblclick list ROW", "a double click on a list row",
         &Container::CmdDoubleClick},
        {"selectrows", "selectrows ROW...",
         "selects list rows: the first as a click, the others as Ctrl+click",
         &Container::CmdSelectRows},
        {"rename", "rename tree PATH|list ROW \"TEXT\"|cancel",
         "edits the label in place (or types into the edit already open there) and presses "
         "Enter, or Escape for cancel",
         &Container::CmdRename},
        {"drag", "drag tree PATH|list ROW to tree PATH|list ROW|list empty [cancel]",
         "presses the mouse on the source, moves to the target and releases it there, or "
         "presses Escape for cancel",
         &Container::CmdDrag},
        {"drop", "drop list files \"PATH\"...|list uris \"URI\"...|list text \"TEXT\"",
         "another program's drag dropped on the list: a file list (text/uri-list) of the paths "
         "or of the URIs as written, or a plain text",
         &Container::CmdDrop},
        {"menu", "menu \"ITEM TEXT\"|none|key NAME|click BUTTONID",
         "answers the next popup menu by choosing the item, or by Escape for none; like a box "
         "answer it comes before the action that opens the menu (the rightclick line). With key "
         "or click, the person first presses the key in the open menu or clicks the middle of "
         "the bar button outside it; a menu left open takes the next answer. The transcript "
         "shows menu ITEM | ITEM ... -> [key NAME, |click X,Y, ]CHOSEN",
         &Container::CmdMenu},
        {"dialog",
         "dialog ID [set|choose CTRLID \"TEXT\"]... [check CTRLID 0|1]... [show]... "
         "[cellpick \"SHEET\" COLUMN ROW]... [menu ITEMID]... [resize CX CY]... "
         "[navigate \"URL\"]... [browser]... press BUTTONID",
         "answers the next modal dialog made from template ID: types into or chooses in its "
         "controls (a list control's row by its first column), prints what it shows (show), "
         "selects a cell in the spreadsheet it started, chooses an item of its menu bar, drags "
         "its border to a client area of CX by CY pixels; in the web browser dialog types an "
         "address and presses GO, waiting for the page (navigate), and prints the address, "
         "title, status line and whether Back and Forward can be chosen (browser: ...); then "
         "presses a button (or closes it); it "
         "comes before the action that opens the dialog, and the answers to what the dialog opens "
         "come after it. The transcript shows dialog ID \"CAPTION\" -> BUTTON",
         &Container::CmdDialog},
        {"spreadsheet", "spreadsheet",
         "prints the state of the running spreadsheet application: workbook, sheets, "
         "selection, visible, advised sinks",
         &Container::CmdSpreadsheet},
        {"cellpick", "cellpick \"SHEET\" COLUMN ROW",
         "selects the cell in the running spreadsheet application as the person does there",
         &Container::CmdCellPick},
        {"filechooser", "filechooser \"PATH\"|cancel",
         "answers the next open or save file chooser with the path, or cancels it; like a box "
         "answer it comes before the action that opens the chooser. The transcript shows "
         "filechooser open|save filter=\"FILTER\" dir=\"DIR\" -> \"PATH\"|cancel",
         &Container::CmdFileChooser},
        {"folderchooser", "folderchooser \"PATH\"|cancel",
         "answers the next folder chooser the same way", &Container::CmdFolderChooser},
        {"modeless", "modeless ID press BUTTONID",
         "once the next modeless window made from template ID is up, the person presses the "
         "button in it while the program goes on; it comes before the action that shows the "
         "window. The transcript shows dialog ID \"CAPTION\" shown and closed",
         &Container::CmdModeless},
        {"print", "print OK [\"PDF FILE\"]|CANCEL",
         "answers the next print dialog: prints to the default printer or into the PDF file, "
         "or cancels; it comes before the action that prints. The transcript shows "
         "printdialog \"FILE\" pages=N -> OK [to \"PDF FILE\"]|CANCEL, then print \"FILE\" "
         "pages A-B for each print",
         &Container::CmdPrintDialog},
        {"tree", "tree",
         "prints the folder tree: LABEL key=K image=I/S per item, indented by depth",
         &Container::CmdTree},
        {"list", "list",
         "prints the item list: its columns, then ROW key=K image=I: TEXT | TEXT per row",
         &Container::CmdList},
        {"toolbar", "toolbar",
         "prints the toolbar's buttons: ID \"TEXT\" [disabled] [checked] [hidden], separators",
         &Container::CmdToolbar},
        {"scriptview", "scriptview [set|choose ID \"TEXT\"]",
         "prints the script view: its script list (codes as keys), then each control as ID "
         "\"TEXT\" with its entries, and whether it is disabled; with set, types the text into "
         "control ID of the view, with choose, chooses that entry of its list",
         &Container::CmdScriptView},
        {"write", "write \"PATH\" \"TEXT\"",
         "writes a file with the text (a document for the control to open), making its folders; "
         "\"$TMPDIR/\" in "
         "any quoted text is the run's temporary folder, and the transcript shows it so. "
         "Without TMPDIR the run makes a folder of its own and removes it at its end",
         &Container::CmdWrite},
        {"copy", "copy \"FROM\" \"TO\"",
         "copies a file (a workbook or an image kept beside the script) for the control to "
         "open, making the target's folders",
         &Container::CmdCopy},
        {"expect", "expect \"TEXT\"",
         "the transcript printed since the previous expect contains TEXT", &Container::CmdExpect},
        {"sql", "sql \"STATEMENT\"",
         "(--store memory|sqlite) runs SQL on the store; prints each row, columns joined by "
         "\" | \"",
         &Container::CmdSql},
        {"preview", "preview",
         "prints the preview pane: hidden, empty, or FILE page P of N zoom MODE grey on|off "
         "rotation DEG [selection X,Y,W,H]",
         &Container::CmdPreview},
        {"pagebar", "pagebar",
         "prints the preview's page bar: its buttons as the toolbar line does, then its page box",
         &Container::CmdPageBar},
        {"pagebox", "pagebox \"TEXT\" [tab]",
         "types the text into the preview's page box and presses Enter there (Tab with tab), "
         "as a person going to a page does; refused while the box is disabled",
         &Container::CmdPageBox},
        {"press", "press ID",
         "clicks the button with the command or control ID on the control's toolbar, the "
         "preview's menu toolbar or its page bar, or in the script view, as a user does; "
         "refused when it is disabled or hidden",
         &Container::CmdPress},
        {"viewer", "viewer drag X1 Y1 X2 Y2",
         "draws a rectangle in the preview's image with the left button, between two points "
         "of the viewer",
         &Container::CmdViewer},
        {"image", "image \"PATH\" PAGES WIDTH HEIGHT",
         "writes a black-and-white TIFF file of PAGES pages for the preview to show",
         &Container::CmdImage},
        {"store", "store OPERATION ARG...",
         "runs a table operation of the control; prints store OPERATION(ARGS) -> RESULT",
         &Container::CmdStore},
        {"follow", "follow TOTAL MS",
         "(a store shared with other programs) waits up to MS milliseconds of real time until "
         "TOTAL changes that others wrote to what the control shows have been applied since "
         "the start, each printed as follow: and the control's methods it called; fewer is a "
         "failure",
         &Container::CmdFollow},
        {"mailanswer", "mailanswer RESULT [\"REASON\"]",
         "answers the next request to the mail program with the result (0 handed over, 1 "
         "closed unsent, 2 failed, 26 no mail program) instead of 0; like a box answer it comes "
         "before the action that asks. The transcript shows mail attach \"FILE\"... -> RESULT",
         &Container::CmdMailAnswer},
    };
    return kCommands;
}

std::string Container::CommandHelp() {
    constexpr std::size_t kIndent = 40, kWidth = 98;
    std::string out;
    for (const Command& c : Commands()) {
        std::string line = "  " + std::string(c.usage);
        if (line.size() + 2 > kIndent) {
            out += line + "\n";
            line.clear();
        }
        line.resize(kIndent, ' ');
        std::string_view rest = c.help;
        while (!rest.empty()) {
            std::size_t take = rest.size();
            if (kIndent + take > kWidth) {
                take = rest.rfind(' ', kWidth - kIndent);
                if (take == std::string_view::npos) take = rest.size();
            }
            line += rest.substr(0, take);
            out += line + "\n";
            rest.remove_prefix(std::min(rest.size(), take + 1));
            line.assign(kIndent, ' ');
        }
    }
    return out;
}

void Container::Execute(const std::string& text) {
    try {
        std::string error;
        auto tokens = TokenizeLine(text, error);
        if (!tokens) throw ScriptError{error};
        if (tokens->empty()) return;
        // "$TMPDIR/" in a quoted text names the run's own temporary folder.
        if (!tempDir_.empty())
            for (Token& t : *tokens)
                if (t.kind == Token::Kind::String) ReplaceAll(t.text, "$TMPDIR/", tempDir_);
        const Token& word = tokens->front();
        auto commands = Commands();
        auto it = std::find_if(commands.begin(), commands.end(),
                               [&](const Command& c) { return c.name == word.text; });
        if (word.kind != Token::Kind::Word || it == commands.end())
            throw ScriptError{"unknown command " + word.Spelling()};
        (this->*(it->run))(std::span<const Token>(*tokens).subspan(1));
    } catch (const ScriptError& e) {
        Print("error " + location_.ToString() + ": " + e.message);
        err_ << location_.ToString() << ": " << e.message << "\n";
        scriptError_ = true;
        ended_ = true;
        muted_ = true;
        // Ends a wait of the control at once, too: nothing after a script error means anything.
        quitPosted_ = true;
        platform_->Loop().PostQuitMessage(kExitScriptError);
    }
}

TypeLibMember Container::Member(const Token& token, bool& described) {
    TypeLibMember member;
    if (token.kind == Token::Kind::Word && token.text.size() > 1 && token.text[0] == '#') {
        const char* first = token.text.data() + 1;
        const char* last = token.text.data() + token.text.size();
        auto [end, ec] = std::from_chars(first, last, member.id);
        if (ec != std::errc() || end != last)
            throw ScriptError{"a DISPID is a number: " + token.text};
        member.name = token.text;
    } else {
        member.name = WordArg(token, "a member name");
        if (dispatch_->GetIDsOfNames(member.name, member.id) != S_OK)
            throw ScriptError{"the control has no member " + member.name};
    }
    const TypeLibMember* found = control_.Interface().Find(member.id);
    described = found != nullptr;
    return found ? *found : member;
}

// ---------------------------------------------------------------------------------------
// Properties and methods

void Container::CmdSet(std::span<const Token> args) {
    Need(args, 2, 2, "set NAME VALUE");
    bool described = false;
    TypeLibMember member = Member(args[0], described);
    if (described && !member.isProperty) throw ScriptError{member.name + " is a method: use call"};
    Variant value = ValueArg(args[1]);
    if (described && member.type) {
        auto converted = value.ChangeType(*member.type);
        if (!converted)
            throw ScriptError{member.name + " takes " + TypeWords(*member.type) + ", not " +
                              args[1].Spelling()};
        value = *converted;
    }
    HRESULT hr = dispatch_->Invoke(member.id, InvokeKind::PropertyPut,
                                   std::span<const Variant>(&value, 1), nullptr);
    if (FAILED(hr))
        Print("set " + member.name + " = " + value.ToDisplayString() + " -> error " +
              ComErrorText(hr));
}

void Container::CmdGet(std::span<const Token> args) {
    Need(args, 1, 1, "get NAME");
    bool described = false;
    TypeLibMember member = Member(args[0], described);
    if (described && !member.isProperty) throw ScriptError{member.name + " is a method: use call"};
    Variant value;
    HRESULT hr = dispatch_->Invoke(member.id, InvokeKind::PropertyGet, {}, &value);
    Print(member.name +
          (FAILED(hr) ? " -> error " + ComErrorText(hr) : " = " + value.ToDisplayString()));
}

void Container::CmdCall(std::span<const Token> args) {
    Need(args, 1, 1 + 16, "call NAME|#DISPID ARG...");
    bool described = false;
    TypeLibMember member = Member(args[0], described);
    if (described && member.isProperty)
        throw ScriptError{member.name + " is a property: use get or set"};
    std::vector<Variant> values = Arguments(member, described, args.subspan(1));
    const bool returnsVoid = described && !member.type;
    Variant result;
    HRESULT hr =
        dispatch_->Invoke(member.id, InvokeKind::Method, values, returnsVoid ? nullptr : &result);
    std::string shown;
    if (FAILED(hr))
        shown = "error " + ComErrorText(hr);
    else if (returnsVoid || (!described && result.IsEmpty()))
        shown = "void";
    else
        shown = result.ToDisplayString();
    Print(member.name + "(" + Joined(values) + ") -> " + shown);
    if (SUCCEEDED(hr)) NoteInitiate(member.name, values, result);
}

// ---------------------------------------------------------------------------------------
// The script as the host

void Container::CmdReply(std::span<const Token> args) {
    Need(args, 1, 12, "reply RESULT [DATA [KEY1 ... KEY10]]");
    if (options_.store != StoreKind::Scripted)
        throw ScriptError{"reply answers for the host only with --store scripted"};
    StoreReply reply;
    reply.result = IntegerArg(args[0], "RESULT");
    if (args.size() > 1) reply.data = StringArg(args[1], "DATA");
    for (std::size_t i = 2; i < args.size(); ++i)
        reply.keys[i - 2] = StringArg(args[i], "KEY" + std::to_string(i - 1));
    PrintReply(reply);
    const auto& k = reply.keys;
    COrbelWrapper(dispatch_).RequestResult(reply.result, reply.data, k[0], k[1], k[2], k[3], k[4],
                                           k[5], k[6], k[7], k[8], k[9]);
}

void Container::CmdBox(std::span<const Token> args) {
    Need(args, 1, 1, "box OK|YES|NO|CANCEL");
    using platform::MessageAnswer;
    static constexpr std::pair<std::string_view, MessageAnswer> kAnswers[] = {
        {"OK", MessageAnswer::Ok},
        {"YES", MessageAnswer::Yes},
        {"NO", MessageAnswer::No},
        {"CANCEL", MessageAnswer::Cancel}};
    const std::string answer = WordArg(args[0], "the answer");
    for (const auto& [name, value] : kAnswers) {
        if (EqualsIgnoringAsciiCase(name, answer)) {
            user_->AnswerMessageBox(value);
            return;
        }
    }
    throw ScriptError{"a message box is answered OK, YES, NO or CANCEL, not " + answer};
}

void Container::CmdMailAnswer(std::span<const Token> args) {
    Need(args, 1, 2, "mailanswer RESULT [\"REASON\"]");
    auto* mail = dynamic_cast<platform::RecordingMail*>(&platform::MailService());
    if (!mail) throw ScriptError{"mailanswer answers for the mail program only headless"};
    platform::MailResult answer{IntegerArg(args[0], "RESULT"), {}};
    if (args.size() > 1) answer.reason = StringArg(args[1], "REASON");
    mail->AnswerNext(std::move(answer));
}

void Container::CmdWait(std::span<const Token> args) {
    Need(args, 1, 1, "wait MS");
    const std::int32_t ms = IntegerArg(args[0], "MS");
    if (ms < 0) throw ScriptError{"cannot wait a negative time"};
    // The next line is due MS from now; timers due before it fire first.
    ScheduleLine(static_cast<std::uint32_t>(ms));
}

// ---------------------------------------------------------------------------------------
// The panes as the user sees them

void Container::PrintLines(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        Print(text.substr(start, end - start));
        start = end + 1;
    }
}

void Container::CmdTree(std::span<const Token> args) {
    Need(args, 0, 0, "tree");
    PrintLines(platform::DescribeTree(TreeModel()));
}

void Container::CmdList(std::span<const Token> args) {
    Need(args, 0, 0, "list");
    PrintLines(platform::DescribeList(ListModel()));
}

void Container::CmdToolbar(std::span<const Token> args) {
    Need(args, 0, 0, "toolbar");
    // The nearest bar is the control's own: the preview's bars lie deeper, in its panes.
    const auto bars = WindowsOfClass(platform_->Windows(), controlWindow_, "ToolbarWindow32");
    const HWND window = bars.empty() ? kNoWindow : bars.front();
    platform::ToolBarControl* bar = driver_->ToolBar(window);
    if (!bar) throw ScriptError{"the control shows no toolbar"};
    // The buttons as they stand once the thread has been idle, as a user sees them.
    platform_->Loop().RunIdleHandlers();
    PrintLines(platform::DescribeToolBar(*bar));
}

// ---------------------------------------------------------------------------------------
// Checks and the store

void Container::CmdExpect(std::span<const Token> args) {
    Need(args, 1, 1, "expect \"TEXT\"");
    const std::string text = StringArg(args[0], "TEXT");
    if (sinceExpect_.find(text) == std::string::npos) {
        Fail("expected " + QuoteString(text) + " in the transcript since the previous expect:\n" +
             sinceExpect_);
    }
    sinceExpect_.clear();
}

void Container::CmdWrite(std::span<const Token> args) {
    Need(args, 2, 2, "write \"PATH\" \"TEXT\"");
    const std::string path = StringArg(args[0], "PATH");
    // A settings file goes where the program reads it, whose folder may not be made yet.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << StringArg(args[1], "TEXT");
    if (!file.flush()) throw ScriptError{"cannot write " + path};
}

void Container::CmdCopy(std::span<const Token> args) {
    Need(args, 2, 2, "copy \"FROM\" \"TO\"");
    const std::filesystem::path to = StringArg(args[1], "TO");
    std::error_code ec;
    std::filesystem::create_directories(to.parent_path(), ec);
    std::filesystem::copy_file(StringArg(args[0], "FROM"), to,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) throw ScriptError{"cannot copy to " + to.string() + ": " + ec.message()};
}

void Container::CmdSql(std::span<const Token> args) {
    Need(args, 1, 1, "sql \"STATEMENT\"");
    const std::string sql = StringArg(args[0], "STATEMENT");
    if (!store_)
        throw ScriptError{"sql needs a store: --store memory, sqlite:PATH or postgres:CONNINFO"};
    const bool ok = store_->ExecuteSql(sql, [this](std::span<const std::string> columns) {
        std::string line;
        for (std::size_t i = 0; i < columns.size(); ++i) line += (i ? " | " : "") + columns[i];
        Print(line);
    });
    if (!ok) throw ScriptError{"sql: " + store_->LastError()};
}

void Container::CmdStore(std::span<const Token> args) {
    Need(args, 1, 1 + 8, "store OPERATION ARG...");
    if (!probe_) throw ScriptError{"this control runs no store operations"};
    const std::string operation = WordArg(args[0], "the operation");
    std::vector<Variant> values;
    for (const Token& t : args.subspan(1)) values.push_back(ValueArg(t));
    Variant result;
    HRESULT hr = probe_->RunStoreOperation(operation, values, result);
    if (hr == DISP_E_UNKNOWNNAME) throw ScriptError{"no store operation is called " + operation};
    if (hr == DISP_E_BADPARAMCOUNT || hr == DISP_E_TYPEMISMATCH)
        throw ScriptError{"store " + operation + ": " + ComErrorText(hr)};
    Print("store " + operation + "(" + Joined(values) + ") -> " +
          (FAILED(hr) ? "error " + ComErrorText(hr) : result.ToDisplayString()));
}

// ---------------------------------------------------------------------------------------
// The script view

platform::LiveDialog& Container::ScriptForm() {
    const platform::WindowSystem& windows = platform_->Windows();
    const HWND view = platform::FindDescendant(windows, controlWindow_, "CScriptView");
    const HWND form = view ? platform::FindDescendant(windows, view, "#32770") : kNoWindow;
    platform::LiveDialog* live = form ? platform::LiveDialog::FromWindow(form) : nullptr;
    if (!live) throw ScriptError{"the control shows no script view"};
    return *live;
}

void Container::CmdScriptView(std::span<const Token> args) {
    constexpr std::string_view kUsage = "scriptview [set|choose ID \"TEXT\"]";
    Need(args, 0, 3, kUsage);
    platform::LiveDialog& form = ScriptForm();
    if (!args.empty()) {
        if (args.size() != 3) throw ScriptError{"usage: " + std::string(kUsage)};
        const std::string how = WordArg(args[0], "set or choose");
        const auto id = static_cast<UINT>(IntegerArg(args[1], "the control ID"));
        const std::string text = StringArg(args[2], "TEXT");
        std::string refused;
        if (how == "set")
            refused = form.UserType(id, text);
        else if (how == "choose")
            refused = form.UserChoose(id, text);
        else
            throw ScriptError{"usage: " + std::string(kUsage)};
        if (!refused.empty()) Print("ignored: " + how + " " + std::to_string(id) + ": " + refused);
        return;
    }
    using Kind = platform::DialogControlKind;
    for (const platform::DialogControlTemplate& c : form.Template().controls) {
        if (c.kind == Kind::Static) continue;
        if (c.kind == Kind::ListControl) {
            HWND window =
                platform::FindDescendant(platform_->Windows(), form.Window(), "SysListView32");
            if (platform::ListControl* list = driver_->List(window))
                PrintLines(platform::DescribeList(*list));
            continue;
        }
        const bool button = c.kind == Kind::Button || c.kind == Kind::DefaultButton;
        std::string line =
            std::to_string(c.id) + " " + QuoteString(button ? c.text : form.GetText(c.id));
        if (c.kind == Kind::ListBox || c.kind == Kind::ComboDropDown ||
            c.kind == Kind::ComboDropDownList) {
            line += " [";
            for (int i = 0; i < form.GetCount(c.id); ++i)
                line += (i ? " | " : "") + form.GetItemText(c.id, i);
            line += "]";
            if (c.kind == Kind::ListBox && form.GetCurSel(c.id) >= 0)
                line += " sel=" + std::to_string(form.GetCurSel(c.id));
        }
        if (!form.IsControlEnabled(c.id)) line += " disabled";
        Print(line);
    }
}

bool Container::PressInScriptView(UINT id) {
    const platform::WindowSystem& windows = platform_->Windows();
    if (!platform::FindDescendant(windows, controlWindow_, "CScriptView")) return false;
    const std::string refused = ScriptForm().UserPress(id);
    if (!refused.empty()) Print("ignored: press " + std::to_string(id) + ": " + refused);
    return true;
}

}  // namespace orbel::host
