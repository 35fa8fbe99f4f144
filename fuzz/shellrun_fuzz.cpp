// Arbitrary stored commands: the file/parameters split takes nothing that is not in the
// command, and the parameters' words, written back with quotes, split into the same words.
// Also arbitrary MIME type XML, which must never be read outside its text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry/ClassesRoot.h"
#include "platform/shell/CommandLine.h"
#include "src/services/ShellCommand.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "shellrun_fuzz: %s %.*s\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

void CheckSplit(std::string_view command) {
    const orbel::ShellCommand split = orbel::SplitShellCommand(command);
    if (!command.empty() && command[0] == '"') {
        if (split.file.find('"') != std::string::npos) Fail("a quoted file holds a quote");
        if (command.substr(1, split.file.size()) != split.file) Fail("the file is not quoted text");
        if (!split.parameters.empty() && !command.ends_with(split.parameters))
            Fail("the parameters are not the command's tail");
        if (split.file.size() + split.parameters.size() + 1 > command.size())
            Fail("file and parameters overlap");
        return;
    }
    const std::size_t blank = command.find(' ');
    if (blank == std::string_view::npos || blank == 0) {
        if (split.file != command || !split.parameters.empty()) Fail("an unsplit command changed");
        return;
    }
    if (split.file.find(' ') != std::string::npos)
        Fail("the file is not the text before the first blank");
    if (split.file + " " + split.parameters != command) Fail("the split loses text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckSplit(text);

    const std::vector<std::string> words = orbel::platform::SplitShellWords(text);
    const std::string joined = orbel::platform::JoinShellWords(words);
    if (orbel::platform::SplitShellWords(joined) != words)
        Fail("quoted words split differently:", joined);

    const orbel::platform::MimeTypeXml xml = orbel::platform::ParseMimeTypeXml(text);
    if (xml.comment.size() > 4 * size) Fail("a comment longer than its text");
    return 0;
}
