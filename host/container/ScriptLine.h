// The container's script language, one line at a time: a command word and its arguments,
// separated by blanks. Strings are in double quotes with \" \\ \n \r \t escapes, integers may
// be negative, booleans are TRUE or FALSE; anything else is a bare word (a name, #DISPID, a
// key name). A line whose first non-blank character is '#' is a comment.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/Variant.h"

namespace orbel::host {

struct Token {
    enum class Kind { Word, String, Integer, Boolean };
    Kind kind = Kind::Word;
    std::string text;  // the word or the string's value
    std::int32_t integer = 0;
    bool boolean = false;

    // The token as an automation value; nullopt for a bare word.
    std::optional<Variant> ToValue() const;
    // The token as the script wrote it (strings quoted again).
    std::string Spelling() const;
};

// Splits one line into tokens; an empty vector for a blank or comment line. nullopt with
// `error` set when the line is malformed.
std::optional<std::vector<Token>> TokenizeLine(std::string_view line, std::string& error);

// Where a line came from, for FILE:LINE messages.
struct ScriptLocation {
    std::string file;
    int line = 0;
    std::string ToString() const { return file + ":" + std::to_string(line); }
};

// The lines of the scripts named, in order, or of standard input; read as they are needed,
// so a script typed at a terminal runs line by line.
class ScriptSource {
  public:
    // Scripts by path; "-" reads standard input. An empty list reads standard input.
    explicit ScriptSource(std::vector<std::string> files, std::istream& standardInput);
    ~ScriptSource();

    // The files that cannot be opened, checked before anything runs.
    std::vector<std::string> Unreadable() const;

    // The next line and where it came from; false at the end of the last script.
    bool Next(std::string& text, ScriptLocation& where);
    // The last place read from ("-" names standard input as "<stdin>").
    const ScriptLocation& Last() const { return last_; }

  private:
    bool OpenNext();

    std::vector<std::string> files_;
    std::size_t nextFile_ = 0;
    std::istream& stdin_;
    std::unique_ptr<std::istream> file_;
    std::istream* current_ = nullptr;
    ScriptLocation last_;
};

}  // namespace orbel::host
