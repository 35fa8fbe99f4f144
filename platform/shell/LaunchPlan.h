// What the real shell starts for a request, decided before anything is started, so that it can
// be checked without starting programs. Every program gets an argument vector; no shell ever
// sees a file name, an address or a parameter.
//
// "open" on a document request (ShellTarget::Document, a path taken from data): xdg-open with
// the address or the absolute path, whatever the file's name, permission bits or first bytes;
// a named pipe, device or socket is refused (SE_ERR_NOASSOC) before anything starts.
// "open" on a command the system composed:
//  - an address ("scheme://...", "mailto:..."), a folder or a document: as above;
//  - a program (an executable file that is an ELF binary or a "#!" script, or a bare name
//    found on PATH): the program itself, with the parameters split into words (SplitShellWords:
//    nothing expanded);
// and the program names of composed commands, matched without regard to case, with or without
// ".exe" and any folder before them:
//  - "explorer /select,PATH": the file manager's FileManager1.ShowItems over the D-Bus session
//    bus (dbus-send, else gdbus) when a bus is there; when that fails, xdg-open on the folder
//    holding PATH. "explorer PATH" opens PATH.
//  - "notepad PATH": $VISUAL, else $EDITOR (its own words split the same way), inside a
//    terminal emulator ($TERMINAL, x-terminal-emulator, xterm) when it is a terminal editor;
//    xdg-open when no editor is set or none can be started.
//  - "iexplore ADDRESS": the first program of $BROWSER (a ":" list; "%s" in an entry is
//    replaced by the address, else the address is the last argument), else xdg-open.
// The parameters of these three are taken as one path or address (one pair of enclosing
// double quotes removed), never split.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell/Shell.h"

namespace orbel::platform {

// What the planner reads from the process, gathered once per request.
struct ShellEnvironment {
    std::string path;              // $PATH
    std::string browser;           // $BROWSER
    std::string visual;            // $VISUAL
    std::string editor;            // $EDITOR
    std::string terminal;          // $TERMINAL
    std::string currentDirectory;  // for relative files
    bool sessionBus = false;       // a D-Bus session bus address is known

    static ShellEnvironment FromProcess();
};

enum class LaunchMode {
    Detached,  // success once the program runs; it is left running
    Opener,    // xdg-open: it may end at once with a verdict (2 not found, 3 no program), or
               // keep running with the program it started
    Query,     // must end with status 0 to count; otherwise the next launch is tried
};

struct Launch {
    std::vector<std::string> argv;  // argv[0] is the program's full path
    LaunchMode mode = LaunchMode::Detached;
};

struct LaunchPlan {
    int failure = 0;     // nonzero: nothing is started and this is the result code
    std::string reason;  // with a failure, why in plain words, when the code says too little
    std::vector<Launch> launches;
    std::string directory;  // working directory of the started programs; empty: inherited

    // "failure 2" ("failure 31: REASON"), or one line per launch: "run: ARGV", "open: ARGV", "ask:
    // ARGV", the argument vectors quoted as JoinShellWords does.
    std::string Describe() const;
};

LaunchPlan PlanShellRequest(const ShellRequest& request, const ShellEnvironment& env);

// The full path of an executable program: a name holding "/" is taken as it is, any other is
// looked for in the folders of searchPath (":"-separated; an empty entry is skipped).
std::optional<std::string> FindProgram(std::string_view name, std::string_view searchPath);
// `text` with every byte other than ASCII letters, digits and those of `keep` percent-encoded.
std::string PercentEncoded(std::string_view text, std::string_view keep);
// "file://" and the path with every byte other than letters, digits, "-._~/" percent-encoded.
std::string FileUri(std::string_view absolutePath);
// True for editors that need a terminal: vi, vim, nano, emacs -nw and the like.
bool IsTerminalEditor(const std::vector<std::string>& command);
// The program of a stored command's file without folder, ".exe" or letter case:
// "C:\Windows\NOTEPAD.EXE" gives "notepad".
std::string ProgramStem(std::string_view file);

}  // namespace orbel::platform
