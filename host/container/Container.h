// orbel-container: creates the control by ProgID as a host does, connects a host to it (a
// table store answering through the host adapter, or the script itself), runs a script of
// commands and prints a transcript of everything that happens. People use it to try the
// control; tests compare its transcripts with golden ones.
#pragma once

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/adapter/ChangeFollower.h"
#include "host/adapter/EmbeddedControl.h"
#include "host/adapter/HostAdapter.h"
#include "host/container/ScriptLine.h"
#include "host/store/TableStore.h"
#include "platform/automation/TypeLib.h"

namespace orbel {
class CWnd;
class IOrbelStoreProbe;
namespace platform {
class Platform;
class ScriptedUser;
class TreeControl;
class ListControl;
class UserDriver;
class WindowSystem;
using TreeItem = std::uint32_t;
}  // namespace platform
}  // namespace orbel

namespace orbel::platform {
class LiveDialog;
}  // namespace orbel::platform

namespace orbel::host {

enum class StoreKind { Memory, Sqlite, Postgres, Scripted };

// The windows of the class below `root`, nearest first (the control's own toolbar before the
// preview's bars).
std::vector<HWND> WindowsOfClass(const platform::WindowSystem& windows, HWND root,
                                 std::string_view className);

struct ContainerOptions {
    StoreKind store = StoreKind::Memory;
    std::string sqlitePath;
    std::string conninfo;  // Postgres: a libpq connection string or URI
    bool traceTable = false;
    std::vector<std::string> scripts;  // empty: standard input
    std::string modulePath;            // the control module, registered when the ProgID is not
    bool registerModule = false;       // register modulePath first, whatever is registered
    // Component modules (imaging, spreadsheet), registered before the control is made so that
    // it finds them; none: whatever the registry says.
    std::vector<std::string> componentModules;
    bool gui = false;   // on the desktop backend, in a visible window
    bool hold = false;  // with gui: keep the window open after the script
};

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;       // an expectation failed, a message box went unanswered
inline constexpr int kExitScriptError = 2;  // a malformed script, or the control could not be made

class Container {
  public:
    Container(ContainerOptions options, std::istream& in, std::ostream& out, std::ostream& err);
    ~Container();
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    // Runs the scripts to their end; returns the exit status.
    int Run();

    // The command reference for --help.
    static std::string CommandHelp();

  private:
    class EventSink;
    struct Command {
        std::string_view name;
        std::string_view usage;
        std::string_view help;
        void (Container::*run)(std::span<const Token> args);
    };
    static std::span<const Command> Commands();

    // Setting up and tearing down; a failure says why on the error stream.
    bool OpenStore();
    bool CreateControl();
    void Shutdown();
    // Following other programs' changes to a shared store (ContainerFollow.cpp).
    void StartFollowing();
    void PollOnDesktop();
    void NoteInitiate(const std::string& method, std::span<const Variant> args,
                      const Variant& result);
    void CmdFollow(std::span<const Token> args);
    // Takes TMPDIR as the run's temporary folder, or makes one when it is unset.
    bool SetUpTempDir();

    // The script, one line per loop task, so that a line read while the control waits for the
    // host runs inside the control's own loop.
    void ScheduleLine(std::uint32_t delayMs = 0);
    void RunLine();
    void Execute(const std::string& text);
    void EndRun();

    // The transcript and its checks.
    void Print(const std::string& line);
    void Fail(const std::string& what);
    void OnEvent(DISPID id, std::span<const Variant> args);
    void PrintReply(const StoreReply& reply);
    // "host error: TEXT" with the store's reason for a failed answer, once, when there is one.
    void PrintHostError();

    // Commands (ContainerCommands.cpp).
    void CmdSet(std::span<const Token> args);
    void CmdGet(std::span<const Token> args);
    void CmdCall(std::span<const Token> args);
    void CmdReply(std::span<const Token> args);
    void CmdBox(std::span<const Token> args);
    void CmdWait(std::span<const Token> args);
    void CmdKey(std::span<const Token> args);
    void CmdFocus(std::span<const Token> args);
    void CmdSelect(std::span<const Token> args);
    // The user (ContainerUser.cpp).
    void CmdClick(std::span<const Token> args);
    void CmdRightClick(std::span<const Token> args);
    void CmdDoubleClick(std::span<const Token> args);
    void CmdSelectRows(std::span<const Token> args);
    void CmdRename(std::span<const Token> args);
    void CmdDrag(std::span<const Token> args);
    void CmdDrop(std::span<const Token> args);
    void CmdMenu(std::span<const Token> args);
    void CmdDialog(std::span<const Token> args);
    void CmdFileChooser(std::span<const Token> args);
    void CmdFolderChooser(std::span<const Token> args);
    void CmdPrintDialog(std::span<const Token> args);
    void CmdModeless(std::span<const Token> args);
    // A modeless window came up: the answer queued for it is pressed once the loop runs.
    void AnswerModeless();
    void PostKey(UINT code, bool shift, bool ctrl, bool alt);
    // How the transcript names a window: tree, list, or its class.
    std::string WindowName(HWND window);
    // True, with `ignored: NAME is disabled` in the transcript, when the window takes no input
    // now (it, or the control around it, is disabled while a folder loads).
    bool Refused(HWND window);
    // A place the user points at: a tree folder, a list row, or empty list space (row -1).
    struct Spot {
        HWND window;
        POINT client;
        POINT screen;
        bool tree = false;
        platform::TreeItem item = 0;
        int row = -1;
    };
    // Reads `tree PATH`, `list ROW` or `list empty` from the front of args.
    Spot PointAt(std::span<const Token> args, std::size_t& used);
    Spot PointAtAll(std::span<const Token> args, std::string_view usage);
    HWND PaneWindow(bool tree);
    platform::TreeItem FindTreeItem(const std::string& path);
    platform::ListControl& ListModel();
    void CmdTree(std::span<const Token> args);
    void CmdList(std::span<const Token> args);
    void CmdToolbar(std::span<const Token> args);
    // The preview pane (ContainerPreview.cpp).
    std::string PreviewText(const std::string& operation);
    HWND ViewerWindow();
    // The screen point in the middle of the button of a bar of the control.
    POINT ButtonCentre(UINT id);
    void RightClickViewer();
    void CmdPreview(std::span<const Token> args);
    void CmdPageBar(std::span<const Token> args);
    void CmdPageBox(std::span<const Token> args);
    void CmdPress(std::span<const Token> args);
    void CmdViewer(std::span<const Token> args);
    void CmdImage(std::span<const Token> args);
    void CmdScriptView(std::span<const Token> args);
    // The spreadsheet application the cell link started (ContainerSpreadsheet.cpp).
    void CmdSpreadsheet(std::span<const Token> args);
    void CmdCellPick(std::span<const Token> args);
    // The person selects the cell in the running spreadsheet; the reason it failed, or empty.
    std::string PickCell(const std::string& sheet, std::int32_t column, std::int32_t row);
    // The web browser dialog (ContainerBrowser.cpp); each gives why it could not be done, or
    // empty.
    std::string WaitForBrowser();
    std::string NavigateBrowser(platform::LiveDialog& dialog, const std::string& url);
    std::string DescribeBrowser(platform::LiveDialog& dialog);
    std::string ChooseDialogMenu(platform::LiveDialog& dialog, UINT id);
    // Clicks button `id` of the script view when the control shows one; false when it does not.
    bool PressInScriptView(UINT id);
    // The form of the script view the control shows; a script error when it shows none.
    platform::LiveDialog& ScriptForm();
    void PrintLines(const std::string& text);
    platform::TreeControl& TreeModel();
    void CmdExpect(std::span<const Token> args);
    void CmdWrite(std::span<const Token> args);
    void CmdCopy(std::span<const Token> args);
    void CmdSql(std::span<const Token> args);
    void CmdStore(std::span<const Token> args);
    void CmdMailAnswer(std::span<const Token> args);
    // The member of the control's interface a name or #DISPID stands for; `described` is false
    // for a DISPID the type library does not declare (then only its id is known).
    TypeLibMember Member(const Token& token, bool& described);

    ContainerOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    ScriptSource source_;

    platform::Platform* platform_ = nullptr;
    platform::ScriptedUser* user_ = nullptr;
    std::unique_ptr<platform::UserDriver> driver_;
    std::unique_ptr<TableStore> store_;
    std::shared_ptr<HostAdapter> adapter_;
    std::unique_ptr<ChangeFollower> follower_;
    std::unique_ptr<CWnd> form_;
    EmbeddedControl control_;
    // Handles into control_, kept for the commands that use them on every line.
    std::shared_ptr<IDispatch> dispatch_;
    HWND controlWindow_;
    std::shared_ptr<IOrbelStoreProbe> probe_;

    ScriptLocation location_;  // the line running now, for messages
    int depth_ = 0;            // lines running, one inside the other
    bool lineScheduled_ = false;
    // While a page loads on the desktop the script waits: the next line is held back.
    bool holdLines_ = false;
    bool lineHeld_ = false;
    bool ended_ = false;
    bool quitPosted_ = false;
    bool scriptError_ = false;
    bool muted_ = false;  // after a script error nothing more is printed
    int failures_ = 0;
    std::string sinceExpect_;
    std::string hostError_;  // the store's reason for a failed answer, not yet printed
    struct ModelessAnswer {
        UINT templateId;
        UINT button;
    };
    std::deque<ModelessAnswer> modelessAnswers_;
    // The run's temporary folder with a final "/": scripts and transcripts name it $TMPDIR/.
    std::string tempDir_;
    // The folder the run made for that when TMPDIR was unset; removed at the end.
    std::string ownTempDir_;
};

}  // namespace orbel::host
