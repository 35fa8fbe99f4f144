// The pieces every container command uses to read its arguments; a mistake in the script is
// thrown as a ScriptError and reported as FILE:LINE: message.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "host/container/ScriptLine.h"
#include "platform/text/AsciiCase.h"

namespace orbel::host {

// A mistake in the script: reported as FILE:LINE: message, and the run stops.
struct ScriptError {
    std::string message;
};

inline void Need(std::span<const Token> args, std::size_t least, std::size_t most,
                 std::string_view usage) {
    if (args.size() < least || args.size() > most)
        throw ScriptError{"usage: " + std::string(usage)};
}

inline std::int32_t IntegerArg(const Token& t, std::string_view what) {
    if (t.kind != Token::Kind::Integer)
        throw ScriptError{std::string(what) + " must be a number, not " + t.Spelling()};
    return t.integer;
}

inline std::string StringArg(const Token& t, std::string_view what) {
    if (t.kind != Token::Kind::String)
        throw ScriptError{std::string(what) + " must be a quoted string, not " + t.Spelling()};
    return t.text;
}

inline std::string WordArg(const Token& t, std::string_view what) {
    if (t.kind != Token::Kind::Word) throw ScriptError{std::string(what) + " is missing"};
    return t.text;
}

inline Variant ValueArg(const Token& t) {
    if (auto v = t.ToValue()) return *v;
    throw ScriptError{"expected a value (a quoted string, a number, TRUE or FALSE), not " +
                      t.Spelling()};
}

inline void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace orbel::host
