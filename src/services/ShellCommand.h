// A stored command taken apart into the file to open and its parameters.
#pragma once

#include <string>
#include <string_view>

namespace orbel {

struct ShellCommand {
    std::string file;
    std::string parameters;
};

// A command that begins with a double quote names the file up to the next double quote; its
// parameters start two characters after that quote (past the blank that separates them), and
// a quote that is never closed makes the rest of the command the file. Any other command is
// split at its first blank; a command without one, or whose first character is the blank, is
// all file.
ShellCommand SplitShellCommand(std::string_view command);

}  // namespace orbel
