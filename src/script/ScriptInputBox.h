// The box a script's InputBox shows: its prompt, a field holding the default text, OK and
// Cancel.
#pragma once

#include <optional>
#include <string>

namespace orbel {

// Built in code rather than kept with the control's templates, as its caption and prompt are
// the script's; numbered apart from them.
inline constexpr unsigned kScriptInputBoxTemplateId = 0x7f00;
inline constexpr unsigned kScriptInputBoxAnswerId = 101;

// The text in the field when the user chose OK; nothing when the user cancelled.
std::optional<std::string> ShowScriptInputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText);

}  // namespace orbel
