// Splits script text into tokens. Statement ends (line breaks and ':') are tokens of their own;
// a '_' at the end of a line joins it to the next; comments are dropped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orbel::vbs {

enum class Tok : std::uint8_t {
    End,      // end of text
    Newline,  // end of a statement: a line break or ':'
    Name,     // an identifier or keyword; text is as written
    Integer,  // number holds the value
    Float,    // number holds the value
    String,   // text holds the value, quotes undone
    DateLit,  // text holds what was between the '#'
    Symbol,   // text holds the operator: one of ( ) , . = < > <= >= <> + - * / \ ^ &
};

struct Token {
    Tok kind = Tok::End;
    int line = 1;
    std::string text;
    double number = 0;
    bool spaceBefore = false;  // in a With block "F .x" is an argument, "F.x" a member
};

// Throws ScriptError (with its line) for a character that starts no token, an unterminated
// string or date, and a malformed number.
std::vector<Token> Tokenize(std::string_view text);

}  // namespace orbel::vbs
