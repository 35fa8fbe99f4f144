// orbel-container [--store memory|sqlite:PATH|postgres:CONNINFO|scripted] [--trace-table]
// [SCRIPT...]
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "host/adapter/ProgramPaths.h"
#include "host/container/Container.h"
#include "host/store/StoreByName.h"
#include "host/wrapper/OrbelVersion.h"

namespace {

using orbel::host::Container;

// The module installed beside this program, else the one the build made.
std::string DefaultModule() {
    return orbel::host::InstalledOrBuilt(orbel::host::ProgramDir(), ORBEL_MODULE_FROM_PROGRAM,
                                         ORBEL_DEFAULT_MODULE)
        .string();
}

// A component module installed beside this program, else the one the build made; the
// variable names another.
std::string ComponentModule(const char* variable, const char* fromProgram, const char* built) {
    const char* named = std::getenv(variable);
    if (named && *named) return named;
    return orbel::host::InstalledOrBuilt(orbel::host::ProgramDir(), fromProgram, built).string();
}

const char* const kHelp =
    R"(usage: orbel-container [--store memory|sqlite:PATH|postgres:CONNINFO|scripted]
                       [--trace-table] [--register] [--gui [--hold]] [SCRIPT...]

Creates the control "ORBEL.OrbelCtrl.1" in a window (headless), connects a host to it, runs the
scripts in order (standard input when none is named, or for "-") and prints a transcript of
everything that happens on standard output. The control module is registered first when its
ProgID is not: $ORBEL_MODULE names the module, else the one this program was built with.

Hosts:
  --store memory        a table store in memory, gone at the end (the default)
  --store sqlite:PATH   the table store in the SQLite file PATH, created when missing
                        (several containers may share it: with a store the control takes
                        its IDs from the store, by direct ID retrieval)
  --store postgres:CONNINFO
                        the table store on a PostgreSQL server, by a libpq connection
                        string ("host=db.example.org dbname=orbel user=clerk") or URI
                        ("postgresql://clerk@db.example.org/orbel"); its tables are made in a
                        database that has none. A password is better kept in ~/.pgpass than
                        on the command line; no message shows it
  --store scripted      the script is the host: it goes on being read while the control waits
                        for an answer, and answers with reply lines (a select row by row)
  --trace-table         also print the table conversation, and with a store its answers as
                        reply lines, so that a recorded session replays against --store scripted
  --register            register the control module first even when the ProgID is registered
                        (from another build, say), as installing it does
  --imaging             register the imaging module first, so that the control shows its
                        preview pane ($ORBEL_IMAGING_MODULE names it, else the one beside
                        this program or this build's)
  --spreadsheet         register the spreadsheet application module first, so that the cell
                        link can start it ($ORBEL_SPREADSHEET_MODULE names it)
  --browser             register the web browser module first, so that Insert Object's
                        "&Internet" can open the browser ($ORBEL_BROWSER_MODULE names it)
  --sane-config DIR     scanners come from the SANE configuration folder DIR (its dll.conf
                        naming the backends; "test" gives SANE's test scanners)
  --gui                 show the control in a window of the desktop instead of headless, to see
                        what a script does (menus, boxes and dialogs are still answered by the
                        script; shell requests start real programs)
  --hold                with --gui: keep the window open after the script until it is closed
  --version             the version of this build

Script: one command per line; a line starting with # is a comment. Tokens are separated by
blanks; strings are in double quotes with \" \\ \n \r \t escapes; integers may be negative;
booleans are TRUE and FALSE.
%COMMANDS%
Store operations (the control's own table operations, run as its code runs them):
  GetNextOLEID, GetNextResourceID           the new ID, or -1
  SelectTree OWNER                          a select of every entry of OWNER: "RESULT: NAME, ..."
  SelectClass "NAME", ReadClass             position on a class row; read it: "RESULT NAME=VALUE"
  SelectTreeEntry OWNER ENTRY, ReadTree     position on a tree entry; read it: "RESULT NAME"
  InsertTree OWNER ENTRY PARENTOWNER PARENTENTRY "NAME" ISITEM
                                            insert a tree entry; the result

Transcript, one line per happening:
  event NAME(ARG, ...)          an event of the control; the table conversation (Yield,
                                SetTablePos, ReadNextRecord, SelectTable, InsertRecord,
                                UpdateRecord, DeleteRecord, GetNextOLEID, GetNextResourceID)
                                only with --trace-table or --store scripted
  reply RESULT "DATA" "KEY"...  an answer of the host (--trace-table, or a reply line)
  host error: TEXT              the store's reason for an answer of 3 or more, after the
                                control's own message box about it
  notice: TEXT                  the first line when the store opened read-only: why
  box "TEXT" BUTTONS -> ANSWER  a message box (BUTTONS is OK, YESNO or OKCANCEL); one that no
                                box line answered is a failure
  menu ITEM | ... -> CHOSEN     a popup menu and the item the menu line chose
  dialog ID "CAPTION" -> BUTTON a modal dialog and the button that ended it
  ignored: PANE is disabled     a key or mouse line that the disabled pane did not take
  NAME = VALUE, NAME(ARGS) -> RESULT, store OPERATION(ARGS) -> RESULT
                                results of get, call and store
  error FILE:LINE: MESSAGE      a script error; the run stops there

Answers: box, menu and dialog lines are answers queued before the line whose action opens
what they answer, all in one queue in the order the control asks: a right click's menu line
comes before the rightclick line, as a delete's box line comes before the key Delete line.

Files: "$TMPDIR/" in a quoted text is the run's temporary folder (TMPDIR, or a folder the run
makes for itself and removes at its end when TMPDIR is unset); the control's own temporary
files go there too.

Exit status: 0 when the scripts ran to their end and every expectation held; 1 when an
expect failed, or a message box, menu or dialog came that no answer in turn was for, or an
answer was left (each said on standard error as FILE:LINE: message); 2 for a script error,
or when the control could not be created.
)";

std::string Help() {
    std::string help = kHelp;
    const std::string marker = "%COMMANDS%";
    help.replace(help.find(marker), marker.size(), "\nCommands:\n" + Container::CommandHelp());
    return help;
}

int Usage(const std::string& problem) {
    std::cerr << "orbel-container: " << problem << "\n"
              << "usage: orbel-container [--store memory|sqlite:PATH|postgres:CONNINFO|scripted] "
                 "[--trace-table] [--register] [--gui [--hold]] [SCRIPT...]\n(--help says more)\n";
    return orbel::host::kExitScriptError;
}

}  // namespace

int main(int argc, char** argv) {
    using orbel::host::StoreKind;
    orbel::host::ContainerOptions options;
    const char* module = std::getenv("ORBEL_MODULE");
    options.modulePath = module && *module ? module : DefaultModule();

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << Help();
            return 0;
        }
        if (arg == "--version") {
            std::cout << "orbel-container " << orbel::kOrbelVersion << "\n";
            return 0;
        }
        if (arg == "--trace-table") {
            options.traceTable = true;
        } else if (arg == "--register") {
            options.registerModule = true;
        } else if (arg == "--imaging") {
            options.componentModules.push_back(ComponentModule("ORBEL_IMAGING_MODULE",
                                                               ORBEL_IMAGING_MODULE_FROM_PROGRAM,
                                                               ORBEL_DEFAULT_IMAGING_MODULE));
        } else if (arg == "--spreadsheet") {
            options.componentModules.push_back(
                ComponentModule("ORBEL_SPREADSHEET_MODULE", ORBEL_SPREADSHEET_MODULE_FROM_PROGRAM,
                                ORBEL_DEFAULT_SPREADSHEET_MODULE));
        } else if (arg == "--browser") {
            options.componentModules.push_back(ComponentModule("ORBEL_BROWSER_MODULE",
                                                               ORBEL_BROWSER_MODULE_FROM_PROGRAM,
                                                               ORBEL_DEFAULT_BROWSER_MODULE));
        } else if (arg == "--sane-config" && i + 1 < argc) {
            // The trailing ":" keeps SANE's own folders after it, for the backends' defaults.
            setenv("SANE_CONFIG_DIR", (std::string(argv[++i]) + ":").c_str(), 1);
        } else if (arg == "--gui") {
            options.gui = true;
        } else if (arg == "--hold") {
            options.hold = true;
        } else if (arg == "--store" || arg.starts_with("--store=")) {
            std::string_view value;
            if (arg == "--store") {
                if (++i == argc) return Usage("--store needs a value");
                value = argv[i];
            } else {
                value = arg.substr(8);
            }
            std::string rest;
            const orbel::host::StoreNameKind kind = orbel::host::KindOfStoreName(value, &rest);
            if (value == "scripted") {
                options.store = StoreKind::Scripted;
            } else if (kind == orbel::host::StoreNameKind::Memory) {
                options.store = StoreKind::Memory;
            } else if (kind == orbel::host::StoreNameKind::Sqlite) {
                options.store = StoreKind::Sqlite;
                options.sqlitePath = rest;
            } else if (kind == orbel::host::StoreNameKind::Postgres) {
                options.store = StoreKind::Postgres;
                options.conninfo = rest;
            } else {
                // Not the value itself: a connection string mistyped may hold a password.
                return Usage("--store is memory, sqlite:PATH, postgres:CONNINFO or scripted");
            }
        } else if (arg.starts_with("--")) {
            return Usage("unknown option " + std::string(arg));
        } else {
            options.scripts.emplace_back(arg);
        }
    }

    Container container(std::move(options), std::cin, std::cout, std::cerr);
    return container.Run();
}
