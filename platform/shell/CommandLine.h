// Command lines taken apart the way a POSIX shell separates words, and put back together,
// without a shell: nothing is expanded, substituted or executed.
// Not for: the file/parameters split of a stored command (that is the system's own rule).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orbel::platform {

// The words of text. Blanks (space, tab, line break) separate words; single quotes keep
// everything up to the next single quote; double quotes keep everything up to the next
// unescaped double quote, where a backslash escapes only " \ $ and `; outside quotes a
// backslash keeps the next character. "" and '' make an empty word. A quote left open runs
// to the end of the text, and a backslash at the very end is kept.
//
// Unlike a shell, nothing else has a meaning: $VAR, $(...), `...`, ~, globs, ; | & < > ( )
// and # are ordinary characters of the word they are in.
std::vector<std::string> SplitShellWords(std::string_view text);

// A word written so that SplitShellWords gives it back unchanged: as it is when it holds
// only characters no shell treats specially, else in single quotes.
std::string QuoteShellWord(std::string_view word);
// The words quoted and joined with blanks; SplitShellWords of the result gives them back.
std::string JoinShellWords(std::span<const std::string> words);

}  // namespace orbel::platform
