#include "host/demo/DemoOptions.h"

#include <string_view>

namespace orbel::demo {

const char* DemoUsage() {
    return R"(usage: orbel-demo [--store PATH|postgres:CONNINFO]
                  [--screenshot PNG --select '\All\FOLDER' [--item NAME [--page N]]
                                    |--script NAME|--routing]

Shows the control on a store kept in an SQLite file: PATH, else the demo store in
$XDG_DATA_HOME/orbel/demo.orbel (~/.local/share when unset), made with sample documents on
the first run; or on a store shared by a team on a PostgreSQL server.

  --store PATH        the store to open; created empty when the file does not exist
  --store postgres:CONNINFO
                      the shared store on the server a libpq connection string or URI names
                      ("postgresql://clerk@db.example.org/orbel"); its tables are made in a
                      database that has none. Keep the password in ~/.pgpass
  --screenshot PNG    opens the store, selects the --select folder in the tree, waits for the
                      list, saves the main window to PNG and exits (status 0 when saved)
  --select PATH       the folder, as the control names it: "\All" or "\All\Invoices\2026"
  --item NAME         after --select: double-clicks the item of that name in the list,
                      which the preview then shows
  --page N            after --item: types N into the preview's page box and presses Enter
  --script NAME       instead of --select: opens script maintenance and selects the script
  --routing           instead of --select: opens the routing sheet, routes two documents and
                      runs the batch
  --help              this text
  --version           the version of this build

Without a display, run it under a virtual one: xvfb-run -a orbel-demo
)";
}

ParsedOptions ParseDemoOptions(std::span<const char* const> args) {
    ParsedOptions parsed;
    DemoOptions options;
    // The value of an option given as "--name VALUE" or "--name=VALUE".
    auto value = [&](std::size_t& i, std::string_view arg, std::string_view name,
                     std::string& out) -> bool {
        if (arg == name) {
            if (i + 1 == args.size()) {
                parsed.error = std::string(name) + " needs a value";
                return false;
            }
            out = args[++i];
        } else {
            out = std::string(arg.substr(name.size() + 1));
        }
        if (out.empty()) {
            parsed.error = std::string(name) + " needs a value";
            return false;
        }
        return true;
    };
    auto named = [](std::string_view arg, std::string_view name) {
        return arg == name ||
               (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=');
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (named(arg, "--store")) {
            if (!value(i, arg, "--store", options.storePath)) return parsed;
        } else if (named(arg, "--screenshot")) {
            if (!value(i, arg, "--screenshot", options.screenshotPath)) return parsed;
        } else if (named(arg, "--select")) {
            if (!value(i, arg, "--select", options.selectPath)) return parsed;
        } else if (arg == "--routing") {
            options.routing = true;
        } else if (named(arg, "--script")) {
            if (!value(i, arg, "--script", options.scriptName)) return parsed;
        } else if (named(arg, "--item")) {
            if (!value(i, arg, "--item", options.itemName)) return parsed;
        } else if (named(arg, "--page")) {
            if (!value(i, arg, "--page", options.pageText)) return parsed;
        } else {
            parsed.error = (arg.starts_with("-") ? "unknown option " : "unexpected argument ") +
                           std::string(arg);
            return parsed;
        }
    }
    if (!options.help && options.routing) {
        if (options.screenshotPath.empty() || !options.selectPath.empty() ||
            !options.scriptName.empty()) {
            parsed.error = "--routing goes with --screenshot, instead of --select or --script";
            return parsed;
        }
    } else if (!options.help && !options.scriptName.empty()) {
        if (options.screenshotPath.empty() || !options.selectPath.empty()) {
            parsed.error = "--script goes with --screenshot, instead of --select";
            return parsed;
        }
    } else if (!options.help && options.screenshotPath.empty() != options.selectPath.empty()) {
        parsed.error = "--screenshot and --select go together";
        return parsed;
    }
    if (!options.help && ((!options.itemName.empty() && options.selectPath.empty()) ||
                          (!options.pageText.empty() && options.itemName.empty()))) {
        parsed.error = "--item goes with --select, and --page with --item";
        return parsed;
    }
    parsed.options = std::move(options);
    return parsed;
}

}  // namespace orbel::demo
