// The command line of orbel-demo: which store to open, and the unattended screenshot run.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace orbel::demo {

struct DemoOptions {
    std::string storePath;       // empty: the demo store in the user's data folder;
                                 // "postgres:CONNINFO": a store on a server
    std::string screenshotPath;  // set: open, select, grab the window to this PNG, quit
    std::string selectPath;      // the folder to select first, as FolderChange names it
    std::string scriptName;      // instead: script maintenance with this script selected
    std::string itemName;        // with --select: the item opened in the list then
    std::string pageText;        // with --item: typed into the preview's page box then
    bool routing = false;        // instead: the routing sheet after a batch run
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    std::optional<DemoOptions> options;  // none: `error` says what is wrong
    std::string error;
};

// Reads the arguments after the program name. --screenshot needs --select (or --script) and
// each of those needs --screenshot, so that a person's run never starts with a folder or a
// script chosen behind their back; --item needs --select, and --page needs --item.
ParsedOptions ParseDemoOptions(std::span<const char* const> args);

const char* DemoUsage();

}  // namespace orbel::demo
