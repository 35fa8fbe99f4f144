#include "src/services/ShellCommand.h"

namespace orbel {

ShellCommand SplitShellCommand(std::string_view command) {
    if (!command.empty() && command[0] == '"') {
        const std::size_t close = command.find('"', 1);
        if (close == std::string_view::npos) return {std::string(command.substr(1)), {}};
        ShellCommand split{std::string(command.substr(1, close - 1)), {}};
        if (close + 2 < command.size()) split.parameters = command.substr(close + 2);
        return split;
    }
    const std::size_t blank = command.find(' ');
    if (blank == std::string_view::npos || blank == 0) return {std::string(command), {}};
    return {std::string(command.substr(0, blank)), std::string(command.substr(blank + 1))};
}

}  // namespace orbel
